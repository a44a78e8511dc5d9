#include "tests/support/seven_segment.h"

#include "dsb/score_display.h"

#include <stdio.h>

// Horizontal bars span x 7..27 at y 4..8, 26..30 and 48..52; vertical ones
// x 4..8 or 26..30 at y 7..27 and 29..49.
const SegmentBox kSegmentBoxes[SEGMENT_COUNT] = {
    {7, 4, 27, 8, 17, 6},     // top
    {7, 26, 27, 30, 17, 28},  // middle
    {7, 48, 27, 52, 17, 50},  // bottom
    {4, 7, 8, 27, 6, 17},     // upper left
    {26, 7, 30, 27, 28, 17},  // upper right
    {4, 29, 8, 49, 6, 39},    // lower left
    {26, 29, 30, 49, 28, 39}, // lower right
};

namespace {

constexpr unsigned Bit(Segment s) {
    return 1u << s;
}
constexpr unsigned T = Bit(SEG_TOP), M = Bit(SEG_MIDDLE), B = Bit(SEG_BOTTOM),
                   UL = Bit(SEG_UPPER_LEFT), UR = Bit(SEG_UPPER_RIGHT), LL = Bit(SEG_LOWER_LEFT),
                   LR = Bit(SEG_LOWER_RIGHT);

} // namespace

// 6 has its top bar and 9 its bottom bar; 7 is top, upper and lower right.
const unsigned kDigitMasks[10] = {
    T | B | UL | UR | LL | LR,     // 0
    UR | LR,                       // 1
    T | M | B | UR | LL,           // 2
    T | M | B | UR | LR,           // 3
    M | UL | UR | LR,              // 4
    T | M | B | UL | LR,           // 5
    T | M | B | UL | LL | LR,      // 6
    T | UR | LR,                   // 7
    T | M | B | UL | UR | LL | LR, // 8
    T | M | B | UL | UR | LR,      // 9
};

// A coordinate of the 100 % geometry on a display `height` pixels high.
static int ScaledProbe(int v, int height) {
    long long scaled = static_cast<long long>(v) * height;
    long long half = SEGMENT_BASE_HEIGHT / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / SEGMENT_BASE_HEIGHT
                                        : (scaled - half) / SEGMENT_BASE_HEIGHT);
}

int ReadSegments(const PixelReader &pixel, int x, int y, int cell_x, int cell_y, int height) {
    int mask = 0;
    for (int s = 0; s < SEGMENT_COUNT; ++s) {
        COLORREF c = pixel(x + ScaledProbe(cell_x + kSegmentBoxes[s].probe_x, height),
                           y + ScaledProbe(cell_y + kSegmentBoxes[s].probe_y, height));
        if (c == SEGMENT_CYAN) {
            mask |= 1 << s;
        } else if (c != SEGMENT_BLACK) {
            return -1;
        }
    }
    return mask;
}

std::string ReadSevenSegmentText(const PixelReader &pixel, int x, int y, int height) {
    std::string text;
    for (int cell = 0; cell < 3; ++cell) {
        int mask = ReadSegments(pixel, x, y, cell * SEGMENT_CELL_WIDTH, 0, height);
        char c = '?';
        if (mask == 0) {
            c = ' ';
        } else if (mask == static_cast<int>(DASH_MASK)) {
            c = '-';
        }
        for (int d = 0; d < 10; ++d) {
            if (mask == static_cast<int>(kDigitMasks[d])) {
                c = static_cast<char>('0' + d);
            }
        }
        text += c;
    }
    return text;
}

std::string ReadSevenSegmentText(HDC dc, int x, int y, int height) {
    return ReadSevenSegmentText([dc](int px, int py) { return GetPixel(dc, px, py); }, x, y,
                                height);
}

std::string ReadSevenSegmentText(const Picture &picture, int x, int y, int height) {
    return ReadSevenSegmentText(
        [&picture](int px, int py) {
            bool inside = px >= 0 && py >= 0 && px < picture.width && py < picture.height;
            return inside ? picture.At(px, py) : CLR_INVALID;
        },
        x, y, height);
}

std::string DisplayText(int value) {
    char text[16];
    snprintf(text, sizeof text, "%3d", value);
    return text;
}

DsbData *DisplayRecord(HWND display) {
    return static_cast<DsbData *>(GetPropA(display, DSB_PROP_NAME));
}

std::string ReadDisplay(HWND display) {
    DsbData *data = DisplayRecord(display);
    return data ? ReadSevenSegmentText(data->mem_dc, 0, 0, data->height)
                : std::string("<no record>");
}

std::string ReadDisplayIn(const Picture &picture, HWND window, int id) {
    HWND display = GetDlgItem(window, id);
    if (display == nullptr) {
        return "";
    }
    POINT origin = {0, 0};
    ClientToScreen(display, &origin);
    ScreenToClient(window, &origin);
    RECT client;
    GetClientRect(display, &client);
    return ReadSevenSegmentText(picture, origin.x, origin.y, client.bottom);
}
