// The score display as a real child window in this process: its memory
// surface read back pixel by pixel, its counts driven by the real multimedia
// timer, its notifications caught by a real parent window.
#include "display_harness.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <climits>
#include <cstdlib>
#include <functional>

namespace {

const int DISPLAY_ID = 2013;

WPARAM Arg(int value) {
    return static_cast<WPARAM>(static_cast<INT_PTR>(value));
}

// Every pixel in the w x h area at (x0, y0) is black or cyan; each segment in
// `mask` is lit at its probe, each other one dark, and no lit pixel lies
// outside the extents of the segments in `mask`.
void ExpectCellAt(HDC dc, int x0, int y0, int w, int h, unsigned mask, const std::string &what) {
    for (int s = 0; s < SEGMENT_COUNT; ++s) {
        const SegmentBox &b = kSegmentBoxes[s];
        if (b.probe_x >= w)
            continue; // clipped away
        EXPECT_EQ(GetPixel(dc, x0 + b.probe_x, y0 + b.probe_y) == SEGMENT_CYAN,
                  (mask >> s & 1) != 0)
            << what << ", segment " << s;
    }
    int stray = 0, other = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c != SEGMENT_CYAN) {
                other += c != 0;
                continue;
            }
            bool inside = false;
            for (int s = 0; s < SEGMENT_COUNT; ++s) {
                const SegmentBox &b = kSegmentBoxes[s];
                if ((mask >> s & 1) && x - x0 >= b.left && x - x0 <= b.right && y - y0 >= b.top &&
                    y - y0 <= b.bottom)
                    inside = true;
            }
            stray += !inside;
        }
    }
    EXPECT_EQ(stray, 0) << what << ": lit pixels outside its segments";
    EXPECT_EQ(other, 0) << what << ": pixels neither black nor cyan";
}

bool IsNumber(const std::string &text) {
    char *end = nullptr;
    std::strtol(text.c_str(), &end, 10);
    return text.find_first_not_of(' ') != std::string::npos && *end == '\0' &&
           text.find('?') == std::string::npos;
}

int Number(const std::string &text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// The figure a count from `from` to `to` at `speed` units per second shows
// `elapsed_ms` after it began: it moves linearly in time, one second per
// `speed` units, truncated toward zero, and rests on `to` once over.
int FigureAt(int from, int to, int speed, DWORD elapsed_ms) {
    DWORD duration = static_cast<DWORD>(abs(to - from) * 1000 / speed);
    if (elapsed_ms >= duration) {
        return to;
    }
    double x = static_cast<double>(elapsed_ms) / duration;
    return static_cast<int>((1.0 - x) * from + to * x);
}

// A figure read at a tick handled between `elapsed_ms` and `elapsed_ms` +
// `slack_ms` after the count began lies between the figures of those two
// moments, whatever the scheduler did in between.
void ExpectFigureWithin(const std::string &shown, int from, int to, int speed, DWORD elapsed_ms,
                        DWORD slack_ms) {
    ASSERT_TRUE(IsNumber(shown)) << "'" << shown << "'";
    int a = FigureAt(from, to, speed, elapsed_ms);
    int b = FigureAt(from, to, speed, elapsed_ms + slack_ms);
    EXPECT_GE(Number(shown), std::min(a, b))
        << from << " to " << to << " after " << elapsed_ms << " ms (+" << slack_ms << ")";
    EXPECT_LE(Number(shown), std::max(a, b))
        << from << " to " << to << " after " << elapsed_ms << " ms (+" << slack_ms << ")";
}

class ScoreDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        GetParentLog().settled.clear();
        GetParentLog().answer = ANSWER_NOTHING;
        parent = CreateTestParent();
        ASSERT_NE(parent, nullptr);
        display = CreateTestDisplay(parent, DISPLAY_ID);
        ASSERT_NE(display, nullptr);
        ASSERT_NE(DisplayRecord(display), nullptr);
    }
    void TearDown() override {
        if (IsWindow(parent))
            DestroyWindow(parent);
        PumpFor(50);
    }

    LRESULT Send(UINT message, WPARAM wparam = 0) {
        return SendMessageA(display, message, wparam, 0);
    }
    void ShowAtOnce(int value) {
        Send(DSBM_SETSPEED, Arg(-1));
        Send(DSBM_SETVALUE, Arg(value));
    }
    size_t Settled() { return GetParentLog().settled.size(); }
    DsbData *Record() { return DisplayRecord(display); }
    HDC Surface() { return Record()->mem_dc; }

    // Pumps until `done`. Each tick of the running count (stale ones aside)
    // is counted in `ticks`, preceded by `before_tick` and followed by a
    // reading of the figure into `figures`.
    bool PumpCount(const std::function<bool()> &done, std::vector<std::string> *figures,
                   int *ticks = nullptr, const std::function<void()> &before_tick = nullptr) {
        bool live = false;
        return PumpUntil(
            done, 10000,
            [&](const MSG &msg) {
                live = IsLiveTickFor(msg, display);
                if (live && before_tick)
                    before_tick();
            },
            [&](const MSG &) {
                if (live) {
                    if (ticks)
                        ++*ticks;
                    if (figures && IsWindow(display))
                        figures->push_back(ReadDisplay(display));
                }
                live = false;
            });
    }
    // One tick handled as if `elapsed_ms` had passed since the count began
    // when it was taken from the queue; `slack_ms` gets the time that then
    // passed until the figure was read, which a busy machine lengthens.
    bool PumpTickAt(DWORD elapsed_ms, std::vector<std::string> *figures = nullptr,
                    DWORD *slack_ms = nullptr) {
        int ticks = 0;
        DWORD set_at = 0;
        bool ticked = PumpCount([&] { return ticks >= 1; }, figures, &ticks,
                                [&] {
                                    set_at = timeGetTime();
                                    Record()->start_time = set_at - elapsed_ms;
                                });
        if (slack_ms) {
            *slack_ms = timeGetTime() - set_at;
        }
        return ticked;
    }
    bool PumpTicks(int count, std::vector<std::string> *figures = nullptr) {
        int ticks = 0;
        return PumpCount([&] { return ticks >= count; }, figures, &ticks);
    }
    // Until `count` notifications have arrived in all.
    bool PumpUntilSettled(size_t count, std::vector<std::string> *figures = nullptr,
                          int *ticks = nullptr) {
        return PumpCount([&] { return Settled() >= count; }, figures, ticks);
    }

    HWND parent = nullptr;
    HWND display = nullptr;
};

TEST_F(ScoreDisplay, NewDisplayIsBlackAndAtRest) {
    DsbData *data = Record();
    EXPECT_EQ(data->window, display);
    EXPECT_EQ(data->width, 98); // 102 x 64 less the client edge
    EXPECT_EQ(data->height, 60);
    EXPECT_EQ(data->value, 0);
    EXPECT_EQ(data->previous, 0);
    EXPECT_EQ(data->blank, 0);
    EXPECT_EQ(data->speed, -1);
    EXPECT_EQ(data->timer_id, 0u);
    EXPECT_EQ(Send(DSBM_GETSPEED), -1);
    EXPECT_EQ(Send(DSBM_GETVALUE), 0);
    EXPECT_EQ(Send(DSBM_GETBLANK), 0);
    ExpectCellAt(Surface(), 0, 0, 98, 60, 0, "new display");
    EXPECT_EQ(Settled(), 0u);
}

TEST_F(ScoreDisplay, EveryDigitLightsItsSegmentsInTheThirdCell) {
    for (int d = 0; d <= 9; ++d) {
        ShowAtOnce(d);
        std::string what = "digit " + std::to_string(d);
        ExpectCellAt(Surface(), 0, 0, 64, 60, 0, what + ", first two cells");
        ExpectCellAt(Surface(), 64, 0, 32, 60, kDigitMasks[d], what);
        EXPECT_EQ(ReadDisplay(display), std::string("  ") + char('0' + d));
        // Shown at once: the parent hears of it before SendMessage returns.
        ASSERT_EQ(Settled(), static_cast<size_t>(d + 1));
        EXPECT_EQ(GetParentLog().settled.back().display, display);
    }
}

TEST(DrawSegment, DigitsAndDashAtAnOrigin) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 90);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ReleaseDC(nullptr, screen);

    const int x0 = 41, y0 = 13;
    for (int d = -1; d <= 10; ++d) {
        PatBlt(dc, 0, 0, 120, 90, BLACKNESS);
        DrawSegmentDigit(dc, x0, y0, d);
        unsigned mask = (d >= 0 && d <= 9) ? kDigitMasks[d] : 0; // out of range draws nothing
        ExpectCellAt(dc, x0, y0, 32, 60, mask, "digit " + std::to_string(d));
        ExpectCellAt(dc, 0, 0, x0, 90, 0, "left of the cell");
    }
    PatBlt(dc, 0, 0, 120, 90, BLACKNESS);
    DrawSegmentDash(dc, x0, y0);
    ExpectCellAt(dc, x0, y0, 32, 60, 1u << SEG_MIDDLE, "dash");

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(ScoreDisplay, TextsOfSignsBlanksAndLongValues) {
    struct Case {
        int value;
        const char *shown;
    } cases[] = {
        {5, "  5"}, {-5, " -5"}, {-99, "-99"}, {300, "300"}, {1234, "123"}, {INT_MIN, "-21"},
    };
    for (const Case &c : cases) {
        ShowAtOnce(c.value);
        EXPECT_EQ(ReadDisplay(display), c.shown) << c.value;
        EXPECT_EQ(Send(DSBM_GETVALUE), c.value);
        if (c.value == -5) {
            ExpectCellAt(Surface(), 0, 0, 32, 60, 0, "-5, first cell");
            ExpectCellAt(Surface(), 32, 0, 32, 60, 1u << SEG_MIDDLE, "-5, minus sign");
            ExpectCellAt(Surface(), 64, 0, 32, 60, kDigitMasks[5], "-5, figure");
        }
        // A fourth character starts at x = 96, beyond everything the client
        // area can show of its segments: the last two columns stay black.
        ExpectCellAt(Surface(), 96, 0, 2, 60, 0, "fourth cell of " + std::to_string(c.value));
    }
    EXPECT_EQ(GetPixel(Surface(), 98, 0), CLR_INVALID); // the surface ends with the client area
}

TEST_F(ScoreDisplay, BlankShowsThreeDashesAndNotifiesNobody) {
    ShowAtOnce(123);
    ASSERT_EQ(Settled(), 1u);
    Send(DSBM_SETBLANK, 1);
    EXPECT_EQ(Send(DSBM_GETBLANK), 1);
    EXPECT_EQ(ReadDisplay(display), "---");
    for (int cell = 0; cell < 3; ++cell)
        ExpectCellAt(Surface(), cell * 32, 0, 32, 60, 1u << SEG_MIDDLE, "dash");
    Send(DSBM_SETBLANK, 0);
    EXPECT_EQ(ReadDisplay(display), "123");
    EXPECT_EQ(Settled(), 1u);
    // A value set while blanked is drawn as dashes too.
    Send(DSBM_SETBLANK, 1);
    ShowAtOnce(7);
    EXPECT_EQ(ReadDisplay(display), "---");
    EXPECT_EQ(Settled(), 2u);
}

TEST_F(ScoreDisplay, PaintCopiesTheSurfaceToTheWindow) {
    ShowWindow(parent, SW_SHOW);
    ShowAtOnce(281);
    UpdateWindow(display);
    HDC dc = GetDC(display);
    EXPECT_EQ(ReadSevenSegmentText(dc), "281");
    ReleaseDC(display, dc);
}

TEST_F(ScoreDisplay, CountsFromOneValueToTheNextAndSettlesOnce) {
    ShowAtOnce(100);
    ASSERT_EQ(Settled(), 1u);
    Send(DSBM_SETSPEED, 30);
    DWORD start = timeGetTime();
    Send(DSBM_SETVALUE, 130);
    EXPECT_NE(Record()->timer_id, 0u);
    EXPECT_EQ(Record()->previous, 100);
    EXPECT_EQ(ReadDisplay(display), "100"); // nothing drawn until the first tick
    EXPECT_EQ(Settled(), 1u);

    std::vector<std::string> figures;
    ASSERT_TRUE(PumpTicks(1, &figures));
    EXPECT_EQ(Send(DSBM_GETVALUE), 130); // the end point, not the figure on screen
    ASSERT_TRUE(PumpUntilSettled(2, &figures));

    const SettleRecord &settle = GetParentLog().settled[1];
    EXPECT_EQ(settle.display, display);
    EXPECT_EQ(settle.shown, "130");
    EXPECT_GE(settle.at - start, 990u) << "30 units at 30 per second take a second";
    EXPECT_LT(settle.at - start, 10000u);
    EXPECT_EQ(Record()->timer_id, 0u);

    // However the ticks fell, the figures never go back and end on the value.
    int last = 100;
    for (const std::string &f : figures) {
        ASSERT_TRUE(IsNumber(f)) << "'" << f << "'";
        int n = Number(f);
        EXPECT_GE(n, last) << "a count upwards never goes back";
        EXPECT_LE(n, 130);
        last = n;
    }
    EXPECT_EQ(figures.back(), "130");

    PumpFor(200);
    EXPECT_EQ(Settled(), 2u) << "one notification per count";
}

// The figure at a tick follows the time since the count began: the test
// moves the start of the count back just before a tick is handled, and
// allows for the milliseconds a busy machine lets pass before the tick
// reads the clock.
TEST_F(ScoreDisplay, FigureIsLinearInElapsedTimeOverTheDuration) {
    struct Case {
        int from, to, speed;
        DWORD elapsed_ms;
        int shown; // worked by hand, at exactly elapsed_ms
    } cases[] = {
        {100, 130, 30, 500, 115},                          // 1000 ms in all
        {130, 100, 30, 450, 116}, {0, 250, 60, 2083, 125}, // 4166 ms in all
        {0, 250, 60, 4150, 249},  {-5, 5, 10, 250, -2},    // -2.5 truncates toward zero
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FigureAt(c.from, c.to, c.speed, c.elapsed_ms), c.shown);
        ShowAtOnce(c.from);
        Send(DSBM_SETSPEED, Arg(c.speed));
        Send(DSBM_SETVALUE, Arg(c.to));
        std::vector<std::string> figures;
        DWORD slack = 0;
        ASSERT_TRUE(PumpTickAt(c.elapsed_ms, &figures, &slack));
        ASSERT_FALSE(figures.empty());
        ExpectFigureWithin(figures.front(), c.from, c.to, c.speed, c.elapsed_ms, slack);
    }
    // The count is over once the whole duration has passed, not before.
    size_t before = Settled();
    bool settled = PumpCount([&] { return Settled() > before; }, nullptr, nullptr,
                             [&] { Record()->start_time = timeGetTime() - 1000; });
    ASSERT_TRUE(settled);
    EXPECT_EQ(GetParentLog().settled.back().shown, "  5");
}

TEST_F(ScoreDisplay, SameValueAgainSettlesAtTheFirstTick) {
    ShowAtOnce(100);
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 100);
    EXPECT_EQ(Settled(), 1u);
    int ticks = 0;
    std::vector<std::string> figures;
    ASSERT_TRUE(PumpUntilSettled(2, &figures, &ticks));
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(GetParentLog().settled[1].shown, "100");
    EXPECT_EQ(Record()->timer_id, 0u);
}

TEST_F(ScoreDisplay, NewValueMidCountRestartsFromThePreviousEndPoint) {
    ShowAtOnce(100);
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 130);
    std::vector<std::string> seen;
    DWORD slack = 0;
    ASSERT_TRUE(PumpTickAt(500, &seen, &slack)); // halfway: 115
    ExpectFigureWithin(seen.back(), 100, 130, 30, 500, slack);

    Send(DSBM_SETVALUE, 110);
    EXPECT_EQ(Record()->previous, 130);
    EXPECT_EQ(Send(DSBM_GETVALUE), 110);
    std::vector<std::string> figures;
    ASSERT_TRUE(PumpTickAt(0, &figures, &slack));
    // From the old end point, not from where the figures stood.
    ExpectFigureWithin(figures.front(), 130, 110, 30, 0, slack);
    ASSERT_TRUE(PumpUntilSettled(2, &figures));
    int last = 130;
    for (const std::string &f : figures) {
        ASSERT_TRUE(IsNumber(f)) << "'" << f << "'";
        EXPECT_LE(Number(f), last) << "then counts down";
        EXPECT_GE(Number(f), 110);
        last = Number(f);
    }
    EXPECT_EQ(GetParentLog().settled[1].shown, "110");
    PumpFor(300);
    EXPECT_EQ(Settled(), 2u) << "the replaced count never settles";
}

TEST_F(ScoreDisplay, BlankDuringACountShowsDashesAndStillSettles) {
    ShowAtOnce(100);
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 130);
    std::vector<std::string> figures;
    DWORD slack = 0;
    ASSERT_TRUE(PumpTickAt(300, &figures, &slack)); // 109
    ExpectFigureWithin(figures.back(), 100, 130, 30, 300, slack);

    Send(DSBM_SETBLANK, 1);
    EXPECT_EQ(ReadDisplay(display), figures.back()) << "the count draws from its next tick on";
    figures.clear();
    ASSERT_TRUE(PumpUntilSettled(2, &figures));
    for (const std::string &f : figures)
        EXPECT_EQ(f, "---");
    EXPECT_EQ(GetParentLog().settled[1].shown, "---");
    EXPECT_EQ(Send(DSBM_GETVALUE), 130);
    Send(DSBM_SETBLANK, 0);
    EXPECT_EQ(ReadDisplay(display), "130");
}

TEST_F(ScoreDisplay, ParentBlankingInItsSettleHandlerTakesEffectAtOnce) {
    ShowAtOnce(100);
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 115);
    GetParentLog().answer = ANSWER_BLANK;
    ASSERT_TRUE(PumpUntilSettled(2));
    EXPECT_EQ(GetParentLog().settled[1].shown, "115");
    // The count had ended before the parent heard of it, so the blank drew at once.
    EXPECT_EQ(ReadDisplay(display), "---");
    PumpFor(200);
    EXPECT_EQ(ReadDisplay(display), "---");
    EXPECT_EQ(Settled(), 2u);
}

TEST_F(ScoreDisplay, ParentMayDestroyTheDisplayInItsSettleHandler) {
    GetParentLog().answer = ANSWER_DESTROY;
    Send(DSBM_SETSPEED, 60);
    Send(DSBM_SETVALUE, 0);
    ASSERT_TRUE(PumpUntilSettled(1));
    EXPECT_FALSE(IsWindow(display));

    display = CreateTestDisplay(parent, DISPLAY_ID);
    EXPECT_EQ(Send(DSBM_SETVALUE, 9), 0); // shown at once, destroyed inside the send
    EXPECT_FALSE(IsWindow(display));
    EXPECT_EQ(Settled(), 2u);
    PumpFor(100);
}

// Destroying a display mid-count, with ticks possibly still queued.
TEST_F(ScoreDisplay, DestroyedMidCountSendsNothingAndFreesItsSurface) {
    struct Case {
        int ticks_first;
        DWORD sleep_ms; // lets the timer queue ticks that are never handled
    } cases[] = {{0, 0}, {0, 100}, {3, 0}, {3, 100}};
    for (const Case &c : cases) {
        HWND d = CreateTestDisplay(parent, DISPLAY_ID + 1);
        SendMessageA(d, DSBM_SETSPEED, 60, 0);
        SendMessageA(d, DSBM_SETVALUE, 200, 0);
        int seen = 0;
        ASSERT_TRUE(PumpUntil([&] { return seen >= c.ticks_first; }, 10000,
                              [&](const MSG &msg) { seen += IsLiveTickFor(msg, d); }));
        Sleep(c.sleep_ms);
        DsbData *data = DisplayRecord(d);
        HDC mem_dc = data->mem_dc;
        HBITMAP mem_bitmap = data->mem_bitmap;
        UINT timer_id = data->timer_id;
        ASSERT_NE(timer_id, 0u);
        DestroyWindow(d);
        EXPECT_FALSE(IsWindow(d));
        EXPECT_EQ(timeKillEvent(timer_id), static_cast<MMRESULT>(TIMERR_NOCANDO)) << "timer killed";
        EXPECT_EQ(GetObjectType(mem_dc), 0u) << "memory DC freed";
        EXPECT_EQ(GetObjectType(mem_bitmap), 0u) << "bitmap freed";
        PumpFor(300);
        EXPECT_EQ(Settled(), 0u);
    }
}

TEST_F(ScoreDisplay, ClosingTheParentMidCountSendsNothing) {
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 250);
    ASSERT_TRUE(PumpTicks(2));
    UINT timer_id = Record()->timer_id;
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(display));
    EXPECT_EQ(timeKillEvent(timer_id), static_cast<MMRESULT>(TIMERR_NOCANDO)) << "timer killed";
    PumpFor(300);
    EXPECT_EQ(Settled(), 0u);
}

TEST_F(ScoreDisplay, StaleTicksAreIgnored) {
    ShowAtOnce(100);
    // At rest: a tick of no timer at all.
    PostMessageA(display, DSBM_TICK, 4242, 0);
    PumpFor(50);
    EXPECT_EQ(ReadDisplay(display), "100");
    EXPECT_EQ(Settled(), 1u);

    // Restarted: the old timer's ticks do nothing to the new count.
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 130);
    UINT old_id = Record()->timer_id;
    ASSERT_NE(old_id, 0u);
    Send(DSBM_SETVALUE, 130); // same value: the new count ends at its first tick
    UINT new_id = Record()->timer_id;
    ASSERT_NE(new_id, 0u);
    ASSERT_NE(new_id, old_id);
    Record()->start_time = timeGetTime() - 5000; // would end any count it touched
    Send(DSBM_TICK, old_id);
    EXPECT_EQ(Record()->timer_id, new_id);
    EXPECT_EQ(Settled(), 1u);
    EXPECT_EQ(ReadDisplay(display), "100");
    ASSERT_TRUE(PumpUntilSettled(2));

    // Settled: neither id does anything any more.
    Send(DSBM_TICK, old_id);
    Send(DSBM_TICK, new_id);
    PumpFor(100);
    EXPECT_EQ(Settled(), 2u);
    EXPECT_EQ(ReadDisplay(display), "130");
}

TEST_F(ScoreDisplay, SpeedsThatCannotCountShowValuesAtOnce) {
    for (int speed : {0, -2, INT_MIN}) {
        size_t before = Settled();
        Send(DSBM_SETSPEED, Arg(speed));
        Send(DSBM_SETVALUE, 42);
        EXPECT_EQ(Send(DSBM_GETSPEED), speed);
        EXPECT_EQ(ReadDisplay(display), " 42") << speed;
        EXPECT_EQ(Settled(), before + 1) << speed;
        EXPECT_EQ(Record()->timer_id, 0u) << speed;
        Send(DSBM_SETVALUE, 17);
    }
}

TEST_F(ScoreDisplay, SpeedDroppedMidCountEndsTheCountAtItsEndPoint) {
    for (int speed : {0, -1}) {
        ShowAtOnce(100);
        size_t before = Settled();
        Send(DSBM_SETSPEED, 30);
        Send(DSBM_SETVALUE, 130);
        ASSERT_TRUE(PumpTickAt(100));
        Send(DSBM_SETSPEED, Arg(speed)); // the count itself is not touched...
        EXPECT_NE(Record()->timer_id, 0u);
        int ticks = 0;
        ASSERT_TRUE(PumpUntilSettled(before + 1, nullptr, &ticks));
        EXPECT_EQ(ticks, 1) << "...but its next tick ends it, speed " << speed;
        EXPECT_EQ(GetParentLog().settled.back().shown, "130");
    }
}

TEST_F(ScoreDisplay, ValueShownAtOnceEndsARunningCount) {
    ShowAtOnce(100);
    Send(DSBM_SETSPEED, 30);
    Send(DSBM_SETVALUE, 130);
    ASSERT_TRUE(PumpTickAt(100));
    Send(DSBM_SETSPEED, Arg(-1));
    Send(DSBM_SETVALUE, 7);
    EXPECT_EQ(Record()->timer_id, 0u);
    EXPECT_EQ(ReadDisplay(display), "  7");
    ASSERT_EQ(Settled(), 2u);
    EXPECT_EQ(GetParentLog().settled[1].shown, "  7");
    PumpFor(1300); // longer than the abandoned count would have run
    EXPECT_EQ(ReadDisplay(display), "  7");
    EXPECT_EQ(Settled(), 2u);
}

TEST_F(ScoreDisplay, MessagesWithoutARecordDoNothing) {
    ShowWindow(parent, SW_SHOW); // so that invalidating really asks for a paint
    ShowAtOnce(888);
    Send(DSBM_SETSPEED, 30);
    DsbData *data = Record();
    RemovePropA(display, DSB_PROP_NAME);

    EXPECT_EQ(Send(DSBM_SETVALUE, 111), 0);
    EXPECT_EQ(Send(DSBM_SETSPEED, 5), 0);
    EXPECT_EQ(Send(DSBM_SETBLANK, 1), 0);
    EXPECT_EQ(Send(DSBM_TICK, 1), 0);
    EXPECT_EQ(Send(DSBM_GETVALUE), 0);
    EXPECT_EQ(Send(DSBM_GETSPEED), 0);
    EXPECT_EQ(Send(DSBM_GETBLANK), 0);
    // Painting still validates the window, so no paint loop starts.
    InvalidateRect(display, nullptr, TRUE);
    ASSERT_TRUE(GetUpdateRect(display, nullptr, FALSE));
    UpdateWindow(display);
    EXPECT_FALSE(GetUpdateRect(display, nullptr, FALSE));
    PumpFor(100);

    EXPECT_EQ(data->value, 888);
    EXPECT_EQ(data->speed, 30);
    EXPECT_EQ(data->blank, 0);
    EXPECT_EQ(data->timer_id, 0u);
    EXPECT_EQ(ReadSevenSegmentText(data->mem_dc), "888");
    EXPECT_EQ(Settled(), 1u);
    SetPropA(display, DSB_PROP_NAME, data);
}

// Many displays in a row, destroyed before, during and after their counts.
TEST(ScoreDisplayStress, ManyDisplaysCreatedCountedAndDestroyed) {
    GetParentLog().settled.clear();
    GetParentLog().answer = ANSWER_NOTHING;
    HWND parent = CreateTestParent();
    ASSERT_NE(parent, nullptr);
    const int rounds = 240;
    size_t expected = 0;
    for (int i = 0; i < rounds; ++i) {
        HWND d = CreateTestDisplay(parent, 3000 + i % 7);
        ASSERT_NE(DisplayRecord(d), nullptr) << "round " << i;
        SendMessageA(d, DSBM_SETSPEED, 200 + i % 3 * 100, 0);
        // Rounds that must still be counting after a tick count far; the others count 0..4.
        SendMessageA(d, DSBM_SETVALUE, i % 3 == 1 ? 100 + i % 5 : i % 5, 0);
        switch (i % 3) {
        case 0: break; // destroyed before its first tick
        case 1: {
            int seen = 0;
            ASSERT_TRUE(PumpUntil([&] { return seen >= 1; }, 10000,
                                  [&](const MSG &msg) { seen += IsLiveTickFor(msg, d); }));
            break;
        }
        case 2:
            ++expected;
            ASSERT_TRUE(PumpUntil([&] { return GetParentLog().settled.size() >= expected; }));
            break;
        }
        DestroyWindow(d);
        ASSERT_FALSE(IsWindow(d));
    }
    PumpFor(300);
    ASSERT_EQ(GetParentLog().settled.size(), expected);
    for (const SettleRecord &s : GetParentLog().settled)
        EXPECT_FALSE(IsWindow(s.display));
    DestroyWindow(parent);
}

} // namespace
