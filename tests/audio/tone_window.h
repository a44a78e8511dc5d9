// A real window for tests that play tones without the main window: its
// procedure hands MM_WOM_DONE to OnWaveDone with the record below, as the
// main window does.
#pragma once

#include "engine/app_state.h"

extern AppState g_state;

// Opens the window (registering its class on first use).
HWND CreateToneWindow();
