// Faults of the surroundings, with the real main window in this process
// (the real program is put through the others in real_program_test.cpp).
#include "app/controls.h"
#include "app/main_window.h"
#include "tests/reliability/process_counts.h"
#include "tests/support/answers.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_boxes.h"
#include "tests/support/message_pump.h"
#include "tests/support/results_csv.h"
#include "tests/support/seven_segment.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The score display's timer cannot start: the system's table of multimedia
// timers is full (the test takes every free entry first). The counts cannot
// run, yet every value must come to rest, or the result table, which waits
// for the final count, would never be revealed. Every Decide is answered
// right, so the score moves and the display is asked for a count.
class NoTimerForTheDisplay : public MainWindowFixture {
  protected:
    void DecideWell() { AnswerAndDecide(window, state, true); }
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
        ASSERT_EQ(DisplayRecord(display)->timer_id, 0u);
        // Shown at once, before anything else is handled.
        EXPECT_EQ(ReadDisplay(display), t >= 6 ? "---" : DisplayText(state->score));
        // Settled as soon as the queue is handled (no timer could tick), and
        // so blanked from the sixth graded trial on, as after a count.
        PumpPending();
        EXPECT_EQ(ReadDisplay(display), state->trial > 5 ? "---" : DisplayText(state->score));
    }
    ASSERT_EQ(state->screen, ScreenResult);
    ASSERT_GT(state->score, 0);
    EXPECT_EQ(state->results_revealed, 0);
    // Revealed once the queue is handled, with no timer to tick.
    PumpPending();
    EXPECT_EQ(state->results_revealed, 1);
    EXPECT_EQ(ReadDisplay(GetDlgItem(window, ID_FINAL_DISPLAY)), DisplayText(state->score));

    // Once timers can be had again, counts run as before.
    hog.reset();
    Click(window, ID_BACK);
    Click(window, ID_START);
    DecideWell();
    DsbData *record = DisplayRecord(GetDlgItem(window, ID_SCORE_DISPLAY));
    ASSERT_NE(record->timer_id, 0u);
    int score = state->score;
    EXPECT_TRUE(PumpUntil([record] { return record->timer_id == 0; }, 20000));
    EXPECT_EQ(ReadDisplay(GetDlgItem(window, ID_SCORE_DISPLAY)), DisplayText(score));
}

// A current folder deeper than 260 characters. The platform will not start a
// program in one, so the real window is made in this process, inside it:
// there is no whole path to the settings file, so the volume starts at 90,
// a whole test still runs, nothing is written in the folder, and the row
// goes to the Documents folder, where the listener is told it went.
class DeepCurrentFolder : public ::testing::Test {
  protected:
    void TearDown() override { SetCurrentDirectoryA(scratch_.path().c_str()); }

    ScratchFolder scratch_;
};

TEST_F(DeepCurrentFolder, WholeTestRunsAndOnlyTheDocumentsFolderIsWritten) {
    ScratchFolder documents(ScratchFolder::DO_NOT_ENTER);
    DocumentsFolderAt moved(Wide(documents.path()));
    MessageBoxWatcher boxes;
    DeepFolder deep(scratch_.path(), 300);
    ASSERT_TRUE(deep.Enter()) << "deep folder refused";
    HWND window = OpenMainWindow();
    ASSERT_NE(window, nullptr);
    AppState *state = GetAppState();
    EXPECT_EQ(state->volume, 90);
    Click(window, ID_START);
    Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 33);
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        Click(window, ID_PLAY_A);
        Click(window, ID_TARGET);
        Click(window, ID_DECIDE);
    }
    EXPECT_EQ(state->screen, ScreenResult);
    EXPECT_TRUE(PumpUntil([state] { return state->results_revealed != 0; }, 20000));
    Click(window, ID_BACK);
    EXPECT_EQ(state->screen, ScreenTitle);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    PumpPending();
    DrainQuit();
    SetCurrentDirectoryA(scratch_.path().c_str());
    for (const std::string &folder : deep.folders()) {
        EXPECT_EQ(GetFileAttributesW(Wide("\\\\?\\" + folder + "\\Settings.ini").c_str()),
                  INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(GetFileAttributesA(scratch_.File("Settings.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadResultsFile(Wide(documents.File("Kestrune\\Results.csv"))).lines.size(), 2u);
    EXPECT_EQ(boxes.Texts().size(), 1u) << "told once where the results went";
}

} // namespace
