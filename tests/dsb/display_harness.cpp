#include "display_harness.h"

#include <mmsystem.h>

static const char PARENT_CLASS[] = "DsbTestParent";

// Where each segment lies in a cell, from the drawing's layout: the
// horizontal bars span x 7..27, the vertical ones y 7..27 and 29..49.
const SegmentBox SegmentBoxes[TS_COUNT] = {
    {7, 4, 27, 8, 17, 6},     // top
    {7, 26, 27, 30, 17, 28},  // middle
    {7, 48, 27, 52, 17, 50},  // bottom
    {4, 7, 8, 27, 6, 17},     // upper left
    {26, 7, 30, 27, 28, 17},  // upper right
    {4, 29, 8, 49, 6, 39},    // lower left
    {26, 29, 30, 49, 28, 39}, // lower right
};

// Lit segments of 0..9 as bit masks over TestSegment.
static unsigned Mask(std::initializer_list<TestSegment> segments) {
    unsigned mask = 0;
    for (TestSegment s : segments)
        mask |= 1u << s;
    return mask;
}

const unsigned DigitMasks[10] = {
    Mask({TS_TOP, TS_BOTTOM, TS_UPPER_LEFT, TS_UPPER_RIGHT, TS_LOWER_LEFT, TS_LOWER_RIGHT}),
    Mask({TS_UPPER_RIGHT, TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_RIGHT, TS_LOWER_LEFT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_RIGHT, TS_LOWER_RIGHT}),
    Mask({TS_MIDDLE, TS_UPPER_LEFT, TS_UPPER_RIGHT, TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_LEFT, TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_LEFT, TS_LOWER_LEFT, TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_UPPER_RIGHT, TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_LEFT, TS_UPPER_RIGHT, TS_LOWER_LEFT,
          TS_LOWER_RIGHT}),
    Mask({TS_TOP, TS_MIDDLE, TS_BOTTOM, TS_UPPER_LEFT, TS_UPPER_RIGHT, TS_LOWER_RIGHT}),
};

ParentLog &GetParentLog() {
    static ParentLog log;
    return log;
}

static LRESULT CALLBACK TestParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != DSBN_SETTLED)
        return DefWindowProcA(window, message, wparam, lparam);
    HWND display = reinterpret_cast<HWND>(wparam);
    ParentLog &log = GetParentLog();
    log.settled.push_back({display, timeGetTime(), ReadDisplay(display)});
    if (log.answer == ANSWER_BLANK)
        SendMessageA(display, DSBM_SETBLANK, 1, 0);
    else if (log.answer == ANSWER_DESTROY)
        DestroyWindow(display);
    return 0;
}

void RegisterHarnessClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    WNDCLASSEXA display = {};
    display.cbSize = sizeof display;
    display.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    display.lpfnWndProc = DisplayWindowProc;
    display.hInstance = instance;
    display.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    display.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    display.lpszClassName = DSB_CLASS_NAME;
    RegisterClassExA(&display);

    WNDCLASSEXA parent = display;
    parent.lpfnWndProc = TestParentProc;
    parent.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    parent.lpszClassName = PARENT_CLASS;
    RegisterClassExA(&parent);
}

HWND CreateTestParent(bool visible) {
    RegisterHarnessClasses();
    DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    return CreateWindowExA(0, PARENT_CLASS, "dsb", style, 0, 0, 520, 340, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND CreateTestDisplay(HWND parent, int id) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, DSB_CLASS_NAME, "", WS_CHILD | WS_VISIBLE, 375, 160,
                           102, 64, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

DsbData *GetDisplayRecord(HWND display) {
    return static_cast<DsbData *>(GetPropA(display, DSB_PROP_NAME));
}

bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms,
               const std::function<void(const MSG &)> &before,
               const std::function<void(const MSG &)> &after) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (before)
                before(msg);
            DispatchMessageA(&msg);
            if (after)
                after(msg);
        }
    }
    return true;
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

bool IsTickFor(const MSG &msg, HWND display) {
    return msg.message == DSBM_TICK && msg.hwnd == display;
}

bool IsLiveTickFor(const MSG &msg, HWND display) {
    if (!IsTickFor(msg, display))
        return false;
    DsbData *data = GetDisplayRecord(display);
    return data && data->timer_id != 0 && static_cast<UINT>(msg.wParam) == data->timer_id;
}

bool IsLit(HDC dc, int x, int y) {
    return GetPixel(dc, x, y) == SEGMENT_COLOR;
}

unsigned ReadSegments(HDC dc, int cell_x, int y) {
    unsigned mask = 0;
    for (int s = 0; s < TS_COUNT; ++s)
        if (IsLit(dc, cell_x + SegmentBoxes[s].probe_x, y + SegmentBoxes[s].probe_y))
            mask |= 1u << s;
    return mask;
}

std::string ReadDisplayText(HDC dc, int y) {
    std::string text;
    for (int cell = 0; cell < 3; ++cell) {
        unsigned mask = ReadSegments(dc, cell * 32, y);
        char c = '?';
        if (mask == 0)
            c = ' ';
        else if (mask == 1u << TS_MIDDLE)
            c = '-';
        for (int d = 0; d < 10; ++d)
            if (mask == DigitMasks[d])
                c = static_cast<char>('0' + d);
        text += c;
    }
    return text;
}

std::string ReadDisplay(HWND display) {
    DsbData *data = GetDisplayRecord(display);
    return data ? ReadDisplayText(data->mem_dc) : std::string("<no record>");
}
