#include "study/study_figures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(StudyFigures, SpearmanSharesTiedRanks) {
    // Ranks 1, 2.5, 2.5, 4 against 1, 3, 2, 4: 4.5 / sqrt(4.5 * 5).
    EXPECT_NEAR(SpearmanCorrelation({1, 2, 2, 3}, {10, 30, 20, 40}), 0.9486833, 1e-6);
    EXPECT_NEAR(SpearmanCorrelation({0.5, 0.7, 9}, {3, 2, 1}), -1.0, 1e-12);
    // Monotone but not linear: ranks agree fully.
    EXPECT_NEAR(SpearmanCorrelation({1, 10, 100, 1000}, {1, 2, 3, 4}), 1.0, 1e-12);
}

TEST(StudyFigures, PercentilesCeilingAndFloorOfFinalScores) {
    // Nine tests at the ceiling and one at the floor.
    std::vector<int> scores(9, 300);
    scores.push_back(0);
    TestFigures f = SummariseScores(scores, 0.25);
    EXPECT_EQ(f.tests, 10);
    EXPECT_EQ(f.median, 0.5);
    EXPECT_EQ(f.p90, 0.5);
    EXPECT_EQ(f.median_ratio, 2.0);
    EXPECT_DOUBLE_EQ(f.share_top, 0.9);
    EXPECT_DOUBLE_EQ(f.share_bottom, 0.1);
    // Ten different scores: 100 -> 23.33, 150 -> 6, 210 -> 1.5 cents.
    std::vector<int> spread = {0, 30, 60, 90, 100, 120, 150, 180, 210, 240};
    f = SummariseScores(spread, 6.0);
    EXPECT_EQ(f.p10, 1.0);
    EXPECT_EQ(f.median, 10.0);
    EXPECT_EQ(f.p90, 70.0);
    EXPECT_NEAR(f.median_ratio, 10.0 / 6.0, 1e-12);
}

} // namespace
