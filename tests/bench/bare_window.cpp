// The floor for start-up and memory: a program that opens nothing but a bare
// window with the main window's styles and 500 x 300 client area. Its class
// brush has the colour of the title screen's corners, so that one probe of
// the screen tells when either program has shown its first paint.
#include "app/main_window.h"

static const COLORREF FIRST_PAINT_COLOR = RGB(2, 232, 238);

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HBRUSH brush = CreateSolidBrush(FIRST_PAINT_COLOR);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = brush;
    wc.lpszClassName = "BareWindow";
    RegisterClassExA(&wc);
    RECT rect = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    AdjustWindowRectEx(&rect, MAIN_STYLE, FALSE, MAIN_EX_STYLE);
    CreateWindowExA(MAIN_EX_STYLE, "BareWindow", "Bare window", MAIN_STYLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                    instance, nullptr);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(brush);
    return static_cast<int>(msg.wParam);
}
