// Reading seven-segment figures off pixels, with the segment geometry and the
// digit patterns written from the requirements (cells 32 pixels wide, cyan
// segments on black), not taken from the program's tables. A display at
// another display scale is read with that geometry scaled by its client
// height over 60 (the height of the 100 % display's client area).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/picture.h"

#include "dsb/score_display.h"

// A lit segment's colour (red 0, green 255, blue 255) and the background's.
constexpr COLORREF SEGMENT_CYAN = 0x00FFFF00;
constexpr COLORREF SEGMENT_BLACK = 0x00000000;
// Width of one character cell; character i starts at x = 32 * i.
constexpr int SEGMENT_CELL_WIDTH = 32;
// Client height of a display at 100 % display scale (64 less the edge).
constexpr int SEGMENT_BASE_HEIGHT = 60;

// The seven segments, in the order of the masks below.
enum Segment {
    SEG_TOP,
    SEG_MIDDLE,
    SEG_BOTTOM,
    SEG_UPPER_LEFT,
    SEG_UPPER_RIGHT,
    SEG_LOWER_LEFT,
    SEG_LOWER_RIGHT,
    SEGMENT_COUNT
};
struct SegmentBox {
    int left, top, right, bottom; // inclusive extent within a cell
    int probe_x, probe_y;         // a pixel well inside the hexagon
};
// Where each segment lies in a cell.
extern const SegmentBox kSegmentBoxes[SEGMENT_COUNT];
// Lit segments of the digits 0..9, bit i = Segment i.
extern const unsigned kDigitMasks[10];
// The mask of a lone middle bar: a dash.
constexpr unsigned DASH_MASK = 1u << SEG_MIDDLE;

// Colour of the pixel at (x, y) of whatever is being read.
typedef std::function<COLORREF(int x, int y)> PixelReader;
// The segments lit in the cell whose top left corner is (cell_x, cell_y) at
// 100 %, bit i = Segment i; -1 when a probe pixel is neither cyan nor black.
// The display's client area starts at (x, y) and is `height` pixels high:
// a probe at (px, py) of the 100 % geometry is read at
// (x + R(px * height / 60), y + R(py * height / 60)), R rounding to the
// nearest integer, halves away from zero.
int ReadSegments(const PixelReader &pixel, int x, int y, int cell_x, int cell_y,
                 int height = SEGMENT_BASE_HEIGHT);
// Three cells of the display whose client area starts at (x, y) as text: a
// digit, '-' for a lone middle bar, ' ' for a dark cell, '?' for anything else.
std::string ReadSevenSegmentText(const PixelReader &pixel, int x, int y,
                                 int height = SEGMENT_BASE_HEIGHT);
// The same, read from a device context.
std::string ReadSevenSegmentText(HDC dc, int x = 0, int y = 0, int height = SEGMENT_BASE_HEIGHT);
// The same, read from a picture.
std::string ReadSevenSegmentText(const Picture &picture, int x, int y,
                                 int height = SEGMENT_BASE_HEIGHT);

// The text a display shows for a value at rest: "%3d".
std::string DisplayText(int value);

// The record of a score display window (its "PropStr_DSB" property), or null.
DsbData *DisplayRecord(HWND display);
// What a score display of this process shows, read off its memory surface.
std::string ReadDisplay(HWND display);
// What the score display child `id` of a window shows in a picture of the
// window's client area, at the display's own size; empty when there is no
// such child.
std::string ReadDisplayIn(const Picture &picture, HWND window, int id);
