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
