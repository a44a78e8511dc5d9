#include "sound/wave_out.h"

#include "engine/pitch.h"
#include "platform/winmm.h"
#include "sound/tone_synth.h"

#include <string.h>

static const UINT HEADER_BYTES = sizeof(WAVEHDR);

// Gives back the buffer of the tone in flight, if any, and leaves the record idle.
// The header is unprepared first so the device no longer refers to the memory.
static void ReleaseToneBuffer(AppState *state) {
    if (state->wave_buffer != nullptr) {
        if (state->wave_out != nullptr) {
            Winmm().waveOutUnprepareHeader(state->wave_out, &state->wave_header, HEADER_BYTES);
        }
        GlobalFree(state->wave_buffer);
    }
    state->playing = 0;
    state->wave_buffer = nullptr;
}

bool OpenWaveOut(HWND callback_window, AppState *state) {
    if (state == nullptr) {
        return false;
    }
    if (state->wave_out != nullptr) {
        Winmm().waveOutReset(state->wave_out);
        ReleaseToneBuffer(state);
        Winmm().waveOutClose(state->wave_out);
        state->wave_out = nullptr;
    }
    state->wave_format.wFormatTag = WAVE_FORMAT_PCM;
    state->wave_format.nChannels = 2;
    state->wave_format.nSamplesPerSec = 44100;
    state->wave_format.nAvgBytesPerSec = 176400;
    state->wave_format.nBlockAlign = 4;
    state->wave_format.wBitsPerSample = 16;
    // The handle is taken over only from a successful open.
    HWAVEOUT device = nullptr;
    MMRESULT result =
        Winmm().waveOutOpen(&device, WAVE_MAPPER, &state->wave_format,
                            reinterpret_cast<DWORD_PTR>(callback_window), 0, CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) {
        return false;
    }
    state->wave_out = device;
    return true;
}

// Hands the filled `buffer` to the device. On failure the device keeps
// nothing of it (a prepared header is unprepared), the record is idle again
// and the buffer is still the caller's.
static bool SubmitTone(AppState *state, void *buffer) {
    memset(&state->wave_header, 0, sizeof(state->wave_header));
    state->wave_header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    state->wave_header.dwLoops = 1;
    state->wave_header.lpData = static_cast<LPSTR>(buffer);
    state->wave_header.dwBufferLength = TONE_BUFFER_BYTES;
    state->wave_buffer = buffer;
    state->playing = 1;
    if (Winmm().waveOutPrepareHeader(state->wave_out, &state->wave_header, HEADER_BYTES) ==
        MMSYSERR_NOERROR) {
        if (Winmm().waveOutWrite(state->wave_out, &state->wave_header, HEADER_BYTES) ==
            MMSYSERR_NOERROR) {
            return true;
        }
        Winmm().waveOutUnprepareHeader(state->wave_out, &state->wave_header, HEADER_BYTES);
    }
    // A buffer the device did not take will never come back with MM_WOM_DONE:
    // the record lets go of it now, or every later play would be refused.
    state->wave_buffer = nullptr;
    state->playing = 0;
    return false;
}

// The default device opened (again), its completions going to the main
// window; without a main window a tone could never come back, so none is
// opened.
static bool ReopenWaveOut(AppState *state) {
    return state->main_window != nullptr && OpenWaveOut(state->main_window, state);
}

PlayOutcome StartTone(AppState *state, int tone_number) {
    if (state == nullptr || state->playing != 0) {
        return PLAY_REFUSED;
    }
    // The chord type is read by trial; outside a test there is no trial to sound.
    if (state->trial < 0 || state->trial >= TRIAL_COUNT) {
        return PLAY_REFUSED;
    }
    // No device since start-up, or none since one failed: headphones plugged
    // in meanwhile are found now.
    if (state->wave_out == nullptr && !ReopenWaveOut(state)) {
        return PLAY_FAILED;
    }
    void *buffer = reinterpret_cast<void *>(GlobalAlloc(GMEM_ZEROINIT, TONE_BUFFER_BYTES));
    if (buffer == nullptr) {
        return PLAY_FAILED;
    }
    double frequency = StimulusFrequency(state, tone_number);
    double gain = ToneGainDb(state->volume);
    FillToneBuffer(buffer, frequency, state->chord_type[state->trial], gain);
    if (SubmitTone(state, buffer)) {
        return PLAY_STARTED;
    }
    // A device that fails on a write (unplugged, its driver restarted) is
    // closed, opened again and given the same tone once more.
    if (ReopenWaveOut(state) && SubmitTone(state, buffer)) {
        return PLAY_STARTED;
    }
    GlobalFree(buffer);
    return PLAY_FAILED;
}

bool PlayTone(AppState *state, int tone_number) {
    return StartTone(state, tone_number) == PLAY_STARTED;
}

void OnWaveDone(AppState *state) {
    if (state == nullptr) {
        return;
    }
    // A completion for a buffer already given back (the device was closed or
    // reopened meanwhile) must not free the buffer of a newer tone.
    if (state->wave_buffer == nullptr || (state->wave_header.dwFlags & WHDR_DONE) == 0) {
        return;
    }
    Winmm().waveOutUnprepareHeader(state->wave_out, &state->wave_header, HEADER_BYTES);
    GlobalFree(state->wave_buffer);
    state->playing = 0;
    state->wave_buffer = nullptr;
    Winmm().waveOutReset(state->wave_out);
}

bool CloseWaveOut(AppState *state) {
    if (state == nullptr || state->wave_out == nullptr) {
        return false;
    }
    // Stop the tone and give its buffer back now: the completion message may
    // never be handled, and a prepared buffer makes the close fail.
    Winmm().waveOutReset(state->wave_out);
    ReleaseToneBuffer(state);
    MMRESULT result = Winmm().waveOutClose(state->wave_out);
    state->wave_out = nullptr;
    return result == MMSYSERR_NOERROR;
}
