#include "history/plot_axes.h"

#include <math.h>

// A value the series stands for is taken as on it within this share: the
// logarithms it is found with are not exact.
constexpr double SERIES_TOLERANCE = 1e-9;
// The series is searched no further than 10^-20 .. 10^20 cents.
constexpr int SERIES_INDEX_LIMIT = 60;

constexpr long long MINUTE = 600000000LL;
constexpr long long HOUR = 60 * MINUTE;
constexpr long long DAY = 24 * HOUR;
// The shortest month, so that labels a month apart never overlap.
constexpr long long SHORTEST_MONTH = 28 * DAY;

// Value `index` of the series: 0 is 1, 1 is 2, 2 is 5, 3 is 10, -1 is 0.5.
// A division by an exact power of ten gives the double nearest 0.5 or 0.2.
static double SeriesValue(int index) {
    static const int kMantissas[3] = {1, 2, 5};
    int decade = index >= 0 ? index / 3 : -((-index + 2) / 3);
    double power = 1.0;
    for (int i = 0; i < (decade < 0 ? -decade : decade); ++i) {
        power *= 10.0;
    }
    int mantissa = kMantissas[index - decade * 3];
    return decade >= 0 ? mantissa * power : mantissa / power;
}

static int ClampIndex(int index) {
    return index < -SERIES_INDEX_LIMIT  ? -SERIES_INDEX_LIMIT
           : index > SERIES_INDEX_LIMIT ? SERIES_INDEX_LIMIT
                                        : index;
}

static int SeriesIndexAtOrBelow(double value) {
    int index = ClampIndex(static_cast<int>(floor(log10(value))) * 3);
    while (index < SERIES_INDEX_LIMIT && SeriesValue(index + 1) <= value * (1 + SERIES_TOLERANCE)) {
        ++index;
    }
    while (index > -SERIES_INDEX_LIMIT && SeriesValue(index) > value * (1 + SERIES_TOLERANCE)) {
        --index;
    }
    return index;
}

static int SeriesIndexAtOrAbove(double value) {
    int index = SeriesIndexAtOrBelow(value);
    return SeriesValue(index) >= value * (1 - SERIES_TOLERANCE) ? index : index + 1;
}

CentsAxis CentsAxisFor(double least, double greatest) {
    int low = SeriesIndexAtOrBelow(least);
    int high = SeriesIndexAtOrAbove(greatest);
    if (high <= low) {
        low -= 1;
        high = low + 2;
    }
    return {SeriesValue(low), SeriesValue(high)};
}

int CentsTicks(const CentsAxis *axis, double *ticks, int capacity) {
    int count = 0;
    int last = SeriesIndexAtOrAbove(axis->high);
    for (int i = SeriesIndexAtOrAbove(axis->low); i <= last && count < capacity; ++i) {
        ticks[count++] = SeriesValue(i);
    }
    return count;
}

bool IsPowerOfTen(double tick) {
    return (SeriesIndexAtOrAbove(tick) % 3 + 3) % 3 == 0;
}

int CentsToY(const CentsAxis *axis, double cents, int top, int bottom) {
    double share = log(cents / axis->low) / log(axis->high / axis->low);
    return static_cast<int>(floor(bottom - share * (bottom - top) + 0.5));
}

TimeAxis TimeAxisFor(long long first, long long last) {
    if (last <= first) {
        return {first - DAY / 2, first + DAY / 2};
    }
    return {first, last};
}

int TimeToX(const TimeAxis *axis, long long when, int left, int right) {
    double share = static_cast<double>(when - axis->first) / (axis->last - axis->first);
    return static_cast<int>(floor(left + share * (right - left) + 0.5));
}

const wchar_t *TimeLabelSample(TimeLabelForm form) {
    switch (form) {
    case LABEL_MINUTE: return L"12-09 23:45";
    case LABEL_DAY: return L"2026-12-09";
    case LABEL_MONTH: return L"2026-12";
    default: return L"2026";
    }
}

// A step between ticks: a fixed time, or whole months on the calendar.
struct TimeStep {
    long long ticks;
    int months;
    TimeLabelForm form;
};
// Days and weeks count from 1601-01-01, a Monday, so weeks start on Mondays.
static const TimeStep kTimeSteps[] = {
    {5 * MINUTE, 0, LABEL_MINUTE},
    {10 * MINUTE, 0, LABEL_MINUTE},
    {15 * MINUTE, 0, LABEL_MINUTE},
    {30 * MINUTE, 0, LABEL_MINUTE},
    {HOUR, 0, LABEL_MINUTE},
    {2 * HOUR, 0, LABEL_MINUTE},
    {3 * HOUR, 0, LABEL_MINUTE},
    {6 * HOUR, 0, LABEL_MINUTE},
    {12 * HOUR, 0, LABEL_MINUTE},
    {DAY, 0, LABEL_DAY},
    {2 * DAY, 0, LABEL_DAY},
    {7 * DAY, 0, LABEL_DAY},
    {14 * DAY, 0, LABEL_DAY},
    {0, 1, LABEL_MONTH},
    {0, 2, LABEL_MONTH},
    {0, 3, LABEL_MONTH},
    {0, 6, LABEL_MONTH},
    {0, 12, LABEL_YEAR},
    {0, 24, LABEL_YEAR},
    {0, 60, LABEL_YEAR},
    {0, 120, LABEL_YEAR},
    {0, 240, LABEL_YEAR},
    {0, 600, LABEL_YEAR},
    {0, 1200, LABEL_YEAR},
};

static SYSTEMTIME ToSystemTime(long long when) {
    FILETIME file;
    file.dwLowDateTime = static_cast<DWORD>(when);
    file.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(when) >> 32);
    SYSTEMTIME t = {};
    FileTimeToSystemTime(&file, &t);
    return t;
}

static long long ToTicks(const SYSTEMTIME &t) {
    FILETIME file = {};
    SystemTimeToFileTime(&t, &file);
    return static_cast<long long>((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) |
                                  file.dwLowDateTime);
}

static void Label(long long when, TimeLabelForm form, wchar_t *label) {
    SYSTEMTIME t = ToSystemTime(when);
    switch (form) {
    case LABEL_MINUTE:
        wsprintfW(label, L"%02d-%02d %02d:%02d", t.wMonth, t.wDay, t.wHour, t.wMinute);
        return;
    case LABEL_DAY: wsprintfW(label, L"%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay); return;
    case LABEL_MONTH: wsprintfW(label, L"%04d-%02d", t.wYear, t.wMonth); return;
    default: wsprintfW(label, L"%04d", t.wYear); return;
    }
}

static void AddTick(long long when, TimeLabelForm form, TimeTick *ticks, int *count) {
    if (*count < TIME_TICK_MAX) {
        ticks[*count].when = when;
        Label(when, form, ticks[*count].label);
        *count += 1;
    }
}

// Ticks every `months` months from the start of a year.
static int CalendarTicks(const TimeAxis *axis, const TimeStep &step, TimeTick *ticks) {
    SYSTEMTIME start = ToSystemTime(axis->first);
    int month_number = (start.wYear * 12 + start.wMonth - 1) / step.months * step.months;
    int count = 0;
    for (;; month_number += step.months) {
        SYSTEMTIME t = {};
        t.wYear = static_cast<WORD>(month_number / 12);
        t.wMonth = static_cast<WORD>(month_number % 12 + 1);
        t.wDay = 1;
        long long when = ToTicks(t);
        if (when > axis->last || t.wYear > 30000 || count == TIME_TICK_MAX) {
            return count;
        }
        if (when >= axis->first) {
            AddTick(when, step.form, ticks, &count);
        }
    }
}

int TimeTicks(const TimeAxis *axis, int span, const int *label_widths, int gap, TimeTick *ticks) {
    long long length = axis->last - axis->first;
    int chosen = ARRAYSIZE(kTimeSteps) - 1;
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(kTimeSteps)); ++i) {
        const TimeStep &step = kTimeSteps[i];
        double step_ticks = step.months > 0 ? static_cast<double>(step.months) * SHORTEST_MONTH
                                            : static_cast<double>(step.ticks);
        if (step_ticks / length * span >= label_widths[step.form] + gap) {
            chosen = i;
            break;
        }
    }
    const TimeStep &step = kTimeSteps[chosen];
    if (step.months > 0) {
        return CalendarTicks(axis, step, ticks);
    }
    int count = 0;
    long long first = (axis->first + step.ticks - 1) / step.ticks * step.ticks;
    for (long long when = first; when <= axis->last && count < TIME_TICK_MAX; when += step.ticks) {
        AddTick(when, step.form, ticks, &count);
    }
    return count;
}
