// Start-up and memory of the real Kestrune.exe against the bare window of
// bare_window.exe, both launched and watched by the same code here.
//
// Start-up is the time from CreateProcess to the moment the screen shows the
// first paint: the launcher polls two screen pixels, the client area's
// top-left and bottom-right corners, until both have the colour that the
// title screen's background has there and that the bare window's class brush
// paints. Memory is the peak working set the system reports for the process
// (GetProcessMemoryInfo), for Kestrune.exe after a whole test.
#include "app/controls.h"
#include "app/main_window.h"
#include "dsb/score_display.h"
#include "engine/schedule.h"
#include "tests/bench/bench_support.h"
#include "tests/support/files.h"
#include "tests/support/program.h"

#include <psapi.h>
#include <stdio.h>

#include <vector>

namespace {

constexpr int STARTUPS = 15;
constexpr DWORD SETTLE_MS = 300;
constexpr int WHOLE_TESTS = 3;
constexpr COLORREF FIRST_PAINT_COLOR = RGB(2, 232, 238);
constexpr DWORD PAINT_TIMEOUT_MS = 30000;
constexpr DWORD EXIT_TIMEOUT_MS = 15000;
// The capture device takes a one-second tone in about a quarter of a second.
constexpr DWORD TONE_WAIT_MS = 300;
constexpr int FINAL_SPEED = 60;

struct Search {
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM param) {
    Search *search = reinterpret_cast<Search *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process_id && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool ShowsFirstPaint(HDC screen, HWND window) {
    POINT corners[2] = {{0, 0}, {CLIENT_WIDTH - 1, CLIENT_HEIGHT - 1}};
    for (POINT &corner : corners) {
        ClientToScreen(window, &corner);
        if (GetPixel(screen, corner.x, corner.y) != FIRST_PAINT_COLOR)
            return false;
    }
    return true;
}

double PeakWorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0.0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

struct Launch {
    double ms;      // from CreateProcess to the first paint on screen; negative: none seen
    double peak_mb; // peak working set just before it was closed again
};

// Launches exe with its arguments in dir, waits for its first paint on
// screen, and closes it again.
Launch LaunchToFirstPaint(const std::string &exe, const char *arguments, const std::string &dir) {
    Launch launch = {-1.0, 0.0};
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = BenchNow();
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &startup, &process))
        return launch;
    HDC screen = GetDC(nullptr);
    Search search = {process.dwProcessId, nullptr};
    DWORD begun = GetTickCount();
    while (GetTickCount() - begun < PAINT_TIMEOUT_MS) {
        if (search.found == nullptr)
            EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && ShowsFirstPaint(screen, search.found)) {
            launch.ms = (BenchNow() - start) * 1e3;
            break;
        }
        Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    launch.peak_mb = PeakWorkingSetMb(process.hProcess);
    if (search.found != nullptr)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return launch;
}

// Clicks through a whole test as a user would, with every tone of every
// trial played, and returns the peak working set once the result is shown;
// a negative value when the test did not reach the result screen.
double WholeTestPeakMb() {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    if (!app.Launch(dir.path()) || !app.Click(ID_START))
        return -1.0;
    static const int kComparisonTones[] = {ID_PLAY_A, ID_PLAY_B, ID_PLAY_C};
    static const int kMatchingTones[] = {ID_TARGET, ID_PLAY};
    for (int trial = 0; trial < TRIAL_COUNT; ++trial) {
        bool comparison = app.HasControl(ID_PLAY_A) && IsWindowVisible(app.Control(ID_PLAY_A));
        const int *tones = comparison ? kComparisonTones : kMatchingTones;
        int count = comparison ? 3 : 2;
        for (int i = 0; i < count; ++i) {
            if (!app.Click(tones[i]))
                return -1.0;
            Sleep(TONE_WAIT_MS);
        }
        if (!app.Click(ID_DECIDE))
            return -1.0;
    }
    if (!app.HasControl(ID_FINAL_DISPLAY))
        return -1.0;
    LRESULT final_score = SendMessageA(app.Control(ID_FINAL_DISPLAY), DSBM_GETVALUE, 0, 0);
    Sleep(static_cast<DWORD>(final_score) * 1000 / FINAL_SPEED + 1000);
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.process_id());
    double peak = process != nullptr ? PeakWorkingSetMb(process) : -1.0;
    if (process != nullptr)
        CloseHandle(process);
    app.PostClick(ID_RESULT_QUIT);
    DWORD code = 0;
    app.WaitForExit(EXIT_TIMEOUT_MS, &code);
    return peak;
}

} // namespace

// With two program paths as arguments, compares only their start-up: a way
// to find where the start-up time of a variant goes.
int main(int argc, char **argv) {
    std::string kestrune = argc > 2 ? argv[1] : KestruneExePath();
    std::string bare = argc > 2 ? argv[2] : WindowsPath(BARE_WINDOW_EXE_PATH);
    struct Program {
        std::string exe;
        const char *arguments;
        std::vector<double> ms, peak_mb;
    };
    Program programs[] = {{kestrune, "", {}, {}}, {bare, "", {}, {}}, {bare, "/wave", {}, {}}};
    int count = argc > 2 ? 2 : 3;
    for (int r = 0; r < STARTUPS; ++r) {
        // Each program leads in turn, and the system settles between
        // launches, so that none always follows the exit of the same other.
        for (int i = 0; i < count; ++i) {
            Program &program = programs[(r + i) % count];
            ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
            Sleep(SETTLE_MS);
            Launch launch = LaunchToFirstPaint(program.exe, program.arguments, dir.path());
            if (launch.ms < 0) {
                fprintf(stderr, "launch_bench: no first paint seen from %s %s\n",
                        program.exe.c_str(), program.arguments);
                return 1;
            }
            program.ms.push_back(launch.ms);
            program.peak_mb.push_back(launch.peak_mb);
        }
    }
    const Program &app = programs[0], &floor = programs[1], &device = programs[2];
    PrintRow("Start-up to first paint", app.ms, "ms", "bare window", floor.ms, TARGET_AT_MOST, 1.2,
             UNPAIRED);
    if (argc > 2)
        return 0;
    PrintRow("Start-up to first paint", app.ms, "ms", "bare window + wave device", device.ms,
             TARGET_NONE, 0.0, UNPAIRED);
    PrintRow("Peak working set, title screen", app.peak_mb, "MB", "bare window + wave device",
             device.peak_mb, TARGET_NONE, 0.0, UNPAIRED);
    std::vector<double> kestrune_peak;
    for (int r = 0; r < WHOLE_TESTS; ++r) {
        double peak = WholeTestPeakMb();
        if (peak <= 0) {
            fprintf(stderr, "launch_bench: a whole test did not reach the result screen\n");
            return 1;
        }
        kestrune_peak.push_back(peak);
    }
    PrintRow("Peak working set, whole test", kestrune_peak, "MB", "bare window", floor.peak_mb,
             TARGET_NONE, 0.0, UNPAIRED);
    PrintRow("Peak working set, whole test", kestrune_peak, "MB", "bare window + wave device",
             device.peak_mb, TARGET_NONE, 0.0, UNPAIRED);
    return 0;
}
