// Real score displays in the test process, outside the program's main window:
// a parent window that records the displays' notifications and answers them
// as told, and a way to tell the ticks of a display's running count.
#pragma once

#include <string>
#include <vector>

#include "dsb/score_display.h"
#include "tests/support/message_pump.h"
#include "tests/support/seven_segment.h"

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

// The one parent's record of notifications and how it answers them.
ParentLog &GetParentLog();

// Registers the program's classes (the display's among them) and the parent class, once.
void RegisterHarnessClasses();
// Invisible unless asked: Wine without a window manager takes about two
// seconds to destroy a visible top-level window.
HWND CreateTestParent(bool visible = false);
// A display as the program makes one: 102 x 64 outside, client edge, at (375, 160).
HWND CreateTestDisplay(HWND parent, int id);

// Whether `msg` is a tick for `display`, stale or not.
bool IsTickFor(const MSG &msg, HWND display);
// A tick of the display's running timer (not a stale one), judged before dispatch.
bool IsLiveTickFor(const MSG &msg, HWND display);
