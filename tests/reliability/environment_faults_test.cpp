// The score display's timer cannot start: the system's table of multimedia
// timers is full (this process takes every free entry first). The counts
// cannot run, yet every value must come to rest, or the result table, which
// waits for the final count, would never be revealed.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/schedule.h"
#include "tests/app/app_test_support.h"
#include "tests/audio/tone_window.h"
#include "tests/dsb/display_harness.h"
#include "tests/reliability/process_counts.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>
#include <string>

namespace {

std::string Figure(int value) {
    char text[16];
    snprintf(text, sizeof text, "%3d", value);
    return text;
}

class NoTimerForTheDisplay : public MainWindowFixture {
  protected:
    // The right answer, marked and decided as a user does: the score moves,
    // so every Decide asks the display for a count.
    void DecideWell() {
        TrialInfo info = {};
        ASSERT_TRUE(GetTrialInfo(state, &info));
        if (info.is_comparison) {
            Click(window, ID_HIGH_A + state->high_key[info.slot] - 1);
            Click(window, ID_LOW_A + state->low_key[info.slot] - 1);
        } else {
            Scroll(window, ID_PITCH_SLIDER, SB_THUMBPOSITION, state->match_target[info.slot]);
        }
        Click(window, ID_DECIDE);
    }
};

TEST_F(NoTimerForTheDisplay, EveryValueIsShownAtOnceAndTheResultsAreRevealed) {
    std::unique_ptr<TimerHog> hog(new TimerHog);
    ASSERT_GT(hog->held(), 0);
    ASSERT_EQ(FreeTimerSlots(), 0) << "the timer table could not be filled";
    printf("timers taken to fill the table: %d\n", hog->held());

    Click(window, ID_START);
    ASSERT_EQ(state->screen, ScreenTest);
    HWND display = GetDlgItem(window, ID_SCORE_DISPLAY);
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        SCOPED_TRACE(::testing::Message() << "trial " << t);
        DecideWell();
        if (t == TRIAL_COUNT - 1) {
            break;
        }
        ASSERT_EQ(GetDisplayRecord(display)->timer_id, 0u);
        // Shown at once, before anything else is handled.
        EXPECT_EQ(ReadDisplay(display), t >= 6 ? "---" : Figure(state->score));
        // Settled as soon as the queue is handled (no timer could tick), and
        // so blanked from the sixth graded trial on, as after a count.
        PumpPending();
        EXPECT_EQ(ReadDisplay(display), state->trial > 5 ? "---" : Figure(state->score));
    }
    ASSERT_EQ(state->screen, ScreenResult);
    ASSERT_GT(state->score, 0);
    EXPECT_EQ(state->results_revealed, 0);
    // Revealed once the queue is handled, with no timer to tick.
    PumpPending();
    EXPECT_EQ(state->results_revealed, 1);
    EXPECT_EQ(ReadDisplay(GetDlgItem(window, ID_FINAL_DISPLAY)), Figure(state->score));

    // Once timers can be had again, counts run as before.
    hog.reset();
    Click(window, ID_BACK);
    Click(window, ID_START);
    DecideWell();
    DsbData *record = GetDisplayRecord(GetDlgItem(window, ID_SCORE_DISPLAY));
    ASSERT_NE(record->timer_id, 0u);
    int score = state->score;
    EXPECT_TRUE(PumpUntil([record] { return record->timer_id == 0; }, 20000));
    EXPECT_EQ(ReadDisplay(GetDlgItem(window, ID_SCORE_DISPLAY)), Figure(score));
}

} // namespace
