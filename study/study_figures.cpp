#include "study/study_figures.h"

#include "engine/app_state.h"
#include "engine/pitch.h"

#include <math.h>

#include <algorithm>
#include <numeric>

double NearestRankPercentile(const std::vector<double> &sorted, double p) {
    if (sorted.empty()) {
        return 0.0;
    }
    // The smallest value with at least a share p of the values at or below it.
    size_t rank = static_cast<size_t>(ceil(p * static_cast<double>(sorted.size())));
    if (rank < 1) {
        rank = 1;
    } else if (rank > sorted.size()) {
        rank = sorted.size();
    }
    return sorted[rank - 1];
}

TestFigures SummariseScores(const std::vector<int> &scores, double true_cents) {
    TestFigures figures = {};
    figures.tests = static_cast<int>(scores.size());
    if (scores.empty()) {
        return figures;
    }
    std::vector<double> cents;
    int top = 0;
    int bottom = 0;
    for (int score : scores) {
        cents.push_back(CentsAtScore(score));
        top += score == SCORE_MAX;
        bottom += score == 0;
    }
    std::sort(cents.begin(), cents.end());
    figures.p01 = NearestRankPercentile(cents, 0.01);
    figures.p10 = NearestRankPercentile(cents, 0.10);
    figures.p25 = NearestRankPercentile(cents, 0.25);
    figures.median = NearestRankPercentile(cents, 0.50);
    figures.p75 = NearestRankPercentile(cents, 0.75);
    figures.p90 = NearestRankPercentile(cents, 0.90);
    // One true value for the group: the median ratio is the median's ratio.
    figures.median_ratio = true_cents > 0 ? figures.median / true_cents : 0.0;
    figures.share_top = static_cast<double>(top) / static_cast<double>(scores.size());
    figures.share_bottom = static_cast<double>(bottom) / static_cast<double>(scores.size());
    return figures;
}

static std::vector<double> MeanRanks(const std::vector<double> &values) {
    size_t n = values.size();
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&values](size_t a, size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(n);
    size_t first = 0;
    while (first < n) {
        size_t last = first;
        while (last + 1 < n && values[order[last + 1]] == values[order[first]]) {
            ++last;
        }
        // Ranks first+1 .. last+1 shared by the tie.
        double rank = (static_cast<double>(first) + static_cast<double>(last)) / 2.0 + 1.0;
        for (size_t i = first; i <= last; ++i) {
            ranks[order[i]] = rank;
        }
        first = last + 1;
    }
    return ranks;
}

double SpearmanCorrelation(const std::vector<double> &a, const std::vector<double> &b) {
    size_t n = std::min(a.size(), b.size());
    if (n < 2) {
        return 0.0;
    }
    std::vector<double> ra = MeanRanks(std::vector<double>(a.begin(), a.begin() + n));
    std::vector<double> rb = MeanRanks(std::vector<double>(b.begin(), b.begin() + n));
    double mean = (static_cast<double>(n) + 1.0) / 2.0;
    double sab = 0.0;
    double saa = 0.0;
    double sbb = 0.0;
    for (size_t i = 0; i < n; ++i) {
        sab += (ra[i] - mean) * (rb[i] - mean);
        saa += (ra[i] - mean) * (ra[i] - mean);
        sbb += (rb[i] - mean) * (rb[i] - mean);
    }
    if (saa == 0.0 || sbb == 0.0) {
        return 0.0;
    }
    return sab / sqrt(saa * sbb);
}

double MedianOfResults(std::vector<double> cents) {
    size_t n = cents.size();
    if (n == 0) {
        return 0.0;
    }
    std::sort(cents.begin(), cents.end());
    return n % 2 == 1 ? cents[n / 2] : (cents[n / 2 - 1] + cents[n / 2]) / 2.0;
}

double GeometricMeanOfResults(const std::vector<double> &cents) {
    if (cents.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (double c : cents) {
        sum += log(c);
    }
    return exp(sum / static_cast<double>(cents.size()));
}

double ShareWithinFactor(const std::vector<double> &values, double reference, double factor) {
    if (values.empty()) {
        return 0.0;
    }
    // Compared in logarithms, with a little room so that a value exactly a
    // factor away is inside whichever way the division rounds.
    double limit = log(factor) + 1e-12;
    size_t inside = 0;
    for (double v : values) {
        inside += fabs(log(v / reference)) <= limit;
    }
    return static_cast<double>(inside) / static_cast<double>(values.size());
}
