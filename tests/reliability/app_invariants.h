// What must hold for the main window and the record after any message.
#pragma once

#include "engine/app_state.h"

#include <string>

// Empty when everything holds, else a description of the first breach:
// score 0..300, trial 0..10, slider_pos 0..200, volume 0..100, playing set
// exactly while a buffer is on the device, and the children of the main
// window those of its screen (on the test screen, shown by trial kind).
std::string BrokenInvariant(HWND window, const AppState *state);
// The two halves of it: the record alone (cheap), and the children, which
// costs trips to the window server.
std::string BrokenRecord(const AppState *state);
std::string BrokenChildren(HWND window, const AppState *state);
