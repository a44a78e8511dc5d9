// Composes the current screen into the back buffer.
#pragma once

#include "engine/app_state.h"
#include "render/screen_texts.h"

bool ComposeScreen(AppState *state);

// The font a screen text in `font` is drawn in, for `language` at `dpi`,
// for the caller to delete; null for the record's own large font (the
// Japanese screens'), which the surfaces make.
HFONT CreateTextFont(TextFont font, int language, int dpi);
// The face Windows draws its dialogs' text in (the message font's: Segoe UI
// on Windows 10 and 11), for the words of a language with faces of its own.
void DialogFaceName(wchar_t *face, int chars);
