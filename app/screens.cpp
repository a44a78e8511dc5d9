#include "app/screens.h"

#include "app/accessibility.h"
#include "app/controls.h"
#include "app/history_menu.h"
#include "app/keyboard.h"
#include "app/results_file.h"
#include "dsb/score_display.h"
#include "engine/grading.h"
#include "engine/trial_plan.h"
#include "render/screen_paint.h"

// Creation order matters: it makes the two radio groups (each WS_GROUP radio
// starts a group that runs up to the next one).
static const int kTitleControls[] = {ID_START, ID_QUIT};
static const int kTestControls[] = {
    ID_HIGH_A,       ID_HIGH_B, ID_HIGH_C, ID_PLAY_A,        ID_PLAY_B,
    ID_PLAY_C,       ID_LOW_A,  ID_LOW_B,  ID_LOW_C,         ID_DECIDE,
    ID_PITCH_SLIDER, ID_PLAY,   ID_TARGET, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER,
};
static const int kResultControls[] = {ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY};

constexpr int SPEED_INSTANT = -1;
constexpr int SPEED_TEST = 30;
constexpr int SPEED_RESULT = 60;

static void CreateControls(const AppState *state, const int *ids, int count) {
    for (int i = 0; i < count; ++i) {
        CreateControl(state->main_window, ids[i], RecordDpi(state), state->language);
        ServeAccessibleObject(GetDlgItem(state->main_window, ids[i]), state);
    }
}

static void SendToDisplay(HWND main_window, int id, UINT message, int value) {
    SendDlgItemMessageA(main_window, id, message, static_cast<WPARAM>(value), 0);
}

// A screen (or a trial) is up: the keyboard's focus goes to its first
// control, and a screen reader hears that its texts have changed.
static void ScreenShown(AppState *state) {
    ArrangeFocus(state);
    AnnounceScreenTexts(state->main_window);
}

bool ShowTitleScreen(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    DestroyChildren(state->main_window);
    CreateControls(state, kTitleControls, ARRAYSIZE(kTitleControls));
    SetChildFonts(state->main_window, state);
    state->screen = ScreenTitle;
    ComposeScreen(state);
    InvalidateRect(state->main_window, nullptr, TRUE);
    ScreenShown(state);
    return true;
}

bool StartTest(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    BuildTrialPlan(state);
    state->trial = 0;
    state->score = SCORE_START;
    DestroyChildren(state->main_window);
    CreateControls(state, kTestControls, ARRAYSIZE(kTestControls));
    // The screen must be the test screen before its controls can be sorted.
    state->screen = ScreenTest;
    SetChildFonts(state->main_window, state);
    ShowTrialControls(state);
    SendToDisplay(state->main_window, ID_SCORE_DISPLAY, DSBM_SETSPEED, SPEED_INSTANT);
    SendToDisplay(state->main_window, ID_SCORE_DISPLAY, DSBM_SETVALUE, SCORE_START);
    SendToDisplay(state->main_window, ID_SCORE_DISPLAY, DSBM_SETSPEED, SPEED_TEST);
    SendToDisplay(state->main_window, ID_SCORE_DISPLAY, DSBM_SETBLANK, 0);
    SetScrollPos(GetDlgItem(state->main_window, ID_VOLUME_SLIDER), SB_CTL, state->volume, TRUE);
    ScreenShown(state);
    return true;
}

bool ShowResultScreen(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    DestroyChildren(state->main_window);
    CreateControls(state, kResultControls, ARRAYSIZE(kResultControls));
    SetChildFonts(state->main_window, state);
    state->screen = ScreenResult;
    SendToDisplay(state->main_window, ID_FINAL_DISPLAY, DSBM_SETSPEED, SPEED_RESULT);
    SendToDisplay(state->main_window, ID_FINAL_DISPLAY, DSBM_SETVALUE, state->score);
    ComposeScreen(state);
    InvalidateRect(state->main_window, nullptr, TRUE);
    ScreenShown(state);
    return true;
}

bool GradeAnswer(AppState *state) {
    // ScoreAnswer refuses a trial outside the plan (0..9); grading then stops
    // here rather than advancing past the end or touching the screens.
    if (!ScoreAnswer(state)) {
        return false;
    }
    SendToDisplay(state->main_window, ID_SCORE_DISPLAY, DSBM_SETVALUE, state->score);
    state->trial += 1;
    bool completed = state->trial >= TRIAL_COUNT;
    if (completed) {
        ShowResultScreen(state);
    }
    ShowTrialControls(state);
    ResetAnswerControls(state);
    ComposeScreen(state);
    InvalidateRect(state->main_window, nullptr, TRUE);
    // A new trial, as a new screen: the keyboard starts again at the top.
    if (!completed) {
        ScreenShown(state);
    }
    // Written once the final count has started and the screen is composed,
    // so that waiting for the disk holds up neither; on the disk before the
    // count ends, should the session end during it.
    if (completed) {
        RecordResult(state);
        RefreshHistory();
    }
    return true;
}
