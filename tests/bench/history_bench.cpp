// The history window on a results file of 1 000 and of 100 000 rows (rows as
// the program writes them, some 520 bytes each): from the system menu's
// command to the window's first paint with every test in it, on a real main
// window in this process, against reading the file's bytes and against
// reading and parsing them; and the longest any one message kept the
// windows' thread while they opened.
#include "app/history_menu.h"
#include "app/main_window.h"
#include "engine/random.h"
#include "engine/result_record.h"
#include "engine/grading.h"
#include "engine/trial_plan.h"
#include "history/history_window.h"
#include "history/results_history.h"
#include "tests/bench/bench_support.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD OPEN_TIMEOUT_MS = 60000;

// A test answered at random on a seeded plan: tones and answers as real
// rows carry them.
AppState TakenTest() {
    AppState s = {};
    SeedRandom(2026);
    BuildTrialPlan(&s);
    s.volume = 80;
    s.score = SCORE_START;
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        s.trial = t;
        s.chosen_high = 1 + t % 3;
        s.chosen_low = 1 + (t + 1) % 3;
        s.slider_pos = 100;
        ScoreAnswer(&s);
    }
    s.trial = TRIAL_COUNT;
    return s;
}

// Results.csv of `rows` tests, a few hours apart, their scores all over.
void WriteResults(const std::string &path, int rows) {
    AppState state = TakenTest();
    char line[RESULT_LINE_BYTES];
    std::string file = "\xEF\xBB\xBF";
    file.append(line, FormatResultHeader(0, line, sizeof line));
    for (int i = 0; i < rows; ++i) {
        ResultTime ended = {};
        ended.local = {static_cast<WORD>(2000 + i / 2000),
                       static_cast<WORD>(1 + i / 200 % 10),
                       0,
                       static_cast<WORD>(1 + i / 8 % 25),
                       static_cast<WORD>(i % 8 * 3),
                       5,
                       0,
                       0};
        ended.utc_offset_minutes = 540;
        state.score = (i * 37) % (SCORE_MAX + 1);
        file.append(line, FormatResultRow(&state, &ended, 0, line, sizeof line));
    }
    WriteWholeFile(path, file);
}

double ReadBytesMs(const std::wstring &path) {
    double start = BenchNow();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    std::vector<char> block(1 << 20);
    DWORD got = 0;
    while (ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) &&
           got > 0) {
    }
    CloseHandle(file);
    return (BenchNow() - start) * 1e3;
}

double ReadAndParseMs(const std::wstring &path) {
    double start = BenchNow();
    ResultsHistory history;
    ReadResultsHistory(path.c_str(), nullptr, &history);
    double took = (BenchNow() - start) * 1e3;
    FreeResultsHistory(&history);
    return took;
}

struct Opening {
    double paint_ms;   // the command to the first paint with every test in it
    double longest_ms; // the longest one message was handled meanwhile
};

// The menu's command to a main window whose working folder holds the file.
Opening OpenHistory(HWND main_window) {
    Opening took = {0.0, 0.0};
    double start = BenchNow();
    SendMessageA(main_window, WM_SYSCOMMAND, IDM_HISTORY, 0);
    took.longest_ms = (BenchNow() - start) * 1e3;
    HWND history = FindHistoryWindow();
    HWND table = GetDlgItem(history, ID_HISTORY_TABLE);
    double dispatched = 0.0;
    bool painted = PumpUntil(
        [&] {
            return !IsHistoryReading(history) && !GetUpdateRect(history, nullptr, FALSE) &&
                   !GetUpdateRect(table, nullptr, FALSE);
        },
        OPEN_TIMEOUT_MS, [&](const MSG &) { dispatched = BenchNow(); },
        [&](const MSG &) {
            double ms = (BenchNow() - dispatched) * 1e3;
            took.longest_ms = ms > took.longest_ms ? ms : took.longest_ms;
        });
    took.paint_ms = painted ? (BenchNow() - start) * 1e3 : -1.0;
    DestroyWindow(history);
    return took;
}

} // namespace

int main() {
    struct Size {
        int rows;
        int repetitions;
        const char *name;
    } sizes[] = {{1000, 21, "1 000"}, {100000, 11, "100 000"}};
    for (const Size &size : sizes) {
        ScratchFolder folder(ScratchFolder::DO_NOT_ENTER);
        WriteResults(folder.File("Results.csv"), size.rows);
        std::wstring path = Wide(folder.File("Results.csv"));
        SetCurrentDirectoryA(folder.path().c_str());
        HWND main_window = OpenMainWindow(false);
        std::vector<double> paint, longest, bytes, parsed, goal;
        for (int r = 0; r < size.repetitions; ++r) {
            bytes.push_back(ReadBytesMs(path));
            parsed.push_back(ReadAndParseMs(path));
            Opening took = OpenHistory(main_window);
            if (took.paint_ms < 0) {
                fprintf(stderr, "history_bench: the window never showed its %d rows\n", size.rows);
                return 1;
            }
            paint.push_back(took.paint_ms);
            longest.push_back(took.longest_ms);
            goal.push_back(50.0);
        }
        DestroyWindow(main_window);
        DrainQuit();
        std::string figure =
            std::string("History window, ") + size.name + " rows: command to paint";
        if (size.rows == 1000) {
            PrintRow(figure.c_str(), paint, "ms", "goal", goal, TARGET_AT_MOST, 1.0);
        }
        PrintRow(figure.c_str(), paint, "ms", "reading and parsing the file", parsed,
                 size.rows == 1000 ? TARGET_NONE : TARGET_AT_MOST, 1.5);
        PrintRow(figure.c_str(), paint, "ms", "reading the file's bytes", bytes);
        figure = std::string("History window, ") + size.name + " rows: longest message handled";
        PrintRow(figure.c_str(), longest, "ms", "command to paint", paint);
        SetCurrentDirectoryA("C:\\");
    }
    return 0;
}
