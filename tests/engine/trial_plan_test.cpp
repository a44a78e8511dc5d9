#include "engine/random.h"
#include "engine/schedule.h"
#include "engine/trial_plan.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

// Number of draws one plan takes: the 10-permutation, ten base frequencies,
// five chord types, six 3-permutations and four match targets.
constexpr int PLAN_DRAWS = 2000 + 10 + 5 + 6 * 600 + 4;

int NextDrawAfter(unsigned seed, int skipped) {
    SeedRandom(seed);
    for (int i = 0; i < skipped; ++i) {
        DrawRandom();
    }
    return DrawRandom();
}

TEST(TrialPlan, SameSeedSamePlanAndExactlyItsDrawCount) {
    for (unsigned seed : {0u, 1u, 4242u, 0xFFFFFFFFu}) {
        AppState a = {};
        AppState b = {};
        SeedRandom(seed);
        ASSERT_TRUE(BuildTrialPlan(&a));
        int next = DrawRandom();
        SeedRandom(seed);
        ASSERT_TRUE(BuildTrialPlan(&b));
        EXPECT_EQ(memcmp(&a, &b, sizeof a), 0) << "seed " << seed;
        EXPECT_EQ(next, NextDrawAfter(seed, PLAN_DRAWS)) << "seed " << seed;
    }
}

TEST(TrialPlan, InvariantsHoldOverManySeeds) {
    for (unsigned seed = 0; seed < 300; ++seed) {
        AppState s = {};
        SeedRandom(seed * 7919u);
        ASSERT_TRUE(BuildTrialPlan(&s));
        int chords = 0;
        for (int i = 0; i < TRIAL_COUNT; ++i) {
            double f = s.base_freq[i];
            EXPECT_EQ(f, static_cast<double>(static_cast<int>(f)));
            EXPECT_GE(f, 220.0);
            EXPECT_LE(f, 329.0);
            EXPECT_GE(s.chord_type[i], 0);
            EXPECT_LE(s.chord_type[i], 6);
            chords += s.chord_type[i] != 0;
        }
        EXPECT_EQ(chords, 5) << "seed " << seed;
        for (int j = 0; j < COMPARISON_SLOTS; ++j) {
            EXPECT_GE(s.high_key[j], 1);
            EXPECT_LE(s.high_key[j], 3);
            EXPECT_GE(s.low_key[j], 1);
            EXPECT_LE(s.low_key[j], 3);
            EXPECT_NE(s.high_key[j], s.low_key[j]);
        }
        for (int k = 0; k < MATCHING_SLOTS; ++k) {
            EXPECT_GE(s.match_target[k], 0);
            EXPECT_LE(s.match_target[k], 200);
        }
    }
}

TEST(TrialPlan, ClearsAnswersAndRowsButKeepsTheTestsProgressFields) {
    AppState s = {};
    s.chosen_high = 2;
    s.chosen_low = 3;
    s.slider_pos = 150;
    memset(s.result_rows, 'x', sizeof s.result_rows);
    s.results_revealed = 1;
    s.trial = 10;
    s.score = 250;
    s.streak = -2.5;
    s.volume = 37;
    SeedRandom(99);
    ASSERT_TRUE(BuildTrialPlan(&s));
    EXPECT_EQ(s.chosen_high, 0);
    EXPECT_EQ(s.chosen_low, 0);
    EXPECT_EQ(s.slider_pos, 0);
    for (int i = 0; i < TRIAL_COUNT; ++i) {
        for (int b = 0; b < RESULT_ROW_BYTES; ++b) {
            ASSERT_EQ(s.result_rows[i][b], 0);
        }
    }
    EXPECT_EQ(s.results_revealed, 0);
    EXPECT_EQ(s.trial, 10);
    EXPECT_EQ(s.score, 250);
    EXPECT_EQ(s.streak, -2.5);
    EXPECT_EQ(s.volume, 37);
    EXPECT_FALSE(BuildTrialPlan(nullptr));
}

TEST(TrialPlan, ShuffleDrawsTwoPerSwapAndKeepsAPermutation) {
    int one[1] = {7};
    ShuffledIndices(one, 1);
    EXPECT_EQ(one[0], 0);

    const int after_200 = NextDrawAfter(5, 200);
    SeedRandom(5);
    ShuffledIndices(one, 1);
    EXPECT_EQ(DrawRandom(), after_200);

    const int first = NextDrawAfter(5, 0);
    int untouched[2] = {7, 7};
    SeedRandom(5);
    ShuffledIndices(untouched, 0);
    EXPECT_EQ(untouched[0], 7);
    EXPECT_EQ(DrawRandom(), first);

    int ten[10];
    SeedRandom(77);
    ShuffledIndices(ten, 10);
    bool seen[10] = {};
    for (int v : ten) {
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        seen[v] = true;
    }
    for (bool b : seen) {
        EXPECT_TRUE(b);
    }
}

TEST(TrialPlan, LastIndexOfAndRandomInRange) {
    const int values[3] = {2, 0, 2};
    EXPECT_EQ(LastIndexOf(values, 3, 2), 2);
    EXPECT_EQ(LastIndexOf(values, 3, 0), 1);
    EXPECT_EQ(LastIndexOf(values, 3, 1), -1);
    EXPECT_EQ(LastIndexOf(values, 0, 2), -1);

    const int draw = NextDrawAfter(11, 0);
    SeedRandom(11);
    EXPECT_EQ(RandomInRange(5, 4), -1);
    EXPECT_EQ(DrawRandom(), draw) << "an empty range must not draw";
    SeedRandom(11);
    EXPECT_EQ(RandomInRange(0, 200), draw % 201);
    SeedRandom(11);
    EXPECT_EQ(RandomChordType(), draw % 6 + 1);
    SeedRandom(11);
    EXPECT_EQ(RandomBaseFrequency(), draw % 110 + 220.0);
}

TEST(Schedule, ThreeComparisonThreeMatchingThreeComparisonOneMatching) {
    const struct {
        int trial;
        bool ok;
        int is_comparison;
        int slot;
    } cases[] = {
        {0, true, 1, 0},    {1, true, 1, 1}, {2, true, 1, 2},    {3, true, 0, 0},
        {4, true, 0, 1},    {5, true, 0, 2}, {6, true, 1, 3},    {7, true, 1, 4},
        {8, true, 1, 5},    {9, true, 0, 3}, {10, false, 0, -1}, {11, false, 0, -1},
        {-1, false, 0, -1},
    };
    for (const auto &c : cases) {
        AppState s = {};
        s.trial = c.trial;
        TrialInfo info = {7, 7};
        EXPECT_EQ(GetTrialInfo(&s, &info), c.ok) << "trial " << c.trial;
        EXPECT_EQ(info.is_comparison, c.is_comparison) << "trial " << c.trial;
        EXPECT_EQ(info.slot, c.slot) << "trial " << c.trial;
    }
    AppState s = {};
    TrialInfo info = {7, 7};
    EXPECT_FALSE(GetTrialInfo(nullptr, &info));
    EXPECT_EQ(info.slot, 7);
    EXPECT_FALSE(GetTrialInfo(&s, nullptr));
}

} // namespace
