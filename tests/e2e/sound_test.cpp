// The real Kestrune.exe clicked through from another process, with what it
// plays captured: this executable runs with ALSA_CONFIG_PATH pointing at
// tools/alsa/capture.conf, which the launched program inherits, so its sound
// lands in a raw file in the program's working folder.
#include "app/controls.h"
#include "engine/app_state.h"
#include "engine/pitch.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

// The capture device plays a tone in about a quarter of a second; a busy
// machine may take much longer, and a press that sounds nothing fails.
constexpr DWORD TONE_TIMEOUT_MS = 20000;
// Roots of every tone the program can play: bases 220..329 Hz moved by at most
// 3.65 intervals of 90 cents.
constexpr double LOWEST_ROOT = 170.0;
constexpr double HIGHEST_ROOT = 420.0;

// The score after the first three trials of a fresh program are decided with
// nothing marked, worked out by hand: three wrong answers in a row cost
// 30 x d^0.25 each (d = 1, 0.9, 0.8): 100 - 30 - 29 - 28.
constexpr int SCORE_AFTER_THREE_UNANSWERED = 13;

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
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    CaptureMonitor capture;
    capture.Follow(dir.File(CAPTURE_FILE_NAME));
    ASSERT_TRUE(app.Click(ID_START));
    // Each press is queued behind the previous tone's completion and must
    // sound its own tone; the next press waits until that tone has played.
    auto play = [&](int id) {
        ASSERT_TRUE(app.PostClick(id)) << "button " << id;
        std::vector<short> tone;
        ASSERT_TRUE(capture.WaitForNextTone(TONE_TIMEOUT_MS, &tone))
            << "button " << id << " sounded nothing";
    };
    // Trial 0, comparison: A, B, C.
    for (int id : {ID_PLAY_A, ID_PLAY_B, ID_PLAY_C}) {
        play(id);
        ASSERT_FALSE(HasFatalFailure());
    }
    for (int t = 0; t < 3; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    // Trial 3, matching: Target, then Play at three slider positions.
    ASSERT_TRUE(IsWindowVisible(app.Control(ID_TARGET)));
    play(ID_TARGET);
    const int positions[] = {0, 100, 200};
    ASSERT_FALSE(HasFatalFailure());
    for (int pos : positions) {
        ASSERT_TRUE(app.Scroll(ID_PITCH_SLIDER, SB_THUMBPOSITION, pos));
        play(ID_PLAY);
        ASSERT_FALSE(HasFatalFailure());
    }
    // Quitting closes the device, which writes out the rest of the capture.
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";

    CapturedStream stream;
    ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME), &stream))
        << "nothing captured: the program found no sound device (ALSA_CONFIG_PATH?)";
    EXPECT_EQ(stream.left, stream.right);
    std::vector<CapturedTone> tones = FindTones(stream.left);
    ASSERT_EQ(tones.size(), 7u) << "a tone more than the presses";
    std::vector<double> roots;
    for (const CapturedTone &tone : tones) {
        ASSERT_EQ(tone.frames, FRAMES_PER_TONE);
        EXPECT_EQ(tone.samples[0], 0);
        roots.push_back(
            RootFrequency(tone.samples.data(), FRAMES_PER_TONE, LOWEST_ROOT, HIGHEST_ROOT));
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
    const double interval3 = CentsAtScore(SCORE_AFTER_THREE_UNANSWERED);
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

} // namespace
