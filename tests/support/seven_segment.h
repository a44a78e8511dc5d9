// Reading seven-segment figures off pixels, with the segment geometry and the
// digit patterns written from the requirements (cells 32 pixels wide, cyan
// segments on black), not taken from the program's tables.
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
// The segments lit in the cell whose top left corner is (cell_x, cell_y),
// bit i = Segment i; -1 when a probe pixel is neither cyan nor black.
int ReadSegments(const PixelReader &pixel, int cell_x, int cell_y);
// Three cells from (x, y) on as text: a digit, '-' for a lone middle bar,
// ' ' for a dark cell, '?' for anything else.
std::string ReadSevenSegmentText(const PixelReader &pixel, int x, int y);
// The same, read from a device context.
std::string ReadSevenSegmentText(HDC dc, int x = 0, int y = 0);
// The same, read from a picture.
std::string ReadSevenSegmentText(const Picture &picture, int x, int y);

// The text a display shows for a value at rest: "%3d".
std::string DisplayText(int value);

// The record of a score display window (its "PropStr_DSB" property), or null.
DsbData *DisplayRecord(HWND display);
// What a score display of this process shows, read off its memory surface.
std::string ReadDisplay(HWND display);
// What the score display child `id` of a window shows in a picture of the
// window's client area; empty when there is no such child.
std::string ReadDisplayIn(const Picture &picture, HWND window, int id);
