// What the results file costs the listener: the tenth Decide of a test
// answered right (a final count of five seconds follows), from the click
// until the final display's first tick is handled, and until the click
// itself has been handled (the row is written inside it), with the file on
// and with Results=0, back to back, in two folders of their own, on a real
// main window in this process.
#include "app/controls.h"
#include "app/main_window.h"
#include "dsb/score_display.h"
#include "tests/bench/bench_support.h"
#include "tests/support/answers.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <stdio.h>

#include <vector>

namespace {

constexpr int REPETITIONS = 21;
constexpr DWORD TICK_TIMEOUT_MS = 5000;

struct TenthDecide {
    double tick_ms;    // click to the first tick of the final count; negative: none
    double handled_ms; // click to the end of its handling
};

TenthDecide TimeTenthDecide(const std::string &folder) {
    TenthDecide took = {-1.0, 0.0};
    SetCurrentDirectoryA(folder.c_str());
    HWND window = OpenMainWindow(false);
    AppState *state = GetAppState();
    Click(window, ID_START);
    for (int t = 0; t < TRIAL_COUNT - 1; ++t)
        AnswerAndDecide(window, state, true);
    PumpPending();
    MarkAnswer(window, state, true);
    double start = BenchNow();
    Click(window, ID_DECIDE);
    took.handled_ms = (BenchNow() - start) * 1e3;
    HWND display = GetDlgItem(window, ID_FINAL_DISPLAY);
    PumpUntil([&] { return took.tick_ms >= 0; }, TICK_TIMEOUT_MS,
              [&](const MSG &msg) {
                  if (msg.hwnd == display && msg.message == DSBM_TICK && took.tick_ms < 0)
                      took.tick_ms = (BenchNow() - start) * 1e3;
              });
    DestroyWindow(window);
    DrainQuit();
    return took;
}

} // namespace

int main() {
    ScratchFolder on(ScratchFolder::DO_NOT_ENTER);
    ScratchFolder off(ScratchFolder::DO_NOT_ENTER);
    WriteWholeFile(off.File("Settings.ini"), "[Settings]\r\nResults=0\r\n");
    std::vector<double> tick_on, tick_off, handled_on, handled_off;
    for (int r = 0; r < REPETITIONS; ++r) {
        // Each side leads in turn.
        for (int i = 0; i < 2; ++i) {
            bool file = (r + i) % 2 == 0;
            TenthDecide took = TimeTenthDecide(file ? on.path() : off.path());
            if (took.tick_ms < 0) {
                fprintf(stderr, "results_bench: the final count never ticked\n");
                return 1;
            }
            (file ? tick_on : tick_off).push_back(took.tick_ms);
            (file ? handled_on : handled_off).push_back(took.handled_ms);
        }
    }
    SetCurrentDirectoryA(on.path().c_str());
    std::string rows = ReadWholeFile(on.File("Results.csv"));
    int lines = 0;
    for (char c : rows)
        lines += c == '\n';
    if (lines != REPETITIONS + 1 || PathExists(off.File("Results.csv"))) {
        fprintf(stderr, "results_bench: %d lines written with the file on\n", lines);
        return 1;
    }
    PrintRow("Tenth Decide to the final count's first tick", tick_on, "ms", "Results=0", tick_off);
    PrintRow("Tenth Decide handled (the row written, flushed)", handled_on, "ms", "Results=0",
             handled_off);
    SetCurrentDirectoryA(off.path().c_str());
    return 0;
}
