// The two score displays inside the real main window: the test display goes
// blank only once the sixth graded trial's count has settled, and the result
// table is revealed only once the final count has settled.
#include "app/controls.h"
#include "display_harness.h"
#include "engine/schedule.h"
#include "tests/support/answers.h"
#include "tests/support/main_window_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

// The real main window, in a scratch current directory of its own.
class ProgramInScratchFolder : public MainWindowFixture {
  protected:
    void DecideCorrectly() { AnswerAndDecide(window, state, true); }
    HWND Display(int id) { return GetDlgItem(window, id); }

    // Pumps until the display's running count has ended. Each of its ticks
    // first moves the count's start back by `hurry_ms`, so long counts pass
    // quickly, and `at_tick` sees the state just before the tick is handled.
    bool PumpUntilCountEnds(HWND display, DWORD hurry_ms, const std::function<void()> &at_tick) {
        return PumpUntil(
            [&] {
                DsbData *data = DisplayRecord(display);
                return !data || data->timer_id == 0;
            },
            10000,
            [&](const MSG &msg) {
                if (!IsLiveTickFor(msg, display))
                    return;
                DisplayRecord(display)->start_time -= hurry_ms;
                if (at_tick)
                    at_tick();
            });
    }

    // Handles one tick of the display's count as if the count had just begun.
    bool PumpOneEarlyTick(HWND display) {
        int seen = 0;
        return PumpUntil([&] { return seen >= 1; }, 10000,
                         [&](const MSG &msg) {
                             if (IsLiveTickFor(msg, display)) {
                                 DisplayRecord(display)->start_time = timeGetTime();
                                 ++seen;
                             }
                         });
    }

    static std::string Figure(int value) {
        char text[16];
        std::snprintf(text, sizeof text, "%3d", value);
        return text;
    }
};

TEST_F(ProgramInScratchFolder, TestDisplayBlanksOnlyAfterTheSixthGradedTrialSettles) {
    Command(window, ID_START);
    HWND display = Display(ID_SCORE_DISPLAY);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(ReadDisplay(display), "100");

    for (int graded = 1; graded <= 6; ++graded) {
        DecideCorrectly();
        ASSERT_EQ(state->trial, graded);
        ASSERT_EQ(Display(ID_SCORE_DISPLAY), display);
        EXPECT_EQ(SendMessageA(display, DSBM_GETVALUE, 0, 0), state->score);
        EXPECT_EQ(SendMessageA(display, DSBM_GETBLANK, 0, 0), 0) << "blank before trial " << graded;

        int blank_ticks = 0, ticks = 0;
        ASSERT_TRUE(PumpUntilCountEnds(display, 100, [&] {
            ++ticks;
            blank_ticks += DisplayRecord(display)->blank != 0;
        }));
        EXPECT_GE(ticks, 1);
        EXPECT_EQ(blank_ticks, 0) << "the count of trial " << graded << " runs unblanked";
        if (graded < 6) {
            EXPECT_EQ(SendMessageA(display, DSBM_GETBLANK, 0, 0), 0) << graded;
            EXPECT_EQ(ReadDisplay(display), Figure(state->score)) << graded;
        } else {
            EXPECT_EQ(SendMessageA(display, DSBM_GETBLANK, 0, 0), 1);
            EXPECT_EQ(ReadDisplay(display), "---");
        }
    }
    // Later trials count behind the dashes.
    DecideCorrectly();
    ASSERT_TRUE(PumpUntilCountEnds(display, 100, nullptr));
    EXPECT_EQ(ReadDisplay(display), "---");
    EXPECT_EQ(SendMessageA(display, DSBM_GETVALUE, 0, 0), state->score);
}

TEST_F(ProgramInScratchFolder, ResultTableIsRevealedOnlyAfterTheFinalCountSettles) {
    Command(window, ID_START);
    for (int i = 0; i < 10; ++i)
        DecideCorrectly(); // each new value restarts the test display's count
    ASSERT_EQ(state->screen, ScreenResult);
    ASSERT_GT(state->score, 100);
    HWND final_display = Display(ID_FINAL_DISPLAY);
    ASSERT_NE(final_display, nullptr);
    EXPECT_EQ(Display(ID_SCORE_DISPLAY), nullptr);
    EXPECT_EQ(state->results_revealed, 0);
    EXPECT_EQ(SendMessageA(final_display, DSBM_GETVALUE, 0, 0), state->score);
    EXPECT_EQ(SendMessageA(final_display, DSBM_GETSPEED, 0, 0), 60);
    EXPECT_EQ(DisplayRecord(final_display)->previous, 0) << "counts up from 0";

    int ticks = 0, revealed_during_count = 0;
    ASSERT_TRUE(PumpUntilCountEnds(final_display, 300, [&] {
        ++ticks;
        revealed_during_count += state->results_revealed != 0;
    }));
    EXPECT_GE(ticks, 1);
    EXPECT_EQ(revealed_during_count, 0);
    EXPECT_EQ(state->results_revealed, 1);
    EXPECT_EQ(ReadDisplay(final_display), Figure(state->score));
}

TEST_F(ProgramInScratchFolder, QuittingMidCountIsQuiet) {
    Command(window, ID_START);
    HWND display = Display(ID_SCORE_DISPLAY);
    DecideCorrectly();
    ASSERT_TRUE(PumpOneEarlyTick(display));
    UINT timer_id = DisplayRecord(display)->timer_id;
    ASSERT_NE(timer_id, 0u);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(display));
    EXPECT_EQ(timeKillEvent(timer_id), static_cast<MMRESULT>(TIMERR_NOCANDO));
    PumpFor(300); // ticks still queued for the dead display go nowhere
}

TEST_F(ProgramInScratchFolder, QuittingDuringTheFinalCountIsQuiet) {
    Command(window, ID_START);
    for (int i = 0; i < 10; ++i)
        DecideCorrectly();
    HWND final_display = Display(ID_FINAL_DISPLAY);
    ASSERT_NE(final_display, nullptr);
    ASSERT_GT(state->score, 100); // a count of well over a second
    ASSERT_TRUE(PumpOneEarlyTick(final_display));
    ASSERT_NE(DisplayRecord(final_display)->timer_id, 0u);
    Command(window, ID_RESULT_QUIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(final_display));
    PumpFor(300);
    EXPECT_EQ(state->results_revealed, 0);
}

} // namespace
