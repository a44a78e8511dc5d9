#include "dsb/score_display.h"

#include "platform/winmm.h"

#include <stdlib.h>

// Threads: the multimedia timer callback only posts DSBM_TICK to the window.
// Everything that reads or writes the record or the memory surface runs in
// the window procedure on the window's own thread, so no lock is needed and
// DSBN_SETTLED is sent with nothing held. A tick whose timer id is not the
// running one (killed or replaced since it was posted) is ignored, and timers
// are killed synchronously, so once WM_DESTROY has killed the timer no
// callback is left running; ticks still queued then find no record.

const BYTE DigitSegments[10][7] = {
    {1, 1, 1, 0, 1, 1, 1}, // 0
    {0, 0, 0, 0, 0, 1, 1}, // 1
    {0, 1, 1, 1, 1, 1, 0}, // 2
    {0, 0, 1, 1, 1, 1, 1}, // 3
    {1, 0, 0, 1, 0, 1, 1}, // 4
    {1, 0, 1, 1, 1, 0, 1}, // 5
    {1, 1, 1, 1, 1, 0, 1}, // 6
    {0, 0, 1, 0, 0, 1, 1}, // 7
    {1, 1, 1, 1, 1, 1, 1}, // 8
    {1, 0, 1, 1, 1, 1, 1}, // 9
};

enum SegmentFlag {
    SEG_UPPER_LEFT = 0,
    SEG_LOWER_LEFT = 1,
    SEG_TOP = 2,
    SEG_MIDDLE = 3,
    SEG_BOTTOM = 4,
    SEG_UPPER_RIGHT = 5,
    SEG_LOWER_RIGHT = 6,
};

static const POINT HorizontalSegment[6] = {{4, 4}, {20, 4}, {22, 6}, {20, 8}, {4, 8}, {2, 6}};
static const POINT VerticalSegment[6] = {{4, 4}, {6, 2}, {8, 4}, {8, 20}, {6, 22}, {4, 20}};

// Where each segment's hexagon lies in its cell, in the order they are filled.
struct SegmentPlace {
    int flag;
    const POINT *shape;
    int dx, dy;
};
static const SegmentPlace kSegmentPlaces[7] = {
    {SEG_TOP, HorizontalSegment, 5, 0},         {SEG_MIDDLE, HorizontalSegment, 5, 22},
    {SEG_BOTTOM, HorizontalSegment, 5, 44},     {SEG_UPPER_LEFT, VerticalSegment, 0, 5},
    {SEG_UPPER_RIGHT, VerticalSegment, 22, 5},  {SEG_LOWER_LEFT, VerticalSegment, 0, 27},
    {SEG_LOWER_RIGHT, VerticalSegment, 22, 27},
};
static const int MIDDLE_PLACE = 1;

static const char BLANK_TEXT[] = "---";
static const char NUMBER_FORMAT[] = "%3d";
// Room for "%3d" of any 32-bit value and the terminator.
static const int FIGURE_TEXT_BYTES = 16;

// A speed that is not a positive number of units per second cannot time a
// count (0 would divide by zero, negatives would never end): such speeds show
// values at once, as -1 does.
static bool IsCountingSpeed(int speed) {
    return speed > 0;
}

// One segment of the cell at (x, y): each vertex is placed at 100 % and then
// scaled on its own, so the hexagons keep their shape and spacing.
static void FillSegment(HDC dc, const SegmentPlace &place, int x, int y, int height, HBRUSH brush) {
    POINT points[6];
    for (int i = 0; i < 6; ++i) {
        points[i].x = MulDiv(x + place.dx + place.shape[i].x, height, DSB_BASE_HEIGHT);
        points[i].y = MulDiv(y + place.dy + place.shape[i].y, height, DSB_BASE_HEIGHT);
    }
    HRGN region = CreatePolygonRgn(points, 6, WINDING);
    FillRgn(dc, region, brush);
    DeleteObject(region);
}

void DrawSegmentDigit(HDC dc, int x, int y, int digit, int height) {
    if (digit < 0 || digit > 9)
        return;
    const BYTE *lit = DigitSegments[digit];
    HBRUSH brush = CreateSolidBrush(SEGMENT_COLOR);
    for (const SegmentPlace &place : kSegmentPlaces) {
        if (lit[place.flag])
            FillSegment(dc, place, x, y, height, brush);
    }
    DeleteObject(brush);
}

void DrawSegmentDash(HDC dc, int x, int y, int height) {
    HBRUSH brush = CreateSolidBrush(SEGMENT_COLOR);
    FillSegment(dc, kSegmentPlaces[MIDDLE_PLACE], x, y, height, brush);
    DeleteObject(brush);
}

bool RenderDisplayText(DsbData *data, const char *text) {
    if (!data)
        return false;
    if (text != data->shown_text)
        lstrcpynA(data->shown_text, text ? text : "", sizeof data->shown_text);
    PatBlt(data->mem_dc, 0, 0, data->width, data->height, BLACKNESS);
    int length = text ? lstrlenA(text) : 0;
    for (int i = 0; i < length; ++i) {
        int x = CELL_WIDTH * i;
        char c = text[i];
        if (c >= '0' && c <= '9')
            DrawSegmentDigit(data->mem_dc, x, 0, c - '0', data->height);
        else if (c == '-')
            DrawSegmentDash(data->mem_dc, x, 0, data->height);
    }
    return true;
}

// Draws `figure` (or the dashes when blanked) and has the window repainted.
static void ShowFigure(DsbData *data, int figure) {
    char text[FIGURE_TEXT_BYTES];
    if (data->blank)
        lstrcpyA(text, BLANK_TEXT);
    else
        wsprintfA(text, NUMBER_FORMAT, figure);
    RenderDisplayText(data, text);
    InvalidateRect(data->window, nullptr, TRUE);
}

// Sent last by its callers: the parent may answer by changing or destroying
// the display, so the record must not be touched afterwards.
static void NotifySettled(HWND window) {
    SendMessageA(GetParent(window), DSBN_SETTLED, reinterpret_cast<WPARAM>(window), 0);
}

static void StopDisplayCount(DsbData *data) {
    if (data->timer_id != 0) {
        Winmm().timeKillEvent(data->timer_id);
        data->timer_id = 0;
    }
}

// False when the system gives no timer (its table of timers is full): no
// tick would ever come to end the count.
static bool StartDisplayCount(DsbData *data) {
    int period = 1000 / data->speed;
    if (period < MIN_TICK_MS)
        period = MIN_TICK_MS;
    data->start_time = Winmm().timeGetTime();
    data->timer_id = Winmm().timeSetEvent(
        period, period / 2, DisplayTick, reinterpret_cast<DWORD_PTR>(data->window),
        TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    return data->timer_id != 0;
}

// Milliseconds the count from `previous` to `value` takes. Worked out in 64
// bits so that far-apart values cannot overflow; for any difference below two
// million it is the plain 32-bit figure.
static double CountDuration(const DsbData *data) {
    long long difference = static_cast<long long>(data->value) - data->previous;
    if (difference < 0)
        difference = -difference;
    long long ms = difference * 1000 / data->speed;
    if (ms > 0xFFFFFFFFLL)
        ms = 0xFFFFFFFFLL;
    return static_cast<double>(static_cast<DWORD>(ms));
}

void CALLBACK DisplayTick(UINT timer_id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    PostMessageA(reinterpret_cast<HWND>(user), DSBM_TICK, timer_id, 0);
}

static LRESULT AdvanceDisplayCount(HWND window, WPARAM tick_id, DsbData *data) {
    if (!data || data->timer_id == 0 || static_cast<UINT>(tick_id) != data->timer_id)
        return 0; // posted by a timer that has been killed or replaced since
    double elapsed =
        static_cast<double>(static_cast<DWORD>(Winmm().timeGetTime() - data->start_time));
    // A speed changed to one that cannot count ends the count at its end point.
    double x = 1.0;
    if (IsCountingSpeed(data->speed)) {
        double duration = CountDuration(data);
        if (duration > 0.0)
            x = elapsed / duration;
    }
    if (x >= 1.0) {
        ShowFigure(data, data->value);
        StopDisplayCount(data);
        NotifySettled(window);
        return 0;
    }
    double shown = (1.0 - x) * data->previous + data->value * x;
    ShowFigure(data, static_cast<int>(shown));
    return 0;
}

static LRESULT CreateDisplayRecord(HWND window) {
    DsbData *data =
        static_cast<DsbData *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(DsbData)));
    if (!data)
        return 0; // the window lives on without a record and ignores its messages
    SetPropA(window, DSB_PROP_NAME, data);
    data->window = window;

    RECT client;
    GetClientRect(window, &client);
    data->width = client.right - client.left;
    data->height = client.bottom - client.top;

    HDC desktop_dc = GetDC(GetDesktopWindow());
    data->mem_dc = CreateCompatibleDC(desktop_dc);
    data->mem_bitmap = CreateCompatibleBitmap(desktop_dc, data->width, data->height);
    HGDIOBJ previous_bitmap = SelectObject(data->mem_dc, data->mem_bitmap);
    DeleteObject(previous_bitmap);
    ReleaseDC(GetDesktopWindow(), desktop_dc);

    PatBlt(data->mem_dc, 0, 0, data->width, data->height, BLACKNESS);
    data->speed = -1;
    return 0;
}

static LRESULT DestroyDisplayRecord(HWND window, DsbData *data) {
    if (!data)
        return 0;
    // Unhook first: anything that reaches the window from here on finds no record.
    RemovePropA(window, DSB_PROP_NAME);
    StopDisplayCount(data);
    DeleteDC(data->mem_dc);
    DeleteObject(data->mem_bitmap);
    GlobalFree(data);
    return 0;
}

// A display moved to a new size (the main window's display scale changed)
// gets a surface of its new client size with the same figure drawn on it, in
// whatever state it is: at rest, blank, or counting (the count's next tick
// carries on at the new size).
static LRESULT ResizeDisplay(HWND window, DsbData *data) {
    if (!data)
        return 0;
    RECT client;
    GetClientRect(window, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (width == data->width && height == data->height)
        return 0; // the WM_SIZE of its creation, or a move
    HDC desktop_dc = GetDC(GetDesktopWindow());
    HBITMAP bitmap = CreateCompatibleBitmap(desktop_dc, width, height);
    ReleaseDC(GetDesktopWindow(), desktop_dc);
    if (!bitmap)
        return 0; // no memory for it: the old surface stays, drawn at its old size
    HGDIOBJ previous_bitmap = SelectObject(data->mem_dc, bitmap);
    DeleteObject(previous_bitmap);
    data->mem_bitmap = bitmap;
    data->width = width;
    data->height = height;
    RenderDisplayText(data, data->shown_text);
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

static LRESULT PaintDisplay(HWND window, DsbData *data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (data)
        BitBlt(dc, 0, 0, data->width, data->height, data->mem_dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

static LRESULT SetDisplayValue(HWND window, WPARAM wparam, DsbData *data) {
    if (!data)
        return 0;
    data->previous = data->value;
    data->value = static_cast<int>(wparam);
    // At most one count per display; a value shown at once also ends a
    // running count, so its ticks cannot draw over that value later.
    StopDisplayCount(data);
    if (IsCountingSpeed(data->speed)) {
        if (StartDisplayCount(data))
            return 0; // the ticks draw and notify
        // No timer to count with: the value is shown at once, but the parent
        // still waits for it to settle (the result table is revealed then),
        // and expects that after it has finished its own message, as for a
        // count that ends.
        ShowFigure(data, data->value);
        PostMessageA(window, DSBM_SETTLE_NOW, static_cast<WPARAM>(data->value), 0);
        return 0;
    }
    ShowFigure(data, data->value);
    NotifySettled(window);
    return 0;
}

static LRESULT SettleUncountedValue(HWND window, WPARAM value, DsbData *data) {
    // Stale once a newer value or a count has come since it was posted.
    if (!data || data->timer_id != 0 || data->value != static_cast<int>(value))
        return 0;
    NotifySettled(window);
    return 0;
}

static LRESULT SetDisplaySpeed(WPARAM wparam, DsbData *data) {
    if (data)
        data->speed = static_cast<int>(wparam);
    return 0;
}

static LRESULT SetDisplayBlank(WPARAM wparam, DsbData *data) {
    if (!data)
        return 0;
    data->blank = static_cast<int>(wparam);
    if (data->timer_id == 0)
        ShowFigure(data, data->value); // a running count picks the flag up at its next tick
    return 0;
}

static LRESULT GetDisplayValue(const DsbData *data) {
    return data ? data->value : 0;
}

static LRESULT GetDisplaySpeed(const DsbData *data) {
    return data ? data->speed : 0;
}

static LRESULT GetDisplayBlank(const DsbData *data) {
    return data ? data->blank : 0;
}

// The figure in the text drawn last ("%3d": spaces before the digits).
static LRESULT GetShownFigure(const DsbData *data) {
    if (!data)
        return DSB_SHOWS_NO_FIGURE;
    const char *c = data->shown_text;
    while (*c == ' ')
        ++c;
    if (*c == 0 || *c == '-')
        return DSB_SHOWS_NO_FIGURE;
    return atoi(c);
}

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DsbData *data = static_cast<DsbData *>(GetPropA(window, DSB_PROP_NAME));
    switch (message) {
    case WM_CREATE: return CreateDisplayRecord(window);
    case WM_DESTROY: return DestroyDisplayRecord(window, data);
    case WM_PAINT: return PaintDisplay(window, data);
    case WM_SIZE: return ResizeDisplay(window, data);
    case DSBM_SETVALUE: return SetDisplayValue(window, wparam, data);
    case DSBM_GETVALUE: return GetDisplayValue(data);
    case DSBM_SETSPEED: return SetDisplaySpeed(wparam, data);
    case DSBM_GETSPEED: return GetDisplaySpeed(data);
    case DSBM_SETBLANK: return SetDisplayBlank(wparam, data);
    case DSBM_GETBLANK: return GetDisplayBlank(data);
    case DSBM_TICK: return AdvanceDisplayCount(window, wparam, data);
    case DSBM_SETTLE_NOW: return SettleUncountedValue(window, wparam, data);
    case DSBM_GETSHOWN: return GetShownFigure(data);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
