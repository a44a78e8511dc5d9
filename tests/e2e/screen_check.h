// What the real program's window shows, read back from the screen, and the
// pictures it must show, composed by the program's own painting code from a
// record that holds what the screen depends on.
#pragma once

#include "engine/app_state.h"
#include "tests/render/picture.h"

#include <string>
#include <vector>

// The main window's 500 x 300 client area as it is on the screen, after the
// program has painted what is pending.
Picture CaptureClient(HWND window);
// The client-area rectangles of the window's visible children, which their
// own classes draw.
std::vector<RECT> VisibleChildRects(HWND window);
// Pixels that differ between a and b outside every one of the rectangles.
int CountDifferencesOutside(const Picture &a, const Picture &b, const std::vector<RECT> &skip);

// Surfaces of the program's kind, made once, into which reference pictures
// are composed.
struct ReferenceScreens {
    AppState record;
};
void CreateReferenceScreens(ReferenceScreens *screens);
void DestroyReferenceScreens(ReferenceScreens *screens);
// The picture of `screen` for the state in `expected` (trial, score, rows, reveal).
Picture ComposeReference(ReferenceScreens *screens, const AppState &expected, int screen);

// The text a seven-segment display child of the window shows in a captured
// picture: digits, '-' for a dash, ' ' for an empty cell, '?' for a cell
// whose segments form no figure.
std::string ReadSegmentDisplay(const Picture &picture, HWND window, int display_id);
// Waits until the display reads `text`; returns what it read last.
std::string WaitForDisplayText(HWND window, int display_id, const std::string &text,
                               DWORD timeout_ms);
