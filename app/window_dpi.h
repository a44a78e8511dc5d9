// The main window's DPI and frame, asked of the system in a way that also
// works where it has no per-window DPI (Windows 7, 8 and 8.1).
#pragma once

#include <windows.h>

// The DPI of the screen: the system DPI, which is also every window's on a
// Windows without per-window DPI.
int SystemDpi();
// The DPI of a window: GetDpiForWindow where the system has it (Windows 10
// from version 1607), else the system DPI.
int WindowDpi(HWND window);
// The outer size of a window of this style whose client area is width x
// height at `dpi`: the frame of that DPI where the system can say it
// (AdjustWindowRectExForDpi), else the frame of the system DPI.
SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD ex_style, int dpi);
// Makes the window's client area exactly width x height, its top left
// corner staying where it is; nothing happens when it already is.
void FitClientArea(HWND window, int width, int height);
