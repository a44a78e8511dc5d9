#include "render/surfaces.h"

#include "render/display_scale.h"

// At 100 %, the horizontal gradients fade over 166 columns from each side;
// the vertical ones over the 300 rows. Both divisors scale with the display.
constexpr int HORIZONTAL_DIVISOR = 166;
constexpr int VERTICAL_DIVISOR = 300;

// Start colours of the two ramps; both fade to white.
constexpr int CYAN_RED = 2;
constexpr int CYAN_GREEN = 232;
constexpr int CYAN_BLUE = 238;
constexpr int GREEN_SIDE = 51; // red and blue
constexpr int GREEN_GREEN = 255;

constexpr int CONTROL_FONT_HEIGHT = 12;
constexpr int LARGE_FONT_HEIGHT = 18;

constexpr COLORREF HIGH_ROW_COLOR = 0x00CCCCFF;
constexpr COLORREF LOW_ROW_COLOR = 0x00FFD6AC;

static HFONT CreateControlFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH,
                       nullptr);
}

// One channel of a ramp. Every step is a separate double operation (the build
// forbids contraction into fused multiply-adds), so the rounding is the same on
// every machine; GreenRamp's green therefore dips to 254 at a few positions.
static int RampChannel(double u, double w, int start) {
    double sum = u * start + w;
    return static_cast<int>(sum) & 0xFF;
}

COLORREF CyanRamp(double x) {
    double u = 1.0 - x;
    double w = x * 255.0;
    int red = RampChannel(u, w, CYAN_RED);
    int green = RampChannel(u, w, CYAN_GREEN);
    int blue = RampChannel(u, w, CYAN_BLUE);
    return static_cast<COLORREF>(red | green << 8 | blue << 16);
}

COLORREF GreenRamp(double x) {
    double u = 1.0 - x;
    double w = x * 255.0;
    int side = RampChannel(u, w, GREEN_SIDE);
    int green = RampChannel(u, w, GREEN_GREEN);
    return static_cast<COLORREF>(side | green << 8 | side << 16);
}

void MakeSurface(HDC reference, int width, int height, HDC *dc, HBITMAP *bitmap) {
    *dc = CreateCompatibleDC(reference);
    *bitmap = CreateCompatibleBitmap(reference, width, height);
    // The displaced object is the context's stock 1x1 bitmap; deleting a stock
    // object does nothing, so this is harmless whatever it is.
    HGDIOBJ displaced = SelectObject(*dc, *bitmap);
    DeleteObject(displaced);
    PatBlt(*dc, 0, 0, width, height, WHITENESS);
}

// Spreads row 0 over every row, as stretching that one row to the full height
// would: each block copy doubles the rows already filled, so nine plain
// copies do it. A stretch within one context is resampled pixel by pixel and
// costs milliseconds at start-up; the copies give the same pixels.
static void RepeatFirstRow(HDC dc, int width, int height) {
    for (int filled = 1; filled < height; filled *= 2) {
        int rows = filled < height - filled ? filled : height - filled;
        BitBlt(dc, 0, filled, width, rows, dc, 0, 0, SRCCOPY);
    }
}

// The same for column 0 over every column.
static void RepeatFirstColumn(HDC dc, int width, int height) {
    for (int filled = 1; filled < width; filled *= 2) {
        int columns = filled < width - filled ? filled : width - filled;
        BitBlt(dc, filled, 0, columns, height, dc, 0, 0, SRCCOPY);
    }
}

void FillHorizontalGradient(const Surface *surface, ColorRamp ramp, int dpi) {
    if (surface == nullptr || ramp == nullptr) {
        return;
    }
    HDC dc = surface->dc;
    int width = ScaledClientWidth(dpi);
    int divisor = ScaleToDpi(HORIZONTAL_DIVISOR, dpi);
    // Only row 0 is computed: the left fade, then its mirror on the right.
    // Columns 166..332 (at 100 %) keep the surface's white.
    for (int i = 0; i < divisor; i++) {
        SetPixelV(dc, i, 0, ramp(static_cast<double>(i) / divisor));
    }
    for (int n = divisor; n >= 0; n--) {
        SetPixelV(dc, width - 1 - n, 0, ramp(static_cast<double>(n) / divisor));
    }
    RepeatFirstRow(dc, width, ScaledClientHeight(dpi));
}

void FillVerticalGradient(const Surface *surface, ColorRamp ramp, int dpi) {
    if (surface == nullptr || ramp == nullptr) {
        return;
    }
    HDC dc = surface->dc;
    int height = ScaledClientHeight(dpi);
    int divisor = ScaleToDpi(VERTICAL_DIVISOR, dpi);
    for (int k = 0; k < height; k++) {
        SetPixelV(dc, 0, k, ramp(static_cast<double>(k) / divisor));
    }
    RepeatFirstColumn(dc, ScaledClientWidth(dpi), height);
}

bool CreateSurfaces(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    // Every bitmap gets the screen's pixel format.
    HWND desktop = GetDesktopWindow();
    HDC reference = GetDC(desktop);
    int dpi = RecordDpi(state);
    int width = ScaledClientWidth(dpi);
    int height = ScaledClientHeight(dpi);

    MakeSurface(reference, width, height, &state->back_dc, &state->back_bitmap);
    state->font_small = CreateControlFont(ScaleToDpi(CONTROL_FONT_HEIGHT, dpi));
    state->font_large = CreateControlFont(ScaleToDpi(LARGE_FONT_HEIGHT, dpi));
    state->brush_high = CreateSolidBrush(HIGH_ROW_COLOR);
    state->brush_low = CreateSolidBrush(LOW_ROW_COLOR);

    MakeSurface(reference, width, height, &state->title_bg.dc, &state->title_bg.bitmap);
    FillHorizontalGradient(&state->title_bg, CyanRamp, dpi);
    MakeSurface(reference, width, height, &state->result_bg.dc, &state->result_bg.bitmap);
    FillHorizontalGradient(&state->result_bg, GreenRamp, dpi);
    MakeSurface(reference, width, height, &state->comparison_bg.dc, &state->comparison_bg.bitmap);
    FillVerticalGradient(&state->comparison_bg, CyanRamp, dpi);
    MakeSurface(reference, width, height, &state->matching_bg.dc, &state->matching_bg.bitmap);
    FillVerticalGradient(&state->matching_bg, GreenRamp, dpi);

    ReleaseDC(desktop, reference);
    return true;
}

static void DestroySurface(Surface *surface) {
    // The context goes first so the bitmap is no longer selected when it is deleted.
    DeleteDC(surface->dc);
    DeleteObject(surface->bitmap);
    surface->dc = nullptr;
    surface->bitmap = nullptr;
}

bool DestroySurfaces(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    Surface back = {state->back_dc, state->back_bitmap};
    DestroySurface(&back);
    state->back_dc = nullptr;
    state->back_bitmap = nullptr;
    DestroySurface(&state->title_bg);
    DestroySurface(&state->comparison_bg);
    DestroySurface(&state->matching_bg);
    DestroySurface(&state->result_bg);
    DeleteObject(state->font_small);
    DeleteObject(state->font_large);
    DeleteObject(state->brush_low);
    DeleteObject(state->brush_high);
    // Freed handle values are recycled for new objects; null fields make any
    // late drawing a no-op instead of drawing with someone else's object.
    state->font_small = nullptr;
    state->font_large = nullptr;
    state->brush_low = nullptr;
    state->brush_high = nullptr;
    return true;
}
