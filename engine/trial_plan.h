// The ten trials of one test, drawn when a test starts.
#pragma once

#include "engine/app_state.h"

bool BuildTrialPlan(AppState *state);

// Building blocks of the plan; each draws from the program's generator.
void ShuffledIndices(int *values, int n);
int LastIndexOf(const int *values, int n, int key);
int RandomInRange(int lo, int hi);
int RandomChordType();
double RandomBaseFrequency();
