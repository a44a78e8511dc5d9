// Answering the current trial in the test process as a user does (marking
// radio buttons or moving the pitch slider), knowing the answer from the
// record's plan.
#pragma once

#include "engine/app_state.h"

// Right: the trial's keys marked, or the slider on its target. Wrong: the
// keys swapped, or the slider at the end farther from its target.
void MarkAnswer(HWND window, const AppState *state, bool right);
// MarkAnswer, then a click on Decide.
void AnswerAndDecide(HWND window, const AppState *state, bool right);
