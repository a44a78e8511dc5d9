// The plot's arithmetic: the axes' ranges, which values they name, and where
// a test stands. Plain functions of numbers; the drawing is history_paint's.
#pragma once

#include <windows.h>

// The vertical axis: cents on a logarithmic scale, between two values of
// the 1-2-5 series (... 0.5, 1, 2, 5, 10, 20 ...).
struct CentsAxis {
    double low;
    double high;
};
// The axis that holds everything from `least` to `greatest` (both above
// zero): from the series' value at or below the one to the value at or
// above the other; one value alone gets the series' values around it.
CentsAxis CentsAxisFor(double least, double greatest);
// The series' values from the axis's low to its high, ascending; how many
// (at most `capacity`).
int CentsTicks(const CentsAxis *axis, double *ticks, int capacity);
// Whether a value of the series is a power of ten: the values still named
// where the others would crowd.
bool IsPowerOfTen(double tick);
// The pixel row of `cents` on an axis drawn from `bottom` (its low) up to
// `top` (its high), rounded to the nearest.
int CentsToY(const CentsAxis *axis, double cents, int top, int bottom);

// The horizontal axis: local time in FILETIME ticks (100 ns).
struct TimeAxis {
    long long first;
    long long last;
};
// The axis from the first test to the last; tests all of one time get half
// a day on each side.
TimeAxis TimeAxisFor(long long first, long long last);
// The pixel column of `when` between `left` and `right`, which stand
// `inset` pixels inside the plot's edges so that no point sits on a frame.
int TimeToX(const TimeAxis *axis, long long when, int left, int right);

// How the time axis names its ticks, by the size of the step between them.
enum TimeLabelForm {
    LABEL_MINUTE, // 12-09 23:45
    LABEL_DAY,    // 2026-12-09
    LABEL_MONTH,  // 2026-12
    LABEL_YEAR,   // 2026
    TIME_LABEL_FORMS,
};
// A sample of each form, for the painter to measure.
const wchar_t *TimeLabelSample(TimeLabelForm form);

constexpr int TIME_LABEL_CHARS = 24;
constexpr int TIME_TICK_MAX = 64;
struct TimeTick {
    long long when;
    wchar_t label[TIME_LABEL_CHARS];
};
// The ticks of the axis over `span` pixels with labels that do not
// overlap: the finest step (5 minutes to 100 years) whose ticks stand at
// least a label's width (`label_widths`, by form, in pixels) and `gap`
// apart. Ticks fall on whole minutes, hours, days, months or years. Returns
// how many (at most TIME_TICK_MAX).
int TimeTicks(const TimeAxis *axis, int span, const int *label_widths, int gap, TimeTick *ticks);
