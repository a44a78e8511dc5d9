// Results.csv written by the program's main window in this process, in a
// folder named in Hangul (which no ANSI code page but Korean can spell); the
// suite runs in a Japanese and in a non-Japanese locale, so the file's UTF-8
// cannot depend on the process's code page, and its words are the
// language's the program starts in there (Japanese, then English). Files
// already there are appended to as they are, in their own language, and
// Results=0 turns the file off.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/notices.h"
#include "app/results_file.h"
#include "tests/support/answers.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/words.h"
#include "tests/support/message_boxes.h"
#include "tests/support/results_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ResultsInFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = Wide(scratch_.path()) + L"\\\ud55c\uad6d\uc5b4 \uacb0\uacfc";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    }
    void TearDown() override {
        Close();
        SetCurrentDirectoryA(scratch_.path().c_str());
    }

    void Open() {
        window_ = OpenMainWindow();
        ASSERT_NE(window_, nullptr);
    }
    void Close() {
        if (window_ != nullptr && IsWindow(window_)) {
            DestroyWindow(window_);
        }
        DrainQuit();
        window_ = nullptr;
    }
    // A whole test from the title (or from the result screen through Back),
    // every answer right or every one wrong; the row is written when the
    // tenth is decided.
    void CompleteTest(bool right) {
        if (GetAppState()->screen == ScreenResult) {
            Click(window_, ID_BACK);
        }
        Click(window_, ID_START);
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            AnswerAndDecide(window_, GetAppState(), right);
        }
        ASSERT_EQ(GetAppState()->screen, ScreenResult);
    }
    std::wstring File(const wchar_t *name = L"Results.csv") const { return folder_ + L"\\" + name; }

    ScratchFolder scratch_;
    std::wstring folder_;
    HWND window_ = nullptr;
    int language_ = DisplayLanguageWords(); // the interface's, without a Language key
};

std::string Local(const SYSTEMTIME &t) {
    char text[32];
    wsprintfA(text, "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              t.wSecond);
    return text;
}

// A first test answered right ends at 300 (0.5 cents, shown "0.50"); the
// next, every answer wrong, falls from 100 by 30, 29, 28 and the rest: 0,
// shown "90". Both at volume 90.
TEST_F(ResultsInFolder, TwoTestsMakeTheFileAndTwoRows) {
    Open();
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    CompleteTest(true);
    CompleteTest(false);
    GetLocalTime(&after);
    EXPECT_EQ(PendingResultCount(), 0);
    // A third test left in its fourth trial writes nothing.
    Click(window_, ID_BACK);
    Click(window_, ID_START);
    for (int t = 0; t < 3; ++t) {
        AnswerAndDecide(window_, GetAppState(), true);
    }
    Close();

    ResultsFile file = ReadResultsFile(File());
    EXPECT_TRUE(file.has_mark) << "Excel needs the byte-order mark to read UTF-8";
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(file.lines[0] + "\r\n", kResultsHeaders[language_]);
    EXPECT_TRUE(file.ends_with_line_end);
    const char *const scores[][2] = {{"300", "0.50"}, {"0", "90"}};
    for (int r = 0; r < 2; ++r) {
        std::vector<std::string> row = CsvFields(file.lines[r + 1]);
        ASSERT_EQ(row.size(), RESULTS_COLUMNS);
        EXPECT_GE(row[0], Local(before));
        EXPECT_LE(row[0], Local(after));
        EXPECT_EQ(row[2], scores[r][0]);
        EXPECT_EQ(row[3], scores[r][1]);
        EXPECT_EQ(row[4], "90");
        EXPECT_EQ(row[5], "1.1.0");
        EXPECT_EQ(row[6], kTrialKindWords[language_][0]);
        EXPECT_EQ(row[13], "100") << "the first trial is set at 100";
    }
    EXPECT_EQ(ReadWholeFile(File(L"Settings.ini")), "[Settings]\r\nVolume=90\r\n")
        << "the program never writes the Results key";
    std::vector<std::wstring> names = FolderEntries(folder_);
    EXPECT_EQ(names.size(), 2u) << "Settings.ini and Results.csv, nothing else";
}

// Earlier bytes stay exactly as they were; the new row starts a line of its
// own, with a header only where the file has none at all. A file keeps its
// language: its rows take the words of its header, whatever the interface's.
TEST_F(ResultsInFolder, FilesAlreadyThereAreAppendedToAsTheyAre) {
    const std::string mark = kUtf8Mark;
    const std::string header = kResultsHeaders[language_];
    const int other = 1 - language_;
    const struct {
        const char *what;
        std::string before;
        std::string lead; // what must come between the old bytes and the row
        int words;        // the language of the row's words
    } cases[] = {
        {"a last line cut short", mark + header + "2026-12-01 10:00:00,UTC+09:00,120\r\n2026-12-0",
         "\r\n", language_},
        {"cut between CR and LF", mark + header + "2026-12-01 10:00:00\r", "\n", language_},
        {"another header, LF line ends, no mark", "date;score\nyesterday;12\n", "", language_},
        {"an empty file", "", mark + header, language_},
        {"a lone byte-order mark", mark, header, language_},
        {"the other language's header", mark + kResultsHeaders[other], "", other},
        {"the other language's header, no mark", kResultsHeaders[other], "", other},
    };
    Open();
    CompleteTest(true);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(File(), c.before);
        ASSERT_TRUE(RecordResult(GetAppState()));
        std::string after = ReadWholeFile(File());
        ASSERT_EQ(after.compare(0, c.before.size(), c.before), 0) << "earlier bytes were changed";
        std::string added = after.substr(c.before.size());
        ASSERT_EQ(added.compare(0, c.lead.size(), c.lead), 0) << added;
        std::string row = added.substr(c.lead.size());
        ASSERT_EQ(row.substr(row.size() - 2), "\r\n");
        EXPECT_EQ(row.find_first_of("\r\n"), row.size() - 2) << "one line";
        std::vector<std::string> fields = CsvFields(row.substr(0, row.size() - 2));
        ASSERT_EQ(fields.size(), RESULTS_COLUMNS);
        EXPECT_EQ(fields[6], kTrialKindWords[c.words][0]);
        EXPECT_EQ(fields[30], kTrialKindWords[c.words][1]) << "the fourth trial's kind";
        // Each plan has single tones among its trials; the first of them.
        size_t chord = 7;
        for (int t = 0; GetAppState()->chord_type[t] != 0; ++t) {
            chord += (t >= 3 && t <= 5) || t == 9 ? 7 : 8;
        }
        EXPECT_EQ(fields[chord], kSingleToneWords[c.words]);
    }
}

// Never read whole: a file of 5 GB (sparse, so it costs no disk) whose
// last line is cut short gets a line end and the row after its last byte.
TEST_F(ResultsInFolder, AHugeFileIsAppendedTo) {
    HANDLE file = CreateFileW(File().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    Open();
    CompleteTest(true);
    EXPECT_EQ(PendingResultCount(), 0);
    file = CreateFileW(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER grown;
    GetFileSizeEx(file, &grown);
    char tail[4096];
    LARGE_INTEGER at;
    at.QuadPart = size.QuadPart - 1;
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    DWORD got = 0;
    ReadFile(file, tail, sizeof tail, &got, nullptr);
    CloseHandle(file);
    DeleteFileW(File().c_str());
    std::string added(tail, got);
    ASSERT_EQ(static_cast<long long>(got), grown.QuadPart - at.QuadPart);
    EXPECT_EQ(added.substr(0, 3), std::string("\0\r\n", 3)) << "the old last byte, a line end";
    EXPECT_EQ(CsvFields(added.substr(3, added.size() - 5)).size(), RESULTS_COLUMNS);
}

// A working folder in the temporary folder (the program run from inside a
// zip, which Windows unpacks there and deletes afterwards): the rows go to
// the Documents folder, and the listener is told where, once.
TEST_F(ResultsInFolder, InTheTemporaryFolderTheRowsGoToTheDocumentsFolder) {
    ScratchFolder documents(ScratchFolder::DO_NOT_ENTER);
    DocumentsFolderAt moved(Wide(documents.path()));
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    folder_ = std::wstring(temporary) + L"Temp1_Kestrune-1.1.0-win-x64.zip";
    CreateDirectoryW(folder_.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    MessageBoxWatcher boxes;
    Open();
    CompleteTest(true);
    CompleteTest(false);
    Close();
    std::wstring kept = Wide(documents.path()) + L"\\Kestrune\\Results.csv";
    EXPECT_EQ(ReadResultsFile(kept).lines.size(), 3u);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::wstring>{std::wstring(kResultsMovedNotice.text[language_]) + kept});
    EXPECT_EQ(ReadResultsFile(File()).exists, false);
    SetCurrentDirectoryA(scratch_.path().c_str());
    RemoveTree(folder_);
}

TEST_F(ResultsInFolder, ResultsZeroWritesNoFileAndKeepsTheKey) {
    const std::string settings = "[Settings]\r\nResults=0\r\nVolume=40\r\n";
    WriteWholeFile(File(L"Settings.ini"), settings);
    Open();
    CompleteTest(true);
    Click(window_, ID_BACK);
    Close();
    EXPECT_EQ(FolderEntries(folder_).size(), 1u) << "no results file";
    EXPECT_EQ(ReadWholeFile(File(L"Settings.ini")), settings);
}

} // namespace
