// What the listener is told when something would otherwise fail unseen: a
// tone that could not be played, results kept somewhere other than beside
// Settings.ini, results that could be kept nowhere. Each is a message box
// owned by the main window: it cannot be missed, and OK ends it.
#pragma once

#include <windows.h>

#include "lang/language.h"

#define NOTICE_CAPTION L"Kestrune Ver1.1"

// Shows the text `id` in `language`, followed by `detail` when given, and
// returns once the listener has closed it. While one notice is open, another
// is not stacked on it.
void ShowNotice(HWND owner, int language, TextId id, const wchar_t *detail = nullptr);
