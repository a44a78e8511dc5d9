#include "engine/schedule.h"

// Comparison x 3, matching x 3, comparison x 3, matching x 1.
static const TrialInfo kSchedule[TRIAL_COUNT] = {
    {1, 0}, {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {1, 5}, {0, 3},
};

bool GetTrialInfo(const AppState *state, TrialInfo *info) {
    if (state == nullptr || info == nullptr) {
        return false;
    }
    return GetTrialInfoAt(state->trial, info);
}

bool GetTrialInfoAt(int trial, TrialInfo *info) {
    if (info == nullptr) {
        return false;
    }
    // Negative trials never occur in the program; treat them as past the end.
    if (trial < 0 || trial >= TRIAL_COUNT) {
        info->is_comparison = 0;
        info->slot = -1;
        return false;
    }
    *info = kSchedule[trial];
    return true;
}
