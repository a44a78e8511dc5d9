#include "tests/support/answers.h"

#include "app/controls.h"
#include "engine/schedule.h"
#include "tests/support/app_window.h"

void MarkAnswer(HWND window, const AppState *state, bool right) {
    TrialInfo info = {};
    if (!GetTrialInfo(state, &info)) {
        return;
    }
    int slot = info.slot;
    if (info.is_comparison) {
        int high = right ? state->high_key[slot] : state->low_key[slot];
        int low = right ? state->low_key[slot] : state->high_key[slot];
        Click(window, ID_HIGH_A + high - 1);
        Click(window, ID_LOW_A + low - 1);
    } else if (right) {
        Scroll(window, ID_PITCH_SLIDER, SB_THUMBPOSITION, state->match_target[slot]);
    } else {
        int target = state->match_target[slot];
        Scroll(window, ID_PITCH_SLIDER, target < PITCH_SLIDER_MAX / 2 ? SB_RIGHT : SB_LEFT);
    }
}

void AnswerAndDecide(HWND window, const AppState *state, bool right) {
    MarkAnswer(window, state, right);
    Click(window, ID_DECIDE);
}
