// The three screen transitions and the Decide step that drives a test.
#pragma once

#include "engine/app_state.h"

bool ShowTitleScreen(AppState *state);
bool StartTest(AppState *state);
bool ShowResultScreen(AppState *state);
bool GradeAnswer(AppState *state);
