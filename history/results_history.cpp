#include "history/results_history.h"

#include "engine/result_record.h"

#include <string.h>

#include <algorithm>

// The file is read in blocks of this size, never whole: a file of 100 000
// rows is some 170 MB.
constexpr DWORD READ_BLOCK_BYTES = 1 << 20;
// A row of ours is under 2 KB; a longer line is counted as unreadable and
// passed over without being kept.
constexpr int LINE_LIMIT_BYTES = 64 * 1024;
constexpr int FIRST_CAPACITY = 256;

static const char kByteOrderMark[] = "\xEF\xBB\xBF";

struct HistoryReader {
    ResultsHistory *history;
    int capacity;
    ResultColumns columns;
    bool seen_first_line;
    bool out_of_memory;
};

// Whether the user's dates put the day first (31/12/2026), which decides a
// date such as 9/12/2026 that Excel saved with the year last.
static bool UserDatesPutDayFirst() {
    wchar_t order[4] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, 4);
    return order[0] == L'1';
}

static void KeepTest(HistoryReader *reader, const ResultReading &row) {
    ResultsHistory *history = reader->history;
    if (history->count == reader->capacity) {
        int capacity = reader->capacity == 0 ? FIRST_CAPACITY : reader->capacity * 2;
        SIZE_T bytes = sizeof(HistoryTest) * static_cast<SIZE_T>(capacity);
        void *grown = history->tests == nullptr
                          ? HeapAlloc(GetProcessHeap(), 0, bytes)
                          : HeapReAlloc(GetProcessHeap(), 0, history->tests, bytes);
        if (grown == nullptr) {
            reader->out_of_memory = true;
            return;
        }
        history->tests = static_cast<HistoryTest *>(grown);
        reader->capacity = capacity;
    }
    HistoryTest &test = history->tests[history->count++];
    test.when = row.when;
    test.score = row.score;
    test.cents = row.cents;
}

// Blank: nothing but spaces and separators (Excel saves an empty row as
// commas).
static bool IsBlank(const char *line, int length) {
    for (int i = 0; i < length; ++i) {
        if (strchr(" \t,;", line[i]) == nullptr) {
            return false;
        }
    }
    return true;
}

// One line without its LF.
static void ReadLine(HistoryReader *reader, const char *line, int length) {
    if (length > 0 && line[length - 1] == '\r') {
        --length;
    }
    if (IsBlank(line, length)) {
        return;
    }
    if (!reader->seen_first_line) {
        reader->seen_first_line = true;
        if (ReadResultHeader(line, length, &reader->columns)) {
            return;
        }
    }
    ResultReading row;
    if (ReadResultRow(line, length, &reader->columns, &row)) {
        KeepTest(reader, row);
    } else if (ResultHeaderLanguage(line, length) < 0) {
        reader->history->unread += 1; // not a header again either (two files pasted into one)
    }
}

// Reads the lines of the open file; the status it ends with.
static HistoryStatus ReadLines(HANDLE file, const volatile LONG *cancel, HistoryReader *reader,
                               char *buffer) {
    int kept = 0;          // an unfinished line's bytes at the buffer's start
    bool skipping = false; // in a line beyond the limit
    bool at_start = true;
    for (;;) {
        if ((cancel != nullptr && *cancel != 0) || reader->out_of_memory) {
            return reader->out_of_memory ? HISTORY_UNREADABLE : HISTORY_CANCELLED;
        }
        DWORD got = 0;
        if (!ReadFile(file, buffer + kept, READ_BLOCK_BYTES, &got, nullptr)) {
            reader->history->error = GetLastError();
            return HISTORY_UNREADABLE;
        }
        char *start = buffer;
        char *end = buffer + kept + got;
        if (at_start && (end - start >= 3 || got == 0)) {
            if (end - start >= 3 && memcmp(start, kByteOrderMark, 3) == 0) {
                start += 3;
            }
            at_start = false;
        }
        if (got == 0) {
            if (!skipping && end > start) {
                ReadLine(reader, start, static_cast<int>(end - start)); // no line end
            }
            return HISTORY_READ;
        }
        for (;;) {
            char *line_end = static_cast<char *>(memchr(start, '\n', end - start));
            if (line_end == nullptr) {
                break;
            }
            if (!skipping) {
                ReadLine(reader, start, static_cast<int>(line_end - start));
            }
            skipping = false;
            start = line_end + 1;
        }
        kept = skipping ? 0 : static_cast<int>(end - start);
        if (kept > LINE_LIMIT_BYTES) {
            reader->history->unread += 1;
            skipping = true;
            kept = 0;
        }
        memmove(buffer, start, kept);
    }
}

bool ReadResultsHistory(const wchar_t *path, const volatile LONG *cancel, ResultsHistory *history) {
    *history = {};
    HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        history->error = GetLastError();
        bool missing =
            history->error == ERROR_FILE_NOT_FOUND || history->error == ERROR_PATH_NOT_FOUND;
        history->status = missing ? HISTORY_NO_FILE : HISTORY_UNREADABLE;
        return false;
    }
    char *buffer = static_cast<char *>(
        HeapAlloc(GetProcessHeap(), 0, LINE_LIMIT_BYTES + READ_BLOCK_BYTES + 1));
    HistoryReader reader = {history, 0, DefaultResultColumns(), false, false};
    reader.columns.day_first = UserDatesPutDayFirst();
    if (buffer == nullptr) {
        history->error = ERROR_NOT_ENOUGH_MEMORY;
        history->status = HISTORY_UNREADABLE;
    } else {
        history->status = ReadLines(file, cancel, &reader, buffer);
        HeapFree(GetProcessHeap(), 0, buffer);
    }
    CloseHandle(file);
    if (reader.out_of_memory) {
        history->error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (history->status != HISTORY_READ) {
        HistoryStatus status = history->status;
        DWORD error = history->error;
        FreeResultsHistory(history);
        history->status = status;
        history->error = error;
        return false;
    }
    // Rows pasted in from a fallback file may stand after later ones; a file
    // in order, the usual one, is only looked through.
    auto earlier = [](const HistoryTest &a, const HistoryTest &b) { return a.when < b.when; };
    if (!std::is_sorted(history->tests, history->tests + history->count, earlier)) {
        std::stable_sort(history->tests, history->tests + history->count, earlier);
    }
    return true;
}

void FreeResultsHistory(ResultsHistory *history) {
    if (history->tests != nullptr) {
        HeapFree(GetProcessHeap(), 0, history->tests);
    }
    *history = {};
}
