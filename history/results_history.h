// The tests of a results file, read back for the history window: every row
// that can be read, oldest first, and how many lines could not be. The file
// is only read, opened with every sharing a reader can offer, so that a
// file another program (Excel) has open is still shown.
#pragma once

#include <windows.h>

// One test: when it ended (local time, as the row says), its score and cents.
struct HistoryTest {
    long long when; // the local time as FILETIME ticks (100 ns)
    int score;      // -1 where the file keeps no score
    double cents;
};

enum HistoryStatus {
    HISTORY_READ,       // the tests below, none or many
    HISTORY_NO_FILE,    // no file yet: no test has been kept
    HISTORY_UNREADABLE, // the file is there but cannot be read (`error` says why)
    HISTORY_CANCELLED,  // the reading was called off
};

struct ResultsHistory {
    HistoryStatus status;
    DWORD error;        // the system's error code when unreadable
    int count;          // the tests, oldest first (by when; rows of one time keep the file's order)
    int unread;         // lines that are neither a row, a header nor blank
    HistoryTest *tests; // count entries, from the process heap
};

// Reads the file at `path` into `history`, which the caller frees with
// FreeResultsHistory. `*cancel` turning non-zero calls the reading off (it
// is looked at between blocks of the file). False unless it is HISTORY_READ.
bool ReadResultsHistory(const wchar_t *path, const volatile LONG *cancel, ResultsHistory *history);
void FreeResultsHistory(ResultsHistory *history);
