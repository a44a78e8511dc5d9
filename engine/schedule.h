// Which trial is a comparison and which a matching trial, and its slot.
#pragma once

#include "engine/app_state.h"

bool GetTrialInfo(const AppState *state, TrialInfo *info);
// The same for trial number `trial` (0..9) of any test.
bool GetTrialInfoAt(int trial, TrialInfo *info);
