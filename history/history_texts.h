// What the history window says, in the interface's language: the lines
// above the plot, the plot's summary and the table's rows. Painting draws
// them and a screen reader is given them, in the same words.
#pragma once

#include "history/combined_figure.h"
#include "history/results_history.h"

// What the window shows, as its record holds it.
struct HistoryView {
    int language;
    bool results_on;               // false: Results=0 in Settings.ini
    const wchar_t *path;           // the results file's path, empty when there is none
    const ResultsHistory *history; // null until the first reading has ended
};

enum HistoryTextKind {
    HISTORY_FIGURE,   // the combined figure, large
    HISTORY_SENTENCE, // what the figure is, or that no test is there yet
    HISTORY_NOTE,     // why something is missing: the file unread, rows unread, results off
    HISTORY_PLOT,     // the plot in one line, for a screen reader (the plot itself is drawn)
};

constexpr int HISTORY_TEXT_CHARS = 512;
constexpr int HISTORY_TEXT_MAX = 8;

struct HistoryText {
    HistoryTextKind kind;
    wchar_t text[HISTORY_TEXT_CHARS];
};

// The texts of the view in reading order; how many (at most capacity).
int ListHistoryTexts(const HistoryView *view, HistoryText *texts, int capacity);

// A test's time as the table shows it (2026-12-09 23:45), or with its
// seconds as the file and the clipboard have it.
void FormatHistoryWhen(long long when, bool seconds, wchar_t *text, int chars);
// A test's score ("" where the file keeps none).
void FormatHistoryScore(int score, wchar_t *text, int chars);
// A row of the table as a screen reader reads it: its date, score and cents.
void HistoryRowName(const HistoryTest *test, int language, wchar_t *text, int chars);
