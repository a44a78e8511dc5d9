#include "app/window_dpi.h"

#include "platform/system_library.h"

// Looked up at run time: the program must still start on a Windows that
// does not have them.
typedef UINT(WINAPI *GetDpiForWindowFunction)(HWND);
typedef BOOL(WINAPI *AdjustWindowRectExForDpiFunction)(RECT *, DWORD, BOOL, DWORD, UINT);

static FARPROC User32Function(const char *name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int WindowDpi(HWND window) {
    auto get_dpi = AsFunction<GetDpiForWindowFunction>(User32Function("GetDpiForWindow"));
    if (get_dpi != nullptr) {
        UINT dpi = get_dpi(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD ex_style, int dpi) {
    RECT rect = {0, 0, width, height};
    auto adjust =
        AsFunction<AdjustWindowRectExForDpiFunction>(User32Function("AdjustWindowRectExForDpi"));
    if (adjust == nullptr || !adjust(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi))) {
        SetRect(&rect, 0, 0, width, height);
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    }
    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    return size;
}

void FitClientArea(HWND window, int width, int height) {
    RECT client;
    RECT outer;
    // A minimised window's client area is empty: there is nothing to fit.
    if (IsIconic(window) || !GetClientRect(window, &client) || !GetWindowRect(window, &outer)) {
        return;
    }
    int dx = width - (client.right - client.left);
    int dy = height - (client.bottom - client.top);
    if (dx == 0 && dy == 0) {
        return;
    }
    // The frame is what it is (a system may draw it for another DPI than the
    // one asked for): the window grows or shrinks by what the client lacks.
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
