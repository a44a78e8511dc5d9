#include "app/controls.h"

#include "dsb/score_display.h"
#include "engine/schedule.h"

// The labels that are words come from the language's table.
const ControlDefinition ControlCatalogue[CONTROL_COUNT] = {
    {ID_START, 0, "Button", nullptr, TEXT_BUTTON_START, STYLE_PUSH, 200, 255, 50, 30},
    {ID_QUIT, 0, "Button", nullptr, TEXT_BUTTON_QUIT, STYLE_PUSH, 250, 255, 50, 30},
    {ID_HIGH_A, 0, "Button", "A", NO_LABEL_TEXT, STYLE_GROUP_RADIO, 175, 105, 50, 30},
    {ID_HIGH_B, 0, "Button", "B", NO_LABEL_TEXT, STYLE_RADIO, 225, 105, 50, 30},
    {ID_HIGH_C, 0, "Button", "C", NO_LABEL_TEXT, STYLE_RADIO, 275, 105, 50, 30},
    {ID_LOW_A, 0, "Button", "A", NO_LABEL_TEXT, STYLE_GROUP_RADIO, 175, 165, 50, 30},
    {ID_LOW_B, 0, "Button", "B", NO_LABEL_TEXT, STYLE_RADIO, 225, 165, 50, 30},
    {ID_LOW_C, 0, "Button", "C", NO_LABEL_TEXT, STYLE_RADIO, 275, 165, 50, 30},
    {ID_PLAY_A, 0, "Button", "A", NO_LABEL_TEXT, STYLE_PUSH, 175, 135, 50, 30},
    {ID_PLAY_B, 0, "Button", "B", NO_LABEL_TEXT, STYLE_PUSH, 225, 135, 50, 30},
    {ID_PLAY_C, 0, "Button", "C", NO_LABEL_TEXT, STYLE_PUSH, 275, 135, 50, 30},
    {ID_PITCH_SLIDER, 0, "ScrollBar", nullptr, NO_LABEL_TEXT, STYLE_BAR, 125, 105, 250, 20},
    {ID_TARGET, 0, "Button", "Target", NO_LABEL_TEXT, STYLE_PUSH, 200, 135, 50, 30},
    {ID_PLAY, 0, "Button", "Play", NO_LABEL_TEXT, STYLE_PUSH, 250, 135, 50, 30},
    {ID_DECIDE, 0, "Button", nullptr, TEXT_BUTTON_DECIDE, STYLE_PUSH, 225, 210, 50, 30},
    {ID_SCORE_DISPLAY, WS_EX_CLIENTEDGE, DSB_CLASS_NAME, nullptr, NO_LABEL_TEXT, STYLE_DISPLAY, 375,
     160, 102, 64},
    {ID_VOLUME_SLIDER, 0, "ScrollBar", nullptr, NO_LABEL_TEXT, STYLE_BAR, 375, 270, 102, 20},
    {ID_BACK, 0, "Button", nullptr, TEXT_BUTTON_BACK, STYLE_PUSH, 350, 255, 50, 30},
    {ID_RESULT_QUIT, 0, "Button", nullptr, TEXT_BUTTON_QUIT, STYLE_PUSH, 400, 255, 50, 30},
    {ID_FINAL_DISPLAY, WS_EX_CLIENTEDGE, DSB_CLASS_NAME, nullptr, NO_LABEL_TEXT, STYLE_DISPLAY, 300,
     5, 102, 64},
};

// Shown in comparison trials, hidden in matching ones; the reverse below.
static const int kComparisonControls[] = {
    ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_PLAY_A, ID_PLAY_B, ID_PLAY_C, ID_LOW_A, ID_LOW_B, ID_LOW_C,
};
static const int kMatchingControls[] = {ID_PITCH_SLIDER, ID_PLAY, ID_TARGET};
static const int kRadioControls[] = {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_LOW_A, ID_LOW_B, ID_LOW_C};

constexpr int PITCH_SLIDER_RESET = 100;

const ControlDefinition *FindControlDefinition(int id) {
    for (const ControlDefinition &row : ControlCatalogue) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

RECT ControlRect(const ControlDefinition *row, int dpi) {
    return ScaledRect(row->x, row->y, row->x + row->width, row->y + row->height, dpi);
}

// Room for a class name of the catalogue, widened.
constexpr int CLASS_NAME_CHARS = 32;

// A label in the interface's language reads right only through a Unicode
// window: an ANSI one would be decoded with the system's code page, which is
// 932 only on a Japanese system (or where the manifest's code page is
// honoured). Null when it cannot be made; the control is then made as ANSI.
static HWND CreateUnicodeControl(const ControlDefinition *row, const RECT &r, HWND parent,
                                 int language) {
    wchar_t class_name[CLASS_NAME_CHARS];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, row->class_name, -1, class_name,
                            CLASS_NAME_CHARS) == 0) {
        return nullptr;
    }
    return CreateWindowExW(
        row->ex_style, class_name, LanguageText(language, static_cast<TextId>(row->label_text)),
        row->style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row->id)), nullptr, nullptr);
}

bool CreateControl(HWND parent, int id, int dpi, int language) {
    if (IsWindow(GetDlgItem(parent, id))) {
        return false;
    }
    const ControlDefinition *row = FindControlDefinition(id);
    if (row == nullptr) {
        return false;
    }
    RECT r = ControlRect(row, dpi);
    HWND control = nullptr;
    if (row->label_text != NO_LABEL_TEXT) {
        control = CreateUnicodeControl(row, r, parent, language);
    }
    if (control == nullptr) {
        control =
            CreateWindowExA(row->ex_style, row->class_name, row->label, row->style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    if (id == ID_PITCH_SLIDER) {
        SetScrollRange(control, SB_CTL, 0, PITCH_SLIDER_MAX, TRUE);
    } else if (id == ID_VOLUME_SLIDER) {
        SetScrollRange(control, SB_CTL, 0, VOLUME_MAX, TRUE);
    }
    return true;
}

static BOOL CALLBACK RelabelChild(HWND child, LPARAM language) {
    const ControlDefinition *row = FindControlDefinition(GetDlgCtrlID(child));
    if (row != nullptr && row->label_text != NO_LABEL_TEXT) {
        SetWindowTextW(
            child, LanguageText(static_cast<int>(language), static_cast<TextId>(row->label_text)));
    }
    return TRUE;
}

bool RelabelChildren(HWND parent, int language) {
    EnumChildWindows(parent, RelabelChild, language);
    return true;
}

static BOOL CALLBACK PlaceChild(HWND child, LPARAM dpi) {
    const ControlDefinition *row = FindControlDefinition(GetDlgCtrlID(child));
    if (row != nullptr) {
        RECT r = ControlRect(row, static_cast<int>(dpi));
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

bool PlaceChildren(HWND parent, int dpi) {
    EnumChildWindows(parent, PlaceChild, dpi);
    return true;
}

static BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), 0);
    return TRUE;
}

bool SetChildFonts(HWND parent, AppState *state) {
    HFONT font = state != nullptr ? state->font_small : nullptr;
    EnumChildWindows(parent, SetFontOfChild, reinterpret_cast<LPARAM>(font));
    return true;
}

static BOOL CALLBACK DestroyChild(HWND child, LPARAM) {
    DestroyWindow(child);
    return TRUE;
}

bool DestroyChildren(HWND parent) {
    EnumChildWindows(parent, DestroyChild, 0);
    return true;
}

static void ShowControls(HWND parent, const int *ids, int count, int show) {
    for (int i = 0; i < count; ++i) {
        HWND control = GetDlgItem(parent, ids[i]);
        ShowWindow(control, show);
        UpdateWindow(control);
    }
}

bool ShowTrialControls(AppState *state) {
    if (state == nullptr || state->screen != ScreenTest) {
        return false;
    }
    TrialInfo info = {0, -1};
    GetTrialInfo(state, &info);
    int comparison_show = info.is_comparison ? SW_SHOW : SW_HIDE;
    int matching_show = info.is_comparison ? SW_HIDE : SW_SHOW;
    ShowControls(state->main_window, kComparisonControls, ARRAYSIZE(kComparisonControls),
                 comparison_show);
    ShowControls(state->main_window, kMatchingControls, ARRAYSIZE(kMatchingControls),
                 matching_show);
    return true;
}

bool ResetAnswerControls(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    for (int id : kRadioControls) {
        SendDlgItemMessageA(state->main_window, id, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SetScrollPos(GetDlgItem(state->main_window, ID_PITCH_SLIDER), SB_CTL, PITCH_SLIDER_RESET, TRUE);
    state->chosen_high = 0;
    state->chosen_low = 0;
    state->slider_pos = PITCH_SLIDER_RESET;
    return true;
}
