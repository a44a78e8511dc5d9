#include "history/history_paint.h"

#include "history/plot_axes.h"
#include "lang/language.h"
#include "render/display_scale.h"
#include "render/screen_paint.h"

#include <limits.h>
#include <math.h>

constexpr int WINDOW_MARGIN = 12;
constexpr int TABLE_WIDTH = 250;
constexpr int PLOT_TABLE_GAP = 12;
constexpr int MARKER_RADIUS = 3;
constexpr int NEWEST_RADIUS = 5;
constexpr int TICK_LENGTH = 4;
constexpr int LABEL_GAP = 12;

constexpr COLORREF TEXT_COLOR = RGB(32, 32, 32);
constexpr COLORREF NOTE_COLOR = RGB(168, 40, 16);
constexpr COLORREF LABEL_COLOR = RGB(80, 80, 80);
constexpr COLORREF FRAME_COLOR = RGB(150, 150, 150);
constexpr COLORREF GRID_COLOR = RGB(228, 228, 228);
constexpr COLORREF HEADING_COLOR = RGB(240, 240, 240);
constexpr COLORREF SELECTED_INACTIVE_COLOR = RGB(220, 220, 220);

// An object selected into a device context for one scope, the previous one
// put back when it ends.
struct SelectedObject {
    HDC dc;
    HGDIOBJ previous;
    SelectedObject(HDC into, HGDIOBJ object) : dc(into), previous(SelectObject(into, object)) {}
    ~SelectedObject() { SelectObject(dc, previous); }
};

// The face of the system's dialogs for a Latin look; for Japanese a gothic
// of the Shift-JIS character set, as the screens draw.
static HFONT MakeFont(int language, int height, int weight, int dpi) {
    LOGFONTW font = {};
    font.lfHeight = -ScaleToDpi(height, dpi);
    font.lfWeight = weight;
    font.lfQuality = DEFAULT_QUALITY;
    const LanguageLook &look = GetLanguageTable(language)->look;
    if (look.own_faces) {
        DialogFaceName(font.lfFaceName, LF_FACESIZE);
    }
    font.lfCharSet = look.charset;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return CreateFontIndirectW(&font);
}

HistoryFonts CreateHistoryFonts(int language, int dpi) {
    HistoryFonts fonts;
    fonts.figure = MakeFont(language, 26, FW_BOLD, dpi);
    fonts.text = MakeFont(language, 14, FW_NORMAL, dpi);
    fonts.small = MakeFont(language, 12, FW_NORMAL, dpi);
    return fonts;
}

void DestroyHistoryFonts(HistoryFonts *fonts) {
    DeleteObject(fonts->figure);
    DeleteObject(fonts->text);
    DeleteObject(fonts->small);
    *fonts = {};
}

static HFONT FontOf(HistoryTextKind kind, const HistoryFonts *fonts) {
    return kind == HISTORY_FIGURE ? fonts->figure : fonts->text;
}

constexpr UINT WRAPPED_TEXT = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP;

// The table takes the right side from top to bottom, so that it stays put
// whatever the texts say; the texts and then the plot take the left.
void LayOutHistory(HDC dc, const RECT *client, const HistoryText *texts, int count,
                   const HistoryFonts *fonts, int dpi, HistoryLayout *layout) {
    int margin = ScaleToDpi(WINDOW_MARGIN, dpi);
    int top = client->top + margin;
    int right = client->right - margin;
    int bottom = client->bottom - margin;
    int table_width = ScaleToDpi(TABLE_WIDTH, dpi);
    if (table_width > (right - client->left - margin) / 2) {
        table_width = (right - client->left - margin) / 2;
    }
    int heading_height = HistoryRowHeight(dc, fonts->small, dpi);
    SetRect(&layout->table_heading, right - table_width, top, right, top + heading_height);
    SetRect(&layout->table, right - table_width, top + heading_height, right,
            bottom > top + heading_height ? bottom : top + heading_height);
    int left = client->left + margin;
    int text_right = right - table_width - ScaleToDpi(PLOT_TABLE_GAP, dpi);
    int y = top;
    for (int i = 0; i < count && i < HISTORY_TEXT_MAX; ++i) {
        RECT &r = layout->texts[i];
        SetRect(&r, left, y, text_right, y);
        if (texts[i].kind == HISTORY_PLOT) {
            continue;
        }
        SelectedObject font(dc, FontOf(texts[i].kind, fonts));
        DrawTextW(dc, texts[i].text, -1, &r, WRAPPED_TEXT | DT_CALCRECT);
        r.right = text_right;
        y = r.bottom + ScaleToDpi(4, dpi);
    }
    SetRect(&layout->plot, left, y + ScaleToDpi(6, dpi), text_right, bottom);
}

static void FillColor(HDC dc, const RECT *rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

void PaintHistory(HDC dc, const RECT *client, const HistoryView *view, const HistoryText *texts,
                  int count, const HistoryLayout *layout, const HistoryFonts *fonts, int dpi) {
    FillColor(dc, client, PLOT_BACKGROUND);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < count && i < HISTORY_TEXT_MAX; ++i) {
        if (texts[i].kind == HISTORY_PLOT) {
            continue;
        }
        SelectedObject font(dc, FontOf(texts[i].kind, fonts));
        SetTextColor(dc, texts[i].kind == HISTORY_NOTE ? NOTE_COLOR : TEXT_COLOR);
        RECT r = layout->texts[i];
        DrawTextW(dc, texts[i].text, -1, &r, WRAPPED_TEXT);
    }
    const ResultsHistory *history = view->history;
    if (history != nullptr && history->status == HISTORY_READ && history->count > 0) {
        PaintHistoryPlot(dc, &layout->plot, history->tests, history->count, view->language,
                         fonts->small, dpi);
    }
    PaintHistoryTableHeading(dc, &layout->table_heading, view->language, fonts->small, dpi);
}

// A tick's value as few digits as it needs: 0.05, 0.5, 2, 100.
static void FormatTickValue(double value, wchar_t *text) {
    if (value >= 1.0) {
        wsprintfW(text, L"%d", static_cast<int>(floor(value + 0.5)));
        return;
    }
    int decimals = 1;
    int scale = 10;
    while (decimals < 6 && fabs(value * scale - floor(value * scale + 0.5)) > 1e-6) {
        ++decimals;
        scale *= 10;
    }
    wchar_t digits[16];
    wsprintfW(digits, L"%0*d", decimals, static_cast<int>(floor(value * scale + 0.5)));
    wsprintfW(text, L"0.%s", digits);
}

static void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The plot's frame and its pixel scales.
struct PlotPlace {
    RECT frame;
    int left, right; // where the first and the last test stand
    CentsAxis cents;
    TimeAxis time;
    int dpi;
};

static int YOf(const PlotPlace *place, double cents) {
    return CentsToY(&place->cents, cents, place->frame.top, place->frame.bottom);
}

static int XOf(const PlotPlace *place, long long when) {
    return TimeToX(&place->time, when, place->left, place->right);
}

// The grid of the cents axis with its labels, each named value far enough
// from the last to be read; the unit above them.
static void PaintCentsGrid(HDC dc, const PlotPlace *place, const RECT *area, int language) {
    double ticks[64];
    int count = CentsTicks(&place->cents, ticks, 64);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    int crowded_below = metrics.tmHeight + metrics.tmHeight / 4;
    // Every value of the series while two apart (1 and 2) leave room, else
    // the powers of ten.
    bool every = count < 2 || YOf(place, 1.0) - YOf(place, 2.0) >= crowded_below;
    HPEN grid = CreatePen(PS_SOLID, 1, GRID_COLOR);
    {
        SelectedObject pen(dc, grid);
        for (int i = 0; i < count; ++i) {
            int y = YOf(place, ticks[i]);
            DrawLine(dc, place->frame.left, y, place->frame.right, y);
        }
    }
    DeleteObject(grid);
    SetTextColor(dc, LABEL_COLOR);
    int last_labelled = INT_MAX;
    for (int i = 0; i < count; ++i) {
        int y = YOf(place, ticks[i]);
        if ((!every && !IsPowerOfTen(ticks[i])) || last_labelled - y < crowded_below) {
            continue;
        }
        last_labelled = y;
        wchar_t label[16];
        FormatTickValue(ticks[i], label);
        RECT r = {area->left, y - metrics.tmHeight, place->frame.left - ScaleToDpi(6, place->dpi),
                  y + metrics.tmHeight};
        DrawTextW(dc, label, -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT unit = {area->left, area->top, place->frame.right, place->frame.top};
    DrawTextW(dc, LanguageText(language, TEXT_HISTORY_AXIS_CENTS), -1, &unit,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

// The time axis's ticks, grid and dates, none over another.
static void PaintTimeGrid(HDC dc, const PlotPlace *place, const RECT *area) {
    int widths[TIME_LABEL_FORMS];
    for (int form = 0; form < TIME_LABEL_FORMS; ++form) {
        const wchar_t *sample = TimeLabelSample(static_cast<TimeLabelForm>(form));
        SIZE size = {};
        GetTextExtentPoint32W(dc, sample, lstrlenW(sample), &size);
        widths[form] = size.cx;
    }
    TimeTick ticks[TIME_TICK_MAX];
    int count = TimeTicks(&place->time, place->right - place->left, widths,
                          ScaleToDpi(LABEL_GAP, place->dpi), ticks);
    const RECT &frame = place->frame;
    HPEN grid = CreatePen(PS_SOLID, 1, GRID_COLOR);
    HPEN tick = CreatePen(PS_SOLID, 1, FRAME_COLOR);
    for (int i = 0; i < count; ++i) {
        int x = XOf(place, ticks[i].when);
        {
            SelectedObject pen(dc, grid);
            DrawLine(dc, x, frame.top, x, frame.bottom);
        }
        SelectedObject pen(dc, tick);
        DrawLine(dc, x, frame.bottom, x, frame.bottom + ScaleToDpi(TICK_LENGTH, place->dpi));
    }
    DeleteObject(grid);
    DeleteObject(tick);
    SetTextColor(dc, LABEL_COLOR);
    for (int i = 0; i < count; ++i) {
        int x = XOf(place, ticks[i].when);
        SIZE size = {};
        GetTextExtentPoint32W(dc, ticks[i].label, lstrlenW(ticks[i].label), &size);
        int left = x - size.cx / 2;
        left = left + size.cx > area->right ? area->right - size.cx : left;
        left = left < area->left ? area->left : left;
        int top = frame.bottom + ScaleToDpi(TICK_LENGTH + 2, place->dpi);
        TextOutW(dc, left, top, ticks[i].label, lstrlenW(ticks[i].label));
    }
}

static void PaintFrame(HDC dc, const RECT *frame) {
    HPEN line = CreatePen(PS_SOLID, 1, FRAME_COLOR);
    {
        SelectedObject pen(dc, line);
        SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, frame->left, frame->top, frame->right + 1, frame->bottom + 1);
    }
    DeleteObject(line);
}

// The combined figure: its band of x1.5 either way, then its line.
static void PaintFigureBand(HDC dc, const PlotPlace *place, double cents) {
    RECT band = {place->frame.left + 1, YOf(place, cents * 1.5), place->frame.right,
                 YOf(place, cents / 1.5) + 1};
    FillColor(dc, &band, PLOT_BAND_COLOR);
}

static void PaintFigureLine(HDC dc, const PlotPlace *place, double cents) {
    int y = YOf(place, cents);
    HPEN line = CreatePen(PS_SOLID, ScaleToDpi(2, place->dpi), PLOT_FIGURE_COLOR);
    {
        SelectedObject pen(dc, line);
        DrawLine(dc, place->frame.left + 1, y, place->frame.right, y);
    }
    DeleteObject(line);
}

// Above the frame's right end, clear of every point: a sample of the band
// with its line, and what they are, once three tests make the figure.
static void PaintLegend(HDC dc, const PlotPlace *place, const RECT *area,
                        const CombinedFigure *figure, int language) {
    if (figure->tests < COMBINED_TESTS) {
        return;
    }
    const wchar_t *text = LanguageText(language, TEXT_HISTORY_LINE_LABEL);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    int right = place->frame.right;
    int middle = area->top + size.cy / 2;
    int sample = ScaleToDpi(20, place->dpi);
    int gap = ScaleToDpi(6, place->dpi);
    int sample_right = right - size.cx - gap;
    RECT band = {sample_right - sample, middle - ScaleToDpi(5, place->dpi), sample_right,
                 middle + ScaleToDpi(5, place->dpi)};
    FillColor(dc, &band, PLOT_BAND_COLOR);
    HPEN line = CreatePen(PS_SOLID, ScaleToDpi(2, place->dpi), PLOT_FIGURE_COLOR);
    {
        SelectedObject pen(dc, line);
        DrawLine(dc, band.left, middle, band.right, middle);
    }
    DeleteObject(line);
    SetTextColor(dc, PLOT_FIGURE_COLOR);
    TextOutW(dc, right - size.cx, middle - size.cy / 2, text, lstrlenW(text));
}

// The points joined in order. Where there are more tests than pixels, each
// column of pixels draws the first, lowest, highest and last of its tests,
// which is the same picture in a fraction of the lines; a test's row is
// worked out only for those four (the logarithm is the costly part).
static void PaintTestLine(HDC dc, const PlotPlace *place, const HistoryTest *tests, int count) {
    int columns = place->right - place->left + 1;
    bool every = count <= 2 * columns;
    int capacity = every ? count : 4 * columns;
    POINT *points = static_cast<POINT *>(HeapAlloc(GetProcessHeap(), 0, sizeof(POINT) * capacity));
    if (points == nullptr) {
        return;
    }
    int n = 0;
    for (int i = 0; i < count;) {
        int x = XOf(place, tests[i].when);
        if (every) {
            points[n++] = {x, YOf(place, tests[i++].cents)};
            continue;
        }
        int first = i, lowest = i, highest = i;
        for (++i; i < count && XOf(place, tests[i].when) == x; ++i) {
            lowest = tests[i].cents < tests[lowest].cents ? i : lowest;
            highest = tests[i].cents > tests[highest].cents ? i : highest;
        }
        const int kept[4] = {first, lowest, highest, i - 1};
        for (int k : kept) {
            points[n++] = {x, YOf(place, tests[k].cents)};
        }
    }
    HPEN line = CreatePen(PS_SOLID, ScaleToDpi(1, place->dpi), PLOT_POINT_COLOR);
    {
        SelectedObject pen(dc, line);
        Polyline(dc, points, n);
    }
    DeleteObject(line);
    HeapFree(GetProcessHeap(), 0, points);
}

static void PaintMarker(HDC dc, int x, int y, int radius, COLORREF color) {
    HBRUSH fill = CreateSolidBrush(color);
    HPEN edge = CreatePen(PS_SOLID, 1, color);
    {
        SelectedObject brush(dc, fill);
        SelectedObject pen(dc, edge);
        Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
    }
    DeleteObject(fill);
    DeleteObject(edge);
}

// Each test's mark where they stand apart; the newest always, larger and
// in its own colour.
static void PaintMarkers(HDC dc, const PlotPlace *place, const HistoryTest *tests, int count) {
    int radius = ScaleToDpi(MARKER_RADIUS, place->dpi);
    if (static_cast<long long>(count) * ScaleToDpi(8, place->dpi) <= place->right - place->left) {
        for (int i = 0; i + 1 < count; ++i) {
            PaintMarker(dc, XOf(place, tests[i].when), YOf(place, tests[i].cents), radius,
                        PLOT_POINT_COLOR);
        }
    }
    const HistoryTest &newest = tests[count - 1];
    PaintMarker(dc, XOf(place, newest.when), YOf(place, newest.cents),
                ScaleToDpi(NEWEST_RADIUS, place->dpi), PLOT_NEWEST_COLOR);
}

void PaintHistoryPlot(HDC dc, const RECT *area, const HistoryTest *tests, int count, int language,
                      HFONT font, int dpi) {
    if (tests == nullptr || count <= 0) {
        return;
    }
    PlotPlace place;
    place.dpi = dpi;
    SetRect(&place.frame, area->left + ScaleToDpi(PLOT_MARGIN_LEFT, dpi),
            area->top + ScaleToDpi(PLOT_MARGIN_TOP, dpi),
            area->right - ScaleToDpi(PLOT_MARGIN_RIGHT, dpi),
            area->bottom - ScaleToDpi(PLOT_MARGIN_BOTTOM, dpi));
    place.left = place.frame.left + ScaleToDpi(PLOT_INSET, dpi);
    place.right = place.frame.right - ScaleToDpi(PLOT_INSET, dpi);
    if (place.right - place.left < ScaleToDpi(24, dpi) ||
        place.frame.bottom - place.frame.top < ScaleToDpi(40, dpi)) {
        return; // too small to say anything
    }
    CombinedFigure figure = CombineLastTests(tests, count);
    double least = figure.cents / 1.5;
    double greatest = figure.cents * 1.5;
    for (int i = 0; i < count; ++i) {
        least = tests[i].cents < least ? tests[i].cents : least;
        greatest = tests[i].cents > greatest ? tests[i].cents : greatest;
    }
    place.cents = CentsAxisFor(least, greatest);
    place.time = TimeAxisFor(tests[0].when, tests[count - 1].when);
    SelectedObject selected_font(dc, font);
    SetBkMode(dc, TRANSPARENT);
    PaintFigureBand(dc, &place, figure.cents);
    PaintCentsGrid(dc, &place, area, language);
    PaintTimeGrid(dc, &place, area);
    PaintFrame(dc, &place.frame);
    PaintFigureLine(dc, &place, figure.cents);
    PaintLegend(dc, &place, area, &figure, language);
    PaintTestLine(dc, &place, tests, count);
    PaintMarkers(dc, &place, tests, count);
}

int HistoryRowHeight(HDC dc, HFONT font, int dpi) {
    SelectedObject selected(dc, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight + ScaleToDpi(6, dpi);
}

// The right edges of the date and the score columns; the cents fill the rest.
static void TableColumns(const RECT *rect, int *date_right, int *score_right) {
    int width = rect->right - rect->left;
    *date_right = rect->left + width * 55 / 100;
    *score_right = rect->left + width * 75 / 100;
}

static void PaintCells(HDC dc, const RECT *rect, const wchar_t *date, const wchar_t *score,
                       const wchar_t *cents, int dpi) {
    int date_right, score_right;
    TableColumns(rect, &date_right, &score_right);
    int pad = ScaleToDpi(6, dpi);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    RECT cell = {rect->left + pad, rect->top, date_right, rect->bottom};
    DrawTextW(dc, date, -1, &cell, format | DT_LEFT);
    SetRect(&cell, date_right, rect->top, score_right, rect->bottom);
    DrawTextW(dc, score, -1, &cell, format | DT_RIGHT);
    SetRect(&cell, score_right, rect->top, rect->right - pad, rect->bottom);
    DrawTextW(dc, cents, -1, &cell, format | DT_RIGHT);
}

void PaintHistoryTableHeading(HDC dc, const RECT *rect, int language, HFONT font, int dpi) {
    FillColor(dc, rect, HEADING_COLOR);
    SelectedObject selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TEXT_COLOR);
    PaintCells(dc, rect, LanguageText(language, TEXT_HISTORY_COLUMN_ENDED),
               LanguageText(language, TEXT_HISTORY_COLUMN_SCORE),
               LanguageText(language, TEXT_HISTORY_COLUMN_CENTS), dpi);
}

void PaintHistoryRow(HDC dc, const RECT *rect, const HistoryTest *test, bool selected, HFONT font,
                     int dpi) {
    FillColor(dc, rect, selected ? GetSysColor(COLOR_HIGHLIGHT) : PLOT_BACKGROUND);
    SelectedObject selected_font(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : TEXT_COLOR);
    wchar_t when[32], score[16], cents[32];
    FormatHistoryWhen(test->when, false, when, 32);
    FormatHistoryScore(test->score, score, 16);
    FormatFigureCentsW(test->cents, cents, 32);
    PaintCells(dc, rect, when, score, cents, dpi);
}
