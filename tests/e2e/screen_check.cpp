#include "screen_check.h"

#include "dsb/score_display.h"
#include "render/screen_paint.h"
#include "render/surfaces.h"

#include <string.h>

namespace {

constexpr int DISPLAY_CELLS = 3;
constexpr int SEGMENTS = 7;
// Centre of each segment in a cell, in the order of DigitSegments: upper
// left, lower left, top, middle, bottom, upper right, lower right.
const POINT kSegmentCentres[SEGMENTS] = {{6, 17},  {6, 39},  {17, 6}, {17, 28},
                                         {17, 50}, {28, 17}, {28, 39}};
constexpr int MIDDLE_SEGMENT = 3;

// 500 x 300 pixels of `source` from (x, y), through a 32-bit DIB section so the
// whole block comes back in one copy.
Picture CopyBlock(HDC source, int x, int y) {
    Picture picture;
    picture.pixels.resize(SURFACE_WIDTH * SURFACE_HEIGHT);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = SURFACE_WIDTH;
    info.bmiHeader.biHeight = -SURFACE_HEIGHT; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, source, x, y, SRCCOPY);
    GdiFlush();
    const DWORD *pixel = static_cast<const DWORD *>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        DWORD bgra = pixel[i];
        picture.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

POINT ClientOriginIn(HWND child, HWND parent) {
    POINT origin = {0, 0};
    ClientToScreen(child, &origin);
    ScreenToClient(parent, &origin);
    return origin;
}

char ReadCell(const Picture &picture, int left, int top) {
    BYTE lit[SEGMENTS];
    bool any = false;
    for (int s = 0; s < SEGMENTS; ++s) {
        int x = left + kSegmentCentres[s].x;
        int y = top + kSegmentCentres[s].y;
        if (x < 0 || y < 0 || x >= SURFACE_WIDTH || y >= SURFACE_HEIGHT) {
            return '?';
        }
        COLORREF c = picture.At(x, y);
        if (c != SEGMENT_COLOR && c != RGB(0, 0, 0)) {
            return '?';
        }
        lit[s] = c == SEGMENT_COLOR;
        any = any || lit[s];
    }
    if (!any) {
        return ' ';
    }
    for (int digit = 0; digit < 10; ++digit) {
        if (memcmp(lit, DigitSegments[digit], SEGMENTS) == 0) {
            return static_cast<char>('0' + digit);
        }
    }
    BYTE dash[SEGMENTS] = {};
    dash[MIDDLE_SEGMENT] = 1;
    return memcmp(lit, dash, SEGMENTS) == 0 ? '-' : '?';
}

} // namespace

Picture CaptureClient(HWND window) {
    // Paint what earlier clicks and counts invalidated, then copy the screen.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    Picture picture = CopyBlock(screen, origin.x, origin.y);
    ReleaseDC(nullptr, screen);
    return picture;
}

static BOOL CALLBACK AddVisibleChild(HWND child, LPARAM param) {
    auto *rects = reinterpret_cast<std::vector<RECT> *>(param);
    HWND parent = GetParent(child);
    if (IsWindowVisible(child)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
        rects->push_back(r);
    }
    return TRUE;
}

std::vector<RECT> VisibleChildRects(HWND window) {
    std::vector<RECT> rects;
    EnumChildWindows(window, AddVisibleChild, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

int CountDifferencesOutside(const Picture &a, const Picture &b, const std::vector<RECT> &skip) {
    int count = 0;
    for (int y = 0; y < SURFACE_HEIGHT; ++y) {
        for (int x = 0; x < SURFACE_WIDTH; ++x) {
            POINT p = {x, y};
            bool skipped = false;
            for (const RECT &r : skip) {
                skipped = skipped || PtInRect(&r, p);
            }
            if (!skipped && a.At(x, y) != b.At(x, y)) {
                ++count;
            }
        }
    }
    return count;
}

void CreateReferenceScreens(ReferenceScreens *screens) {
    screens->record = AppState();
    CreateSurfaces(&screens->record);
}

void DestroyReferenceScreens(ReferenceScreens *screens) {
    DestroySurfaces(&screens->record);
}

Picture ComposeReference(ReferenceScreens *screens, const AppState &expected, int screen) {
    AppState *record = &screens->record;
    record->screen = screen;
    record->trial = expected.trial;
    record->score = expected.score;
    record->results_revealed = expected.results_revealed;
    memcpy(record->result_rows, expected.result_rows, sizeof record->result_rows);
    ComposeScreen(record);
    return CopyBlock(record->back_dc, 0, 0);
}

std::string ReadSegmentDisplay(const Picture &picture, HWND window, int display_id) {
    HWND display = GetDlgItem(window, display_id);
    if (display == nullptr) {
        return "";
    }
    POINT origin = ClientOriginIn(display, window);
    std::string text;
    for (int i = 0; i < DISPLAY_CELLS; ++i) {
        text += ReadCell(picture, origin.x + CELL_WIDTH * i, origin.y);
    }
    return text;
}

std::string WaitForDisplayText(HWND window, int display_id, const std::string &text,
                               DWORD timeout_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        std::string shown = ReadSegmentDisplay(CaptureClient(window), window, display_id);
        if (shown == text || GetTickCount() - start > timeout_ms) {
            return shown;
        }
        Sleep(50);
    }
}
