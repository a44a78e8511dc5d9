// The figures the study reports about a set of finished tests.
#pragma once

#include <vector>

// What a group of tests reported: cents of the final scores.
struct TestFigures {
    int tests;
    double p01; // cents, percentiles by nearest rank
    double p10;
    double p25;
    double median;
    double p75;
    double p90;
    double median_ratio; // median of reported / true cents; 0 without a true value
    double share_top;    // share of tests ending at score 300 (0.5 cents)
    double share_bottom; // share of tests ending at score 0 (90 cents)
};

// Figures of final scores; true_cents 0 when the listener has no threshold.
TestFigures SummariseScores(const std::vector<int> &scores, double true_cents);

// The value below or at which a share p (0..1] of the sorted values lies.
double NearestRankPercentile(const std::vector<double> &sorted, double p);

// Spearman's rank correlation; tied values share their mean rank.
double SpearmanCorrelation(const std::vector<double> &a, const std::vector<double> &b);

// Several results of one listener combined into one figure, as a spreadsheet
// would: the middle value, or the mean of the two middle ones for an even
// count (Excel's MEDIAN); and the geometric mean, the mean of the
// logarithms (Excel's GEOMEAN). Both 0 for no results.
double MedianOfResults(std::vector<double> cents);
double GeometricMeanOfResults(const std::vector<double> &cents);

// The share of values within a factor `factor` of `reference`, either way
// (reference / factor <= value <= reference * factor).
double ShareWithinFactor(const std::vector<double> &values, double reference, double factor);
