#include "tests/bench/bench_support.h"

#include "app/main_window.h"
#include "sound/tone_synth.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

double BenchNow() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

static void FormatFigure(char *text, size_t size, double value, const char *unit) {
    int digits = value >= 100 ? 0 : value >= 10 ? 1 : value >= 1 ? 2 : 3;
    snprintf(text, size, "%.*f %s", digits, value, unit);
}

void PrintRow(const char *figure, const std::vector<double> &measured, const char *unit,
              const char *reference, const std::vector<double> &reference_values, TargetKind kind,
              double bound, Pairing pairing) {
    char measured_text[32], reference_text[32], target[48];
    FormatFigure(measured_text, sizeof measured_text, Median(measured), unit);
    FormatFigure(reference_text, sizeof reference_text, Median(reference_values), unit);
    std::vector<double> ratios;
    for (size_t i = 0; i < measured.size() && i < reference_values.size(); ++i) {
        if (reference_values[i] > 0)
            ratios.push_back(measured[i] / reference_values[i]);
    }
    double ratio = pairing == PAIRED ? Median(ratios) : Median(measured) / Median(reference_values);
    if (kind == TARGET_AT_MOST)
        snprintf(target, sizeof target, "<= %.2f: %s", bound, ratio <= bound ? "met" : "MISSED");
    else
        snprintf(target, sizeof target, "-");
    printf("| %s | %s | %s: %s | %.3f | %s |\n", figure, measured_text, reference, reference_text,
           ratio, target);
    fflush(stdout);
}

int ChordSize(int chord_type) {
    int count = 0;
    while (count < CHORD_INTERVAL_SLOTS && ChordIntervals[chord_type][count] != CHORD_END)
        ++count;
    return count;
}

static volatile double sine_sink;

void SineFloor(double frequency, int chord_type) {
    double steps[CHORD_INTERVAL_SLOTS];
    int count = ChordSize(chord_type);
    for (int c = 0; c < count; ++c)
        steps[c] = (((pow(2.0, ChordIntervals[chord_type][c] / 12.0) * frequency) * 2.0) *
                    3.14159265358979) /
                   44100.0;
    double sink = 0.0;
    for (int c = 0; c < count; ++c)
        for (int n = 0; n < TONE_FRAMES; ++n)
            sink += sin(steps[c] * static_cast<double>(n));
    sine_sink = sink;
}
