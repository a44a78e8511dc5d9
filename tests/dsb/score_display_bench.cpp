// Prints how regularly a display's ticks arrive and how long its counts take
// against the intended figures. Run by hand under Wine; asserts nothing.
#include <cstdio>
#include <vector>

#include "display_harness.h"

#include <mmsystem.h>

static void MeasureCount(HWND parent, int from, int to, int speed) {
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

    int period = speed > 0 ? 1000 / speed : 0;
    if (period < MIN_TICK_MS)
        period = MIN_TICK_MS;
    int expected = (to > from ? to - from : from - to) * 1000 / speed;
    DWORD shortest = 0xFFFFFFFF, longest = 0;
    for (size_t i = 1; i < ticks.size(); ++i) {
        DWORD gap = ticks[i] - ticks[i - 1];
        shortest = gap < shortest ? gap : shortest;
        longest = gap > longest ? gap : longest;
    }
    double mean = ticks.size() > 1 ? double(ticks.back() - ticks.front()) / (ticks.size() - 1) : 0;
    std::printf(
        "%4d -> %4d at %4d/s: period %2d ms, ticks %3zu, gap mean %6.2f min %3lu max %3lu ms;"
        " count %5lu ms (intended %5d)\n",
        from, to, speed, period, ticks.size(), mean,
        static_cast<unsigned long>(ticks.size() > 1 ? shortest : 0),
        static_cast<unsigned long>(longest), static_cast<unsigned long>(settled - start), expected);
    DestroyWindow(display);
}

int main() {
    HWND parent = CreateTestParent();
    timeBeginPeriod(1);
    MeasureCount(parent, 100, 130, 30);
    MeasureCount(parent, 0, 250, 60);
    MeasureCount(parent, 130, 100, 30);
    MeasureCount(parent, 0, 300, 1000);
    MeasureCount(parent, 50, 50, 30);
    timeEndPeriod(1);
    DestroyWindow(parent);
    return 0;
}
