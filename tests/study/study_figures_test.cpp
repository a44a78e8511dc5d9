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

TEST(StudyFigures, CombiningResultsAsASpreadsheetDoes) {
    // Excel: MEDIAN(7.3; 2; 13.3) = 7.3, MEDIAN(2; 8) = 5, GEOMEAN(2; 8) = 4,
    // GEOMEAN(1; 10; 100) = 10.
    EXPECT_EQ(MedianOfResults({7.3, 2, 13.3}), 7.3);
    EXPECT_EQ(MedianOfResults({2, 8}), 5.0);
    EXPECT_EQ(MedianOfResults({90, 0.5, 90, 4, 0.5}), 4.0);
    EXPECT_NEAR(GeometricMeanOfResults({2, 8}), 4.0, 1e-12);
    EXPECT_NEAR(GeometricMeanOfResults({1, 10, 100}), 10.0, 1e-12);
    EXPECT_EQ(MedianOfResults({}), 0.0);
    EXPECT_EQ(GeometricMeanOfResults({}), 0.0);
    // Within a factor of two of 10: 5 and 20 are (the edges), 4.9 and 21 not.
    EXPECT_DOUBLE_EQ(ShareWithinFactor({5, 20, 4.9, 21, 10}, 10.0, 2.0), 0.6);
    EXPECT_DOUBLE_EQ(ShareWithinFactor({1.5, 0.6}, 1.0, 1.5), 0.5);
}

} // namespace
