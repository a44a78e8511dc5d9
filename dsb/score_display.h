// The seven-segment score display: a self-contained child-window control.
#pragma once

#include <windows.h>

#define DSB_CLASS_NAME "WndClass_DSB"
#define DSB_PROP_NAME "PropStr_DSB"

constexpr UINT DSBM_SETVALUE = 0x8001;
constexpr UINT DSBM_GETVALUE = 0x8002;
constexpr UINT DSBM_SETSPEED = 0x8003;
constexpr UINT DSBM_GETSPEED = 0x8004;
constexpr UINT DSBM_SETBLANK = 0x8005;
constexpr UINT DSBM_GETBLANK = 0x8006;
constexpr UINT DSBN_SETTLED = 0x8007;
// Private: the timer callback posts this to the display, wParam = the timer's
// id, so that a tick's work runs on the thread that owns the window.
constexpr UINT DSBM_TICK = 0x8008;
// Private: posted to the display itself when a count could not start (no
// timer to be had), wParam = the value; announces it as settled from the
// queue, as the count's last tick would have.
constexpr UINT DSBM_SETTLE_NOW = 0x8009;
// The figure the display shows at this moment (mid-count, the one drawn
// last), or DSB_SHOWS_NO_FIGURE while it shows the dashes or nothing yet.
constexpr UINT DSBM_GETSHOWN = 0x800A;
constexpr LRESULT DSB_SHOWS_NO_FIGURE = -1;

// The figures' geometry (cells 32 wide, segments up to y 52) is that of a
// display at 100 % display scale, whose client area is 60 pixels high (102 x
// 64 less its client edge). A display of another client height draws it
// scaled by height / 60, by the program's one rounding rule (MulDiv: nearest,
// halves away from zero) applied to every vertex.
constexpr int DSB_BASE_HEIGHT = 60;
constexpr int CELL_WIDTH = 32;
constexpr COLORREF SEGMENT_COLOR = 0x00FFFF00;
constexpr int MIN_TICK_MS = 15;

struct DsbData {
    HWND window;
    HDC mem_dc;
    HBITMAP mem_bitmap;
    int width;
    int height;
    int value;
    int blank;
    int previous;
    DWORD start_time;
    int speed;
    UINT timer_id;
    // The text drawn last (empty before the first), so that a display
    // resized for a new display scale draws the same figure at its new size.
    char shown_text[16];
};

// Segment flags per digit: upper left, lower left, top, middle, bottom, upper right, lower right.
extern const BYTE DigitSegments[10][7];

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The multimedia timer callback; user data is the display's window handle.
void CALLBACK DisplayTick(UINT timer_id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
bool RenderDisplayText(DsbData *data, const char *text);
// A digit or the dash in the cell whose origin is (x, y), both at 100 %;
// `height` is the client height the drawing is scaled to.
void DrawSegmentDigit(HDC dc, int x, int y, int digit, int height = DSB_BASE_HEIGHT);
void DrawSegmentDash(HDC dc, int x, int y, int height = DSB_BASE_HEIGHT);
