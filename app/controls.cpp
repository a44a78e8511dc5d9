#include "app/controls.h"

#include "app/accessibility.h"

#include "dsb/score_display.h"
#include "engine/schedule.h"

// Labels are Shift-JIS once compiled. The ANSI calls pass the ASCII ones on
// unchanged; the Japanese ones are decoded from code page 932 (CreateControl).
const ControlDefinition ControlCatalogue[CONTROL_COUNT] = {
    {ID_START, 0, "Button", "開始", STYLE_PUSH, 200, 255, 50, 30},
    {ID_QUIT, 0, "Button", "終了", STYLE_PUSH, 250, 255, 50, 30},
    {ID_HIGH_A, 0, "Button", "A", STYLE_GROUP_RADIO, 175, 105, 50, 30},
    {ID_HIGH_B, 0, "Button", "B", STYLE_RADIO, 225, 105, 50, 30},
    {ID_HIGH_C, 0, "Button", "C", STYLE_RADIO, 275, 105, 50, 30},
    {ID_LOW_A, 0, "Button", "A", STYLE_GROUP_RADIO, 175, 165, 50, 30},
    {ID_LOW_B, 0, "Button", "B", STYLE_RADIO, 225, 165, 50, 30},
    {ID_LOW_C, 0, "Button", "C", STYLE_RADIO, 275, 165, 50, 30},
    {ID_PLAY_A, 0, "Button", "A", STYLE_PUSH, 175, 135, 50, 30},
    {ID_PLAY_B, 0, "Button", "B", STYLE_PUSH, 225, 135, 50, 30},
    {ID_PLAY_C, 0, "Button", "C", STYLE_PUSH, 275, 135, 50, 30},
    {ID_PITCH_SLIDER, 0, "ScrollBar", nullptr, STYLE_BAR, 125, 105, 250, 20},
    {ID_TARGET, 0, "Button", "Target", STYLE_PUSH, 200, 135, 50, 30},
    {ID_PLAY, 0, "Button", "Play", STYLE_PUSH, 250, 135, 50, 30},
    {ID_DECIDE, 0, "Button", "決定", STYLE_PUSH, 225, 210, 50, 30},
    {ID_SCORE_DISPLAY, WS_EX_CLIENTEDGE, DSB_CLASS_NAME, nullptr, STYLE_DISPLAY, 375, 160, 102, 64},
    {ID_VOLUME_SLIDER, 0, "ScrollBar", nullptr, STYLE_BAR, 375, 270, 102, 20},
    {ID_BACK, 0, "Button", "戻る", STYLE_PUSH, 350, 255, 50, 30},
    {ID_RESULT_QUIT, 0, "Button", "終了", STYLE_PUSH, 400, 255, 50, 30},
    {ID_FINAL_DISPLAY, WS_EX_CLIENTEDGE, DSB_CLASS_NAME, nullptr, STYLE_DISPLAY, 300, 5, 102, 64},
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

static bool IsPlainAscii(const char *text) {
    for (const char *c = text; *c != 0; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Room for a class name or label of the catalogue, decoded.
constexpr int WIDE_TEXT_CHARS = 32;

// A Japanese label reads right only through a Unicode window: an ANSI one
// would be decoded with the system's code page, which is 932 only on a
// Japanese system (or where the manifest's code page is honoured). Null
// when the text cannot be decoded; the control is then made as before.
static HWND CreateUnicodeControl(const ControlDefinition *row, const RECT &r, HWND parent) {
    wchar_t class_name[WIDE_TEXT_CHARS];
    wchar_t label[WIDE_TEXT_CHARS];
    if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, row->class_name, -1, class_name,
                            WIDE_TEXT_CHARS) == 0 ||
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, row->label, -1, label, WIDE_TEXT_CHARS) ==
            0) {
        return nullptr;
    }
    return CreateWindowExW(row->ex_style, class_name, label, row->style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(row->id)), nullptr,
                           nullptr);
}

bool CreateControl(HWND parent, int id, int dpi) {
    if (IsWindow(GetDlgItem(parent, id))) {
        return false;
    }
    const ControlDefinition *row = FindControlDefinition(id);
    if (row == nullptr) {
        return false;
    }
    RECT r = ControlRect(row, dpi);
    HWND control = nullptr;
    if (row->label != nullptr && !IsPlainAscii(row->label)) {
        control = CreateUnicodeControl(row, r, parent);
    }
    if (control == nullptr) {
        control =
            CreateWindowExA(row->ex_style, row->class_name, row->label, row->style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    ServeAccessibleObject(control);
    if (id == ID_PITCH_SLIDER) {
        SetScrollRange(control, SB_CTL, 0, PITCH_SLIDER_MAX, TRUE);
    } else if (id == ID_VOLUME_SLIDER) {
        SetScrollRange(control, SB_CTL, 0, VOLUME_MAX, TRUE);
    }
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
