#include "app/main_window.h"

#include "dsb/score_display.h"

// Minimal until the application shell lands: an empty window and its loop.
static AppState app_state;

AppState *GetAppState() {
    return &app_state;
}

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = MAIN_CLASS_NAME;
    RegisterClassExA(&wc);
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(MAIN_EX_STYLE, MAIN_CLASS_NAME, MAIN_CAPTION, MAIN_STYLE, CW_USEDEFAULT,
                           CW_USEDEFAULT, CLIENT_WIDTH, CLIENT_HEIGHT, nullptr, nullptr, instance,
                           nullptr);
}

int RunApplication(HINSTANCE instance) {
    RegisterWindowClasses(instance);
    CreateMainWindow(instance);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void OnCommand(HWND, WPARAM, LPARAM, AppState *) {}
void OnHScroll(HWND, WPARAM, LPARAM, AppState *) {}
void OnDisplaySettled(HWND, WPARAM, AppState *) {}
void OnPaint(HWND, AppState *) {}
