// The pictures the real program's window must show, composed by the
// program's own painting code from a record that holds what the screen
// depends on, and waits on what the window shows.
#pragma once

#include "engine/app_state.h"
#include "tests/support/picture.h"

#include <string>

// Surfaces of the program's kind, made once, into which reference pictures
// are composed.
struct ReferenceScreens {
    AppState record;
};
// Makes the surfaces, at the display scale of `dpi` (96 is 100 %).
void CreateReferenceScreens(ReferenceScreens *screens, int dpi = 96);
// Frees them.
void DestroyReferenceScreens(ReferenceScreens *screens);
// The picture of `screen` for the state in `expected` (trial, score, rows
// and the facts they print, reveal, language).
Picture ComposeReference(ReferenceScreens *screens, const AppState &expected, int screen);

// Waits until the score display child `display_id` of the window reads
// `text` on the screen; returns what it read last.
std::string WaitForDisplayText(HWND window, int display_id, const std::string &text,
                               DWORD timeout_ms);
// Waits until the window shows `wanted` outside its visible children and
// returns the pixels that still differ when the time is up (0 when it did);
// `shown` gets the last picture taken.
int WaitForPicture(HWND window, const Picture &wanted, DWORD timeout_ms, Picture *shown);
// Waits until the window shows `wanted` outside its visible children, then
// until two pictures of the whole client in a row agree: the children have
// painted too. False when either did not happen in time; `shown` gets the
// last picture taken.
bool WaitForSettledPicture(HWND window, const Picture &wanted, DWORD timeout_ms, Picture *shown);
