// The figure the study says to trust: the geometric mean of the cents of
// the last three tests (README, "How many tests to take"), or of the one or
// two there are.
#pragma once

#include "history/results_history.h"

constexpr int COMBINED_TESTS = 3;

struct CombinedFigure {
    int tests;    // how many tests it combines: 0..3
    double cents; // their geometric mean; 0 when there is none
};

// The figure of the last tests of `tests` (oldest first).
CombinedFigure CombineLastTests(const HistoryTest *tests, int count);
// The digits of the result screen's cents line ("23", "9.4", "0.50") for a
// figure worked out here. A mean a hair below a boundary only through the
// arithmetic of doubles (that of 10, 2 and 50 comes out a hair under 10) is
// taken at the boundary, as the exact figure is.
void FormatFigureCents(double cents, char *text, int size);
// The same as a wide string.
void FormatFigureCentsW(double cents, wchar_t *text, int chars);
