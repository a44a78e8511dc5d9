// The three screens, their controls and the walk through a whole test, on a
// real main window in this process.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/screens.h"
#include "dsb/score_display.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

// Every control as the requirements define it: class, label (code page 932),
// style, extended style, and place and size in the main window's client area.
struct ExpectedControl {
    int id;
    const char *class_name;
    const char *label; // "" for a control without a window text
    DWORD style;
    DWORD ex_style;
    int x, y, width, height;
};

const DWORD PUSH = 0x50000000;        // WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON
const DWORD RADIO = 0x50000009;       // WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON
const DWORD GROUP_RADIO = 0x50020009; // the same with WS_GROUP
const DWORD BAR = 0x50000000;         // WS_CHILD | WS_VISIBLE | SBS_HORZ
const DWORD DISPLAY = 0x50000000;     // WS_CHILD | WS_VISIBLE
const DWORD EDGE = 0x200;             // WS_EX_CLIENTEDGE

const ExpectedControl kControls[] = {
    {1000, "Button", "\x8A\x4A\x8E\x6E", PUSH, 0, 200, 255, 50, 30}, // 開始
    {1001, "Button", "\x8F\x49\x97\xB9", PUSH, 0, 250, 255, 50, 30}, // 終了
    {2000, "Button", "A", GROUP_RADIO, 0, 175, 105, 50, 30},
    {2001, "Button", "B", RADIO, 0, 225, 105, 50, 30},
    {2002, "Button", "C", RADIO, 0, 275, 105, 50, 30},
    {2003, "Button", "A", GROUP_RADIO, 0, 175, 165, 50, 30},
    {2004, "Button", "B", RADIO, 0, 225, 165, 50, 30},
    {2005, "Button", "C", RADIO, 0, 275, 165, 50, 30},
    {2006, "Button", "A", PUSH, 0, 175, 135, 50, 30},
    {2007, "Button", "B", PUSH, 0, 225, 135, 50, 30},
    {2008, "Button", "C", PUSH, 0, 275, 135, 50, 30},
    {2009, "ScrollBar", "", BAR, 0, 125, 105, 250, 20},
    {2010, "Button", "Target", PUSH, 0, 200, 135, 50, 30},
    {2011, "Button", "Play", PUSH, 0, 250, 135, 50, 30},
    {2012, "Button", "\x8C\x88\x92\xE8", PUSH, 0, 225, 210, 50, 30}, // 決定
    {2013, "WndClass_DSB", "", DISPLAY, EDGE, 375, 160, 102, 64},
    {2014, "ScrollBar", "", BAR, 0, 375, 270, 102, 20},
    {3000, "Button", "\x96\xDF\x82\xE9", PUSH, 0, 350, 255, 50, 30}, // 戻る
    {3001, "Button", "\x8F\x49\x97\xB9", PUSH, 0, 400, 255, 50, 30}, // 終了
    {3002, "WndClass_DSB", "", DISPLAY, EDGE, 300, 5, 102, 64},
};

// Each child of the window is the control of its id in the table above: its
// class, text, style (shown or hidden aside), extended style, place and size.
void ExpectControlsAsDefined(HWND window) {
    for (int id : ChildIds(window)) {
        SCOPED_TRACE(::testing::Message() << "control " << id);
        const ExpectedControl *want = nullptr;
        for (const ExpectedControl &row : kControls) {
            want = row.id == id ? &row : want;
        }
        ASSERT_NE(want, nullptr) << "a control the requirements do not have";
        HWND control = GetDlgItem(window, id);
        char class_name[64] = {};
        GetClassNameA(control, class_name, sizeof class_name);
        EXPECT_EQ(lstrcmpiA(class_name, want->class_name), 0) << class_name;
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        EXPECT_STREQ(text, want->label);
        DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        EXPECT_EQ(style | WS_VISIBLE, want->style) << std::hex << style;
        DWORD ex_style = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
        EXPECT_EQ(ex_style, want->ex_style) << std::hex << ex_style;
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
        EXPECT_EQ(rect.left, want->x);
        EXPECT_EQ(rect.top, want->y);
        EXPECT_EQ(rect.right - rect.left, want->width);
        EXPECT_EQ(rect.bottom - rect.top, want->height);
    }
}

class ScreensTest : public MainWindowFixture {
  protected:
    void Decide() { Click(window, ID_DECIDE); }
    void ExpectTrialKind(bool comparison) {
        for (int id : kComparisonOnlyIds) {
            EXPECT_EQ(IsShown(window, id), comparison)
                << "control " << id << " at trial " << state->trial;
        }
        for (int id : kMatchingOnlyIds) {
            EXPECT_EQ(IsShown(window, id), !comparison)
                << "control " << id << " at trial " << state->trial;
        }
        for (int id : kAlwaysOnTestIds) {
            EXPECT_TRUE(IsShown(window, id)) << "control " << id << " at trial " << state->trial;
        }
    }
};

// All twenty controls, on the three screens that carry them.
TEST_F(ScreensTest, EveryControlIsAsTheRequirementsDefineIt) {
    ASSERT_EQ(ChildIds(window), kTitleScreenIds);
    ExpectControlsAsDefined(window);
    Click(window, ID_START);
    ASSERT_EQ(ChildIds(window), kTestScreenIds);
    ExpectControlsAsDefined(window);
    for (int t = 0; t < 10; ++t) {
        Decide();
    }
    ASSERT_EQ(ChildIds(window), kResultScreenIds);
    ExpectControlsAsDefined(window);
}

TEST_F(ScreensTest, StartBuildsFifteenControlsInGroupOrder) {
    Click(window, ID_START);
    EXPECT_EQ(state->screen, ScreenTest);
    EXPECT_EQ(state->trial, 0);
    EXPECT_EQ(state->score, 100);
    EXPECT_EQ(ChildIds(window), kTestScreenIds);
    ExpectTrialKind(true);
    // A fresh test: no picks, both sliders where they start.
    EXPECT_EQ(state->chosen_high, 0);
    EXPECT_EQ(state->chosen_low, 0);
    EXPECT_EQ(state->slider_pos, 0);
    EXPECT_EQ(GetScrollPos(GetDlgItem(window, ID_PITCH_SLIDER), SB_CTL), 0);
    EXPECT_EQ(GetScrollPos(GetDlgItem(window, ID_VOLUME_SLIDER), SB_CTL), state->volume);
    int lo = -1, hi = -1;
    GetScrollRange(GetDlgItem(window, ID_PITCH_SLIDER), SB_CTL, &lo, &hi);
    EXPECT_EQ(hi, 200);
    GetScrollRange(GetDlgItem(window, ID_VOLUME_SLIDER), SB_CTL, &lo, &hi);
    EXPECT_EQ(hi, 100);
}

TEST_F(ScreensTest, StartSetsTheScoreDisplayInstantlyThenForCounting) {
    ClearDisplayLog();
    Click(window, ID_START);
    std::vector<DisplayMessage> sent = DisplayMessagesFor(ID_SCORE_DISPLAY);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].message, DSBM_SETSPEED);
    EXPECT_EQ(static_cast<int>(sent[0].wparam), -1);
    EXPECT_EQ(sent[1].message, DSBM_SETVALUE);
    EXPECT_EQ(sent[1].wparam, 100u);
    EXPECT_EQ(sent[2].message, DSBM_SETSPEED);
    EXPECT_EQ(sent[2].wparam, 30u);
    EXPECT_EQ(sent[3].message, DSBM_SETBLANK);
    EXPECT_EQ(sent[3].wparam, 0u);
}

TEST_F(ScreensTest, TrialKindsFollowTheScheduleAndEachDecideSendsTheNewScore) {
    Click(window, ID_START);
    const bool comparison[10] = {true, true, true, false, false, false, true, true, true, false};
    for (int t = 0; t < 10; ++t) {
        ASSERT_EQ(state->trial, t);
        ExpectTrialKind(comparison[t]);
        ClearDisplayLog();
        Decide();
        std::vector<DisplayMessage> sent = DisplayMessagesFor(ID_SCORE_DISPLAY);
        ASSERT_FALSE(sent.empty()) << "trial " << t;
        EXPECT_EQ(sent[0].message, DSBM_SETVALUE);
        EXPECT_EQ(static_cast<int>(sent[0].wparam), state->score);
        EXPECT_NE(state->result_rows[t][0], 0) << "row of trial " << t;
        if (t < 9) {
            // Between trials the answers are reset and the slider recentred.
            EXPECT_EQ(state->slider_pos, 100);
            EXPECT_EQ(GetScrollPos(GetDlgItem(window, ID_PITCH_SLIDER), SB_CTL), 100);
        }
    }
    EXPECT_EQ(state->trial, 10);
    EXPECT_EQ(state->screen, ScreenResult);
}

TEST_F(ScreensTest, TenDecidesReachTheResultScreen) {
    Click(window, ID_START);
    for (int t = 0; t < 10; ++t) {
        Decide();
    }
    EXPECT_EQ(state->screen, ScreenResult);
    EXPECT_EQ(ChildIds(window), kResultScreenIds);
    EXPECT_EQ(state->chosen_high, 0);
    EXPECT_EQ(state->chosen_low, 0);
    EXPECT_EQ(state->slider_pos, 100);
    std::vector<DisplayMessage> sent = DisplayMessagesFor(ID_FINAL_DISPLAY);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].message, DSBM_SETSPEED);
    EXPECT_EQ(sent[0].wparam, 60u);
    EXPECT_EQ(sent[1].message, DSBM_SETVALUE);
    EXPECT_EQ(static_cast<int>(sent[1].wparam), state->score);
}

TEST_F(ScreensTest, BackThenStartAgainDrawsANewPlanAndKeepsTheStreak) {
    Click(window, ID_START);
    AppState first = *state;
    for (int t = 0; t < 10; ++t) {
        Decide();
    }
    // A run value no grading of this test would leave, to see it carried over.
    const double streak = 1.25;
    state->streak = streak;
    Click(window, ID_BACK);
    EXPECT_EQ(state->screen, ScreenTitle);
    EXPECT_EQ(ChildIds(window), kTitleScreenIds);

    state->volume = 42;
    ClearDisplayLog();
    Click(window, ID_START);
    EXPECT_EQ(state->trial, 0);
    EXPECT_EQ(state->score, 100);
    EXPECT_EQ(state->streak, streak);
    EXPECT_EQ(state->results_revealed, 0);
    EXPECT_EQ(state->result_rows[0][0], 0);
    bool same_plan =
        memcmp(first.base_freq, state->base_freq, sizeof first.base_freq) == 0 &&
        memcmp(first.high_key, state->high_key, sizeof first.high_key) == 0 &&
        memcmp(first.match_target, state->match_target, sizeof first.match_target) == 0;
    EXPECT_FALSE(same_plan);
    EXPECT_EQ(GetScrollPos(GetDlgItem(window, ID_VOLUME_SLIDER), SB_CTL), 42);
    std::vector<DisplayMessage> sent = DisplayMessagesFor(ID_SCORE_DISPLAY);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[1].wparam, 100u);
    EXPECT_EQ(sent[3].message, DSBM_SETBLANK);
    EXPECT_EQ(sent[3].wparam, 0u);
}

TEST_F(ScreensTest, RadioRowsAreIndependentGroups) {
    Click(window, ID_START);
    auto checked = [&](int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0); };
    Click(window, ID_HIGH_B);
    Click(window, ID_LOW_C);
    EXPECT_EQ(state->chosen_high, 2);
    EXPECT_EQ(state->chosen_low, 3);
    EXPECT_EQ(checked(ID_HIGH_B), BST_CHECKED);
    EXPECT_EQ(checked(ID_LOW_C), BST_CHECKED);

    Click(window, ID_HIGH_A);
    EXPECT_EQ(state->chosen_high, 1);
    EXPECT_EQ(checked(ID_HIGH_A), BST_CHECKED);
    EXPECT_EQ(checked(ID_HIGH_B), BST_UNCHECKED);
    EXPECT_EQ(checked(ID_LOW_C), BST_CHECKED) << "a high pick must not clear the low row";
    EXPECT_EQ(state->chosen_low, 3);

    Click(window, ID_LOW_A);
    EXPECT_EQ(state->chosen_low, 1);
    EXPECT_EQ(checked(ID_LOW_C), BST_UNCHECKED);
    EXPECT_EQ(checked(ID_HIGH_A), BST_CHECKED) << "a low pick must not clear the high row";

    // Clicking a marked button stores the same pick again.
    Click(window, ID_LOW_A);
    EXPECT_EQ(state->chosen_low, 1);

    // After grading both rows are cleared.
    Decide();
    for (int id = ID_HIGH_A; id <= ID_LOW_C; ++id) {
        EXPECT_EQ(checked(id), BST_UNCHECKED) << id;
    }
    EXPECT_EQ(state->chosen_high, 0);
    EXPECT_EQ(state->chosen_low, 0);
}

TEST_F(ScreensTest, CreateControlRefusesUnknownAndDuplicateIds) {
    std::vector<int> before = ChildIds(window);
    HWND start = GetDlgItem(window, ID_START);
    EXPECT_FALSE(CreateControl(window, ID_START));
    EXPECT_EQ(GetDlgItem(window, ID_START), start);
    for (int id : {0, 999, 1002, 2015, 3003, -1}) {
        EXPECT_FALSE(CreateControl(window, id)) << id;
    }
    EXPECT_EQ(ChildIds(window), before);
    EXPECT_TRUE(CreateControl(window, ID_BACK));
    EXPECT_FALSE(CreateControl(window, ID_BACK));
    EXPECT_EQ(ChildIds(window), (std::vector<int>{ID_START, ID_QUIT, ID_BACK}));
}

TEST_F(ScreensTest, ShowTrialControlsActsOnlyOnTheTestScreen) {
    EXPECT_FALSE(ShowTrialControls(state)); // title screen
    EXPECT_FALSE(ShowTrialControls(nullptr));
    EXPECT_FALSE(ResetAnswerControls(nullptr));
    EXPECT_FALSE(ShowTitleScreen(nullptr));
    EXPECT_FALSE(StartTest(nullptr));
    EXPECT_FALSE(ShowResultScreen(nullptr));
    EXPECT_FALSE(GradeAnswer(nullptr));
}

// Grading past the plan would index outside it; such a call changes nothing.
TEST_F(ScreensTest, GradeAnswerRefusesATrialOutsideThePlan) {
    Click(window, ID_START);
    for (int bad : {10, -1}) {
        state->trial = bad;
        int score = state->score;
        double streak = state->streak;
        ClearDisplayLog();
        EXPECT_FALSE(GradeAnswer(state));
        EXPECT_EQ(state->trial, bad);
        EXPECT_EQ(state->score, score);
        EXPECT_EQ(state->streak, streak);
        EXPECT_EQ(state->screen, ScreenTest);
        EXPECT_TRUE(DisplayLog().empty());
    }
}

} // namespace
