// Drawing the history window: the lines above, the plot and the table,
// each into the device context it is given, from the data it is given. All
// sizes are written for 96 dpi and scaled to the window's own.
#pragma once

#include "history/history_texts.h"

struct HistoryFonts {
    HFONT figure; // the combined figure
    HFONT text;   // the sentences and notes
    HFONT small;  // the plot's labels and the table
};
// The fonts for a language's look at `dpi`; DestroyHistoryFonts deletes them.
HistoryFonts CreateHistoryFonts(int language, int dpi);
void DestroyHistoryFonts(HistoryFonts *fonts);

// Where everything stands in a client area: each text's rectangle (in the
// order listed; the plot's summary is not drawn and has an empty one), the
// plot, the table's heading and the table itself (its list box).
struct HistoryLayout {
    RECT texts[HISTORY_TEXT_MAX];
    RECT plot;
    RECT table_heading;
    RECT table;
};
void LayOutHistory(HDC dc, const RECT *client, const HistoryText *texts, int count,
                   const HistoryFonts *fonts, int dpi, HistoryLayout *layout);

// The whole client area but the table's rows, which its list box draws.
void PaintHistory(HDC dc, const RECT *client, const HistoryView *view, const HistoryText *texts,
                  int count, const HistoryLayout *layout, const HistoryFonts *fonts, int dpi);

// The plot's frame stands this far inside its area (at 96 dpi): room for
// the cents' labels on the left, the unit above, the dates below. The first
// and the last test stand PLOT_INSET inside the frame's sides; the lowest
// and highest values of the cents axis are its bottom and top edges.
constexpr int PLOT_MARGIN_LEFT = 44;
constexpr int PLOT_MARGIN_TOP = 22;
constexpr int PLOT_MARGIN_RIGHT = 16;
constexpr int PLOT_MARGIN_BOTTOM = 26;
constexpr int PLOT_INSET = 12;
// The colours a reader of the plot tells apart.
constexpr COLORREF PLOT_POINT_COLOR = RGB(40, 40, 40);
constexpr COLORREF PLOT_NEWEST_COLOR = RGB(224, 96, 0);
constexpr COLORREF PLOT_FIGURE_COLOR = RGB(30, 100, 200);
constexpr COLORREF PLOT_BAND_COLOR = RGB(214, 232, 250);
constexpr COLORREF PLOT_BACKGROUND = RGB(255, 255, 255);

// The plot of `tests` (oldest first) in `area`: each test's cents on a
// logarithmic axis against its time, the points joined in order, the newest
// marked, and the combined figure as a line in its band of x1.5 either way.
void PaintHistoryPlot(HDC dc, const RECT *area, const HistoryTest *tests, int count, int language,
                      HFONT font, int dpi);

// A row of the table is this high for its font.
int HistoryRowHeight(HDC dc, HFONT font, int dpi);
// The table's column heading, and one row (newest first is the window's).
void PaintHistoryTableHeading(HDC dc, const RECT *rect, int language, HFONT font, int dpi);
void PaintHistoryRow(HDC dc, const RECT *rect, const HistoryTest *test, bool selected, HFONT font,
                     int dpi);
