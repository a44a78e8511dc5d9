#include "engine/pitch.h"
#include "engine/random.h"
#include "study/simulated_test.h"
#include "study/study_figures.h"

#include <gtest/gtest.h>

#include <math.h>

#include <vector>

namespace {

constexpr int DRAWS = 200000;
// Score 150 stands for 6 cents.
constexpr int SCORE_6_CENTS = 150;
constexpr double CENTS_AT_150 = 6.0;

double Phi(double x) {
    return 0.5 * erfc(-x / sqrt(2.0));
}

// Right answer of a comparison trial: the raised tone heard highest and the
// lowered one lowest, i.e. raised > middle > lowered. With the middle percept
// at m the other two fall on their sides independently; integrate over m
// (Simpson's rule, in units of one percept's deviation).
double ComparisonSuccessByIntegration(double interval_cents, double threshold_cents) {
    double sigma = threshold_cents / (sqrt(2.0) * 0.6744898);
    double a = interval_cents / sigma;
    const int steps = 4000;
    const double lo = -12.0, hi = 12.0, h = (hi - lo) / steps;
    double sum = 0.0;
    for (int i = 0; i <= steps; ++i) {
        double z = lo + i * h;
        double f = exp(-z * z / 2) / sqrt(2 * 3.14159265358979323846) * Phi(a - z) * Phi(a + z);
        sum += f * (i == 0 || i == steps ? 1 : i % 2 ? 4 : 2);
    }
    return sum * h / 3;
}

// Within five standard errors of a binomial share over n draws.
void ExpectShare(int hits, int n, double expected, const char *what) {
    double share = static_cast<double>(hits) / n;
    double error = sqrt(expected * (1 - expected) / n);
    EXPECT_NEAR(share, expected, 5 * error) << what;
}

TEST(ModelListener, TellsTwoTonesOneThresholdApartInThreeQuarters) {
    for (double threshold : {0.5, 6.0, 100.0}) {
        Listener listener = MakeModelListener(threshold, 17);
        int right = 0;
        for (int i = 0; i < DRAWS; ++i) {
            double low = PerceivedCents(&listener, 0.0);
            double high = PerceivedCents(&listener, threshold);
            right += high > low;
        }
        ExpectShare(right, DRAWS, 0.75, "two-interval trial at T");
    }
}

AppState ComparisonTrial() {
    AppState s = {};
    s.trial = 0;
    s.score = SCORE_6_CENTS;
    s.base_freq[0] = 261.0;
    return s;
}

TEST(ModelListener, ComparisonTrialSucceedsAsOftenAsIntegrationSays) {
    // The integration first, where the answer is known: with no interval all
    // six orders of the three percepts are equally likely.
    ASSERT_NEAR(ComparisonSuccessByIntegration(0.0, 1.0), 1.0 / 6, 1e-9);
    double at_threshold = ComparisonSuccessByIntegration(1.0, 1.0);
    const struct {
        bool guessing;
        double threshold;
        double expected;
    } cases[] = {
        {false, CENTS_AT_150, at_threshold},
        {false, 2 * CENTS_AT_150, ComparisonSuccessByIntegration(1.0, 2.0)},
        {false, CENTS_AT_150 / 3, ComparisonSuccessByIntegration(3.0, 1.0)},
        // Two different tones at random: one ordered pair of six.
        {true, 0.0, 1.0 / 6},
    };
    const int keys[6][2] = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
    for (const auto &c : cases) {
        Listener listener =
            c.guessing ? MakeGuessingListener(5) : MakeModelListener(c.threshold, 5);
        AppState s = ComparisonTrial();
        int right = 0;
        for (int i = 0; i < DRAWS; ++i) {
            s.high_key[0] = keys[i % 6][0];
            s.low_key[0] = keys[i % 6][1];
            AnswerTrial(&s, &listener);
            right += s.chosen_high == s.high_key[0] && s.chosen_low == s.low_key[0];
        }
        ExpectShare(right, DRAWS, c.expected, c.guessing ? "guessing" : "model listener");
    }
}

AppState MatchingTrial() {
    AppState s = {};
    s.trial = 3;
    s.score = SCORE_6_CENTS;
    s.base_freq[3] = 300.0;
    s.match_target[0] = 100;
    return s;
}

TEST(ModelListener, InvertedPitchRulePlaysTheIntendedError) {
    const struct {
        double intervals;
        double steps;
    } cases[] = {{1, 15}, {2, 60}, {-1, -15}, {-2, -60}, {0.4, 6}, {3, 135}};
    for (const auto &c : cases) {
        double error = c.intervals * CENTS_AT_150;
        double steps = MatchingSteps(error, CENTS_AT_150);
        EXPECT_NEAR(steps, c.steps, 1e-9) << c.intervals << " intervals";
        // The program plays that slider position with the intended error.
        AppState s = MatchingTrial();
        s.slider_pos = s.match_target[0] + static_cast<int>(lround(steps));
        double played = 1200.0 * log2(StimulusFrequency(&s, 1) / s.base_freq[3]);
        EXPECT_NEAR(played, error, 1e-9) << c.intervals << " intervals";
    }
}

TEST(ModelListener, MatchingAnswersStayOnTheSlider) {
    // T = 100 cents against 0.5-cent intervals: errors of hundreds of intervals.
    Listener listener = MakeModelListener(100.0, 9);
    AppState s = MatchingTrial();
    s.score = 300;
    int at_ends = 0;
    for (int i = 0; i < 2000; ++i) {
        AnswerTrial(&s, &listener);
        ASSERT_GE(s.slider_pos, 0);
        ASSERT_LE(s.slider_pos, 200);
        at_ends += s.slider_pos == 0 || s.slider_pos == 200;
    }
    EXPECT_GT(at_ends, 1800);
}

TEST(ModelListener, PerfectListenerEndsEveryTestAtTheCeiling) {
    std::vector<int> first, second;
    for (int i = 0; i < 300; ++i) {
        Listener listener = MakeModelListener(0.0, NoiseSeed(1, i));
        AppState s = {};
        SeedRandom(PlanSeed(1, i));
        first.push_back(TakeTest(&s, &listener));
        EXPECT_EQ(s.trial, 10);
        second.push_back(TakeTest(&s, &listener));
    }
    for (const auto *scores : {&first, &second}) {
        for (int score : *scores) {
            ASSERT_EQ(score, 300);
        }
        TestFigures f = SummariseScores(*scores, 0.0);
        EXPECT_EQ(f.median, 0.5);
        EXPECT_EQ(f.p10, 0.5);
        EXPECT_EQ(f.p90, 0.5);
        EXPECT_EQ(f.share_top, 1.0);
    }
}

} // namespace
