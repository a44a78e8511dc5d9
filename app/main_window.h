// The program's entry, its one top-level window and the routing of messages.
#pragma once

#include "engine/app_state.h"

#define MAIN_CLASS_NAME "WndClass_adapt_mp"
#define MAIN_CAPTION "Kestrune Ver1.1"
constexpr DWORD MAIN_STYLE = 0x10CA0000; // visible, caption, system menu, minimise box
constexpr DWORD MAIN_EX_STYLE = WS_EX_CLIENTEDGE;
// The client area at 100 % display scale; at any other it is scaled
// (render/display_scale.h): 750 x 450 at 150 %.
constexpr int CLIENT_WIDTH = 500;
constexpr int CLIENT_HEIGHT = 300;

// The one record the window procedure hands to every handler.
AppState *GetAppState();

// Exit code when the main window could not be made (class or window refused).
constexpr int EXIT_NO_WINDOW = 1;

int RunApplication(HINSTANCE instance);
// The two steps of RunApplication before its message loop; tests use them to
// make a real main window in their own process. False when the main window's
// class could not be registered (also when it already is).
bool RegisterWindowClasses(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void OnCommand(HWND window, WPARAM wparam, LPARAM lparam, AppState *state);
void OnHScroll(HWND window, WPARAM wparam, LPARAM lparam, AppState *state);
void OnDisplaySettled(HWND window, WPARAM wparam, AppState *state);
void OnPaint(HWND window, AppState *state);
// WM_DPICHANGED: the window now lies on a display of another scale. wparam
// carries the new DPI, lparam the rectangle the system suggests (or null).
void OnDpiChanged(HWND window, WPARAM wparam, LPARAM lparam, AppState *state);
