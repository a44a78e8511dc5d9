// Real score displays in the test process: a parent window that records the
// displays' notifications, a bounded message pump, and a reader that turns a
// display's memory surface back into text from its pixels.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dsb/score_display.h"

struct SettleRecord {
    HWND display;
    DWORD at;          // timeGetTime when the notification arrived
    std::string shown; // what the surface showed then
};

// How the parent answers DSBN_SETTLED.
enum SettleAnswer {
    ANSWER_NOTHING,
    ANSWER_BLANK,   // DSBM_SETBLANK 1 back to the display
    ANSWER_DESTROY, // destroy the display
};

struct ParentLog {
    std::vector<SettleRecord> settled;
    SettleAnswer answer;
};

ParentLog &GetParentLog();

// Registers the display class (with DisplayWindowProc) and the parent class once.
void RegisterHarnessClasses();
// Invisible unless asked: Wine without a window manager takes about two
// seconds to destroy a visible top-level window.
HWND CreateTestParent(bool visible = false);
// A display as the program makes one: 102 x 64 outside, client edge, at (375, 160).
HWND CreateTestDisplay(HWND parent, int id);
DsbData *GetDisplayRecord(HWND display);

// Dispatches this thread's messages until `done` holds or `timeout_ms` passes;
// `before` sees each message just before it is dispatched, `after` just after.
// Returns whether `done` held.
bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms = 10000,
               const std::function<void(const MSG &)> &before = nullptr,
               const std::function<void(const MSG &)> &after = nullptr);
void PumpFor(DWORD ms);
bool IsTickFor(const MSG &msg, HWND display);
// A tick of the display's running timer (not a stale one), judged before dispatch.
bool IsLiveTickFor(const MSG &msg, HWND display);

// Expected segments, in the order used by the reader and by the tests.
enum TestSegment {
    TS_TOP,
    TS_MIDDLE,
    TS_BOTTOM,
    TS_UPPER_LEFT,
    TS_UPPER_RIGHT,
    TS_LOWER_LEFT,
    TS_LOWER_RIGHT,
    TS_COUNT
};
struct SegmentBox {
    int left, top, right, bottom; // inclusive extent within a cell
    int probe_x, probe_y;         // a pixel well inside the hexagon
};
extern const SegmentBox SegmentBoxes[TS_COUNT];
// Lit segments of the digits 0..9, bit i = TestSegment i.
extern const unsigned DigitMasks[10];

bool IsLit(HDC dc, int x, int y);
// Bit i set = segment i lit in the cell whose left edge is cell_x, top y.
unsigned ReadSegments(HDC dc, int cell_x, int y);
// Decodes three cells: a digit, '-' for a lone middle bar, ' ' for a dark
// cell, '?' for anything else.
std::string ReadDisplayText(HDC dc, int y = 0);
std::string ReadDisplay(HWND display);
