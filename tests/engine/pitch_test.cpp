#include "engine/pitch.h"

#include <gtest/gtest.h>

#include <math.h>

namespace {

TEST(CentsAtScore, TablePointsAndInterpolation) {
    const struct {
        int score;
        double cents;
    } cases[] = {
        {0, 90},
        {30, 70},
        {60, 50},
        {90, 30},
        {120, 10},
        {150, 6},
        {180, 2},
        {210, 1.5},
        {240, 1.0},
        {270, 0.75},
        {300, 0.5},
        {15, 80},
        {100, 70.0 / 3},
        {285, 0.625},
        {299, 0.50833333333333333},
        {225, 1.25},
        {245, 0.95833333333333337},
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(CentsAtScore(c.score), c.cents, 1e-12) << "score " << c.score;
    }
}

TEST(CentsAtScore, ScoresOutsideTheRangeStayInsideTheTable) {
    EXPECT_EQ(CentsAtScore(-30), 90.0);
    EXPECT_EQ(CentsAtScore(330), 0.5);
    EXPECT_EQ(CentsAtScore(1 << 30), 0.5);
}

AppState ComparisonTrial() {
    AppState s = {};
    s.trial = 0;
    s.score = 100;
    s.base_freq[0] = 220.0;
    s.high_key[0] = 2;
    s.low_key[0] = 3;
    return s;
}

TEST(StimulusFrequency, ComparisonRaisesOneToneAndLowersAnother) {
    AppState s = ComparisonTrial();
    EXPECT_EQ(StimulusFrequency(&s, 1), 220.0);
    EXPECT_NEAR(StimulusFrequency(&s, 2), 222.9852, 5e-5);
    EXPECT_NEAR(StimulusFrequency(&s, 3), 217.0548, 5e-5);
    EXPECT_EQ(StimulusFrequency(&s, 0), 220.0);
    // The high key wins when both keys name the same tone.
    s.low_key[0] = 2;
    EXPECT_GT(StimulusFrequency(&s, 2), 220.0);
}

TEST(StimulusFrequency, MatchingPlayFollowsTheSlider) {
    AppState s = {};
    s.trial = 3; // first matching trial, slot 0
    s.score = 0; // 90 cents per interval
    s.base_freq[3] = 300.0;
    s.match_target[0] = 100;
    const double interval = pow(2.0, 90.0 / 1200.0);
    const struct {
        int slider;
        double intervals;
    } cases[] = {
        {100, 0.0},
        {115, 1.0},
        {85, -1.0},
        {110, 10.0 / 15},
        {160, 2.0},
        {40, -2.0},
        {116, sqrt(16.0 / 15)},
        {200, sqrt(100.0 / 15)},
        {0, -sqrt(100.0 / 15)},
    };
    for (const auto &c : cases) {
        s.slider_pos = c.slider;
        EXPECT_NEAR(StimulusFrequency(&s, 1), 300.0 * pow(interval, c.intervals), 1e-9)
            << "slider " << c.slider;
        EXPECT_EQ(StimulusFrequency(&s, 2), StimulusFrequency(&s, 1));
        EXPECT_EQ(StimulusFrequency(&s, 0), 300.0) << "Target ignores the slider";
    }
}

TEST(StimulusFrequency, NoTrialNoPitch) {
    AppState s = ComparisonTrial();
    s.trial = 10;
    EXPECT_EQ(StimulusFrequency(&s, 1), 0.0);
    EXPECT_EQ(StimulusFrequency(nullptr, 1), 0.0);
}

} // namespace
