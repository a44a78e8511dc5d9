// Composes the current screen into the back buffer.
#pragma once

#include "engine/app_state.h"

bool ComposeScreen(AppState *state);
// The number of the result screen's cents line ("23", "9.4", "0.50").
void FormatCentsNumber(double cents, char *text, int text_size);
