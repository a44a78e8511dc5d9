// One completed test as a row of the results file, and the file's header
// row: CSV as Excel reads it (RFC 4180), in UTF-8. Formatting only; the
// file itself is the app's.
#pragma once

#include "engine/app_state.h"

// Room for the header or one row in UTF-8 with its line end (each is under
// 2 KB), and for either while it is put together in code page 932.
constexpr int RESULT_LINE_BYTES = 4096;
// Six columns about the test, then eight for each comparison trial (kind,
// chord, A, B, C, answer, right answer, score) and seven for each matching
// trial (kind, chord, Play, Target, answer, right answer, score).
constexpr int RESULT_COLUMN_COUNT = 6 + 6 * 8 + 4 * 7;

// When a test ended: the local date and time, and how far local time is
// ahead of UTC in minutes (negative west of Greenwich).
struct ResultTime {
    SYSTEMTIME local;
    int utc_offset_minutes;
};

// The header row in `language` (lang/language.h), in UTF-8 with CRLF and
// without a byte-order mark. Returns its length in bytes, or 0 when it does
// not fit in `size`.
int FormatResultHeader(int language, char *line, int size);
// The row of the test that `state` holds once all ten trials are graded,
// ended at `ended`, with the words of `language` (the kinds of trial and the
// single tone; the numbers are the same in every language), in UTF-8 with
// CRLF. Returns its length in bytes, or 0 when the test is not complete or
// the row does not fit in `size`.
int FormatResultRow(const AppState *state, const ResultTime *ended, int language, char *line,
                    int size);
// The language whose header the first `length` bytes of a results file
// begin with (after the byte-order mark, if any), or -1 for a file that
// begins with anything else. The first column's title tells them apart.
int ResultHeaderLanguage(const char *start, int length);
// Enough of a file's first bytes for ResultHeaderLanguage.
constexpr int RESULT_HEADER_PROBE_BYTES = 64;

// A line being put together field by field, in UTF-8.
struct CsvLine {
    char text[RESULT_LINE_BYTES];
    int length;
    int fields;
    bool overflow; // something did not fit: the line is not to be used
};
// Adds one field after a comma (none before the first), in quotes, with its
// quotes doubled, only when it holds a comma, a quote or a line end.
void AppendCsvField(CsvLine *line, const char *field);

// Reading rows back, for the history of results: only what a row says of
// the test as a whole (when it ended, its score, its cents), from a file as
// it may really be: written by this program, edited by hand, or saved again
// by Excel (dates as Excel writes them, and where the decimal mark is a
// comma, semicolons between the fields).

// Where those three stand in a row, and how the row's fields are parted.
struct ResultColumns {
    int ended;      // the date and time
    int score;      // the score, or -1 where the file keeps none
    int cents;      // the cents
    char separator; // ',', or ';' or a tab in a file saved so
    bool day_first; // a date with its year last reads day/month/year
};
// The columns of this program's rows, parted by commas.
ResultColumns DefaultResultColumns();
// Reads the first line of a file (without its line end or byte-order mark):
// its separator, and when it is a header whose titles name at least the
// date and the cents in a language of ours (this program's, or an older or
// other one), the columns it names. Any other first line that is not a row
// is a header too, of a kind of its own. Returns whether it is a header.
bool ReadResultHeader(const char *line, int length, ResultColumns *columns);
// One test as its row tells it.
struct ResultReading {
    SYSTEMTIME ended; // local time, as written
    long long when;   // the same as FILETIME ticks (100 ns from 1601), to order and place by
    int score;        // 0..300, or -1 where the file keeps no score
    double cents;
};
// Reads one row (a line without its line end). False when its date, score
// or cents is missing or is not one, or when its cents are not those of its
// score: a line cut short in the middle of its figure is never taken for a
// test that was finer or coarser than it was.
bool ReadResultRow(const char *line, int length, const ResultColumns *columns, ResultReading *row);
