// What a Kestrune result means: model listeners of known threshold take two
// tests each through the program's engine; the report says how close the
// reported cents come to the truth. Writes CSV files into the current folder
// and prints the report (Markdown) on standard output.
//
//   kestrune_study [listeners per group, default 10000]

#include "engine/app_state.h"
#include "engine/pitch.h"
#include "engine/random.h"
#include "study/simulated_test.h"
#include "study/study_figures.h"

#include <fcntl.h>
#include <io.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

// The build turns narrow literals into Shift-JIS; the report is UTF-8.
static const char kDash[] = "\xE2\x80\x93";

static const double kThresholds[] = {0.5, 0.7, 1, 1.4, 2, 3, 5, 7, 10, 14, 20, 30, 50, 70, 100};
constexpr int THRESHOLD_COUNT = sizeof kThresholds / sizeof kThresholds[0];
constexpr int DEFAULT_LISTENERS = 10000;
// Seed groups: one per threshold, then the reference and retest groups.
constexpr uint64_t GROUP_RETEST = 100;
constexpr uint64_t GROUP_GUESSING = 101;
constexpr uint64_t GROUP_PERFECT = 102;
constexpr uint64_t RETEST_THRESHOLD_SEED = 0x7E57;
constexpr double RETEST_LOW = 0.5;
constexpr double RETEST_HIGH = 100.0;
// Repeated tests: seed group GROUP_REPEATS + the threshold's index, so the
// figures above stay what they were.
constexpr uint64_t GROUP_REPEATS = 200;
constexpr int REPEAT_TESTS = 5;
// Results that mean something lie below the floor's reach: the advice on
// combining results is pooled over these thresholds.
constexpr double POOL_HIGHEST_THRESHOLD = 30.0;

// The two tests of each listener of a group.
struct GroupRun {
    const char *name;
    std::vector<double> truth; // true threshold per listener; 0 for none
    std::vector<int> first;
    std::vector<int> second;
};

// Both tests in one run of the program: the generator seeded once, as the
// program seeds it when its window opens, and streak carried into the second.
static void RunListener(GroupRun *run, uint64_t group, int index, Listener listener) {
    AppState state = {};
    SeedRandom(PlanSeed(group, static_cast<uint64_t>(index)));
    run->first.push_back(TakeTest(&state, &listener));
    run->second.push_back(TakeTest(&state, &listener));
    run->truth.push_back(listener.threshold);
}

static GroupRun RunModelGroup(uint64_t group, double threshold, int listeners) {
    GroupRun run = {"model", {}, {}, {}};
    for (int i = 0; i < listeners; ++i) {
        RunListener(&run, group, i, MakeModelListener(threshold, NoiseSeed(group, i)));
    }
    return run;
}

static GroupRun RunRetestGroup(int listeners) {
    GroupRun run = {"retest", {}, {}, {}};
    std::mt19937_64 draw(RETEST_THRESHOLD_SEED);
    for (int i = 0; i < listeners; ++i) {
        double u = static_cast<double>(draw() >> 11) / 9007199254740992.0;
        double threshold = RETEST_LOW * pow(RETEST_HIGH / RETEST_LOW, u);
        RunListener(&run, GROUP_RETEST, i,
                    MakeModelListener(threshold, NoiseSeed(GROUP_RETEST, i)));
    }
    return run;
}

static std::vector<double> CentsOf(const std::vector<int> &scores) {
    std::vector<double> cents;
    for (int score : scores) {
        cents.push_back(CentsAtScore(score));
    }
    return cents;
}

static void WriteListeners(FILE *file, const GroupRun &run) {
    for (size_t i = 0; i < run.first.size(); ++i) {
        fprintf(file, "%s,%.6g,%d,%d,%.6g,%d,%.6g\n", run.name, run.truth[i], static_cast<int>(i),
                run.first[i], CentsAtScore(run.first[i]), run.second[i],
                CentsAtScore(run.second[i]));
    }
}

static void WriteSummary(FILE *file, const char *group, double truth, int test,
                         const TestFigures &f) {
    fprintf(file, "%s,%.6g,%d,%d,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g\n", group, truth,
            test, f.tests, f.p01, f.p10, f.p25, f.median, f.p75, f.p90, f.median_ratio, f.share_top,
            f.share_bottom);
}

static void FormatShare(char *text, size_t size, double share) {
    double percent = 100.0 * share;
    if (percent > 0.0 && percent < 0.95) {
        snprintf(text, size, "%.1f %%", percent);
    } else {
        snprintf(text, size, "%.0f %%", percent);
    }
}

static void PrintFigures(const TestFigures &f) {
    char top[16], bottom[16];
    FormatShare(top, sizeof top, f.share_top);
    FormatShare(bottom, sizeof bottom, f.share_bottom);
    printf(" %.3g | %.3g%s%.3g | %.2f | %s | %s |", f.median, f.p10, kDash, f.p90, f.median_ratio,
           top, bottom);
}

// The CSV files of one study, all in the current folder.
struct StudyFiles {
    FILE *raw;
    FILE *summary;
    FILE *correlations;
    FILE *repeats;
};

static void StudyThresholds(const StudyFiles &files, int listeners) {
    printf("| T (cents) | 1st test: median | 10%s90 %% | median / T | at 300 (0.5 ct) | at 0 "
           "(90 ct) | 2nd test: median | 10%s90 %% | median / T | at 300 | at 0 |\n",
           kDash, kDash);
    printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (int t = 0; t < THRESHOLD_COUNT; ++t) {
        GroupRun run = RunModelGroup(static_cast<uint64_t>(t), kThresholds[t], listeners);
        WriteListeners(files.raw, run);
        TestFigures first = SummariseScores(run.first, kThresholds[t]);
        TestFigures second = SummariseScores(run.second, kThresholds[t]);
        WriteSummary(files.summary, "model", kThresholds[t], 1, first);
        WriteSummary(files.summary, "model", kThresholds[t], 2, second);
        printf("| %.3g |", kThresholds[t]);
        PrintFigures(first);
        PrintFigures(second);
        printf("\n");
        fflush(stdout);
    }
}

// One way of combining a listener's first n results into one figure.
struct CombiningRule {
    const char *name;
    const char *csv_name;
    int tests;
    bool geometric;
};

static const CombiningRule kRules[] = {
    {"1 test", "single", 1, false},
    {"median of 2", "median", 2, false},
    {"median of 3", "median", 3, false},
    {"median of 5", "median", 5, false},
    {"geometric mean of 3", "geomean", 3, true},
    {"geometric mean of 5", "geomean", 5, true},
};
constexpr int RULE_COUNT = sizeof kRules / sizeof kRules[0];

static double CombineResults(const CombiningRule &rule, const std::vector<double> &results) {
    std::vector<double> first(results.begin(), results.begin() + rule.tests);
    return rule.geometric ? GeometricMeanOfResults(first) : MedianOfResults(first);
}

// Every listener of a threshold takes five tests in one run of the program;
// each rule combines the first n of them. How close each rule comes to the
// listener's typical result (the median of single tests at that threshold)
// says how many tests to take.
static void StudyRepeats(const StudyFiles &files, int listeners) {
    printf("\nRepeated tests: %d model listeners per T, each taking %d tests in one run.\n"
           "Spread (10%s90 %%) of the combined figure, in cents; \"typical\" is the median of\n"
           "single results at that T.\n\n",
           listeners, REPEAT_TESTS, kDash);
    printf("| T (cents) | typical |");
    for (const CombiningRule &rule : kRules) {
        printf(" %s |", rule.name);
    }
    printf("\n|---|---|");
    for (int r = 0; r < RULE_COUNT; ++r) {
        printf("---|");
    }
    printf("\n");
    // Combined figure / typical result, pooled over the thresholds up to
    // POOL_HIGHEST_THRESHOLD.
    std::vector<double> pooled[RULE_COUNT];
    for (int t = 0; t < THRESHOLD_COUNT; ++t) {
        uint64_t group = GROUP_REPEATS + static_cast<uint64_t>(t);
        std::vector<std::vector<double>> results;
        for (int i = 0; i < listeners; ++i) {
            AppState state = {};
            SeedRandom(PlanSeed(group, static_cast<uint64_t>(i)));
            Listener listener = MakeModelListener(kThresholds[t], NoiseSeed(group, i));
            std::vector<double> cents;
            for (int k = 0; k < REPEAT_TESTS; ++k) {
                cents.push_back(CentsAtScore(TakeTest(&state, &listener)));
            }
            results.push_back(cents);
        }
        std::vector<double> singles;
        for (const std::vector<double> &cents : results) {
            singles.push_back(cents[0]);
        }
        std::sort(singles.begin(), singles.end());
        double typical = NearestRankPercentile(singles, 0.5);
        printf("| %.3g | %.3g |", kThresholds[t], typical);
        for (int r = 0; r < RULE_COUNT; ++r) {
            std::vector<double> combined;
            for (const std::vector<double> &cents : results) {
                combined.push_back(CombineResults(kRules[r], cents));
            }
            double within_one_and_half = ShareWithinFactor(combined, typical, 1.5);
            double within_two = ShareWithinFactor(combined, typical, 2.0);
            if (kThresholds[t] <= POOL_HIGHEST_THRESHOLD) {
                for (double c : combined) {
                    pooled[r].push_back(c / typical);
                }
            }
            std::sort(combined.begin(), combined.end());
            double p10 = NearestRankPercentile(combined, 0.10);
            double p90 = NearestRankPercentile(combined, 0.90);
            fprintf(files.repeats, "%.6g,%.6g,%s,%d,%.6g,%.6g,%.6g,%.6f,%.6f\n", kThresholds[t],
                    typical, kRules[r].csv_name, kRules[r].tests, p10,
                    NearestRankPercentile(combined, 0.5), p90, within_one_and_half, within_two);
            printf(" %.3g%s%.3g |", p10, kDash, p90);
        }
        printf("\n");
        fflush(stdout);
    }
    printf("\nPooled over T from %.3g to %.3g cents (%d listeners per T): how often the combined\n"
           "figure lies within a factor of 1.25, 1.5 and 2 of the typical result, and the\n"
           "10%s90 %% range of combined / typical.\n\n",
           kThresholds[0], POOL_HIGHEST_THRESHOLD, listeners, kDash);
    printf("| combined | within 1.25 | within 1.5 | within 2 | combined / typical, 10%s90 %% |\n",
           kDash);
    printf("|---|---|---|---|---|\n");
    for (int r = 0; r < RULE_COUNT; ++r) {
        std::vector<double> &ratios = pooled[r];
        std::sort(ratios.begin(), ratios.end());
        printf("| %s | %.0f %% | %.0f %% | %.0f %% | %.2f%s%.2f |\n", kRules[r].name,
               100.0 * ShareWithinFactor(ratios, 1.0, 1.25),
               100.0 * ShareWithinFactor(ratios, 1.0, 1.5),
               100.0 * ShareWithinFactor(ratios, 1.0, 2.0), NearestRankPercentile(ratios, 0.10),
               kDash, NearestRankPercentile(ratios, 0.90));
    }
}

static void StudyRetest(const StudyFiles &files, int listeners) {
    GroupRun retest = RunRetestGroup(listeners);
    WriteListeners(files.raw, retest);
    std::vector<double> first = CentsOf(retest.first);
    std::vector<double> second = CentsOf(retest.second);
    double r_tests = SpearmanCorrelation(first, second);
    double r_first = SpearmanCorrelation(first, retest.truth);
    double r_second = SpearmanCorrelation(second, retest.truth);
    int within_two = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        within_two += fabs(log2(second[i] / first[i])) <= 1.0;
    }
    double share_within_two = static_cast<double>(within_two) / static_cast<double>(listeners);
    fprintf(files.correlations, "first_vs_second,%d,%.6f\n", listeners, r_tests);
    fprintf(files.correlations, "first_vs_true,%d,%.6f\n", listeners, r_first);
    fprintf(files.correlations, "second_vs_true,%d,%.6f\n", listeners, r_second);
    fprintf(files.correlations, "second_within_factor_two_of_first,%d,%.6f\n", listeners,
            share_within_two);
    printf("\nTest%sretest: %d model listeners, T drawn log-uniformly from %.3g to %.3g cents.\n\n",
           kDash, listeners, RETEST_LOW, RETEST_HIGH);
    printf("| Spearman rank correlation | value |\n|---|---|\n");
    printf("| 1st test vs 2nd test | %.3f |\n", r_tests);
    printf("| 1st test vs true T | %.3f |\n", r_first);
    printf("| 2nd test vs true T | %.3f |\n", r_second);
    printf("\n2nd test within a factor of two of the 1st: %.0f %% of listeners.\n",
           100.0 * share_within_two);
}

static void StudyReferences(const StudyFiles &files, int listeners) {
    GroupRun guessing = {"guessing", {}, {}, {}};
    GroupRun perfect = {"perfect", {}, {}, {}};
    for (int i = 0; i < listeners; ++i) {
        RunListener(&guessing, GROUP_GUESSING, i,
                    MakeGuessingListener(NoiseSeed(GROUP_GUESSING, i)));
        // Threshold 0: every tone heard exactly where it is.
        RunListener(&perfect, GROUP_PERFECT, i,
                    MakeModelListener(0.0, NoiseSeed(GROUP_PERFECT, i)));
    }
    printf("\nReference listeners, %d each: reported cents by percentile.\n\n", listeners);
    printf("| listener | test | 1 %% | 10 %% | 25 %% | median | 75 %% | 90 %% | at 300 | at 0 |\n");
    printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const GroupRun *run : {&guessing, &perfect}) {
        WriteListeners(files.raw, *run);
        const std::vector<int> *tests[2] = {&run->first, &run->second};
        for (int t = 0; t < 2; ++t) {
            TestFigures f = SummariseScores(*tests[t], 0.0);
            WriteSummary(files.summary, run->name, 0.0, t + 1, f);
            char top[16], bottom[16];
            FormatShare(top, sizeof top, f.share_top);
            FormatShare(bottom, sizeof bottom, f.share_bottom);
            printf("| %s | %s | %.3g | %.3g | %.3g | %.3g | %.3g | %.3g | %s | %s |\n", run->name,
                   t == 0 ? "1st" : "2nd", f.p01, f.p10, f.p25, f.median, f.p75, f.p90, top,
                   bottom);
        }
    }
}

int main(int argc, char **argv) {
    // Bytes as written: LF line ends on every platform, UTF-8 left alone.
    _setmode(_fileno(stdout), _O_BINARY);
    int listeners = argc > 1 ? atoi(argv[1]) : DEFAULT_LISTENERS;
    if (listeners < 1) {
        fprintf(stderr, "usage: kestrune_study [listeners per group]\n");
        return 2;
    }
    StudyFiles files = {fopen("listeners.csv", "wb"), fopen("summary.csv", "wb"),
                        fopen("correlations.csv", "wb"), fopen("repeats.csv", "wb")};
    if (!files.raw || !files.summary || !files.correlations || !files.repeats) {
        fprintf(stderr, "kestrune_study: cannot write the CSV files in the current folder\n");
        return 1;
    }
    fprintf(files.raw,
            "group,true_cents,listener,first_score,first_cents,second_score,second_cents\n");
    fprintf(files.summary, "group,true_cents,test,tests,p01_cents,p10_cents,p25_cents,"
                           "median_cents,p75_cents,p90_cents,median_ratio,share_at_300,"
                           "share_at_0\n");
    fprintf(files.correlations, "pair,listeners,value\n");
    fprintf(files.repeats, "true_cents,typical_cents,rule,tests,p10_cents,median_cents,p90_cents,"
                           "share_within_1_5,share_within_2\n");

    printf("Kestrune simulation study: %d model listeners per true threshold T, each taking two\n"
           "tests in one run of the program (the second with the run value carried over).\n"
           "Reported = the cents of the final score; percentiles by nearest rank.\n\n",
           listeners);
    StudyThresholds(files, listeners);
    StudyRetest(files, listeners);
    StudyReferences(files, listeners);
    StudyRepeats(files, listeners);

    int failed = ferror(files.raw) | ferror(files.summary) | ferror(files.correlations) |
                 ferror(files.repeats);
    failed |= fclose(files.raw) | fclose(files.summary) | fclose(files.correlations) |
              fclose(files.repeats);
    if (failed) {
        fprintf(stderr, "kestrune_study: writing the CSV files failed\n");
        return 1;
    }
    return 0;
}
