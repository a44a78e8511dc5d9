#include "app/results_file.h"

#include "app/notices.h"
#include "app/settings.h"
#include "app/user_folders.h"
#include "engine/result_record.h"

#include <string.h>

// Japanese Excel reads a CSV file without a byte-order mark as Shift-JIS:
// the mark is what makes it read the file as UTF-8.
static const char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int BYTE_ORDER_MARK_BYTES = 3;
constexpr DWORD TURN_RETRY_MS = 5;
// Fallback names taken already (two programs ending in one second) are
// followed by -2 ... -9.
constexpr int FALLBACK_NAMES = 9;
// Room for the folder, a separator and the longest name written there.
constexpr int RESULTS_PATH_CHARS = SETTINGS_DIR_LIMIT + 40;
// What may go before the first row: the mark and the header.
constexpr int LEAD_BYTES = BYTE_ORDER_MARK_BYTES + RESULT_LINE_BYTES;

// A row waiting to be written, oldest first: in the words of every
// language, since the file it lands in decides which (a file never mixes
// two), and the language of the interface when the test ended, for a new
// file's header.
struct PendingRow {
    PendingRow *next;
    int language;
    int length[LANGUAGE_COUNT];
    char bytes[LANGUAGE_COUNT][RESULT_LINE_BYTES];
};

// Where the rows go: beside Settings.ini until that folder turns out not to
// take the file, then Kestrune\ in the Documents folder for the rest of the
// run.
enum ResultsPlace { PLACE_WORKING_FOLDER, PLACE_DOCUMENTS };

static PendingRow *pending_first = nullptr;
static PendingRow *pending_last = nullptr;
static int pending_count = 0;
static bool results_enabled = true;
static ResultsPlace results_place = PLACE_WORKING_FOLDER;
static HWND results_owner = nullptr;
static const AppState *results_state = nullptr; // its language is the notices'

// Each told once per run.
static bool told_place = false;
static bool told_not_saved = false;

void StartResults(HWND owner, const AppState *state) {
    results_enabled = ReadResultsEnabled();
    results_place = PLACE_WORKING_FOLDER;
    results_owner = owner;
    results_state = state;
    told_place = false;
    told_not_saved = false;
}

int PendingResultCount() {
    return pending_count;
}

static void KeepRow(PendingRow *row) {
    row->next = nullptr;
    if (pending_last != nullptr) {
        pending_last->next = row;
    } else {
        pending_first = row;
    }
    pending_last = row;
    pending_count += 1;
}

static void DropOldestRow() {
    PendingRow *row = pending_first;
    pending_first = row->next;
    if (pending_first == nullptr) {
        pending_last = nullptr;
    }
    pending_count -= 1;
    HeapFree(GetProcessHeap(), 0, row);
}

// The local time now and its distance from UTC, from one reading of the clock.
static void ReadClock(ResultTime *now) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    now->utc_offset_minutes = 0;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &now->local)) {
        now->local = utc;
        return;
    }
    FILETIME utc_file, local_file;
    SystemTimeToFileTime(&utc, &utc_file);
    SystemTimeToFileTime(&now->local, &local_file);
    ULARGE_INTEGER u, l;
    u.LowPart = utc_file.dwLowDateTime;
    u.HighPart = utc_file.dwHighDateTime;
    l.LowPart = local_file.dwLowDateTime;
    l.HighPart = local_file.dwHighDateTime;
    const long long ticks_per_minute = 600000000LL;
    long long difference = static_cast<long long>(l.QuadPart - u.QuadPart);
    now->utc_offset_minutes = static_cast<int>(difference / ticks_per_minute);
}

bool RecordResult(const AppState *state) {
    if (!results_enabled) {
        return false;
    }
    PendingRow *row = static_cast<PendingRow *>(HeapAlloc(GetProcessHeap(), 0, sizeof(PendingRow)));
    if (row == nullptr) {
        return false;
    }
    ResultTime ended;
    ReadClock(&ended);
    row->language = IsLanguage(state->language) ? state->language : LANGUAGE_JA;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        row->length[language] =
            FormatResultRow(state, &ended, language, row->bytes[language], RESULT_LINE_BYTES);
        if (row->length[language] <= 0) {
            HeapFree(GetProcessHeap(), 0, row);
            return false;
        }
    }
    KeepRow(row);
    return WritePendingResults();
}

static bool WriteAll(HANDLE file, const char *bytes, int length) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) &&
           written == static_cast<DWORD>(length);
}

// The byte-order mark (when `with_mark`) and the header row in `language`
// into `lead`; the number of bytes.
static int PutHeader(char *lead, bool with_mark, int language) {
    int length = 0;
    if (with_mark) {
        memcpy(lead, kByteOrderMark, BYTE_ORDER_MARK_BYTES);
        length = BYTE_ORDER_MARK_BYTES;
    }
    return length + FormatResultHeader(language, lead + length, LEAD_BYTES - length);
}

// The language of a file's header, from its first bytes; -1 for a header
// of another kind (or none), whose file takes the interface's words.
static int HeaderLanguage(HANDLE file) {
    char start[RESULT_HEADER_PROBE_BYTES];
    OVERLAPPED at = {};
    DWORD got = 0;
    if (!ReadFile(file, start, sizeof start, &got, &at)) {
        return -1;
    }
    return ResultHeaderLanguage(start, static_cast<int>(got));
}

// What must go before the first new row, from at most the file's first
// bytes and its last three: the mark and the header in an empty file, the
// header after a lone mark, and the end of a last line that was cut short
// (by a power failure in the middle of a write, say), which itself stays as
// it is. `language` comes in as the interface's when the oldest row's test
// ended and goes out as the language of the file's words.
static int LeadFor(HANDLE file, char *lead, int *language) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        return -1;
    }
    if (size.QuadPart == 0) {
        return PutHeader(lead, true, *language);
    }
    char tail[BYTE_ORDER_MARK_BYTES] = {};
    DWORD count = size.QuadPart < BYTE_ORDER_MARK_BYTES ? static_cast<DWORD>(size.QuadPart)
                                                        : BYTE_ORDER_MARK_BYTES;
    OVERLAPPED at = {};
    ULARGE_INTEGER offset;
    offset.QuadPart = static_cast<ULONGLONG>(size.QuadPart) - count;
    at.Offset = offset.LowPart;
    at.OffsetHigh = offset.HighPart;
    DWORD got = 0;
    if (!ReadFile(file, tail, count, &got, &at) || got != count) {
        return -1;
    }
    if (size.QuadPart == BYTE_ORDER_MARK_BYTES &&
        memcmp(tail, kByteOrderMark, BYTE_ORDER_MARK_BYTES) == 0) {
        return PutHeader(lead, false, *language);
    }
    int header = HeaderLanguage(file);
    if (header >= 0) {
        *language = header;
    }
    char last = tail[count - 1];
    if (last == '\n') {
        return 0;
    }
    if (last == '\r') {
        lead[0] = '\n';
        return 1;
    }
    lead[0] = '\r';
    lead[1] = '\n';
    return 2;
}

// Waits for this writer's turn. Busy when another writer keeps it too long;
// a file system without byte-range locks is written without turns.
enum Turn { TURN_TAKEN, TURN_NONE, TURN_BUSY };

static Turn TakeTurn(HANDLE file, OVERLAPPED *where) {
    where->Offset = RESULTS_TURN_OFFSET_LOW;
    where->OffsetHigh = RESULTS_TURN_OFFSET_HIGH;
    DWORD start = GetTickCount();
    for (;;) {
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, where)) {
            return TURN_TAKEN;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION) {
            return TURN_NONE;
        }
        if (GetTickCount() - start >= RESULTS_TURN_WAIT_MS) {
            return TURN_BUSY;
        }
        Sleep(TURN_RETRY_MS);
    }
}

// Writes the kept rows, oldest first, each in one write (the first together
// with what must go before it), and forgets each once it is written. Earlier
// rows are never touched: without FILE_WRITE_DATA every write lands at the
// end of the file.
static void WriteKeptRows(HANDLE file) {
    char first[LEAD_BYTES + RESULT_LINE_BYTES];
    int language = pending_first->language;
    int lead = LeadFor(file, first, &language);
    if (lead < 0) {
        return;
    }
    memcpy(first + lead, pending_first->bytes[language], pending_first->length[language]);
    if (!WriteAll(file, first, lead + pending_first->length[language])) {
        return;
    }
    DropOldestRow();
    while (pending_first != nullptr &&
           WriteAll(file, pending_first->bytes[language], pending_first->length[language])) {
        DropOldestRow();
    }
    FlushFileBuffers(file);
}

// Kestrune\ in the Documents folder, made when missing, with a separator at
// the end.
static bool DocumentsResultsFolder(wchar_t *folder, int chars) {
    const wchar_t *name = L"\\" SETTINGS_WIDE(RESULTS_DOCUMENTS_FOLDER);
    if (!DocumentsFolder(folder, chars) || lstrlenW(folder) + lstrlenW(name) + 1 >= chars) {
        return false;
    }
    lstrcatW(folder, name);
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    lstrcatW(folder, L"\\");
    return true;
}

// How a try to write the kept rows into one folder went.
enum WriteOutcome {
    ROWS_WRITTEN,      // none is left waiting
    ROWS_KEPT,         // the file is held (Excel) or a write failed: they wait
    FOLDER_UNWRITABLE, // the folder will not take the file at all
};

// Writes the kept rows to Results.csv in `folder` (which ends in a separator).
static WriteOutcome WriteRowsIn(const wchar_t *folder) {
    wchar_t path[RESULTS_PATH_CHARS];
    if (lstrlenW(folder) + lstrlenW(SETTINGS_WIDE(RESULTS_FILE_NAME)) >= RESULTS_PATH_CHARS) {
        return FOLDER_UNWRITABLE;
    }
    lstrcpyW(path, folder);
    lstrcatW(path, SETTINGS_WIDE(RESULTS_FILE_NAME));
    // Others may read and append while it is open; a program that will not
    // share it (Excel) makes the open fail, and the rows wait.
    HANDLE file =
        CreateFileW(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        return held ? ROWS_KEPT : FOLDER_UNWRITABLE;
    }
    OVERLAPPED where = {};
    Turn turn = TakeTurn(file, &where);
    if (turn != TURN_BUSY) {
        WriteKeptRows(file);
    }
    if (turn == TURN_TAKEN) {
        UnlockFileEx(file, 0, 1, 0, &where);
    }
    CloseHandle(file);
    return pending_first == nullptr ? ROWS_WRITTEN : ROWS_KEPT;
}

// The working folder with a separator after it, or false when it has no
// whole path or lies in the temporary folder: a program started from inside
// a zip runs in a temporary folder that is deleted afterwards, and its
// results with it.
static bool WorkingFolder(wchar_t *folder) {
    if (!BuildCurrentFolderPath(L"", folder, RESULTS_PATH_CHARS)) {
        return false;
    }
    return !IsInTemporaryFolder(folder);
}

static int NoticeLanguage() {
    return results_state != nullptr ? results_state->language : LANGUAGE_JA;
}

// Tries the working folder while it takes the rows, then the Documents
// folder for the rest of the run. `may_tell`: the listener may be told, in a
// message box, where the rows go or that they could go nowhere (not while
// the window is being destroyed or the session is ending).
static bool WriteRows(bool may_tell) {
    if (pending_first == nullptr) {
        return true;
    }
    if (results_place == PLACE_WORKING_FOLDER) {
        wchar_t folder[RESULTS_PATH_CHARS];
        if (WorkingFolder(folder) && WriteRowsIn(folder) != FOLDER_UNWRITABLE) {
            return pending_first == nullptr;
        }
        results_place = PLACE_DOCUMENTS;
    }
    wchar_t folder[RESULTS_PATH_CHARS];
    if (!DocumentsResultsFolder(folder, RESULTS_PATH_CHARS) ||
        WriteRowsIn(folder) == FOLDER_UNWRITABLE) {
        if (may_tell && !told_not_saved) {
            told_not_saved = true;
            ShowNotice(results_owner, NoticeLanguage(), TEXT_NOTICE_RESULTS_NOT_SAVED);
        }
        return false;
    }
    if (may_tell && !told_place) {
        told_place = true;
        wchar_t path[RESULTS_PATH_CHARS];
        lstrcpyW(path, folder);
        lstrcatW(path, SETTINGS_WIDE(RESULTS_FILE_NAME));
        ShowNotice(results_owner, NoticeLanguage(), TEXT_NOTICE_RESULTS_MOVED, path);
    }
    return pending_first == nullptr;
}

bool WritePendingResults() {
    return WriteRows(true);
}

// A new file in `folder`, never one that exists.
static HANDLE CreateFallbackFile(const wchar_t *folder) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int n = 1; n <= FALLBACK_NAMES; ++n) {
        wchar_t name[64];
        wsprintfW(name, SETTINGS_WIDE(RESULTS_FALLBACK_PREFIX) L"%04d%02d%02d-%02d%02d%02d",
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
        if (n > 1) {
            wsprintfW(name + lstrlenW(name), L"-%d", n);
        }
        lstrcatW(name, L".csv");
        wchar_t path[RESULTS_PATH_CHARS];
        if (lstrlenW(folder) + lstrlenW(name) >= RESULTS_PATH_CHARS) {
            return INVALID_HANDLE_VALUE;
        }
        lstrcpyW(path, folder);
        lstrcatW(path, name);
        HANDLE file = CreateFileW(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// The rows still kept go to a new file beside the Results.csv that would not
// take them; false when that cannot be made either.
static bool WriteFallbackFile() {
    wchar_t folder[RESULTS_PATH_CHARS];
    bool found = results_place == PLACE_WORKING_FOLDER
                     ? WorkingFolder(folder)
                     : DocumentsResultsFolder(folder, RESULTS_PATH_CHARS);
    HANDLE file = found ? CreateFallbackFile(folder) : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    WriteKeptRows(file);
    CloseHandle(file);
    return pending_first == nullptr;
}

void FinishResults() {
    if (!WriteRows(false) && !WriteFallbackFile() && results_place == PLACE_WORKING_FOLDER) {
        // The working folder took the file before but takes nothing now (a
        // full disk, a share gone): the Documents folder is the other place.
        results_place = PLACE_DOCUMENTS;
        if (!WriteRows(false)) {
            WriteFallbackFile();
        }
    }
    // Only rows that neither folder would take are left here: they are lost.
    while (pending_first != nullptr) {
        DropOldestRow();
    }
}

bool CurrentResultsFile(wchar_t *path, int chars) {
    wchar_t folder[RESULTS_PATH_CHARS] = L"";
    const wchar_t *documents_name = L"\\" SETTINGS_WIDE(RESULTS_DOCUMENTS_FOLDER) L"\\";
    bool found = results_place == PLACE_WORKING_FOLDER && WorkingFolder(folder);
    if (!found && DocumentsFolder(folder, RESULTS_PATH_CHARS) &&
        lstrlenW(folder) + lstrlenW(documents_name) < RESULTS_PATH_CHARS) {
        lstrcatW(folder, documents_name);
        found = true;
    }
    const wchar_t *name = SETTINGS_WIDE(RESULTS_FILE_NAME);
    path[0] = 0;
    if (found && lstrlenW(folder) + lstrlenW(name) < chars) {
        lstrcpyW(path, folder);
        lstrcatW(path, name);
    }
    return results_enabled;
}
