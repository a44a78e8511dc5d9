// The floor for start-up and memory: a program that opens nothing but a bare
// window with the main window's styles and 500 x 300 client area. Its class
// brush has the colour of the title screen's corners, so that one probe of
// the screen tells when either program has shown its first paint.
//
// With the argument /wave it also opens the default wave output device in
// the format the program uses, while its window is created, as the program
// does: the floor for a program that must have its sound device ready.
#include "app/main_window.h"

#include <mmsystem.h>

static const COLORREF FIRST_PAINT_COLOR = RGB(2, 232, 238);

static bool open_device;
static HWAVEOUT device;

static void OpenDevice(HWND window) {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.nAvgBytesPerSec = 176400;
    format.nBlockAlign = 4;
    format.wBitsPerSample = 16;
    waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window), 0,
                CALLBACK_WINDOW);
}

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        if (open_device)
            OpenDevice(window);
        return 0;
    case WM_DESTROY:
        if (device != nullptr)
            waveOutClose(device);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    open_device = lstrcmpA(command_line, "/wave") == 0;
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
