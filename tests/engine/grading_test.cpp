#include "engine/grading.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

namespace {

// A plan where every comparison slot raises B and lowers C and every
// matching target sits at 100, so answers can be chosen by trial.
AppState FixedPlan() {
    AppState s = {};
    for (int i = 0; i < TRIAL_COUNT; ++i) {
        s.base_freq[i] = 220.0;
    }
    for (int j = 0; j < COMPARISON_SLOTS; ++j) {
        s.high_key[j] = 2;
        s.low_key[j] = 3;
    }
    for (int k = 0; k < MATCHING_SLOTS; ++k) {
        s.match_target[k] = 100;
    }
    s.score = 100;
    return s;
}

void AnswerComparison(AppState *s, bool correct) {
    s->chosen_high = correct ? 2 : 1;
    s->chosen_low = 3;
}

TEST(Grading, ComparisonDeltasByTrialAndStreak) {
    const int comparison_trials[] = {0, 1, 2, 6, 7, 8};
    // correct, correct with a run, wrong after a good run, wrong after a bad run
    const int expected[10][4] = {
        {30, 30, -30, -30}, {27, 28, -28, -29}, {24, 26, -26, -28}, {}, {}, {},
        {12, 18, -18, -23}, {9, 16, -16, -22},  {5, 13, -13, -20},  {},
    };
    for (int trial : comparison_trials) {
        const struct {
            double streak_before;
            bool correct;
            double streak_after;
        } columns[] = {{0.0, true, 1.0}, {2.0, true, 3.0}, {1.0, false, 0.0}, {0.0, false, -1.0}};
        for (int c = 0; c < 4; ++c) {
            AppState s = FixedPlan();
            s.trial = trial;
            s.score = 150;
            s.streak = columns[c].streak_before;
            AnswerComparison(&s, columns[c].correct);
            ASSERT_TRUE(ScoreAnswer(&s));
            EXPECT_EQ(s.score - 150, expected[trial][c]) << "trial " << trial << " column " << c;
            EXPECT_EQ(s.streak, columns[c].streak_after);
            EXPECT_EQ(s.trial, trial) << "moving on is the caller's step";
        }
    }
}

TEST(Grading, GoodAnswerAfterBadRunResetsStreakToZero) {
    AppState s = FixedPlan();
    s.streak = -3.0;
    s.trial = 1;
    AnswerComparison(&s, true);
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_EQ(s.streak, 0.0);
    EXPECT_EQ(s.score, 127);
}

// Weight w of a matching answer by its error h, and the streak change from 0.
TEST(Grading, MatchingWeightsByError) {
    const int weights[] = {50,  46,  43,  40,  36,  33,  30,  26,  23,  20,  16,  13,
                           9,   6,   3,   0,   -3,  -6,  -9,  -12, -15, -18, -21, -23,
                           -26, -29, -31, -34, -36, -39, -41, -43, -46, -48, -50};
    for (int h = 0; h <= 40; ++h) {
        int w = h < 35 ? weights[h] : -50;
        for (int sign : {1, -1}) {
            AppState s = FixedPlan();
            s.trial = 3; // matching slot 0, d = 0.7
            s.score = 150;
            s.slider_pos = 100 + sign * h;
            ASSERT_TRUE(ScoreAnswer(&s));
            double expected_streak;
            int expected_delta;
            if (h <= 15) {
                expected_streak = 1.0 - h / 15.0;
                expected_delta = static_cast<int>(w * 0.7);
            } else {
                expected_streak = h >= 34 ? -1.0 : -2.0 * (sqrt(h / 15.0) - 1.0);
                double e = expected_streak <= -0.5 ? 0.25 : 0.5;
                expected_delta = static_cast<int>(pow(0.7, e) * w);
            }
            EXPECT_NEAR(s.streak, expected_streak, 1e-12) << "h " << h;
            EXPECT_EQ(s.score - 150, expected_delta) << "h " << h;
        }
    }
}

TEST(Grading, MatchingEdgesOfTheTolerance) {
    AppState s = FixedPlan();
    s.trial = 3;
    s.streak = -2.0;
    s.slider_pos = 115; // exactly the tolerance: weight 0
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_EQ(s.score, 100);
    EXPECT_EQ(s.streak, 0.0) << "a good answer ends a losing run";

    s.streak = 1.5;
    s.slider_pos = 115;
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_EQ(s.streak, 1.5) << "weight 0 leaves a non-negative streak unchanged";
}

TEST(Grading, WorkedTenTrialTest) {
    AppState s = FixedPlan();
    const struct {
        bool correct;  // comparison trials
        int off;       // matching trials: slider steps off the target
        double streak; // after the trial
        int score;     // after the trial
    } steps[10] = {
        {true, 0, 1, 130},   {true, 0, 2, 157},        {true, 0, 3, 183},   {false, 0, 4, 224},
        {false, 20, 0, 213}, {false, 40, -1, 171},     {false, 0, -2, 148}, {false, 0, -3, 126},
        {true, 0, 0, 131},   {false, 5, 2.0 / 3, 134},
    };
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        s.trial = t;
        AnswerComparison(&s, steps[t].correct);
        s.slider_pos = 100 + steps[t].off;
        ASSERT_TRUE(ScoreAnswer(&s));
        EXPECT_NEAR(s.streak, steps[t].streak, 1e-12) << "trial " << t;
        EXPECT_EQ(s.score, steps[t].score) << "trial " << t;
    }
}

TEST(Grading, ScoreStopsAtItsBounds) {
    AppState s = FixedPlan();
    s.score = 290;
    AnswerComparison(&s, true);
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_EQ(s.score, 300);

    s = FixedPlan();
    s.score = 10;
    AnswerComparison(&s, false);
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_EQ(s.score, 0);
}

TEST(Grading, ExampleRowsByteForByte) {
    AppState s = FixedPlan();
    s.chosen_high = 2;
    s.chosen_low = 3;
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_STREQ(s.result_rows[0], " 1 A: 220.00 B: 222.98 C: 217.05 [単音]    B-C(B-C)    100");

    s = FixedPlan();
    s.trial = 3;
    s.score = 130;
    s.base_freq[3] = 300.0;
    s.chord_type[3] = 1;
    s.match_target[0] = 120;
    s.slider_pos = 110;
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_STREQ(s.result_rows[3], " 4 Play: 299.00   Target: 300.00 [maj]     110(120)    130");
}

TEST(Grading, MissingAndRepeatedPicksAreWrongAndPrinted) {
    const struct {
        int high, low;
        const char *printed;
    } cases[] = {{0, 0, "N-N(B-C)"},
                 {2, 0, "B-N(B-C)"},
                 {0, 3, "N-C(B-C)"},
                 {1, 1, "A-A(B-C)"},
                 {3, 2, "C-B(B-C)"}};
    for (const auto &c : cases) {
        AppState s = FixedPlan();
        s.chosen_high = c.high;
        s.chosen_low = c.low;
        ASSERT_TRUE(ScoreAnswer(&s));
        EXPECT_NE(strstr(s.result_rows[0], c.printed), nullptr) << s.result_rows[0];
        EXPECT_EQ(s.score, 70) << "a wrong answer at trial 0 costs 30";
    }
}

TEST(Grading, ChordNamesAreSixShiftJisBytes) {
    const unsigned char single[] = {0x5B, 0x92, 0x50, 0x89, 0xB9, 0x5D, 0};
    EXPECT_EQ(memcmp(ChordNames[0], single, sizeof single), 0);
    for (int t = 0; t < CHORD_TYPE_COUNT; ++t) {
        EXPECT_EQ(strlen(ChordNames[t]), 6u) << "chord type " << t;
    }
    EXPECT_STREQ(ChordNames[4], "[m7]  ");
}

TEST(Grading, EachChordNameLinesUpInTheRow) {
    for (int t = 0; t < CHORD_TYPE_COUNT; ++t) {
        AppState s = FixedPlan();
        s.chord_type[0] = t;
        ASSERT_TRUE(ScoreAnswer(&s));
        EXPECT_EQ(strlen(s.result_rows[0]), 58u) << "chord type " << t;
        EXPECT_EQ(memcmp(s.result_rows[0] + 33, ChordNames[t], 6), 0);
    }
}

TEST(Grading, NothingToGradeOutsideATest) {
    EXPECT_FALSE(ScoreAnswer(nullptr));
    AppState s = FixedPlan();
    s.trial = 10;
    s.streak = 1.0;
    AppState before = s;
    EXPECT_FALSE(ScoreAnswer(&s));
    EXPECT_EQ(memcmp(&s, &before, sizeof s), 0);
}

TEST(Grading, UnknownChordTypePrintsNoNameInsteadOfReadingPastTheTable) {
    AppState s = FixedPlan();
    s.chord_type[0] = 42;
    ASSERT_TRUE(ScoreAnswer(&s));
    EXPECT_NE(strstr(s.result_rows[0], "217.05     N-N"), nullptr) << s.result_rows[0];
}

} // namespace
