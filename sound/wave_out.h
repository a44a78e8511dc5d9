// The wave output device and the one tone that may be in flight on it.
#pragma once

#include "engine/app_state.h"

constexpr DWORD TONE_BUFFER_BYTES = 176401;

bool OpenWaveOut(HWND callback_window, AppState *state);
bool PlayTone(AppState *state, int tone_number);
void OnWaveDone(AppState *state);
bool CloseWaveOut(AppState *state);
