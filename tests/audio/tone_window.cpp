#include "tests/audio/tone_window.h"

#include "sound/wave_out.h"

AppState g_state;

static LRESULT CALLBACK ToneWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case MM_WOM_DONE: OnWaveDone(&g_state); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND CreateToneWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ToneWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestruneToneTestWindow";
    RegisterClassA(&wc); // may already exist when cases share a process
    return CreateWindowExA(0, wc.lpszClassName, "tones", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntilIdle(const AppState *state) {
    DWORD start = GetTickCount();
    while (state->playing != 0) {
        if (GetTickCount() - start > 20000) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}
