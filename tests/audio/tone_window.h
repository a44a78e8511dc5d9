// A real window for tests that play tones: its procedure hands MM_WOM_DONE to
// OnWaveDone with the record below, as the main window does.
#pragma once

#include "engine/app_state.h"

extern AppState g_state;

HWND CreateToneWindow();
// Dispatches what is queued now, without waiting.
void PumpPending();
// Runs the message loop until the tone in flight on state has come back;
// false when no completion arrives within a generous bound, so a lost one
// fails instead of hanging.
bool WaitUntilIdle(const AppState *state = &g_state);
