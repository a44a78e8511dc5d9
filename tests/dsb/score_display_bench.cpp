// How long the display's counts take against the time they are meant to
// take, and how regularly their ticks come against the period. Rows of the
// table that tools/bench.sh prints; asserts nothing.
#include <cstdio>
#include <vector>

#include "display_harness.h"
#include "tests/bench/bench_support.h"

#include <mmsystem.h>

namespace {

constexpr int REPETITIONS = 3;

struct CountRun {
    double count_ms; // from DSBM_SETVALUE to DSBN_SETTLED
    double mean_gap_ms;
};

CountRun RunCount(HWND parent, int from, int to, int speed) {
    HWND display = CreateTestDisplay(parent, 2013);
    SendMessageA(display, DSBM_SETVALUE, from, 0);
    SendMessageA(display, DSBM_SETSPEED, speed, 0);
    size_t before = GetParentLog().settled.size();
    std::vector<DWORD> ticks;
    DWORD start = timeGetTime();
    SendMessageA(display, DSBM_SETVALUE, to, 0);
    PumpUntil([&] { return GetParentLog().settled.size() > before; }, 20000,
              [&](const MSG &msg) {
                  if (IsLiveTickFor(msg, display))
                      ticks.push_back(timeGetTime());
              });
    DWORD settled = GetParentLog().settled.size() > before ? GetParentLog().settled.back().at : 0;
    DestroyWindow(display);
    CountRun run;
    run.count_ms = static_cast<double>(settled - start);
    run.mean_gap_ms =
        ticks.size() > 1 ? double(ticks.back() - ticks.front()) / (ticks.size() - 1) : 0.0;
    return run;
}

void MeasureCount(HWND parent, int from, int to, int speed) {
    int period = 1000 / speed;
    if (period < MIN_TICK_MS)
        period = MIN_TICK_MS;
    int intended = (to > from ? to - from : from - to) * 1000 / speed;
    std::vector<double> count, gap, intended_ms, period_ms;
    for (int r = 0; r < REPETITIONS; ++r) {
        CountRun run = RunCount(parent, from, to, speed);
        count.push_back(run.count_ms);
        gap.push_back(run.mean_gap_ms);
        // A count with no difference settles on its first tick, one period on.
        intended_ms.push_back(intended > 0 ? intended : period);
        period_ms.push_back(period);
    }
    char figure[96];
    std::snprintf(figure, sizeof figure, "Display count %d to %d at %d/s", from, to, speed);
    PrintRow(figure, count, "ms", "intended", intended_ms);
    if (intended > 2 * period) {
        std::snprintf(figure, sizeof figure, "Display tick gap, %d to %d at %d/s", from, to, speed);
        PrintRow(figure, gap, "ms", "period", period_ms);
    }
}

} // namespace

int main() {
    HWND parent = CreateTestParent();
    timeBeginPeriod(1);
    MeasureCount(parent, 100, 130, 30);
    MeasureCount(parent, 0, 300, 60);
    MeasureCount(parent, 130, 100, 30);
    MeasureCount(parent, 50, 50, 30);
    timeEndPeriod(1);
    DestroyWindow(parent);
    return 0;
}
