// What a screen reader reads (Microsoft Active Accessibility, which UI
// Automation also reads through its bridge). Each control answers
// WM_GETOBJECT with the system's own object for it, given a name that says
// what it does and is unique on its screen (the visible labels stay as they
// are); sliders and score displays give their position and the figure they
// show as their value. The main window's object adds the texts painted on
// the screen, in the words drawn, among the controls in reading order.
#pragma once

#include "engine/app_state.h"

// Has the control (a child made from the catalogue) answer WM_GETOBJECT,
// in the language of `state`, the record of its screen.
void ServeAccessibleObject(HWND control, const AppState *state);
// The main window's WM_GETOBJECT; anything but its client area goes to the
// default handling.
LRESULT OnGetObject(HWND window, WPARAM wparam, LPARAM lparam, const AppState *state);
// Tells a screen reader that a control's value has changed (a count has come
// to rest), so that the new one is read out.
void AnnounceValue(HWND control);
// Tells a screen reader that the painted texts have changed (a new trial,
// the result revealed).
void AnnounceScreenTexts(HWND window);
// Tells a screen reader that every control's name may have changed (the
// interface's language has).
void AnnounceNames(HWND window);
// The accessible name of the control `id` in `language`, or null.
const wchar_t *AccessibleNameOf(int id, int language);
