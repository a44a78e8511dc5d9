// The main window at other display scales, in this process: every screen at
// the scale of the run's Wine prefix (96, 120, 144 or 192 dpi) against the
// 100 % run's pictures, and WM_DPICHANGED in every state of a test.
#include "app/controls.h"
#include "app/main_window.h"
#include "dsb/score_display.h"
#include "engine/random.h"
#include "render/screen_paint.h"
#include "tests/support/screen_check.h"
#include "tests/support/answers.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/picture.h"
#include "tests/support/screen_controls.h"
#include "tests/support/seven_segment.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;

// How a screen at another scale, scaled down to 500 x 300, is held against
// the 100 % one (CompareTiles): in squares of 20 pixels, each matched within
// 4 pixels either way, no square's mean colour may differ by more than 40 in
// any channel. What a right drawing cannot match: texts are drawn with fonts
// of the scaled height, whose glyphs do not scale in proportion (a line of
// the 18-pixel font is 421 pixels long at 100 %, 388 at 200 % scaled down,
// so its ends stand up to 17 pixels from the 100 % ones); one-pixel edges of
// buttons and bands stay one pixel wide; and every scaled edge rounds to a
// whole pixel. Over the five screens at the three scales that leaves at most
// 33. What the test must catch gives 49 and more: a control, a text or the
// table's bands left at their 100 % places (49 to 131), or one band drawn 8
// pixels (at 100 %) low (47 to 51). A control nudged by a few pixels is
// below it (a light button on a light background moves little colour); the
// exact rectangles are held by the tests of the controls' places.
constexpr int SCALE_TILE = 20;
constexpr int SCALE_SHIFT = 4;
constexpr int SCALE_TOLERANCE = 40;

// The scale this run's prefix was made for (tools/wine-env.sh).
int PrefixDpi() {
    const char *dpi = getenv("KESTRUNE_WINE_DPI");
    return dpi != nullptr && dpi[0] != 0 ? atoi(dpi) : 96;
}

// 500 x 300 times dpi / 96, worked by hand.
struct ClientSize {
    int dpi, width, height;
};
const ClientSize kClientSizes[] = {
    {96, 500, 300}, {120, 625, 375}, {144, 750, 450}, {192, 1000, 600}};

const ClientSize *ClientSizeAt(int dpi) {
    for (const ClientSize &size : kClientSizes) {
        if (size.dpi == dpi) {
            return &size;
        }
    }
    return nullptr;
}

SIZE ClientOf(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// Pumps until the score display `id` has no count running.
bool WaitForCountEnd(HWND window, int id) {
    HWND display = GetDlgItem(window, id);
    return PumpUntil(
        [display] {
            DsbData *data = DisplayRecord(display);
            return data != nullptr && data->timer_id == 0;
        },
        COUNT_TIMEOUT_MS);
}

std::string ShotFolder() {
    return WindowsPath(KESTRUNE_SCALE_SHOTS);
}

// One screen as the window showed it, and the figures its score display
// must show and showed.
struct Shot {
    std::string name;
    Picture picture;
    std::string display_text;
    std::string display_read;
};

class DisplayScaleTest : public MainWindowFixture {
  protected:
    void Take(const char *name, int display_id, const std::string &display_text) {
        PumpPending();
        Picture picture = CaptureClient(window);
        std::string read = display_id != 0 ? ReadDisplayIn(picture, window, display_id) : "";
        shots.push_back({name, picture, display_text, read});
    }
    std::vector<Shot> shots;
};

// A plan drawn from a fixed seed and answered the same way in every run, so
// that every run shows the same screens: the 100 % run keeps them, and the
// runs at other scales hold theirs, scaled down, against them.
TEST_F(DisplayScaleTest, EveryScreenAtThisScaleIsTheHundredPercentOneScaled) {
    int dpi = PrefixDpi();
    ASSERT_EQ(state->dpi, dpi) << "the window takes its prefix's DPI";
    const ClientSize *size = ClientSizeAt(dpi);
    ASSERT_NE(size, nullptr) << "no worked client size for " << dpi << " dpi";
    SIZE client = ClientOf(window);
    EXPECT_EQ(client.cx, size->width);
    EXPECT_EQ(client.cy, size->height);
    // All of the window on the screen (at 192 dpi it nearly fills Xvfb's 1024 x 768).
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    Take("title", 0, "");
    SeedRandom(20261210);
    Click(window, ID_START);
    ASSERT_TRUE(WaitForCountEnd(window, ID_SCORE_DISPLAY));
    MarkAnswer(window, state, true);
    Take("comparison", ID_SCORE_DISPLAY, "100");
    const bool right[TRIAL_COUNT] = {true, true, false, true, false, true, true, true, true, true};
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        if (t == 3) {
            ASSERT_TRUE(WaitForCountEnd(window, ID_SCORE_DISPLAY));
            MarkAnswer(window, state, right[t]);
            Take("matching", ID_SCORE_DISPLAY, DisplayText(state->score));
        }
        AnswerAndDecide(window, state, right[t]);
    }
    ASSERT_TRUE(PumpUntil([this] { return state->results_revealed != 0; }, COUNT_TIMEOUT_MS));
    Take("result", ID_FINAL_DISPLAY, DisplayText(state->score));
    // Before the reveal the table is empty; the display already shows the
    // final figure, as at the count's last tick.
    state->results_revealed = 0;
    ComposeScreen(state);
    InvalidateRect(window, nullptr, TRUE);
    Take("result-hidden", ID_FINAL_DISPLAY, DisplayText(state->score));
    state->results_revealed = 1;

    for (const Shot &shot : shots) {
        SCOPED_TRACE(shot.name);
        ASSERT_EQ(shot.picture.width, size->width);
        EXPECT_EQ(shot.display_read, shot.display_text) << "the score display read at its scale";
        std::string path = ShotFolder() + "\\" + shot.name + ".bmp";
        if (dpi == 96) {
            CreateDirectoryA(ShotFolder().c_str(), nullptr);
            ASSERT_TRUE(SavePicture(shot.picture, path)) << path;
            continue;
        }
        Picture full;
        ASSERT_TRUE(LoadPicture(path, &full)) << "no 100 % picture: " << path;
        Picture small = ScaleDown(shot.picture, PICTURE_WIDTH, PICTURE_HEIGHT);
        TileComparison comparison = CompareTiles(full, small, SCALE_TILE, SCALE_SHIFT);
        printf("  %s at %d dpi: squares off by more than %d: %d; largest %d at (%d, %d)\n",
               shot.name.c_str(), dpi, SCALE_TOLERANCE, comparison.over(SCALE_TOLERANCE),
               comparison.largest, comparison.largest_x * SCALE_TILE,
               comparison.largest_y * SCALE_TILE);
        EXPECT_EQ(comparison.over(SCALE_TOLERANCE), 0)
            << "the screen scaled down is not the 100 % one";
        if (comparison.over(SCALE_TOLERANCE) != 0) {
            std::string stem = ShotFolder() + "\\" + shot.name + "-" + std::to_string(dpi);
            SavePicture(small, stem + "-small.bmp");
            SavePicture(shot.picture, stem + ".bmp");
        }
    }
}

// What a change of display scale must leave as it is, by name: the test's
// record, each control's visibility and mark, the scroll bars' positions and
// the score displays' value, blanking and speed.
typedef std::map<std::string, long long> KeptState;

KeptState Kept(HWND window, const AppState *state) {
    long long streak_bits = 0;
    memcpy(&streak_bits, &state->streak, sizeof streak_bits);
    KeptState k = {{"screen", state->screen},
                   {"trial", state->trial},
                   {"score", state->score},
                   {"chosen_high", state->chosen_high},
                   {"chosen_low", state->chosen_low},
                   {"slider_pos", state->slider_pos},
                   {"volume", state->volume},
                   {"results_revealed", state->results_revealed},
                   {"streak", streak_bits}};
    for (int id : ChildIds(window)) {
        std::string control = "control " + std::to_string(id);
        k[control + " shown"] = IsShown(window, id);
        k[control + " marked"] = SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0);
        k[control + " position"] = GetScrollPos(GetDlgItem(window, id), SB_CTL);
    }
    for (int id : {ID_SCORE_DISPLAY, ID_FINAL_DISPLAY}) {
        std::string display = "display " + std::to_string(id);
        for (UINT message : {DSBM_GETVALUE, DSBM_GETBLANK, DSBM_GETSPEED}) {
            k[display + " " + std::to_string(message)] =
                SendDlgItemMessageA(window, id, message, 0, 0);
        }
    }
    return k;
}

class DpiChangeTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_EQ(state->dpi, 96) << "these cases start at 100 %";
    }

    // WM_DPICHANGED as Windows sends it: the DPI in both halves of wParam,
    // and the window's rectangle at the new scale, its top left corner kept
    // and the frame it has now, or `outer` when given.
    void ChangeDpi(int dpi, SIZE outer = {0, 0}) {
        const ClientSize *size = ClientSizeAt(dpi);
        ASSERT_NE(size, nullptr);
        if (state->dpi == 96) {
            for (int id : ChildIds(window)) {
                rects_at_96[id] = ChildRect(window, id);
            }
        }
        RECT r;
        GetWindowRect(window, &r);
        SIZE client = ClientOf(window);
        if (outer.cx == 0) {
            outer.cx = size->width + (r.right - r.left - client.cx);
            outer.cy = size->height + (r.bottom - r.top - client.cy);
        }
        RECT suggested = {r.left + 7, r.top + 5, r.left + 7 + outer.cx, r.top + 5 + outer.cy};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT now;
        GetWindowRect(window, &now);
        EXPECT_EQ(now.left, suggested.left) << "the window goes where Windows suggests";
        EXPECT_EQ(now.top, suggested.top);
    }

    // The window drawn at `dpi`: the client area, every control's place and
    // font, the composed picture and what the screen shows outside the
    // controls.
    void ExpectDrawnAt(int dpi) {
        SCOPED_TRACE(::testing::Message() << dpi << " dpi");
        EXPECT_EQ(state->dpi, dpi);
        const ClientSize *size = ClientSizeAt(dpi);
        SIZE client = ClientOf(window);
        EXPECT_EQ(client.cx, size->width);
        EXPECT_EQ(client.cy, size->height);
        for (int id : ChildIds(window)) {
            SCOPED_TRACE(::testing::Message() << "control " << id);
            RECT have = ChildRect(window, id);
            if (dpi == 96) {
                ASSERT_TRUE(rects_at_96.count(id) != 0);
                EXPECT_TRUE(EqualRect(&have, &rects_at_96[id])) << "back where it was at 100 %";
            } else if (dpi == 144) {
                for (const PlacedControl &want : kControlRectsAt150) {
                    if (want.id == id) {
                        EXPECT_TRUE(EqualRect(&have, &want.rect))
                            << have.left << ", " << have.top << ", " << have.right << ", "
                            << have.bottom;
                    }
                }
            }
            HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(window, id, WM_GETFONT, 0, 0));
            if (font != nullptr) { // the score displays keep no font
                EXPECT_EQ(font, state->font_small);
                LOGFONTA lf = {};
                GetObjectA(font, sizeof lf, &lf);
                // 12 pixels at 100 %: 15 at 120 dpi, 18 at 144, 24 at 192.
                const int heights[][2] = {{96, 12}, {120, 15}, {144, 18}, {192, 24}};
                for (const auto &h : heights) {
                    if (h[0] == dpi) {
                        EXPECT_EQ(lf.lfHeight, h[1]);
                    }
                }
            }
        }
        ReferenceScreens reference;
        CreateReferenceScreens(&reference, dpi);
        Picture wanted = ComposeReference(&reference, *state, state->screen);
        DestroyReferenceScreens(&reference);
        Picture composed = ReadPicture(state->back_dc, 0, 0, size->width, size->height);
        EXPECT_EQ(CountDifferences(composed, wanted, {0, 0, size->width, size->height}), 0)
            << "the back buffer is not the screen composed at this scale";
        PumpPending();
        Picture shown = CaptureClient(window);
        EXPECT_EQ(CountDifferencesOutside(shown, wanted, VisibleChildRects(window)), 0)
            << "the window does not show it";
    }

    // What the score display `id` shows on the screen, read at its size.
    std::string Shows(int id) {
        PumpPending();
        return ReadDisplayIn(CaptureClient(window), window, id);
    }

    std::map<int, RECT> rects_at_96;
};

// The title screen to 150 % and back. The client area is what the scale
// makes it whatever rectangle comes with the message (here one far too
// small), and a DPI that is no display scale changes nothing.
TEST_F(DpiChangeTest, TitleScreenTo150AndBack) {
    KeptState before = Kept(window, state);
    ChangeDpi(144, {320, 200});
    ExpectDrawnAt(144);
    EXPECT_EQ(Kept(window, state), before);
    for (int nonsense : {0, 12, 481, 65535}) {
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(nonsense, nonsense), 0);
        EXPECT_EQ(state->dpi, 144) << nonsense;
    }
    ChangeDpi(96);
    ExpectDrawnAt(96);
    EXPECT_EQ(Kept(window, state), before);
}

// Minimised, the window takes its new size when it is restored.
TEST_F(DpiChangeTest, AMinimisedWindowIsRestoredAtTheNewScale) {
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    ASSERT_FALSE(IsIconic(window));
    ExpectDrawnAt(144);
}

// Answers marked, a tone on the device and the score counting from 100 to
// 130: the change touches none of it, and the count ends at its new size.
TEST_F(DpiChangeTest, MidTrialWithATonePlayingAndTheScoreCounting) {
    Click(window, ID_START);
    AnswerAndDecide(window, state, true);
    MarkAnswer(window, state, true);
    Click(window, ID_PLAY_B);
    ASSERT_EQ(state->playing, 1) << "a tone is on the device";
    DsbData *display = DisplayRecord(GetDlgItem(window, ID_SCORE_DISPLAY));
    ASSERT_NE(display->timer_id, 0u) << "the score is counting";
    ASSERT_TRUE(state->chosen_high != 0 && state->chosen_low != 0) << "both answers marked";
    KeptState before = Kept(window, state);

    ChangeDpi(144);
    EXPECT_EQ(state->playing, 1) << "the tone plays on";
    EXPECT_NE(display->timer_id, 0u) << "the count runs on";
    EXPECT_EQ(Kept(window, state), before);
    ASSERT_TRUE(WaitForCountEnd(window, ID_SCORE_DISPLAY));
    EXPECT_EQ(Shows(ID_SCORE_DISPLAY), "130") << "the count ends, drawn at the new size";
    ExpectDrawnAt(144);
    EXPECT_TRUE(WaitForToneEnd(state));

    ChangeDpi(96);
    ExpectDrawnAt(96);
    EXPECT_EQ(Shows(ID_SCORE_DISPLAY), "130");
    EXPECT_EQ(state->chosen_high, before["chosen_high"]);
    EXPECT_EQ(state->chosen_low, before["chosen_low"]);
}

// A matching trial with the slider moved, the volume changed and the score
// hidden (after the sixth trial), through three scales.
TEST_F(DpiChangeTest, MatchingTrialWithTheSliderMovedAndTheScoreHidden) {
    Click(window, ID_START);
    for (int t = 0; t < 9; ++t) {
        AnswerAndDecide(window, state, t % 2 == 0);
    }
    ASSERT_TRUE(WaitForCountEnd(window, ID_SCORE_DISPLAY));
    ASSERT_EQ(state->trial, 9);
    Scroll(window, ID_PITCH_SLIDER, SB_THUMBPOSITION, 137);
    Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 37);
    KeptState before = Kept(window, state);
    ASSERT_EQ(before["slider_pos"], 137);
    for (int dpi : {120, 192, 96}) {
        ChangeDpi(dpi);
        ExpectDrawnAt(dpi);
        EXPECT_EQ(Kept(window, state), before);
        EXPECT_EQ(Shows(ID_SCORE_DISPLAY), "---");
    }
}

// The result screen while the final count runs (nothing revealed yet), and
// after the reveal.
TEST_F(DpiChangeTest, ResultScreenBeforeAndAfterTheReveal) {
    Click(window, ID_START);
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        AnswerAndDecide(window, state, true);
    }
    ASSERT_EQ(state->screen, ScreenResult);
    ASSERT_EQ(state->results_revealed, 0);
    KeptState before = Kept(window, state);
    ChangeDpi(144);
    ExpectDrawnAt(144);
    EXPECT_EQ(Kept(window, state), before);
    ASSERT_TRUE(PumpUntil([this] { return state->results_revealed != 0; }, COUNT_TIMEOUT_MS));
    EXPECT_EQ(Shows(ID_FINAL_DISPLAY), DisplayText(state->score));
    ExpectDrawnAt(144);
    ChangeDpi(96);
    ExpectDrawnAt(96);
    EXPECT_EQ(Shows(ID_FINAL_DISPLAY), DisplayText(state->score));
}

} // namespace
