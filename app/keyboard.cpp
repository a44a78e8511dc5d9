#include "app/keyboard.h"

#include "app/controls.h"
#include "app/history_menu.h"
#include "dsb/score_display.h"

#include <algorithm>

// A key's auto-repeat: bit 30 of lParam, the key was already down.
constexpr LPARAM KEY_WAS_DOWN = 1 << 30;
// Bit 29: Alt is held (a system key).
constexpr LPARAM KEY_WITH_ALT = 1 << 29;

struct PlayKey {
    WPARAM key;
    int id;
};
// The keys that play tones, in a trial where their button is shown.
static const PlayKey kPlayKeys[] = {
    {'A', ID_PLAY_A}, {'B', ID_PLAY_B}, {'C', ID_PLAY_C}, {'T', ID_TARGET}, {'P', ID_PLAY},
};

// The two rows of radio buttons; the arrow keys move within one.
static const int kRadioRows[2][3] = {
    {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C},
    {ID_LOW_A, ID_LOW_B, ID_LOW_C},
};

WPARAM PlayKeyOf(int id) {
    for (const PlayKey &k : kPlayKeys) {
        if (k.id == id) {
            return k.key;
        }
    }
    return 0;
}

// The row of radio buttons `id` belongs to, or null.
static const int *RadioRowOf(int id) {
    for (const int *row : kRadioRows) {
        if (std::find(row, row + 3, id) != row + 3) {
            return row;
        }
    }
    return nullptr;
}

// A control the keyboard can reach: a shown, enabled button or scroll bar
// (the score displays only show).
static bool IsReachable(HWND main_window, int id) {
    const ControlDefinition *row = FindControlDefinition(id);
    HWND control = GetDlgItem(main_window, id);
    return row != nullptr && lstrcmpA(row->class_name, DSB_CLASS_NAME) != 0 && control != nullptr &&
           IsWindowVisible(control) && IsWindowEnabled(control);
}

// The screen's tab stops, in reading order (top to bottom, then left to
// right, by the controls' places); a row of radio buttons is one stop, its
// first button. Returns how many.
static int TabStops(HWND main_window, int *stops) {
    int count = 0;
    for (const ControlDefinition &row : ControlCatalogue) {
        const int *radio_row = RadioRowOf(row.id);
        if ((radio_row != nullptr && radio_row[0] != row.id) || !IsReachable(main_window, row.id)) {
            continue;
        }
        stops[count++] = row.id;
    }
    std::sort(stops, stops + count, [](int a, int b) {
        const ControlDefinition *da = FindControlDefinition(a);
        const ControlDefinition *db = FindControlDefinition(b);
        return da->y != db->y ? da->y < db->y : da->x < db->x;
    });
    return count;
}

// The control a stop gives the focus to: for a row of radio buttons the
// marked one, else its first (as Tab enters a group in any dialog).
static HWND StopControl(HWND main_window, int stop) {
    const int *radio_row = RadioRowOf(stop);
    if (radio_row != nullptr) {
        for (int i = 0; i < 3; ++i) {
            HWND radio = GetDlgItem(main_window, radio_row[i]);
            if (SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                return radio;
            }
        }
    }
    return GetDlgItem(main_window, stop);
}

// Gives a control the focus. On Windows an automatic radio button that
// takes the focus from anything but a click marks itself and tells its
// parent, which would store a pick; moving the focus (Tab, a new trial) is
// not one, so such a mark is taken back. Space and the arrows mark.
static void FocusWithoutMarking(HWND control, AppState *state) {
    bool marked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    int high = state->chosen_high;
    int low = state->chosen_low;
    SetFocus(control);
    if (!marked && RadioRowOf(GetDlgCtrlID(control)) != nullptr &&
        SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
        state->chosen_high = high;
        state->chosen_low = low;
    }
}

// The id of the child of the main window that has the focus, or 0.
static int FocusedId(HWND main_window) {
    HWND focus = GetFocus();
    return focus != nullptr && GetParent(focus) == main_window ? GetDlgCtrlID(focus) : 0;
}

// Shows the focus cues from now on: the listener uses the keyboard.
static void NoteKeyboardUse(AppState *state) {
    if (state->keyboard_used) {
        return;
    }
    state->keyboard_used = 1;
    SendMessageA(state->main_window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

static void MoveFocus(AppState *state, bool backwards) {
    HWND main_window = state->main_window;
    int stops[CONTROL_COUNT];
    int count = TabStops(main_window, stops);
    if (count == 0) {
        return;
    }
    int focused = FocusedId(main_window);
    const int *radio_row = RadioRowOf(focused);
    if (radio_row != nullptr) {
        focused = radio_row[0];
    }
    int at = static_cast<int>(std::find(stops, stops + count, focused) - stops);
    int next;
    if (at == count) {
        next = backwards ? count - 1 : 0; // entering the controls from the window
    } else {
        next = (at + (backwards ? count - 1 : 1)) % count;
    }
    FocusWithoutMarking(StopControl(main_window, stops[next]), state);
}

// Left and Up go to the row's previous button, Right and Down to its next,
// round the row, and mark it: the click of a mouse on it.
static bool MoveInRadioRow(HWND main_window, WPARAM key) {
    int focused = FocusedId(main_window);
    const int *radio_row = RadioRowOf(focused);
    if (radio_row == nullptr) {
        return false;
    }
    int at = static_cast<int>(std::find(radio_row, radio_row + 3, focused) - radio_row);
    bool back = key == VK_LEFT || key == VK_UP;
    HWND next = GetDlgItem(main_window, radio_row[(at + (back ? 2 : 1)) % 3]);
    SetFocus(next);
    SendMessageA(next, BM_CLICK, 0, 0);
    return true;
}

// What a click on the button `id` tells the main window, if the button is
// there to be clicked.
static void PressButton(HWND main_window, int id) {
    HWND button = GetDlgItem(main_window, id);
    if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) {
        SendMessageA(main_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

static int MainActionOf(int screen) {
    switch (screen) {
    case ScreenTitle: return ID_START;
    case ScreenTest: return ID_DECIDE;
    case ScreenResult: return ID_BACK;
    default: return 0;
    }
}

static bool IsPushButton(HWND control) {
    const ControlDefinition *row = FindControlDefinition(GetDlgCtrlID(control));
    return row != nullptr && row->style == STYLE_PUSH && lstrcmpA(row->class_name, "Button") == 0;
}

// Enter presses the focused push button, else the screen's main button.
static void PressEnter(AppState *state) {
    HWND main_window = state->main_window;
    int focused = FocusedId(main_window);
    // A button hidden since it was clicked (the other trial kind's) may keep
    // the focus of a mouse user: Enter is then the screen's main action.
    if (IsReachable(main_window, focused) && IsPushButton(GetDlgItem(main_window, focused))) {
        PressButton(main_window, focused);
        return;
    }
    PressButton(main_window, MainActionOf(state->screen));
}

// A play key while another play key is held down does nothing: a held key
// of the same kind never lets a second one through.
static bool OtherPlayKeyHeld(WPARAM key) {
    for (const PlayKey &k : kPlayKeys) {
        if (k.key != key && GetKeyState(static_cast<int>(k.key)) < 0) {
            return true;
        }
    }
    return false;
}

static bool PlayKeyPressed(AppState *state, WPARAM key, bool repeated) {
    const PlayKey *found = nullptr;
    for (const PlayKey &k : kPlayKeys) {
        if (k.key == key) {
            found = &k;
        }
    }
    if (found == nullptr || GetKeyState(VK_CONTROL) < 0 || state->screen != ScreenTest) {
        return false;
    }
    if (!repeated && !OtherPlayKeyHeld(key)) {
        PressButton(state->main_window, found->id);
    }
    return true;
}

bool HandleKeyboardMessage(const MSG *msg, AppState *state) {
    // With no control focused, keys come to the active window as system keys.
    bool key_down = msg->message == WM_KEYDOWN ||
                    (msg->message == WM_SYSKEYDOWN && (msg->lParam & KEY_WITH_ALT) == 0);
    if (!key_down || state == nullptr || state->main_window == nullptr ||
        (msg->hwnd != state->main_window && GetParent(msg->hwnd) != state->main_window)) {
        return false;
    }
    NoteKeyboardUse(state);
    bool repeated = (msg->lParam & KEY_WAS_DOWN) != 0;
    switch (msg->wParam) {
    case VK_TAB: MoveFocus(state, GetKeyState(VK_SHIFT) < 0); return true;
    case VK_RETURN:
        // Held down, it acts once: no second Decide, Start or Back.
        if (!repeated) {
            PressEnter(state);
        }
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return MoveInRadioRow(state->main_window, msg->wParam);
    case 'H': return OnHistoryKey(state, msg->wParam, repeated);
    default: return PlayKeyPressed(state, msg->wParam, repeated);
    }
}

void ArrangeFocus(AppState *state) {
    if (state == nullptr || state->main_window == nullptr) {
        return;
    }
    HWND main_window = state->main_window;
    // The new controls hide their focus until the keyboard is used, as the
    // window does (Windows draws no focus rectangle then).
    WORD action = state->keyboard_used ? UIS_CLEAR : UIS_SET;
    SendMessageA(main_window, WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEFOCUS), 0);
    if (!state->keyboard_used) {
        return;
    }
    int stops[CONTROL_COUNT];
    if (TabStops(main_window, stops) > 0) {
        FocusWithoutMarking(StopControl(main_window, stops[0]), state);
    }
}
