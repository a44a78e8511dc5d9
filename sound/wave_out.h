// The wave output device and the one tone that may be in flight on it.
#pragma once

#include "engine/app_state.h"

constexpr DWORD TONE_BUFFER_BYTES = 176401;

// What became of a request to play a tone.
enum PlayOutcome {
    PLAY_STARTED, // the tone is on the device
    PLAY_REFUSED, // a tone is still sounding, or there is no trial: lost without a word
    PLAY_FAILED,  // no device would take it, even opened anew (or no memory for it)
};

bool OpenWaveOut(HWND callback_window, AppState *state);
// Plays the tone; a device that is missing or fails is opened again first.
PlayOutcome StartTone(AppState *state, int tone_number);
// StartTone, true when the tone is on the device.
bool PlayTone(AppState *state, int tone_number);
void OnWaveDone(AppState *state);
bool CloseWaveOut(AppState *state);
