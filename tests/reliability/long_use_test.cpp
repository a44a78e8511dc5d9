// A thousand complete tests in one process, as one user sitting through them
// (start, a tone and an answer per trial, the result, back), with nothing
// left to grow: memory, GDI objects, windows, multimedia timers.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/schedule.h"
#include "tests/reliability/app_invariants.h"
#include "tests/reliability/process_counts.h"
#include "tests/support/answers.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

namespace {

// The everyday size: 100 tests (about 35 s) already show a leak of one GDI
// object, window or timer per test, and the heap slack below is sized so
// that the smallest thing a test allocates, a display record, would show
// too. `make soak` runs 1 000; KESTRUNE_SOAK_TESTS asks for any number.
const long kDefaultTests = 100;
// Tests run before the first count, so that what the system caches once
// (control classes, fonts, the sound driver's buffers) is not taken for growth.
const int kWarmUpTests = 20;
// Four tests of every run are answered well (every quarter's last): the
// score climbs and the result screen's count runs for seconds before the
// table is revealed. The others are answered badly: the score falls to 0 and
// the final count, from 0 to 0, settles at its first tick.
const long kGoodTests = 4;
// Heap bytes each test may add after the warm-up, as a slack for the
// system's own allocations, which wander by a few hundred bytes over a run.
// A leaked display record (56 bytes) or tone buffer (176 401 bytes) per test
// passes it at any size.
const size_t kHeapSlackPerTest = 40;

class LongUse : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_NE(state->wave_out, nullptr) << "no wave device: is ALSA_CONFIG_PATH set?";
    }

    void Press(int id) { Click(window, id); }

    // One trial: listen to a tone, answer, decide. The tone is still sounding
    // when Decide comes, which cuts it off; its completion is handled before
    // the next trial.
    void Trial(bool well) {
        TrialInfo info = {};
        ASSERT_TRUE(GetTrialInfo(state, &info));
        Press(info.is_comparison ? ID_PLAY_B : ID_TARGET);
        ASSERT_EQ(state->playing, 1);
        MarkAnswer(window, state, well);
        Press(ID_DECIDE);
        ASSERT_TRUE(PumpUntil([this] { return state->playing == 0; }, 20000))
            << "the cut-off tone never came back";
        ASSERT_EQ(BrokenInvariant(window, state), "");
    }

    void CompleteTest(bool well) {
        ClearDisplayLog(); // the test support's own record of display messages
        Press(ID_START);
        ASSERT_EQ(state->screen, ScreenTest);
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            Trial(well);
            ASSERT_FALSE(HasFatalFailure()) << "trial " << t;
        }
        ASSERT_EQ(state->screen, ScreenResult);
        // The table is revealed when the final count settles.
        ASSERT_TRUE(PumpUntil([this] { return state->results_revealed != 0; }, 20000))
            << "the result table was never revealed";
        ASSERT_EQ(BrokenInvariant(window, state), "");
        Press(ID_BACK);
        ASSERT_EQ(state->screen, ScreenTitle);
        PumpPending();
        ++completed_;
    }

    long completed_ = 0;
};

void PrintCounts(const char *when, const ProcessCounts &c) {
    printf("  %-22s GDI %4d  windows %3d  free timers %2d  heap %8zu B  private %9zu B\n", when,
           c.gdi_objects, c.windows, c.free_timer_slots, c.heap_bytes, c.private_bytes);
}

TEST_F(LongUse, ManyTestsGrowNothing) {
    const char *asked = getenv("KESTRUNE_SOAK_TESTS");
    long tests = asked != nullptr && asked[0] != 0 ? strtol(asked, nullptr, 10) : kDefaultTests;
    for (int i = 0; i < kWarmUpTests; ++i) {
        CompleteTest(i == 0);
        ASSERT_FALSE(HasFatalFailure());
    }
    ProcessCounts before = CountProcess();
    ProcessCounts halfway = before;
    long good_every = tests / kGoodTests > 0 ? tests / kGoodTests : 1;
    long good = 0;
    DWORD start = GetTickCount();
    for (long n = 0; n < tests; ++n) {
        bool well = n % good_every == good_every - 1;
        good += well;
        CompleteTest(well);
        ASSERT_FALSE(HasFatalFailure()) << "test " << n;
        if (n == tests / 2) {
            halfway = CountProcess();
        }
    }
    DWORD elapsed = GetTickCount() - start;
    ProcessCounts after = CountProcess();

    printf("long use: %ld complete tests (%ld answered well) in %.1f s, %.1f ms per test, "
           "%ld tones\n",
           completed_ - kWarmUpTests, good, elapsed / 1000.0,
           elapsed / static_cast<double>(tests ? tests : 1), (completed_ - kWarmUpTests) * 10);
    PrintCounts("after the warm-up", before);
    PrintCounts("halfway", halfway);
    PrintCounts("at the end", after);

    EXPECT_EQ(completed_ - kWarmUpTests, tests);
    EXPECT_EQ(after.gdi_objects, before.gdi_objects);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.free_timer_slots, before.free_timer_slots);
    EXPECT_LE(after.heap_bytes, before.heap_bytes + kHeapSlackPerTest * tests);
}

} // namespace
