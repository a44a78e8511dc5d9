#include "history/history_window.h"

#include "history/history_accessibility.h"
#include "history/history_clipboard.h"
#include "history/history_paint.h"
#include "lang/language.h"
#include "render/display_scale.h"

// The finished reading of the file, posted by its thread: wparam its serial
// number, lparam the HistoryLoad.
constexpr UINT WM_HISTORY_READ = WM_APP + 1;

// The client area it opens with, and the least it can be made (at 96 dpi).
constexpr int OPEN_WIDTH = 680;
constexpr int OPEN_HEIGHT = 440;
constexpr int LEAST_WIDTH = 440;
constexpr int LEAST_HEIGHT = 320;
constexpr int GAP_TO_OWNER = 8;

constexpr DWORD HISTORY_STYLE = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD TABLE_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_BORDER |
                              LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY |
                              LBS_DISABLENOSCROLL;

#define TABLE_PROC_PROPERTY L"Kestrune.HistoryTableProc"

// One reading of the file on its own thread, started before the window is
// made so that the two overlap. Both the thread and the window hold it; the
// last to let go frees it. Whichever comes second, the end of the reading
// or the window's claim on it, tells the window.
struct HistoryLoad {
    volatile LONG refs;
    volatile LONG cancel;  // the window has closed: the thread may stop early
    volatile LONG handoff; // a LoadHandoff
    HWND window;
    UINT serial;
    wchar_t path[HISTORY_PATH_CHARS];
    ResultsHistory history;
};
enum LoadHandoff : LONG { LOAD_UNCLAIMED, LOAD_CLAIMED, LOAD_READ };

// The window's record, kept in its user data.
struct HistoryRecord {
    HWND window;
    HWND table;
    int language;
    int dpi;
    HistorySource source;
    ResultsHistory history;
    bool has_history; // a reading has ended
    HistoryLoad *load;
    bool read_again; // asked to read while a reading was under way
    HistoryFonts fonts;
    HistoryText texts[HISTORY_TEXT_MAX];
    int text_count;
    HistoryLayout layout;
};

// What creating the window hands to WM_CREATE.
struct HistoryStart {
    int language;
    int dpi;
    const HistorySource *source;
    HistoryLoad *load; // its reading, already under way
};

static HWND history_window = nullptr;
static UINT last_serial = 0;

static HistoryRecord *RecordOf(HWND window) {
    return reinterpret_cast<HistoryRecord *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND FindHistoryWindow() {
    return IsWindow(history_window) ? history_window : nullptr;
}

static void ReleaseLoad(HistoryLoad *load) {
    if (InterlockedDecrement(&load->refs) == 0) {
        FreeResultsHistory(&load->history);
        HeapFree(GetProcessHeap(), 0, load);
    }
}

static void TellWindow(HistoryLoad *load) {
    PostMessageW(load->window, WM_HISTORY_READ, load->serial, reinterpret_cast<LPARAM>(load));
}

static DWORD WINAPI ReadInBackground(void *parameter) {
    HistoryLoad *load = static_cast<HistoryLoad *>(parameter);
    ReadResultsHistory(load->path, &load->cancel, &load->history);
    if (InterlockedCompareExchange(&load->handoff, LOAD_READ, LOAD_UNCLAIMED) == LOAD_CLAIMED) {
        TellWindow(load);
    }
    ReleaseLoad(load);
    return 0;
}

// A reading of `path` under way; null when there is no memory for one.
static HistoryLoad *StartLoad(const wchar_t *path) {
    HistoryLoad *load = static_cast<HistoryLoad *>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(HistoryLoad)));
    if (load == nullptr) {
        return nullptr;
    }
    load->refs = 2;
    load->serial = ++last_serial;
    lstrcpynW(load->path, path, HISTORY_PATH_CHARS);
    HANDLE thread = CreateThread(nullptr, 0, ReadInBackground, load, 0, nullptr);
    if (thread == nullptr) {
        ReadInBackground(load); // no thread: read here; the claim tells the window
    } else {
        CloseHandle(thread);
    }
    return load;
}

static void ClaimLoad(HistoryLoad *load, HWND window) {
    if (load == nullptr) {
        return;
    }
    load->window = window;
    if (InterlockedCompareExchange(&load->handoff, LOAD_CLAIMED, LOAD_UNCLAIMED) == LOAD_READ) {
        TellWindow(load);
    }
}

static void StartReading(HistoryRecord *record) {
    if (record->load != nullptr) {
        record->read_again = true;
        return;
    }
    record->load = StartLoad(record->source.path);
    ClaimLoad(record->load, record->window);
}

static HistoryView ViewOf(const HistoryRecord *record) {
    return {record->language, record->source.results_on, record->source.path,
            record->has_history ? &record->history : nullptr};
}

static int TestCount(const HistoryRecord *record) {
    const ResultsHistory &h = record->history;
    return record->has_history && h.status == HISTORY_READ ? h.count : 0;
}

// The texts anew and everything placed for the client area's size.
static void LayOut(HistoryRecord *record) {
    HistoryView view = ViewOf(record);
    record->text_count = ListHistoryTexts(&view, record->texts, HISTORY_TEXT_MAX);
    RECT client;
    GetClientRect(record->window, &client);
    HDC dc = GetDC(record->window);
    LayOutHistory(dc, &client, record->texts, record->text_count, &record->fonts, record->dpi,
                  &record->layout);
    ReleaseDC(record->window, dc);
    const RECT &t = record->layout.table;
    MoveWindow(record->table, t.left, t.top, t.right - t.left, t.bottom - t.top, TRUE);
    // The heading's columns over the rows' own: inside the list's frame,
    // clear of its scroll bar.
    RECT rows;
    GetClientRect(record->table, &rows);
    MapWindowPoints(record->table, record->window, reinterpret_cast<POINT *>(&rows), 2);
    record->layout.table_heading.left = rows.left;
    record->layout.table_heading.right = rows.right;
    InvalidateRect(record->window, nullptr, FALSE);
}

// The tests read are shown: texts, plot and rows, and a screen reader told.
static void ShowTests(HistoryRecord *record) {
    // Placed before it is filled: moving a list box of many rows costs more.
    LayOut(record);
    SendMessageW(record->table, LB_SETCOUNT, TestCount(record), 0);
    InvalidateRect(record->table, nullptr, TRUE);
    AnnounceHistoryChange(record->window, record->table);
}

static void OnRead(HistoryRecord *record, WPARAM serial, LPARAM lparam) {
    HistoryLoad *load = reinterpret_cast<HistoryLoad *>(lparam);
    // A reading the window no longer waits for was freed with its thread.
    if (record->load == nullptr || load != record->load || serial != load->serial) {
        return;
    }
    FreeResultsHistory(&record->history);
    record->history = load->history;
    load->history = {};
    record->has_history = true;
    record->load = nullptr;
    ReleaseLoad(load);
    ShowTests(record);
    if (record->read_again) {
        record->read_again = false;
        StartReading(record);
    }
}

// The fonts and the rows' height for the record's language and DPI.
static void MakeFonts(HistoryRecord *record) {
    DestroyHistoryFonts(&record->fonts);
    record->fonts = CreateHistoryFonts(record->language, record->dpi);
    HDC dc = GetDC(record->window);
    int height = HistoryRowHeight(dc, record->fonts.small, record->dpi);
    ReleaseDC(record->window, dc);
    SendMessageW(record->table, LB_SETITEMHEIGHT, 0, height);
}

static bool ReadForScreenReader(HWND window, HistoryReading *reading) {
    HistoryRecord *record = RecordOf(window);
    if (record == nullptr) {
        return false;
    }
    reading->texts = record->texts;
    reading->text_rects = record->layout.texts;
    reading->text_count = record->text_count;
    reading->plot_rect = &record->layout.plot;
    reading->table = record->table;
    reading->tests = record->history.tests;
    reading->test_count = TestCount(record);
    reading->language = record->language;
    return true;
}

static void Copy(HistoryRecord *record) {
    const RECT &plot = record->layout.plot;
    if (!CopyHistory(record->window, &record->history, record->language, record->fonts.small,
                     plot.right - plot.left, plot.bottom - plot.top, record->dpi)) {
        MessageBeep(MB_OK);
    }
}

// The window's own keys, wherever its focus is: Esc and H close it (a held
// H only once: it opened the window), Ctrl+C copies. True when handled.
static bool OnKey(HistoryRecord *record, WPARAM key, LPARAM flags) {
    bool control = GetKeyState(VK_CONTROL) < 0;
    bool repeated = (flags & (1 << 30)) != 0;
    if (key == VK_ESCAPE || (key == 'H' && !control && GetKeyState(VK_MENU) >= 0)) {
        if (!repeated) {
            DestroyWindow(record->window);
        }
        return true;
    }
    if (key == 'C' && control) {
        if (!repeated) {
            Copy(record);
        }
        return true;
    }
    return false;
}

// The table: a list box of the system's, drawn by the window, whose keys
// the window sees first and whose rows a screen reader is given.
static LRESULT CALLBACK TableProc(HWND table, UINT message, WPARAM wparam, LPARAM lparam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(table, TABLE_PROC_PROPERTY));
    HistoryRecord *record = RecordOf(GetParent(table));
    if (message == WM_KEYDOWN && record != nullptr && OnKey(record, wparam, lparam)) {
        return 0;
    }
    if (message == WM_GETOBJECT) {
        LRESULT result = AnswerHistoryObject(table, true, wparam, lparam, ReadForScreenReader);
        if (result != 0) {
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(table, TABLE_PROC_PROPERTY);
    }
    return CallWindowProcW(original, table, message, wparam, lparam);
}

// WM_CREATE: 0, or -1 when the window cannot be made (it is then destroyed).
static LRESULT OnCreate(HWND window, const CREATESTRUCTW *create) {
    const HistoryStart *start = static_cast<const HistoryStart *>(create->lpCreateParams);
    HistoryRecord *record = static_cast<HistoryRecord *>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(HistoryRecord)));
    if (record == nullptr) {
        if (start->load != nullptr) {
            start->load->cancel = 1;
            ReleaseLoad(start->load);
        }
        return -1;
    }
    record->window = window;
    record->load = start->load;
    record->language = start->language;
    record->dpi = IsDisplayDpi(start->dpi) ? start->dpi : BASE_DPI;
    record->source = *start->source;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
    SetWindowTextW(window, LanguageText(record->language, TEXT_HISTORY_CAPTION));
    // The fonts first: the list box measures its rows as it is made.
    MakeFonts(record);
    record->table = CreateWindowExW(0, L"LISTBOX", nullptr, TABLE_STYLE, 0, 0, 0, 0, window,
                                    reinterpret_cast<HMENU>(ID_HISTORY_TABLE),
                                    GetModuleHandleW(nullptr), nullptr);
    if (record->table == nullptr) {
        return -1;
    }
    SetPropW(record->table, TABLE_PROC_PROPERTY,
             reinterpret_cast<HANDLE>(SetWindowLongPtrW(record->table, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(TableProc))));
    LayOut(record);
    ClaimLoad(record->load, window);
    return 0;
}

static void OnDestroy(HistoryRecord *record) {
    if (record->window == history_window) {
        history_window = nullptr;
    }
    if (record->load != nullptr) {
        record->load->cancel = 1;
        ReleaseLoad(record->load);
    }
    FreeResultsHistory(&record->history);
    DestroyHistoryFonts(&record->fonts);
    SetWindowLongPtrW(record->window, GWLP_USERDATA, 0);
    HeapFree(GetProcessHeap(), 0, record);
}

// Drawn whole into a bitmap first, then copied: no flicker while resized.
static void OnPaint(HistoryRecord *record) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(record->window, &ps);
    RECT client;
    GetClientRect(record->window, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HistoryView view = ViewOf(record);
    PaintHistory(memory, &client, &view, record->texts, record->text_count, &record->layout,
                 &record->fonts, record->dpi);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(record->window, &ps);
}

static void OnDrawItem(const HistoryRecord *record, const DRAWITEMSTRUCT *item) {
    int count = TestCount(record);
    if (item->itemID != static_cast<UINT>(-1) && static_cast<int>(item->itemID) < count) {
        const HistoryTest *test = &record->history.tests[count - 1 - item->itemID];
        PaintHistoryRow(item->hDC, &item->rcItem, test, (item->itemState & ODS_SELECTED) != 0,
                        record->fonts.small, record->dpi);
    }
    if ((item->itemState & ODS_FOCUS) != 0 && (item->itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(item->hDC, &item->rcItem);
    }
}

static void OnMeasureItem(HistoryRecord *record, MEASUREITEMSTRUCT *item) {
    HDC dc = GetDC(record->window);
    item->itemHeight = HistoryRowHeight(dc, record->fonts.small, record->dpi);
    ReleaseDC(record->window, dc);
}

static void OnMinMaxInfo(const HistoryRecord *record, MINMAXINFO *info) {
    int dpi = record != nullptr ? record->dpi : BASE_DPI;
    info->ptMinTrackSize.x = ScaleToDpi(LEAST_WIDTH, dpi);
    info->ptMinTrackSize.y = ScaleToDpi(LEAST_HEIGHT, dpi);
}

// Moved to a display of another scale: fonts, rows and places anew, in the
// rectangle the system suggests.
static void OnDpiChanged(HistoryRecord *record, WPARAM wparam, const RECT *suggested) {
    int dpi = HIWORD(wparam);
    if (!IsDisplayDpi(dpi)) {
        return;
    }
    record->dpi = dpi;
    MakeFonts(record);
    if (suggested != nullptr) {
        SetWindowPos(record->window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOut(record);
    InvalidateRect(record->table, nullptr, TRUE);
}

static LRESULT CALLBACK HistoryWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    HistoryRecord *record = RecordOf(window);
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTW *>(lparam));
    case WM_GETMINMAXINFO: OnMinMaxInfo(record, reinterpret_cast<MINMAXINFO *>(lparam)); return 0;
    default: break;
    }
    // Before WM_CREATE and after WM_DESTROY the window is the system's.
    if (record == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    switch (message) {
    case WM_DESTROY: OnDestroy(record); return 0;
    case WM_PAINT: OnPaint(record); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: LayOut(record); return 0;
    case WM_SETFOCUS: SetFocus(record->table); return 0;
    case WM_KEYDOWN:
        return OnKey(record, wparam, lparam) ? 0 : DefWindowProcW(window, message, wparam, lparam);
    case WM_DRAWITEM: OnDrawItem(record, reinterpret_cast<DRAWITEMSTRUCT *>(lparam)); return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem(record, reinterpret_cast<MEASUREITEMSTRUCT *>(lparam));
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(record, wparam, reinterpret_cast<const RECT *>(lparam));
        return 0;
    case WM_HISTORY_READ: OnRead(record, wparam, lparam); return 0;
    case WM_GETOBJECT: {
        LRESULT result = AnswerHistoryObject(window, false, wparam, lparam, ReadForScreenReader);
        return result != 0 ? result : DefWindowProcW(window, message, wparam, lparam);
    }
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

static bool RegisterHistoryClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, HISTORY_CLASS_NAME, &wc)) {
        return true;
    }
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = HistoryWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = HISTORY_CLASS_NAME;
    return RegisterClassExW(&wc) != 0;
}

// The work area of the owner's display.
static RECT WorkAreaOf(HWND owner) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// Beside the owner: to its right where there is room, else to its left,
// else over it; always inside the work area.
static POINT PlaceBeside(HWND owner, SIZE outer, const RECT &work, int dpi) {
    RECT own;
    GetWindowRect(owner, &own);
    int gap = ScaleToDpi(GAP_TO_OWNER, dpi);
    POINT at = {own.right + gap, own.top};
    if (at.x + outer.cx > work.right) {
        at.x = own.left - gap - outer.cx;
    }
    if (at.x < work.left) {
        at.x = work.right - outer.cx;
    }
    at.x = at.x < work.left ? work.left : at.x;
    at.y = at.y + outer.cy > work.bottom ? work.bottom - outer.cy : at.y;
    at.y = at.y < work.top ? work.top : at.y;
    return at;
}

// `open` less what it exceeds the room by, but never below `least`.
static int Fitted(int open, int excess, int least) {
    int fitted = excess > 0 ? open - excess : open;
    return fitted < least ? least : fitted;
}

static HWND OpenHistoryWindow(HWND owner, int language, int dpi, const HistorySource *source) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterHistoryClass(instance)) {
        return nullptr;
    }
    dpi = IsDisplayDpi(dpi) ? dpi : BASE_DPI;
    int width = ScaleToDpi(OPEN_WIDTH, dpi);
    int height = ScaleToDpi(OPEN_HEIGHT, dpi);
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, HISTORY_STYLE, FALSE, 0);
    // A small screen at a large scale (1024 x 768 at 150 %) has no room for
    // the whole window: it opens as large as the work area lets it.
    RECT work = WorkAreaOf(owner);
    SIZE frame = {outer.right - outer.left - width, outer.bottom - outer.top - height};
    width =
        Fitted(width, width + frame.cx - (work.right - work.left), ScaleToDpi(LEAST_WIDTH, dpi));
    height =
        Fitted(height, height + frame.cy - (work.bottom - work.top), ScaleToDpi(LEAST_HEIGHT, dpi));
    SIZE size = {width + frame.cx, height + frame.cy};
    POINT at = PlaceBeside(owner, size, work, dpi);
    HistoryStart start = {language, dpi, source, StartLoad(source->path)};
    HWND window = CreateWindowExW(0, HISTORY_CLASS_NAME, L"", HISTORY_STYLE, at.x, at.y, size.cx,
                                  size.cy, owner, nullptr, instance, &start);
    if (window == nullptr) {
        return nullptr;
    }
    // The frame may be drawn for another DPI than the system's: the client
    // area is made exact.
    RECT client;
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, size.cx + width - client.right,
                 size.cy + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    history_window = window;
    ShowWindow(window, SW_SHOW);
    return window;
}

HWND ToggleHistoryWindow(HWND owner, int language, int dpi, const HistorySource *source) {
    HWND open = FindHistoryWindow();
    if (open != nullptr) {
        DestroyWindow(open);
        return nullptr;
    }
    return OpenHistoryWindow(owner, language, dpi, source);
}

void ReloadHistoryWindow(const HistorySource *source) {
    HWND window = FindHistoryWindow();
    HistoryRecord *record = window != nullptr ? RecordOf(window) : nullptr;
    if (record == nullptr) {
        return;
    }
    record->source = *source;
    StartReading(record);
}

void SetHistoryLanguage(int language) {
    HWND window = FindHistoryWindow();
    HistoryRecord *record = window != nullptr ? RecordOf(window) : nullptr;
    if (record == nullptr || !IsLanguage(language)) {
        return;
    }
    record->language = language;
    SetWindowTextW(window, LanguageText(language, TEXT_HISTORY_CAPTION));
    MakeFonts(record);
    LayOut(record);
    InvalidateRect(record->table, nullptr, TRUE);
    AnnounceHistoryChange(window, record->table);
}

bool IsHistoryReading(HWND window) {
    HistoryRecord *record = window != nullptr ? RecordOf(window) : nullptr;
    return record != nullptr && (record->load != nullptr || !record->has_history);
}
