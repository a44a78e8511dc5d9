// Where the history window (history/history_window.h) meets the main
// window: its item in the system menu, below the languages; its key, H, on
// the title and result screens; the results file it reads; and the moments
// it must hear of (a test's row written, the language changed).
#pragma once

#include "engine/app_state.h"

// The item's command: a multiple of 16 below the system's own (0xF000) and
// clear of the language items (app/language_menu.h).
constexpr UINT IDM_HISTORY = 0x0200;

// Adds the item (below a separator) to the window's system menu.
void AddHistoryItem(HWND main_window, int language);
// WM_SYSCOMMAND: true when `command` was the item, whose window is then
// opened (or closed).
bool OnHistoryCommand(HWND main_window, WPARAM command, const AppState *state);
// A key of the main window: H on the title or result screen, without Ctrl
// or Alt, opens or closes the window (a held key acts once); true when it
// was that key there.
bool OnHistoryKey(const AppState *state, WPARAM key, bool repeated);
// The results file has a new row: an open window reads it again.
void RefreshHistory();
// The interface's language has changed: the item's and the window's words.
void RelabelHistory(HWND main_window, int language);
