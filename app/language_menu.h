// The interface's language, chosen from the window's system menu (the icon
// at the top left, or Alt+Space): one radio item per language, each named in
// its own language, the current one marked. A choice changes every word at
// once, on any screen, and nothing else: the test goes on as it was.
#pragma once

#include "engine/app_state.h"

// The command of the first language's item; the others follow 16 apart.
// The system leaves the low four bits of a system command to itself, and
// its own commands start at 0xF000.
constexpr UINT IDM_LANGUAGE_FIRST = 0x0110;
constexpr UINT IDM_LANGUAGE_STEP = 0x10;

// Adds the items (below a separator) to the window's system menu.
void AddLanguageItems(HWND window, const AppState *state);
// WM_SYSCOMMAND: true when `command` was a language item, which is then done.
bool OnLanguageCommand(HWND window, WPARAM command, AppState *state);
// Puts the interface in `language`: the buttons' labels, the screen's
// texts, the names a screen reader reads, the menu's mark. The choice is
// kept, to be written to Settings.ini with the volume.
void SwitchLanguage(AppState *state, int language);
