// The three screens, their controls and the walk through a whole test, on a
// real main window in this process.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/screens.h"
#include "app_test_support.h"
#include "dsb/score_display.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

const std::vector<int> kTestOrder = {
    ID_HIGH_A,       ID_HIGH_B, ID_HIGH_C, ID_PLAY_A,        ID_PLAY_B,
    ID_PLAY_C,       ID_LOW_A,  ID_LOW_B,  ID_LOW_C,         ID_DECIDE,
    ID_PITCH_SLIDER, ID_PLAY,   ID_TARGET, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER,
};
const std::vector<int> kComparisonIds = {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_PLAY_A, ID_PLAY_B,
                                         ID_PLAY_C, ID_LOW_A,  ID_LOW_B,  ID_LOW_C};
const std::vector<int> kMatchingIds = {ID_PITCH_SLIDER, ID_PLAY, ID_TARGET};
const std::vector<int> kAlwaysShown = {ID_DECIDE, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER};

class ScreensTest : public MainWindowFixture {
  protected:
    void Decide() { Click(window, ID_DECIDE); }
    bool Visible(int id) { return IsWindowVisible(GetDlgItem(window, id)) != FALSE; }
    void ExpectTrialKind(bool comparison) {
        for (int id : kComparisonIds) {
            EXPECT_EQ(Visible(id), comparison) << "control " << id << " at trial " << state->trial;
        }
        for (int id : kMatchingIds) {
            EXPECT_EQ(Visible(id), !comparison) << "control " << id << " at trial " << state->trial;
        }
        for (int id : kAlwaysShown) {
            EXPECT_TRUE(Visible(id)) << "control " << id << " at trial " << state->trial;
        }
    }
};

TEST_F(ScreensTest, TitleScreenHasStartAndQuitWithJapaneseLabels) {
    EXPECT_EQ(state->main_window, window);
    EXPECT_EQ(state->screen, ScreenTitle);
    EXPECT_EQ(ChildIds(window), (std::vector<int>{ID_START, ID_QUIT}));
    char text[32];
    GetWindowTextA(GetDlgItem(window, ID_START), text, sizeof text);
    EXPECT_STREQ(text, "\x8A\x4A\x8E\x6E"); // 開始 in code page 932
    GetWindowTextA(GetDlgItem(window, ID_QUIT), text, sizeof text);
    EXPECT_STREQ(text, "\x8F\x49\x97\xB9"); // 終了
}

TEST_F(ScreensTest, StartBuildsFifteenControlsInGroupOrder) {
    Click(window, ID_START);
    EXPECT_EQ(state->screen, ScreenTest);
    EXPECT_EQ(state->trial, 0);
    EXPECT_EQ(state->score, 100);
    EXPECT_EQ(ChildIds(window), kTestOrder);
    ExpectTrialKind(true);
    // Each control sits where its catalogue row puts it, with its row's style.
    for (int id : kTestOrder) {
        const ControlDefinition *row = FindControlDefinition(id);
        ASSERT_NE(row, nullptr);
        HWND control = GetDlgItem(window, id);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
        EXPECT_EQ(rect.left, row->x) << id;
        EXPECT_EQ(rect.top, row->y) << id;
        EXPECT_EQ(rect.right - rect.left, row->width) << id;
        EXPECT_EQ(rect.bottom - rect.top, row->height) << id;
        DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        EXPECT_EQ(style & ~WS_VISIBLE, row->style & ~WS_VISIBLE) << id;
        DWORD ex_style = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
        EXPECT_EQ(ex_style & WS_EX_CLIENTEDGE, row->ex_style) << id;
        char class_name[64];
        GetClassNameA(control, class_name, sizeof class_name);
        EXPECT_EQ(lstrcmpiA(class_name, row->class_name), 0) << id;
    }
    char text[32];
    GetWindowTextA(GetDlgItem(window, ID_DECIDE), text, sizeof text);
    EXPECT_STREQ(text, "\x8C\x88\x92\xE8"); // 決定
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
    EXPECT_EQ(ChildIds(window), (std::vector<int>{ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY}));
    EXPECT_EQ(state->chosen_high, 0);
    EXPECT_EQ(state->chosen_low, 0);
    EXPECT_EQ(state->slider_pos, 100);
    char text[32];
    GetWindowTextA(GetDlgItem(window, ID_BACK), text, sizeof text);
    EXPECT_STREQ(text, "\x96\xDF\x82\xE9"); // 戻る
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
    EXPECT_EQ(ChildIds(window), (std::vector<int>{ID_START, ID_QUIT}));

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

TEST_F(ScreensTest, CatalogueHoldsTwentyDistinctIds) {
    for (int i = 0; i < CONTROL_COUNT; ++i) {
        for (int j = i + 1; j < CONTROL_COUNT; ++j) {
            EXPECT_NE(ControlCatalogue[i].id, ControlCatalogue[j].id);
        }
    }
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
