#include "display_harness.h"

#include "app/main_window.h"

#include <mmsystem.h>

static const char PARENT_CLASS[] = "DsbTestParent";

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
    // The display class as the program registers it.
    RegisterWindowClasses(instance);

    WNDCLASSEXA parent = {};
    parent.cbSize = sizeof parent;
    parent.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    parent.hInstance = instance;
    parent.hCursor = LoadCursorA(nullptr, IDC_ARROW);
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

bool IsTickFor(const MSG &msg, HWND display) {
    return msg.message == DSBM_TICK && msg.hwnd == display;
}

bool IsLiveTickFor(const MSG &msg, HWND display) {
    if (!IsTickFor(msg, display))
        return false;
    DsbData *data = DisplayRecord(display);
    return data && data->timer_id != 0 && static_cast<UINT>(msg.wParam) == data->timer_id;
}
