#include "dsb/score_display.h"

// Minimal until the score display lands: a window that draws nothing.
const BYTE DigitSegments[10][7] = {};

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}
void CALLBACK DisplayTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}
bool RenderDisplayText(DsbData *, const char *) {
    return false;
}
void DrawSegmentDigit(HDC, int, int, int) {}
void DrawSegmentDash(HDC, int, int) {}
