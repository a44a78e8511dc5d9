#include "history/combined_figure.h"

#include "engine/pitch.h"

#include <math.h>

// Far above the error of a mean of three logarithms (some 1e-15), far below
// the smallest step of the digits (1e-4 of 0.95).
constexpr double ROUNDING_ALLOWANCE = 1e-12;

CombinedFigure CombineLastTests(const HistoryTest *tests, int count) {
    CombinedFigure figure = {0, 0.0};
    if (tests == nullptr || count <= 0) {
        return figure;
    }
    figure.tests = count < COMBINED_TESTS ? count : COMBINED_TESTS;
    double logs = 0.0;
    for (int i = count - figure.tests; i < count; ++i) {
        logs += log(tests[i].cents);
    }
    figure.cents = exp(logs / figure.tests);
    return figure;
}

void FormatFigureCents(double cents, char *text, int size) {
    FormatCentsNumber(cents * (1.0 + ROUNDING_ALLOWANCE), text, size);
}

void FormatFigureCentsW(double cents, wchar_t *text, int chars) {
    char digits[32];
    FormatFigureCents(cents, digits, sizeof digits);
    MultiByteToWideChar(CP_ACP, 0, digits, -1, text, chars);
}
