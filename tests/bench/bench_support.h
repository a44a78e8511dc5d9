// What the benchmarks share: a steady clock, medians of repeated runs, the
// bare synthesis loop that a tone cannot do without, and the rows of the one
// table that tools/bench.sh prints. The program's main window in the bench's
// own process comes from the tests' support library (app_window.h).
#pragma once

#include <windows.h>

#include <vector>

// Seconds on the performance counter.
double BenchNow();
double Median(std::vector<double> values);

// How a figure is judged against its reference.
enum TargetKind {
    TARGET_NONE,    // shown for scale only
    TARGET_AT_MOST, // ratio must not exceed the bound
};

// How the ratio of a row is formed.
enum Pairing {
    // measured[i] and reference[i] were taken back to back: the ratio is the
    // median of the ratios of those pairs, as a load that comes and goes on
    // the machine slows both sides of a pair alike.
    PAIRED,
    // Taken apart in time (whole program launches): the ratio of the medians.
    UNPAIRED,
};

// One row: the median of the figure, the median of its reference measured in
// the same run, their ratio and the target. Values are given in `unit`
// already scaled (ms, us, MB...).
void PrintRow(const char *figure, const std::vector<double> &measured, const char *unit,
              const char *reference, const std::vector<double> &reference_values,
              TargetKind kind = TARGET_NONE, double bound = 0.0, Pairing pairing = PAIRED);

// The floor of one tone: the sine calls, with the very arguments, that 44 100
// exact frames of the chord need, and nothing else; their results are folded
// into a sink.
void SineFloor(double frequency, int chord_type);
// Components of a chord type (1 for a single tone).
int ChordSize(int chord_type);
