// The real Kestrune.exe and its Results.csv when other programs have a say:
// the file held by another process without write sharing (as Excel holds a
// file it shows), two windows writing into one folder, another writer's turn
// on the file, the session ending right after a test, and a folder nobody
// may write to (whose rows go to the Documents folder). Rows are told apart
// by the volume each test was taken at.
#include "app/controls.h"
#include "app/notices.h"
#include "app/results_file.h"
#include "tests/support/files.h"
#include "tests/support/words.h"
#include "tests/support/message_boxes.h"
#include "tests/support/message_pump.h"
#include "tests/support/program.h"
#include "tests/support/results_csv.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD WRITE_TIMEOUT_MS = 10000;

// A whole test at `volume`, from the title or (through Back) the result
// screen: Start, the volume, ten Decides with nothing marked.
bool TakeATest(KestruneApp &app, int volume) {
    if (app.HasControl(ID_BACK) && !app.Click(ID_BACK)) {
        return false;
    }
    if (!app.Click(ID_START) || !app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, volume)) {
        return false;
    }
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        if (!app.Click(ID_DECIDE)) {
            return false;
        }
    }
    return app.WaitForScreen(kResultScreenIds);
}

// The volume of each row, in file order; "bad row" for a row that is not
// whole, "no header" when the file does not start with the mark and header.
std::vector<std::string> RowVolumes(const std::wstring &path) {
    ResultsFile file = ReadResultsFile(path);
    if (!file.exists) {
        return {};
    }
    if (!file.has_mark || file.lines.empty() || file.lines[0] + "\r\n" != kResultsHeader) {
        return {"no header"};
    }
    std::vector<std::string> volumes;
    for (size_t i = 1; i < file.lines.size(); ++i) {
        std::vector<std::string> fields = CsvFields(file.lines[i]);
        volumes.push_back(fields.size() == RESULTS_COLUMNS ? fields[4] : "bad row");
    }
    if (!file.ends_with_line_end) {
        volumes.push_back("no line end");
    }
    return volumes;
}

typedef std::vector<std::string> Volumes;

class ResultsFileProgram : public ::testing::Test {
  protected:
    void Launch() { ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure(); }
    std::wstring File(const wchar_t *name = L"Results.csv") const {
        return Wide(dir.path()) + L"\\" + name;
    }

    ScratchFolder dir{ScratchFolder::DO_NOT_ENTER};
    KestruneApp app;
};

// Held while two tests end and through Back: nothing changes; let go, the
// next Back writes both in order; held again, the row of a test waits for
// the Quit button. Each row exactly once, the header once.
TEST_F(ResultsFileProgram, HeldByAnotherProgramThenLetGo) {
    Launch();
    ASSERT_TRUE(TakeATest(app, 11));
    EXPECT_EQ(RowVolumes(File()), Volumes({"11"}));
    {
        FileHeldElsewhere excel(File(), FILE_SHARE_READ);
        ASSERT_TRUE(excel.held()) << excel.failure();
        ASSERT_TRUE(TakeATest(app, 22));
        ASSERT_TRUE(app.Click(ID_BACK));
        ASSERT_TRUE(TakeATest(app, 33));
        EXPECT_EQ(RowVolumes(File()), Volumes({"11"})) << "written while held";
        ASSERT_TRUE(excel.Release());
    }
    ASSERT_TRUE(app.Click(ID_BACK));
    EXPECT_EQ(RowVolumes(File()), Volumes({"11", "22", "33"})) << "after Back";
    {
        FileHeldElsewhere excel(File(), FILE_SHARE_READ);
        ASSERT_TRUE(excel.held()) << excel.failure();
        ASSERT_TRUE(TakeATest(app, 44));
        ASSERT_TRUE(excel.Release());
    }
    ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    EXPECT_TRUE(app.ExitsCleanly());
    EXPECT_EQ(RowVolumes(File()), Volumes({"11", "22", "33", "44"})) << "after Quit";
    EXPECT_TRUE(FallbackFiles(Wide(dir.path())).empty());
}

// Held until the program has ended (by its Quit button, or by the end of
// the session: Windows asks, tells, then ends the process): Results.csv is
// as it was, and the row is in a new file beside it.
TEST_F(ResultsFileProgram, HeldUntilTheEndTheRowGoesToANewFile) {
    for (bool session_end : {false, true}) {
        SCOPED_TRACE(session_end ? "session end" : "Quit button");
        ScratchFolder folder(ScratchFolder::DO_NOT_ENTER);
        std::wstring csv = Wide(folder.path()) + L"\\Results.csv";
        const std::string before = std::string(kUtf8Mark) + kResultsHeader + "earlier,row\r\n";
        WriteWholeFile(csv, before);
        FileHeldElsewhere excel(csv, FILE_SHARE_READ);
        ASSERT_TRUE(excel.held()) << excel.failure();
        KestruneApp program;
        ASSERT_TRUE(program.Launch(folder.path())) << program.launch_failure();
        ASSERT_TRUE(TakeATest(program, 55));
        if (session_end) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutA(program.window(), WM_QUERYENDSESSION, 0,
                                            ENDSESSION_LOGOFF, SMTO_NORMAL, WRITE_TIMEOUT_MS,
                                            &answer));
            ASSERT_TRUE(SendMessageTimeoutA(program.window(), WM_ENDSESSION, TRUE,
                                            ENDSESSION_LOGOFF, SMTO_NORMAL, WRITE_TIMEOUT_MS,
                                            &answer));
            ASSERT_TRUE(program.Terminate());
        } else {
            ASSERT_TRUE(program.PostClick(ID_RESULT_QUIT));
            EXPECT_TRUE(program.ExitsCleanly());
        }
        ASSERT_TRUE(excel.Release());
        EXPECT_EQ(ReadWholeFile(csv), before);
        std::vector<std::wstring> fallback = FallbackFiles(Wide(folder.path()));
        ASSERT_EQ(fallback.size(), 1u);
        EXPECT_EQ(RowVolumes(Wide(folder.path()) + L"\\" + fallback[0]), Volumes({"55"}));
    }
}

// Ended at once after the tenth Decide, while the final count runs: the row
// is on the disk already, once, whether or not the session's end was told.
TEST_F(ResultsFileProgram, EndedRightAfterATestTheRowIsThere) {
    for (bool told : {false, true}) {
        SCOPED_TRACE(told ? "told of the session's end" : "ended without a word");
        ScratchFolder folder(ScratchFolder::DO_NOT_ENTER);
        KestruneApp program;
        ASSERT_TRUE(program.Launch(folder.path())) << program.launch_failure();
        ASSERT_TRUE(TakeATest(program, 66));
        if (told) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(program.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                SMTO_NORMAL, WRITE_TIMEOUT_MS, &answer);
            SendMessageTimeoutA(program.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                SMTO_NORMAL, WRITE_TIMEOUT_MS, &answer);
        }
        ASSERT_TRUE(program.Terminate());
        EXPECT_EQ(RowVolumes(Wide(folder.path()) + L"\\Results.csv"), Volumes({"66"}));
    }
}

// Two windows started in one folder, taking tests as fast as they can: one
// header, every row whole, each test's row once.
TEST_F(ResultsFileProgram, TwoWindowsInOneFolder) {
    const int tests = 5;
    KestruneApp other;
    Launch();
    ASSERT_TRUE(other.Launch(dir.path())) << other.launch_failure();
    bool first_done = true, second_done = true;
    std::thread second([&] {
        for (int i = 0; i < tests; ++i) {
            second_done = second_done && TakeATest(other, 79);
        }
    });
    for (int i = 0; i < tests; ++i) {
        first_done = first_done && TakeATest(app, 21);
    }
    second.join();
    ASSERT_TRUE(first_done && second_done);
    ASSERT_TRUE(app.Close());
    ASSERT_TRUE(other.Close());
    EXPECT_TRUE(app.ExitsCleanly());
    EXPECT_TRUE(other.ExitsCleanly());
    Volumes volumes = RowVolumes(File());
    ASSERT_EQ(volumes.size(), 2u * tests);
    for (const std::string &v : volumes) {
        EXPECT_TRUE(v == "21" || v == "79") << v;
    }
    EXPECT_EQ(std::count(volumes.begin(), volumes.end(), "21"), tests);
}

// Another writer has its turn on the file when a test ends, and ends it with
// a line cut short: the program waits for its turn, then starts its row on a
// line of its own. Had it looked at the file's end before its turn, its row
// would run on from the cut line.
TEST_F(ResultsFileProgram, AnotherWritersTurnIsWaitedFor) {
    const std::string before = std::string(kUtf8Mark) + kResultsHeader;
    WriteWholeFile(File(), before);
    HANDLE writer =
        CreateFileW(File().c_str(), GENERIC_READ | FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    OVERLAPPED turn = {};
    turn.Offset = RESULTS_TURN_OFFSET_LOW;
    turn.OffsetHigh = RESULTS_TURN_OFFSET_HIGH;
    ASSERT_TRUE(LockFileEx(writer, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn));
    Launch();
    ASSERT_TRUE(app.Click(ID_START));
    for (int t = 0; t < TRIAL_COUNT - 1; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    // The tenth is queued: the program waits for its turn inside it.
    ASSERT_TRUE(app.PostClick(ID_DECIDE));
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    EXPECT_EQ(ReadWholeFile(File()), before) << "written out of turn";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, "cut", 3, &written, nullptr));
    UnlockFileEx(writer, 0, 1, 0, &turn);
    CloseHandle(writer);
    EXPECT_TRUE(
        PollUntil([&] { return ReadResultsFile(File()).lines.size() == 3; }, WRITE_TIMEOUT_MS));
    ResultsFile file = ReadResultsFile(File());
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(file.lines[1], "cut");
    EXPECT_EQ(CsvFields(file.lines[2]).size(), RESULTS_COLUMNS);
    EXPECT_TRUE(file.ends_with_line_end);
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly());
}

// A folder nobody may write to (immutable: even root cannot): the rows go
// to Kestrune\Results.csv in the Documents folder, the listener is told so
// once, with the file's path, and nothing in the folder changes. In a folder
// that can be written none of this happens: the row goes beside
// Settings.ini, without a word.
TEST_F(ResultsFileProgram, ReadOnlyFolderSendsTheRowsToTheDocumentsFolder) {
    std::string folder = WindowsPath(KESTRUNE_RELIABILITY_READONLY_DIR);
    std::string why = WhyWritable(folder);
    if (!why.empty()) {
        GTEST_SKIP() << "the folder could not be made read-only here: " << why;
    }
    ScratchFolder documents(ScratchFolder::DO_NOT_ENTER);
    DocumentsFolderAt moved(Wide(documents.path()));
    std::wstring kept = Wide(documents.path()) + L"\\Kestrune\\Results.csv";
    std::vector<std::wstring> entries = FolderEntries(Wide(folder));
    {
        KestruneApp program;
        ASSERT_TRUE(program.Launch(folder)) << program.launch_failure();
        MessageBoxWatcher boxes(program.process_id());
        ASSERT_TRUE(TakeATest(program, 12));
        ASSERT_TRUE(TakeATest(program, 13));
        ASSERT_TRUE(program.Close());
        EXPECT_TRUE(program.ExitsCleanly()) << "the program did not end with exit code 0";
        EXPECT_EQ(boxes.Texts(),
                  std::vector<std::wstring>{std::wstring(kResultsMovedNotice.text[WORDS_JA]) + kept});
    }
    EXPECT_EQ(RowVolumes(kept), (std::vector<std::string>{"12", "13"}));
    EXPECT_EQ(FolderEntries(Wide(folder)), entries);

    ScratchFolder writable(ScratchFolder::DO_NOT_ENTER);
    KestruneApp program;
    ASSERT_TRUE(program.Launch(writable.path())) << program.launch_failure();
    MessageBoxWatcher boxes(program.process_id());
    ASSERT_TRUE(TakeATest(program, 14));
    ASSERT_TRUE(program.Close());
    EXPECT_TRUE(program.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(RowVolumes(Wide(writable.File("Results.csv"))), std::vector<std::string>{"14"});
    EXPECT_TRUE(boxes.Texts().empty()) << "a message box";
    EXPECT_EQ(RowVolumes(kept), (std::vector<std::string>{"12", "13"}));
}

} // namespace
