// What a screen reader reads of the history window (Microsoft Active
// Accessibility): the window's caption (the system's own), then its texts
// in reading order (the combined figure, its sentence, the notes, the plot
// as one line), then the table, whose children are its rows, newest first,
// each read as its date, score and cents.
#pragma once

#include "history/history_texts.h"

// The window's state as a screen reader is to be told it, asked afresh at
// every question (the objects outlive many changes, and the window too).
struct HistoryReading {
    const HistoryText *texts;
    const RECT *text_rects; // in the window's client coordinates
    int text_count;
    const RECT *plot_rect; // where the plot's summary stands
    HWND table;
    const HistoryTest *tests; // oldest first; the table shows them newest first
    int test_count;
    int language;
};
// Fills `reading` for the history window `window`; false when it has none.
typedef bool (*HistoryReadingFunction)(HWND window, HistoryReading *reading);

// WM_GETOBJECT of the history window (`is_table` false) or of its table;
// anything but the client area is the system's.
LRESULT AnswerHistoryObject(HWND window, bool is_table, WPARAM wparam, LPARAM lparam,
                            HistoryReadingFunction read);
// Tells a screen reader that the texts and rows have changed.
void AnnounceHistoryChange(HWND window, HWND table);
