// Painting on a real main window in this process: ComposeScreen for each
// screen against the one block copy of a background that every composition
// makes; one score-display tick against the tick period of the final count;
// the CPU time of the whole final count from 0 to 300 against its wall time.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/screens.h"
#include "dsb/score_display.h"
#include "render/screen_paint.h"
#include "render/surfaces.h"
#include "tests/bench/bench_support.h"
#include "tests/support/app_window.h"
#include "tests/support/message_pump.h"
#include "tests/support/seven_segment.h"

#include <stdio.h>

#include <vector>

namespace {

constexpr int COMPOSITIONS = 101;
constexpr int TICKS = 101;
constexpr int FINAL_COUNTS = 3;
constexpr int FINAL_SPEED = 60; // units per second of the result screen's count
constexpr DWORD COUNT_TIMEOUT_MS = 20000;

void MeasureScreen(const char *name, AppState *state, const Surface *background) {
    std::vector<double> compose, copy;
    for (int r = 0; r < COMPOSITIONS; ++r) {
        double t0 = BenchNow();
        ComposeScreen(state);
        GdiFlush();
        double t1 = BenchNow();
        BitBlt(state->back_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, background->dc, 0, 0, SRCCOPY);
        GdiFlush();
        double t2 = BenchNow();
        compose.push_back((t1 - t0) * 1e6);
        copy.push_back((t2 - t1) * 1e6);
    }
    char figure[64];
    wsprintfA(figure, "ComposeScreen, %s", name);
    PrintRow(figure, compose, "us", "background copy", copy);
}

// One tick of a running count, through the display's own window procedure,
// and the paint it asks for.
void MeasureTick(HWND display) {
    SendMessageA(display, DSBM_SETSPEED, 1, 0); // a count that outlasts the measurement
    SendMessageA(display, DSBM_SETVALUE, 888, 0);
    DsbData *data = DisplayRecord(display);
    std::vector<double> tick;
    for (int r = 0; r < TICKS && data != nullptr && data->timer_id != 0; ++r) {
        double start = BenchNow();
        SendMessageA(display, DSBM_TICK, data->timer_id, 0);
        UpdateWindow(display);
        GdiFlush();
        tick.push_back((BenchNow() - start) * 1e6);
    }
    std::vector<double> period(tick.size(), (1000 / FINAL_SPEED) * 1000.0);
    PrintRow("Score display, one tick and its paint", tick, "us", "tick period at 60/s", period);
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) * 1e-7;
}

// The result screen counting from 0 to 300, as the program runs it: the
// display's timer, the ticks and the paints go through this thread's queue.
bool MeasureFinalCount(AppState *state) {
    std::vector<double> cpu, wall;
    for (int r = 0; r < FINAL_COUNTS; ++r) {
        state->score = SCORE_MAX;
        state->results_revealed = 0;
        double cpu_start = ProcessCpuSeconds();
        double wall_start = BenchNow();
        ShowResultScreen(state);
        if (!PumpUntil([&] { return state->results_revealed != 0; }, COUNT_TIMEOUT_MS))
            return false;
        PumpFor(0);
        cpu.push_back((ProcessCpuSeconds() - cpu_start) * 1e3);
        wall.push_back((BenchNow() - wall_start) * 1e3);
    }
    PrintRow("CPU time of the final count 0 to 300", cpu, "ms", "its wall time", wall);
    return true;
}

} // namespace

int main() {
    HWND window = OpenMainWindow(false);
    AppState *state = GetAppState();
    if (window == nullptr) {
        fprintf(stderr, "paint_bench: no main window\n");
        return 1;
    }
    PumpFor(100);
    MeasureScreen("title", state, &state->title_bg);

    Command(window, ID_START);
    MeasureScreen("comparison trial", state, &state->comparison_bg);
    state->trial = 3; // the first matching trial
    ShowTrialControls(state);
    MeasureScreen("matching trial", state, &state->matching_bg);
    state->trial = 0;
    ShowTrialControls(state);

    // Ten decisions fill the result rows and lead to the result screen.
    for (int i = 0; i < TRIAL_COUNT; ++i)
        Command(window, ID_DECIDE);
    PumpUntil([&] { return state->results_revealed != 0; }, COUNT_TIMEOUT_MS);
    MeasureScreen("result, revealed", state, &state->result_bg);

    int status = MeasureFinalCount(state) ? 0 : 1;
    MeasureTick(GetDlgItem(window, ID_FINAL_DISPLAY));
    DestroyWindow(window);
    return status;
}
