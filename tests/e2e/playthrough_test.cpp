// Whole tests on the real Kestrune.exe, played by a listener who hears every
// tone in the captured sound: each screen is compared pixel by pixel with
// the picture the program's painting gives for the state the listener has
// worked out, the score display's digits are read off the screen, and after
// quitting the captured stream and Settings.ini are checked.
#include "app/controls.h"
#include "e2e_driver.h"
#include "engine/grading.h"
#include "engine/schedule.h"
#include "listener.h"
#include "screen_check.h"
#include "sound/tone_synth.h"
#include "tests/audio/captured_audio.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;
constexpr DWORD PAINT_TIMEOUT_MS = 5000;
constexpr DWORD EXIT_TIMEOUT_MS = 30000;

// The scores of a first test in a fresh program whose every answer is right,
// or every answer the opposite, worked out by hand from the grading rules:
// right answers gain 30 x d, 50 x d in matching, and sqrt(d) times that once
// three are in a row (d = 1 - trial / 10); opposite ones lose 30 x d^0.25 and
// 50 x d^0.25 once the run is under way. The grading the listener keeps
// follows the program's code; these catch a rule that code has wrong.
const int kHeardScores[TRIAL_COUNT] = {130, 157, 183, 224, 262, 297, 300, 300, 300, 300};
const int kOppositeScores[TRIAL_COUNT] = {70, 41, 13, 0, 0, 0, 0, 0, 0, 0};

const int kComparisonOnly[] = {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_LOW_A, ID_LOW_B,
                               ID_LOW_C,  ID_PLAY_A, ID_PLAY_B, ID_PLAY_C};
const int kMatchingOnly[] = {ID_PITCH_SLIDER, ID_TARGET, ID_PLAY};
const int kAlwaysOnTest[] = {ID_DECIDE, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER};

class PlaythroughTest : public ::testing::Test {
  protected:
    void SetUp() override { CreateReferenceScreens(&reference); }
    void TearDown() override { DestroyReferenceScreens(&reference); }

    // The window's picture outside its children equals the reference, and the
    // children are exactly the ids given.
    void ExpectScreen(int screen, const std::vector<int> &ids, const char *name) {
        SCOPED_TRACE(name);
        EXPECT_EQ(app.ChildCount(), static_cast<int>(ids.size()));
        for (int id : ids) {
            EXPECT_TRUE(app.HasControl(id)) << "control " << id;
        }
        Picture wanted = ComposeReference(&reference, listener.expected, screen);
        Picture shown;
        int differences = WaitForPicture(wanted, &shown);
        EXPECT_EQ(differences, 0) << "pixels that differ from the program's own painting";
        if (differences != 0) {
            SavePicture(shown, std::string(name) + "-shown.bmp");
            SavePicture(wanted, std::string(name) + "-wanted.bmp");
        }
    }

    void ExpectTrialControls(bool comparison) {
        for (int id : kComparisonOnly) {
            EXPECT_EQ(IsWindowVisible(app.Control(id)) != FALSE, comparison) << "control " << id;
        }
        for (int id : kMatchingOnly) {
            EXPECT_EQ(IsWindowVisible(app.Control(id)) != FALSE, !comparison) << "control " << id;
        }
        for (int id : kAlwaysOnTest) {
            EXPECT_TRUE(IsWindowVisible(app.Control(id))) << "control " << id;
        }
    }

    void ExpectDisplaySettlesAt(const std::string &text) {
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, text, COUNT_TIMEOUT_MS), text)
            << "the test's score display";
    }

    // Ten trials answered in `style`, up to the revealed result screen; in
    // a fresh program the scores must be `scores`.
    void PlayWholeTest(AnswerStyle style, const int *scores) {
        ExpectNewTest(&listener);
        ExpectDisplaySettlesAt(ExpectedDisplayText(&listener));
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            SCOPED_TRACE(::testing::Message() << "trial " << t);
            TrialInfo info;
            ASSERT_TRUE(GetTrialInfo(&listener.expected, &info));
            ExpectTrialControls(info.is_comparison != 0);
            ExpectScreen(ScreenTest, TestScreenIds(),
                         info.is_comparison ? "comparison" : "matching");
            bool answered = info.is_comparison ? AnswerComparison(&listener, style)
                                               : AnswerMatching(&listener, style);
            ASSERT_TRUE(answered) << listener.failure;
            ASSERT_TRUE(Decide(&listener)) << listener.failure;
            printf("  trial %d: score %d\n", t, listener.expected.score);
            EXPECT_EQ(listener.expected.score, scores[t]);
            if (t + 1 < TRIAL_COUNT) {
                ExpectDisplaySettlesAt(ExpectedDisplayText(&listener));
            }
        }
        printf("  final score %d (%s answers)\n", listener.expected.score,
               style == AnswerStyle::Heard ? "heard" : "opposite");
        // The final count runs, then the table and the cents line appear.
        char final_text[16];
        snprintf(final_text, sizeof final_text, "%3d", listener.expected.score);
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_FINAL_DISPLAY, final_text, COUNT_TIMEOUT_MS),
                  final_text)
            << "the final score display";
        listener.expected.results_revealed = 1;
        ExpectScreen(ScreenResult, {ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY}, "result");
    }

    // The window shows `wanted` outside its children, or the screen differs
    // still when the time is up: what a paint puts on the screen reaches it a
    // little later, and the reveal follows the final count's last tick.
    int WaitForPicture(const Picture &wanted, Picture *shown) {
        DWORD start = GetTickCount();
        for (;;) {
            *shown = CaptureClient(app.window());
            int differences =
                CountDifferencesOutside(*shown, wanted, VisibleChildRects(app.window()));
            if (differences == 0 || GetTickCount() - start > PAINT_TIMEOUT_MS) {
                return differences;
            }
            Sleep(50);
        }
    }

    static std::vector<int> TestScreenIds() {
        return {ID_HIGH_A,       ID_HIGH_B, ID_HIGH_C, ID_PLAY_A,        ID_PLAY_B,
                ID_PLAY_C,       ID_LOW_A,  ID_LOW_B,  ID_LOW_C,         ID_DECIDE,
                ID_PITCH_SLIDER, ID_PLAY,   ID_TARGET, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER};
    }

    void ExpectTitle() { ExpectScreen(ScreenTitle, {ID_START, ID_QUIT}, "title"); }

    void Launch() {
        ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
        BeginListening(&listener, &app, dir.File(CAPTURE_FILE_NAME));
    }

    void QuitAndExpectVolume(int volume) {
        DWORD exit_code = 99;
        ASSERT_TRUE(app.WaitForExit(EXIT_TIMEOUT_MS, &exit_code));
        EXPECT_EQ(exit_code, 0u);
        EXPECT_EQ(ReadSavedVolume(dir.path()), volume);
        ExpectCapturedTonesAsHeard();
    }

    // After the program has ended the whole stream is written: exactly the
    // tones the listener heard, each one second long.
    void ExpectCapturedTonesAsHeard() {
        CapturedStream stream;
        ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME).c_str(), &stream));
        EXPECT_EQ(stream.left, stream.right);
        std::vector<CapturedTone> tones = FindTones(stream.left, TONE_GAP);
        ASSERT_EQ(tones.size(), listener.heard.size());
        for (size_t i = 0; i < tones.size(); ++i) {
            EXPECT_EQ(tones[i].frames, TONE_FRAMES) << "tone " << i;
        }
        printf("  %d tones captured, each %d frames\n", static_cast<int>(tones.size()),
               TONE_FRAMES);
    }

    WorkDir dir;
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
    PlayWholeTest(AnswerStyle::Heard, kHeardScores);
    if (HasFatalFailure()) {
        return;
    }
    // Every answer right: the score never fell.
    EXPECT_GT(listener.expected.score, SCORE_START);

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 60);
    // A second test, left in its third trial with the close button.
    ExpectNewTest(&listener);
    for (int t = 0; t < 2; ++t) {
        ASSERT_TRUE(AnswerComparison(&listener, AnswerStyle::Heard)) << listener.failure;
        ASSERT_TRUE(Decide(&listener)) << listener.failure;
        ExpectDisplaySettlesAt(ExpectedDisplayText(&listener));
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
    PlayWholeTest(AnswerStyle::Opposite, kOppositeScores);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_LT(listener.expected.score, SCORE_START);

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    ExpectNewTest(&listener);
    ExpectDisplaySettlesAt(ExpectedDisplayText(&listener));
    ASSERT_TRUE(app.Click(ID_BACK) == false) << "Back belongs to the result screen only";
    // Leave the test the only way the test screen offers: through its ten trials.
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        ASSERT_TRUE(Decide(&listener)) << listener.failure;
    }
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
