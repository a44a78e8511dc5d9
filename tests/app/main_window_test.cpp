// The main window itself: its classes and geometry, the routing of scroll
// bars, colours and display notifications, and quitting.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "dsb/score_display.h"
#include "tests/support/main_window_fixture.h"

#include <gtest/gtest.h>

namespace {

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, ClientAreaIs500By300WithoutSizingOrMaximise) {
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 500);
    EXPECT_EQ(client.bottom - client.top, 300);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Kestrune Ver1.1");
}

// The program's own registration of both classes, not the logging wrapper
// that the other cases put in place of the display class: one description,
// only the procedure and the name changed for the second class.
TEST(MainWindowClasses, BothClassesShareOneDescription) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Cases run in one process leave the wrapper registered; no window of it
    // is left, so it can go.
    UnregisterClassA(DSB_CLASS_NAME, instance);
    RegisterWindowClasses(instance);
    const struct {
        const char *name;
        WNDPROC procedure;
    } classes[] = {{"WndClass_adapt_mp", MainWindowProc}, {"WndClass_DSB", DisplayWindowProc}};
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    ASSERT_NE(icon, nullptr);
    for (const auto &expected : classes) {
        SCOPED_TRACE(expected.name);
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        ASSERT_TRUE(GetClassInfoExA(instance, expected.name, &wc));
        EXPECT_EQ(wc.lpfnWndProc, expected.procedure);
        EXPECT_EQ(wc.style, 0x000Bu);
        EXPECT_EQ(wc.cbClsExtra, 0);
        EXPECT_EQ(wc.cbWndExtra, 0);
        EXPECT_EQ(wc.hInstance, instance);
        EXPECT_EQ(wc.hIcon, icon);
        EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
        EXPECT_EQ(wc.lpszMenuName, nullptr);
    }
}

TEST_F(MainWindowTest, CreationLeavesTheTitleScreenAndTheDefaultVolume) {
    EXPECT_EQ(state->main_window, window);
    EXPECT_EQ(state->screen, ScreenTitle);
    EXPECT_EQ(state->volume, 90);
}

struct ScrollCase {
    int start; // below the bar's maximum when from_max
    bool from_max;
    int code;
    int thumb;
    // Expected position as a function of the bar: page step and maximum.
    int (*expected)(int start, int page, int max);
};

const ScrollCase kScrollCases[] = {
    {50, false, SB_LINELEFT, 0, [](int s, int, int) { return s - 1; }},
    {50, false, SB_LINERIGHT, 0, [](int s, int, int) { return s + 1; }},
    {50, false, SB_PAGELEFT, 0, [](int s, int p, int) { return s - p; }},
    {50, false, SB_PAGERIGHT, 0, [](int s, int p, int) { return s + p; }},
    {50, false, SB_THUMBPOSITION, 77, [](int, int, int) { return 77; }},
    {50, false, SB_THUMBTRACK, 33, [](int, int, int) { return 33; }},
    {50, false, SB_LEFT, 0, [](int, int, int) { return 0; }},
    {50, false, SB_RIGHT, 0, [](int, int, int m) { return m; }},
    {50, false, SB_ENDSCROLL, 0, [](int s, int, int) { return s; }},
    {50, false, 9, 0, [](int s, int, int) { return s; }},
    {0, false, SB_LINELEFT, 0, [](int, int, int) { return 0; }},
    {5, false, SB_PAGELEFT, 0, [](int, int, int) { return 0; }},
    {0, true, SB_LINERIGHT, 0, [](int, int, int m) { return m; }},
    {5, true, SB_PAGERIGHT, 0, [](int, int, int m) { return m; }},
    {50, false, SB_THUMBTRACK, 0xFFFF, [](int, int, int m) { return m; }}, // unsigned high word
    {50, false, SB_THUMBPOSITION, 250, [](int, int, int m) { return m < 250 ? m : 250; }},
};

struct SliderCase {
    int id;
    int page;
    int max;
};

TEST_F(MainWindowTest, ScrollBarsFollowTheirTable) {
    Click(window, ID_START);
    for (SliderCase bar :
         {SliderCase{ID_PITCH_SLIDER, 20, 200}, SliderCase{ID_VOLUME_SLIDER, 10, 100}}) {
        HWND control = GetDlgItem(window, bar.id);
        ASSERT_NE(control, nullptr);
        for (const ScrollCase &c : kScrollCases) {
            int start = c.from_max ? bar.max - c.start : c.start;
            SetScrollPos(control, SB_CTL, start, TRUE);
            state->slider_pos = -7;
            state->volume = -7;
            Scroll(window, bar.id, c.code, c.thumb);
            int want = c.expected(start, bar.page, bar.max);
            SCOPED_TRACE(::testing::Message() << "bar " << bar.id << " start " << start << " code "
                                              << c.code << " thumb " << c.thumb);
            EXPECT_EQ(GetScrollPos(control, SB_CTL), want);
            if (bar.id == ID_PITCH_SLIDER) {
                EXPECT_EQ(state->slider_pos, want);
                EXPECT_EQ(state->volume, -7);
            } else {
                EXPECT_EQ(state->volume, want);
                EXPECT_EQ(state->slider_pos, -7);
            }
        }
    }
}

TEST_F(MainWindowTest, OtherScrollBarsStoreNothing) {
    HWND other = CreateWindowExA(0, "ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0,
                                 100, 20, window, reinterpret_cast<HMENU>(4242), nullptr, nullptr);
    SetScrollRange(other, SB_CTL, 0, 100, TRUE);
    SetScrollPos(other, SB_CTL, 40, TRUE);
    state->slider_pos = 11;
    state->volume = 12;
    Scroll(window, 4242, SB_PAGERIGHT);
    EXPECT_EQ(GetScrollPos(other, SB_CTL), 40);
    EXPECT_EQ(state->slider_pos, 11);
    EXPECT_EQ(state->volume, 12);
    // A scroll message without a control is the window's own bar: ignored.
    SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(state->slider_pos, 11);
    EXPECT_EQ(state->volume, 12);
}

TEST_F(MainWindowTest, RadioRowsAskForTheirRowsBrush) {
    Click(window, ID_START);
    HBRUSH saved_high = state->brush_high;
    HBRUSH saved_low = state->brush_low;
    HBRUSH high = CreateSolidBrush(0x00CCCCFF);
    HBRUSH low = CreateSolidBrush(0x00FFD6AC);
    state->brush_high = high;
    state->brush_low = low;
    HDC dc = GetDC(window);
    auto brush_for = [&](int id) {
        return reinterpret_cast<HBRUSH>(
            SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, id))));
    };
    for (int id : {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C}) {
        EXPECT_EQ(brush_for(id), high) << id;
    }
    for (int id : {ID_LOW_A, ID_LOW_B, ID_LOW_C}) {
        EXPECT_EQ(brush_for(id), low) << id;
    }
    for (int id : {ID_PLAY_A, ID_DECIDE, ID_VOLUME_SLIDER}) {
        EXPECT_EQ(brush_for(id), nullptr) << id;
    }
    ReleaseDC(window, dc);
    state->brush_high = saved_high;
    state->brush_low = saved_low;
    DeleteObject(high);
    DeleteObject(low);
}

TEST_F(MainWindowTest, SettledScoreDisplayBlanksFromTheSixthTrial) {
    Click(window, ID_START);
    HWND display = GetDlgItem(window, ID_SCORE_DISPLAY);
    for (int trial : {0, 5, 6, 9}) {
        state->trial = trial;
        ClearDisplayLog();
        SendMessageA(window, DSBN_SETTLED, reinterpret_cast<WPARAM>(display), 0);
        std::vector<DisplayMessage> sent = DisplayMessagesFor(ID_SCORE_DISPLAY);
        if (trial > 5) {
            ASSERT_EQ(sent.size(), 1u) << trial;
            EXPECT_EQ(sent[0].message, DSBM_SETBLANK);
            EXPECT_EQ(sent[0].wparam, 1u);
        } else {
            EXPECT_TRUE(sent.empty()) << trial;
        }
        EXPECT_EQ(state->results_revealed, 0);
    }
}

TEST_F(MainWindowTest, SettledFinalDisplayRevealsTheResults) {
    Click(window, ID_START);
    for (int t = 0; t < 10; ++t) {
        Click(window, ID_DECIDE);
    }
    ASSERT_EQ(state->screen, ScreenResult);
    EXPECT_EQ(state->results_revealed, 0);
    SendMessageA(window, DSBN_SETTLED,
                 reinterpret_cast<WPARAM>(GetDlgItem(window, ID_FINAL_DISPLAY)), 0);
    EXPECT_EQ(state->results_revealed, 1);
}

// Every way out saves the volume the user set, and ends the message loop with 0.
enum class Exit { TitleQuit, ResultQuit, CloseButton };

TEST_F(MainWindowTest, EveryWayOutSavesTheVolume) {
    for (Exit way : {Exit::TitleQuit, Exit::ResultQuit, Exit::CloseButton}) {
        if (!IsWindow(window)) {
            window = OpenMainWindow();
            state = GetAppState();
        }
        DeleteFileA(scratch.File("Settings.ini").c_str());
        Click(window, ID_START);
        Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 37 + static_cast<int>(way));
        if (way == Exit::TitleQuit) {
            for (int t = 0; t < 10; ++t) {
                Click(window, ID_DECIDE);
            }
            Click(window, ID_BACK);
            Click(window, ID_QUIT);
        } else if (way == Exit::ResultQuit) {
            for (int t = 0; t < 10; ++t) {
                Click(window, ID_DECIDE);
            }
            Click(window, ID_RESULT_QUIT);
        } else {
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        EXPECT_FALSE(IsWindow(window));
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(
            GetPrivateProfileIntA("Settings", "Volume", -1, scratch.File("Settings.ini").c_str()),
            37u + static_cast<unsigned>(way));
    }
}

} // namespace
