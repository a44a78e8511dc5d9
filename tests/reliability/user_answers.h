// Answering the current trial as a user does: marking radio buttons or
// moving the pitch slider, then Decide.
#pragma once

#include "engine/app_state.h"

// Right: the keys of the trial, or the slider on its target. Wrong: the
// keys swapped, or the slider at the end farther from the target (the score
// then falls to 0 within a few trials, and the final count ends at its
// first tick).
void MarkAnswer(HWND window, const AppState *state, bool right);
void AnswerAndDecide(HWND window, const AppState *state, bool right);
