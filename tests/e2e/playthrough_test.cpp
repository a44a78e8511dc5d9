// Whole tests on the real Kestrune.exe, played by a listener who hears every
// tone in the captured sound: each screen is compared pixel by pixel with
// the picture the program's painting gives for the state the listener has
// worked out, the score display's digits are read off the screen and held
// against scores worked out by hand, and after quitting the captured stream
// and Settings.ini are checked.
#include "app/controls.h"
#include "engine/schedule.h"
#include "listener.h"
#include "tests/support/screen_check.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/program.h"
#include "tests/support/screen_controls.h"
#include "tests/support/seven_segment.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;
constexpr DWORD PAINT_TIMEOUT_MS = 5000;

// One trial as it must come out: whether the answer is right, and the score
// after it.
struct TrialOutcome {
    bool right;
    int score;
};

// A first test in a fresh program (start score 100, no run yet) whose every
// answer is what the listener heard, or every answer the opposite, worked out
// by hand from the grading rules: right answers gain 30 x d, 50 x d in
// matching (off by 0 steps), and sqrt(d) times that once three are in a row
// (d = 1 - trial / 10); opposite ones (the slider at least 34 steps off) lose
// 30 x d^0.25 and 50 x d^0.25 once the run of wrong ones is under way; the
// score stays within 0..300.
const TrialOutcome kHeardTest[TRIAL_COUNT] = {
    {true, 130}, {true, 157}, {true, 183}, {true, 224}, {true, 262},
    {true, 297}, {true, 300}, {true, 300}, {true, 300}, {true, 300},
};
const TrialOutcome kOppositeTest[TRIAL_COUNT] = {
    {false, 70}, {false, 41}, {false, 13}, {false, 0}, {false, 0},
    {false, 0},  {false, 0},  {false, 0},  {false, 0}, {false, 0},
};
// The two first trials of a second test after kHeardTest: the run of ten
// carries over, so both gain sqrt(d) x 30 at once (30, then 28.46).
const TrialOutcome kSecondHeardTest[2] = {{true, 130}, {true, 158}};

class PlaythroughTest : public ::testing::Test {
  protected:
    // The screens at this run's display scale (the program's, in the same prefix).
    void SetUp() override { CreateReferenceScreens(&reference, ScreenDpi()); }
    void TearDown() override { DestroyReferenceScreens(&reference); }

    // The children are exactly the ids given, and the window's picture
    // outside them equals the reference.
    void ExpectScreen(int screen, const std::vector<int> &ids, const char *name) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(app.WaitForScreen(ids)) << "the screen's controls";
        Picture wanted = ComposeReference(&reference, listener.expected, screen);
        Picture shown;
        int differences = WaitForPicture(app.window(), wanted, PAINT_TIMEOUT_MS, &shown);
        EXPECT_EQ(differences, 0) << "pixels that differ from the program's own painting";
        if (differences != 0) {
            SavePicture(shown, std::string(name) + "-shown.bmp");
            SavePicture(wanted, std::string(name) + "-wanted.bmp");
        }
    }

    void ExpectTrialControls(bool comparison) {
        for (int id : kComparisonOnlyIds) {
            EXPECT_EQ(app.IsShown(id), comparison) << "control " << id;
        }
        for (int id : kMatchingOnlyIds) {
            EXPECT_EQ(app.IsShown(id), !comparison) << "control " << id;
        }
        for (int id : kAlwaysOnTestIds) {
            EXPECT_TRUE(app.IsShown(id)) << "control " << id;
        }
    }

    // After the trial `trial` is decided, the test's score display settles on
    // `score`, or on dashes from the sixth decided trial on. A wrong figure
    // ends the test: every later one would be wrong too.
    void ExpectDisplaySettlesAfter(int trial, int score) {
        std::string text = trial + 1 < 6 ? DisplayText(score) : "---";
        ASSERT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, text, COUNT_TIMEOUT_MS), text)
            << "the test's score display after trial " << trial;
    }

    // Answers and decides one trial in `style`; the outcome must be `want`:
    // the listener's own verdict, the score by the grading rules, and the
    // score the program shows.
    void PlayTrial(int t, AnswerStyle style, const TrialOutcome &want) {
        SCOPED_TRACE(::testing::Message() << "trial " << t);
        ASSERT_EQ(listener.expected.trial, t);
        bool comparison = IsComparisonTrial(t);
        bool answered =
            comparison ? AnswerComparison(&listener, style) : AnswerMatching(&listener, style);
        ASSERT_TRUE(answered) << listener.failure;
        ASSERT_TRUE(Decide(&listener)) << listener.failure;
        printf("  trial %d: %s, score %d\n", t, listener.verdicts.back() ? "right" : "wrong",
               listener.expected.score);
        EXPECT_EQ(listener.verdicts.back(), want.right) << "the listener's verdict";
        EXPECT_EQ(listener.expected.score, want.score) << "the grading rules on this history";
        if (t + 1 < TRIAL_COUNT) {
            ExpectDisplaySettlesAfter(t, want.score);
        }
    }

    // Ten trials answered in `style`, up to the revealed result screen.
    void PlayWholeTest(AnswerStyle style, const TrialOutcome *outcomes) {
        ExpectNewTest(&listener);
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS),
                  "100");
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            ExpectTrialControls(IsComparisonTrial(t));
            ExpectScreen(ScreenTest, kTestScreenIds,
                         IsComparisonTrial(t) ? "comparison" : "matching");
            PlayTrial(t, style, outcomes[t]);
            ASSERT_FALSE(HasFatalFailure());
        }
        // The final count runs, then the table and the cents line appear.
        std::string final_text = DisplayText(outcomes[TRIAL_COUNT - 1].score);
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_FINAL_DISPLAY, final_text, COUNT_TIMEOUT_MS),
                  final_text)
            << "the final score display";
        listener.expected.results_revealed = 1;
        ExpectScreen(ScreenResult, kResultScreenIds, "result");
    }

    void ExpectTitle() { ExpectScreen(ScreenTitle, kTitleScreenIds, "title"); }

    void Launch() {
        ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
        BeginListening(&listener, &app, dir.File(CAPTURE_FILE_NAME));
    }

    void QuitAndExpectVolume(int volume) {
        ASSERT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
        EXPECT_EQ(ReadSavedVolume(dir.path()), volume);
        ExpectCapturedTonesAsHeard();
    }

    // After the program has ended the whole stream is written: exactly the
    // tones the listener heard, each one second long.
    void ExpectCapturedTonesAsHeard() {
        CapturedStream stream;
        ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME), &stream));
        EXPECT_EQ(stream.left, stream.right);
        std::vector<CapturedTone> tones = FindTones(stream.left);
        ASSERT_EQ(tones.size(), listener.heard.size());
        ASSERT_GT(tones.size(), 0u);
        for (size_t i = 0; i < tones.size(); ++i) {
            EXPECT_EQ(tones[i].frames, FRAMES_PER_TONE) << "tone " << i;
        }
        printf("  %d tones captured, each %d frames\n", static_cast<int>(tones.size()),
               FRAMES_PER_TONE);
    }

    ScratchFolder dir{ScratchFolder::DO_NOT_ENTER};
    KestruneApp app;
    Listener listener;
    ReferenceScreens reference;
};

TEST_F(PlaythroughTest, WithoutSettingsAListenerWhoHearsEverythingThenTheCloseButton) {
    DWORD start = GetTickCount();
    Launch();
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 90) << "no Settings.ini: the default volume";
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBTRACK, 60));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, 60));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_ENDSCROLL));
    PlayWholeTest(AnswerStyle::Heard, kHeardTest);
    if (HasFatalFailure()) {
        return;
    }

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 60);
    // A second test, left in its third trial with the close button.
    ExpectNewTest(&listener);
    for (int t = 0; t < 2; ++t) {
        PlayTrial(t, AnswerStyle::Heard, kSecondHeardTest[t]);
        ASSERT_FALSE(HasFatalFailure());
    }
    ASSERT_TRUE(app.Close());
    QuitAndExpectVolume(60);
    printf("  whole run %lu ms\n", GetTickCount() - start);
}

TEST_F(PlaythroughTest, WithSettingsAListenerWhoAnswersTheOppositeThenTheQuitButton) {
    DWORD start = GetTickCount();
    WritePrivateProfileStringA("Settings", "Volume", "25", dir.File("Settings.ini").c_str());
    WritePrivateProfileStringA("Other", "Keep", "yes", dir.File("Settings.ini").c_str());
    Launch();
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 25) << "the saved volume";
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_PAGERIGHT));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 35);
    PlayWholeTest(AnswerStyle::Opposite, kOppositeTest);
    if (HasFatalFailure()) {
        return;
    }

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS), "100")
        << "a new test starts at 100, unblanked";
    EXPECT_FALSE(app.Click(ID_BACK)) << "Back belongs to the result screen only";
    // Leave the test the only way the test screen offers: through its ten trials.
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    ASSERT_TRUE(app.Click(ID_BACK));
    ASSERT_TRUE(app.PostClick(ID_QUIT));
    QuitAndExpectVolume(35);
    char keep[16] = {};
    GetPrivateProfileStringA("Other", "Keep", "", keep, sizeof keep,
                             dir.File("Settings.ini").c_str());
    EXPECT_STREQ(keep, "yes");
    printf("  whole run %lu ms\n", GetTickCount() - start);
}

} // namespace
