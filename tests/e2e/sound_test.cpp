// The real Kestrune.exe clicked through from another process, with what it
// plays captured: this executable runs with ALSA_CONFIG_PATH pointing at
// tools/alsa/capture.conf, which the launched program inherits, so its sound
// lands in a raw file in the program's working folder.
#include "app/controls.h"
#include "e2e_driver.h"
#include "engine/app_state.h"
#include "engine/grading.h"
#include "engine/pitch.h"
#include "sound/tone_synth.h"
#include "tests/audio/captured_audio.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

// The program gives no sign outside its window when a tone has finished, and
// a press while one sounds is lost; the capture device finishes a tone in a
// quarter of a second, so this leaves ample room (a lost press fails the
// tone count below rather than passing unnoticed).
constexpr DWORD TONE_WAIT_MS = 1500;
// Roots of every tone the program can play: bases 220..329 Hz moved by at most
// 3.65 intervals of 90 cents.
constexpr double LOWEST_ROOT = 170.0;
constexpr double HIGHEST_ROOT = 420.0;

// The score after the first three trials are decided with nothing marked,
// worked out with the program's own grading on a record of the same history.
int ScoreAfterThreeUnansweredTrials() {
    static AppState shadow;
    shadow.score = SCORE_START;
    for (int j = 0; j < COMPARISON_SLOTS; ++j) {
        shadow.high_key[j] = 1;
        shadow.low_key[j] = 2;
    }
    for (int t = 0; t < 3; ++t) {
        shadow.trial = t;
        ScoreAnswer(&shadow);
    }
    return shadow.score;
}

// Play's distance from Target in intervals for a slider this far from the
// hidden target position.
double MatchingIntervals(int diff) {
    double k = diff / 15.0;
    if (abs(diff) > 15) {
        k = (diff > 0 ? 1.0 : -1.0) * sqrt(fabs(k));
    }
    return k;
}

TEST(SoundEndToEnd, PlayButtonsPutTheTrialsTonesInTheCapturedStream) {
    WorkDir dir;
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    ASSERT_TRUE(app.Click(ID_START));
    auto play = [&app](int id) {
        ASSERT_TRUE(app.Click(id)) << "button " << id;
        Sleep(TONE_WAIT_MS);
    };
    // Trial 0, comparison: A, B, C.
    play(ID_PLAY_A);
    play(ID_PLAY_B);
    play(ID_PLAY_C);
    for (int t = 0; t < 3; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    // Trial 3, matching: Target, then Play at three slider positions.
    ASSERT_TRUE(IsWindowVisible(app.Control(ID_TARGET)));
    play(ID_TARGET);
    const int positions[] = {0, 100, 200};
    for (int pos : positions) {
        ASSERT_TRUE(app.Scroll(ID_PITCH_SLIDER, SB_THUMBPOSITION, pos));
        play(ID_PLAY);
    }
    // Quitting closes the device, which writes out the rest of the capture.
    ASSERT_TRUE(app.Close());
    DWORD exit_code = 1;
    ASSERT_TRUE(app.WaitForExit(30000, &exit_code));
    EXPECT_EQ(exit_code, 0u);

    CapturedStream stream;
    ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME).c_str(), &stream))
        << "nothing captured: the program found no sound device (ALSA_CONFIG_PATH?)";
    EXPECT_EQ(stream.left, stream.right);
    std::vector<CapturedTone> tones = FindTones(stream.left, TONE_GAP);
    ASSERT_EQ(tones.size(), 7u) << "a press was lost or a tone missing";
    std::vector<double> roots;
    for (const CapturedTone &tone : tones) {
        EXPECT_EQ(tone.frames, TONE_FRAMES);
        EXPECT_EQ(stream.left[tone.begin], 0);
        roots.push_back(
            RootFrequency(&stream.left[tone.begin], TONE_FRAMES, LOWEST_ROOT, HIGHEST_ROOT));
        printf("  tone root %.6f Hz\n", roots.back());
    }

    // Comparison at score 100: one tone on a whole-number base, one an
    // interval above it and one an interval below.
    const double interval0 = CentsAtScore(SCORE_START);
    std::vector<double> abc(roots.begin(), roots.begin() + 3);
    std::vector<double> sorted = abc;
    std::sort(sorted.begin(), sorted.end());
    const double base0 = sorted[1];
    EXPECT_LT(fabs(CentsBetween(base0, round(base0))), MAX_CENTS_ERROR) << "base " << base0;
    EXPECT_GE(round(base0), 220.0);
    EXPECT_LE(round(base0), 329.0);
    EXPECT_NEAR(CentsBetween(sorted[2], round(base0)), interval0, MAX_CENTS_ERROR);
    EXPECT_NEAR(CentsBetween(sorted[0], round(base0)), -interval0, MAX_CENTS_ERROR);

    // Matching: Target on a whole-number base; the three Plays fit one hidden
    // target position at the interval of the score after three trials.
    const double target = roots[3];
    const double base3 = round(target);
    EXPECT_LT(fabs(CentsBetween(target, base3)), MAX_CENTS_ERROR) << "target " << target;
    const double interval3 = CentsAtScore(ScoreAfterThreeUnansweredTrials());
    int fitting = -1;
    double worst_fit = 0.0;
    for (int hidden = 0; hidden <= PITCH_SLIDER_MAX && fitting < 0; ++hidden) {
        double worst = 0.0;
        for (int i = 0; i < 3; ++i) {
            double intended = MatchingIntervals(positions[i] - hidden) * interval3;
            worst = fmax(worst, fabs(CentsBetween(roots[4 + i], base3) - intended));
        }
        if (worst < MAX_CENTS_ERROR) {
            fitting = hidden;
            worst_fit = worst;
        }
    }
    EXPECT_GE(fitting, 0) << "the Play tones fit no target position";
    printf("  matching target position %d, worst pitch error %.6f cents\n", fitting, worst_fit);
}

// Closing the program while a tone sounds: it stops the tone and ends
// normally; no more than that one tone was played.
TEST(SoundEndToEnd, ClosingWhileAToneSounds) {
    WorkDir dir;
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    ASSERT_TRUE(app.Click(ID_START));
    ASSERT_TRUE(app.Click(ID_PLAY_B));
    ASSERT_TRUE(app.Close());
    DWORD exit_code = 1;
    ASSERT_TRUE(app.WaitForExit(30000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    CapturedStream stream;
    ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME).c_str(), &stream))
        << "nothing captured: the program found no sound device (ALSA_CONFIG_PATH?)";
    std::vector<CapturedTone> tones = FindTones(stream.left, TONE_GAP);
    ASSERT_LE(tones.size(), 1u);
    if (!tones.empty()) {
        EXPECT_LE(tones[0].frames, TONE_FRAMES);
        printf("  %d of %d frames sounded before the close\n", tones[0].frames, TONE_FRAMES);
    }
}

} // namespace
