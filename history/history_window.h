// The history window: a window of its own, owned by the main window, that
// shows the tests of the results file (the combined figure of the last
// three, a plot of every test, the tests as a table, newest first). It only
// reads: the file is read on a thread of its own and the finished tests
// are posted to the window, so that neither window waits on a large file.
// Esc, H or its close button close it; Ctrl+C copies the table and the plot.
// It follows the interface's language and its own display's scale, and
// touches nothing of the test.
#pragma once

#include <windows.h>

#define HISTORY_CLASS_NAME L"Kestrune_History"
constexpr int HISTORY_PATH_CHARS = MAX_PATH + 64;
// The table's control id.
constexpr int ID_HISTORY_TABLE = 1;

// The file the window reads, and whether results are kept at all.
struct HistorySource {
    wchar_t path[HISTORY_PATH_CHARS]; // empty: the results have nowhere to go
    bool results_on;                  // false: Results=0 in Settings.ini
};

// Opens the window beside `owner`, in `language`, at `dpi` (the owner's: it
// opens on the owner's display), and reads `source`; or closes it when it is
// open. Returns the window, or null when it is closed now.
HWND ToggleHistoryWindow(HWND owner, int language, int dpi, const HistorySource *source);
// The open window, or null.
HWND FindHistoryWindow();
// Reads the file again (a test has ended, its row written); nothing when
// the window is closed.
void ReloadHistoryWindow(const HistorySource *source);
// Puts the open window's words in `language`.
void SetHistoryLanguage(int language);
// Whether the window is reading its file (tests and benchmarks wait on it).
bool IsHistoryReading(HWND window);
