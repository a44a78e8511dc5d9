// Composes the current screen into the back buffer.
#pragma once

#include "engine/app_state.h"

bool ComposeScreen(AppState *state);
