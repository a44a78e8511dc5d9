// The real Kestrune.exe and its history window, driven from this process:
// a listener who hears every tone takes a test, the window is opened by H
// and from the system menu by its keys, read as a screen reader reads it,
// follows the next test, and closes with Esc and with a second H.
#include "app/controls.h"
#include "history/history_window.h"
#include "tests/e2e/listener.h"
#include "tests/support/accessible.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/program.h"
#include "tests/support/results_csv.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD WINDOW_TIMEOUT_MS = 10000;

// The result screen's digits for cents: truncated to a whole number from
// 9.5 on, to one decimal from 0.95 on, else to two.
std::wstring CentsDigits(double cents) {
    wchar_t text[32];
    if (cents >= 9.5) {
        swprintf(text, 32, L"%d", static_cast<int>(cents));
    } else if (cents >= 0.95) {
        int tenths = static_cast<int>(cents * 10);
        swprintf(text, 32, L"%d.%d", tenths / 10, tenths % 10);
    } else {
        swprintf(text, 32, L"0.%02d", static_cast<int>(cents * 100));
    }
    return text;
}

// The rows of Results.csv after its header.
std::vector<std::vector<std::string>> Rows(const std::wstring &path) {
    std::vector<std::vector<std::string>> rows;
    ResultsFile file = ReadResultsFile(path);
    for (size_t i = 1; i < file.lines.size(); ++i) {
        rows.push_back(CsvFields(file.lines[i]));
    }
    return rows;
}

// The geometric mean of the cents of the file's last three rows, as the
// window must show it.
std::wstring FigureOf(const std::vector<std::vector<std::string>> &rows) {
    double product = 1.0;
    for (size_t i = rows.size() - 3; i < rows.size(); ++i) {
        product *= atof(rows[i][3].c_str());
    }
    return CentsDigits(cbrt(product)) + L" cent";
}

// A row of the table as a screen reader reads it.
std::wstring RowName(const std::vector<std::string> &row) {
    return Wide(row[0].substr(0, 16)) + L"、スコア " + Wide(row[2]) + L"、" + Wide(row[3]) +
           L" cent";
}

std::vector<std::wstring> Read(HWND window) {
    std::vector<AccessibleItem> items;
    ReadAccessibleScreen(window, &items);
    std::vector<std::wstring> names;
    for (const AccessibleItem &item : items) {
        names.push_back(item.name);
    }
    return names;
}

// Waits until the window's first text, the combined figure, reads `figure`.
bool WaitForFigure(HWND history, const std::wstring &figure) {
    return PollUntil(
        [&] {
            std::vector<std::wstring> read = Read(history);
            return !read.empty() && read[0] == figure;
        },
        WINDOW_TIMEOUT_MS);
}

TEST(HistoryProgram, TheListenersTestsReadAsAScreenReaderReadsThem) {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    std::wstring csv = Wide(dir.path()) + L"\\Results.csv";
    WriteWholeFile(csv, std::string(kUtf8Mark) + kResultsHeader +
                            "2026-12-01 10:00:00,UTC+09:00,100,23\r\n"
                            "2026-12-02 10:00:00,UTC+09:00,124,9.4\r\n");
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    Listener listener;
    BeginListening(&listener, &app, dir.File(CAPTURE_FILE_NAME));
    ASSERT_TRUE(app.Click(ID_START));
    ExpectNewTest(&listener);
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        bool answered = IsComparisonTrial(t) ? AnswerComparison(&listener, AnswerStyle::Heard)
                                             : AnswerMatching(&listener, AnswerStyle::Heard);
        ASSERT_TRUE(answered && Decide(&listener)) << "trial " << t << ": " << listener.failure;
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));

    // From the system menu by its keys (Alt+Space, up to its last item,
    // Enter), which leave the main window's test without keyboard use, so
    // that the next test's trials start with nothing marked.
    SetForegroundWindow(app.window());
    ASSERT_TRUE(PressKeysInForeground({VK_MENU, VK_SPACE}));
    ASSERT_TRUE(PressKeysInForeground({VK_UP}) && PressKeysInForeground({VK_RETURN}));
    HWND history = FindProcessWindow(app.process_id(), "Kestrune_History", WINDOW_TIMEOUT_MS);
    ASSERT_NE(history, nullptr) << "from the system menu";
    // 23, 9.4 and 0.50: cbrt(108.1) = 4.76.
    std::vector<std::vector<std::string>> rows = Rows(csv);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][3], "0.50") << "the listener heard every tone";
    ASSERT_EQ(FigureOf(rows), L"4.7 cent");
    ASSERT_TRUE(WaitForFigure(history, L"4.7 cent"));
    wchar_t caption[64] = L"";
    GetWindowTextW(history, caption, 64);
    EXPECT_STREQ(caption, L"結果の推移");
    std::wstring newest = Wide(rows[2][0].substr(0, 16));
    EXPECT_EQ(Read(history),
              std::vector<std::wstring>(
                  {L"4.7 cent",
                   L"直近3回の結果の相乗平均です。1回だけの結果は約1.5倍の幅でぶれるため、"
                   L"3回を合わせたこの値が目安になります。",
                   L"3回分のグラフ（2026-12-01 10:00～" + newest +
                       L"）。最新は 0.50 cent、直近の平均は 4.7 cent です。",
                   L"結果の一覧（新しい順）"}));
    HWND table = GetDlgItem(history, ID_HISTORY_TABLE);
    EXPECT_EQ(Read(table),
              std::vector<std::wstring>({RowName(rows[2]), RowName(rows[1]), RowName(rows[0])}));

    // Another test, nothing marked, while the window is open. A matching
    // trial's target may fall where the slider was left, so its score is not
    // always 0, but at most 61: 100, less 30 + 29 + 28 for the first three
    // comparisons, plus at most 35 + 30 + 25 + 5 for the matching ones
    // (50 x d), less at least 18 + 16 + 13 for the next three. So its cents
    // (49.3, written 49) are 49 to 90 and the figure moves from 4.7 to 6.1
    // or more.
    ASSERT_TRUE(app.Click(ID_BACK) && app.Click(ID_START));
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    rows = Rows(csv);
    ASSERT_EQ(rows.size(), 4u);
    double newest_cents = atof(rows[3][3].c_str());
    ASSERT_TRUE(newest_cents >= 49 && newest_cents <= 90) << rows[3][3];
    std::wstring figure = FigureOf(rows);
    EXPECT_TRUE(WaitForFigure(history, figure)) << "the window follows the new row";
    SetForegroundWindow(history);
    ASSERT_TRUE(PressKeysInForeground({VK_ESCAPE}));
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(history); }, WINDOW_TIMEOUT_MS)) << "Esc";

    // H on the result screen; the main window's keys stay its own while the
    // window is open (Enter on the result screen is Back); a second H, in
    // the window, closes it.
    ASSERT_TRUE(app.PressKey('H'));
    history = FindProcessWindow(app.process_id(), "Kestrune_History", WINDOW_TIMEOUT_MS);
    ASSERT_NE(history, nullptr) << "by H";
    EXPECT_TRUE(WaitForFigure(history, figure));
    ASSERT_TRUE(app.PressKey(VK_RETURN));
    EXPECT_TRUE(app.WaitForScreen(kTitleScreenIds)) << "Enter, in the main window";
    SetForegroundWindow(history);
    ASSERT_TRUE(PressKeysInForeground({'H'}));
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(history); }, WINDOW_TIMEOUT_MS)) << "a second H";
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly());
}

} // namespace
