#include "app/main_window.h"

#include "app/accessibility.h"
#include "app/controls.h"
#include "app/history_menu.h"
#include "app/keyboard.h"
#include "app/language_menu.h"
#include "app/notices.h"
#include "app/results_file.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/window_dpi.h"
#include "dsb/score_display.h"
#include "engine/random.h"
#include "platform/winmm.h"
#include "render/display_scale.h"
#include "render/screen_paint.h"
#include "render/surfaces.h"
#include "sound/wave_out.h"

static AppState app_state;

AppState *GetAppState() {
    return &app_state;
}

constexpr UINT CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr int ICON_ID = 1;

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CLASS_STYLE;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_ID));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Hollow: the system never paints the background, every paint is one copy.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = MAIN_CLASS_NAME;
    bool main_registered = RegisterClassExA(&wc) != 0;
    wc.lpfnWndProc = DisplayWindowProc;
    wc.lpszClassName = DSB_CLASS_NAME;
    RegisterClassExA(&wc);
    return main_registered;
}

HWND CreateMainWindow(HINSTANCE instance) {
    // Sized for the system's DPI; WM_CREATE refits it should the window's
    // own DPI turn out to be another.
    int dpi = SystemDpi();
    SIZE outer = WindowSizeForClient(ScaledClientWidth(dpi), ScaledClientHeight(dpi), MAIN_STYLE,
                                     MAIN_EX_STYLE, dpi);
    return CreateWindowExA(MAIN_EX_STYLE, MAIN_CLASS_NAME, MAIN_CAPTION, MAIN_STYLE, CW_USEDEFAULT,
                           CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr, instance, nullptr);
}

int RunApplication(HINSTANCE instance) {
    // Without a main window no message would ever end the loop: the process
    // would live on, invisible, until someone killed it.
    if (!RegisterWindowClasses(instance) || CreateMainWindow(instance) == nullptr) {
        return EXIT_NO_WINDOW;
    }
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The keyboard's own keys (Tab, Enter, the play keys) act here, as a
        // dialog's do, before a control could take them.
        if (HandleKeyboardMessage(&msg, GetAppState())) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// The window's DPI as the record keeps it: a value the program cannot draw
// at leaves the record at 100 %.
static int UsableDpi(int dpi) {
    return IsDisplayDpi(dpi) ? dpi : BASE_DPI;
}

static void OnCreate(HWND window, AppState *state) {
    state->main_window = window;
    state->screen = ScreenNone;
    SeedRandom(Winmm().timeGetTime());
    state->dpi = UsableDpi(WindowDpi(window));
    FitClientArea(window, ScaledClientWidth(state->dpi), ScaledClientHeight(state->dpi));
    CreateSurfaces(state);
    OpenWaveOut(window, state);
    ReadSettings(state);
    ReadLanguage(state);
    AddLanguageItems(window, state);
    AddHistoryItem(window, state->language);
    StartResults(window, state);
    ShowTitleScreen(state);
}

// Windows ends the process after a session's WM_ENDSESSION without sending
// WM_DESTROY, so a sign-out or shutdown would otherwise lose the volume and
// the results still waiting to be written.
static void OnEndSession(WPARAM ending, AppState *state) {
    if (!ending) {
        return;
    }
    WriteSettings(state);
    FinishResults();
    CloseWaveOut(state);
}

static void OnDestroy(AppState *state) {
    WriteSettings(state);
    FinishResults();
    CloseWaveOut(state);
    DestroySurfaces(state);
    PostQuitMessage(0);
}

// The two radio rows take their row's colour; everything else gets no brush.
static HBRUSH OnCtlColorStatic(LPARAM lparam, const AppState *state) {
    int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
    if (id >= ID_HIGH_A && id <= ID_HIGH_C) {
        return state->brush_high;
    }
    if (id >= ID_LOW_A && id <= ID_LOW_C) {
        return state->brush_low;
    }
    return nullptr;
}

// A window minimised when its scale changed comes back at the size worked
// out for the new scale's frame, which a system that draws the frame at
// another DPI does not draw: the client area is made exact again.
static void OnSize(HWND window, WPARAM kind, const AppState *state) {
    if (kind == SIZE_RESTORED) {
        int dpi = RecordDpi(state);
        FitClientArea(window, ScaledClientWidth(dpi), ScaledClientHeight(dpi));
    }
}

// The language and history items of the system menu are the program's; every other
// command (move, minimise, close ...) is the system's.
static LRESULT OnSysCommand(HWND window, WPARAM wparam, LPARAM lparam, AppState *state) {
    if (OnLanguageCommand(window, wparam, state) || OnHistoryCommand(window, wparam, state)) {
        return 0;
    }
    return DefWindowProcA(window, WM_SYSCOMMAND, wparam, lparam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    AppState *state = GetAppState();
    switch (message) {
    case WM_CREATE: OnCreate(window, state); return 0;
    case WM_DESTROY: OnDestroy(state); return 0;
    case WM_ENDSESSION: OnEndSession(wparam, state); return 0;
    case WM_PAINT: OnPaint(window, state); return 0;
    case WM_COMMAND: OnCommand(window, wparam, lparam, state); return 0;
    case WM_HSCROLL: OnHScroll(window, wparam, lparam, state); return 0;
    case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(OnCtlColorStatic(lparam, state));
    case MM_WOM_DONE: OnWaveDone(state); return 0;
    case DSBN_SETTLED: OnDisplaySettled(window, wparam, state); return 0;
    case WM_DPICHANGED: OnDpiChanged(window, wparam, lparam, state); return 0;
    case WM_SIZE: OnSize(window, wparam, state); return 0;
    case WM_GETOBJECT: return OnGetObject(window, wparam, lparam, state);
    case WM_SYSCOMMAND: return OnSysCommand(window, wparam, lparam, state);
    default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

// Tone number of a play button, or -1 for any other control.
static int ToneOfButton(int id) {
    switch (id) {
    case ID_PLAY_A: return 1;
    case ID_PLAY_B: return 2;
    case ID_PLAY_C: return 3;
    case ID_TARGET: return 0;
    case ID_PLAY: return 1;
    default: return -1;
    }
}

// A tone that no device would take is not lost in silence: the listener is
// told, once for each press, and the test goes on (the press is lost, as one
// made while a tone sounds). Only a test's own play buttons tell.
static void OnPlayRequest(HWND window, int tone, AppState *state) {
    if (StartTone(state, tone) == PLAY_FAILED && state->screen == ScreenTest) {
        ShowNotice(window, state->language, TEXT_NOTICE_NO_SOUND);
    }
}

// A marked radio button stores its pick; the two rows fill separate fields.
static void StorePick(int id, HWND control, AppState *state) {
    if (SendMessageA(control, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        return;
    }
    if (id >= ID_HIGH_A && id <= ID_HIGH_C) {
        state->chosen_high = id - ID_HIGH_A + 1;
    } else if (id >= ID_LOW_A && id <= ID_LOW_C) {
        state->chosen_low = id - ID_LOW_A + 1;
    }
}

void OnCommand(HWND window, WPARAM wparam, LPARAM lparam, AppState *state) {
    int id = LOWORD(wparam);
    HWND control = reinterpret_cast<HWND>(lparam);
    switch (id) {
    case ID_START:
        StartTest(state);
        InvalidateRect(window, nullptr, TRUE);
        return;
    case ID_QUIT:
    case ID_RESULT_QUIT: DestroyWindow(window); return;
    case ID_BACK:
        ShowTitleScreen(state);
        // A chance for results kept while another program held the file,
        // which an open history window then shows.
        WritePendingResults();
        RefreshHistory();
        return;
    case ID_DECIDE:
        GradeAnswer(state);
        // Cut off a tone still sounding; its buffer comes back as MM_WOM_DONE.
        Winmm().waveOutReset(state->wave_out);
        return;
    default: break;
    }
    int tone = ToneOfButton(id);
    if (tone >= 0) {
        OnPlayRequest(window, tone, state);
        return;
    }
    StorePick(id, control, state);
}

struct SliderRule {
    int id;
    int max;
    int page;
};

static const SliderRule kSliderRules[] = {
    {ID_PITCH_SLIDER, PITCH_SLIDER_MAX, 20},
    {ID_VOLUME_SLIDER, VOLUME_MAX, 10},
};

static int NewSliderPosition(int code, int thumb, int pos, const SliderRule &rule) {
    switch (code) {
    case SB_LINELEFT: return pos - 1;
    case SB_LINERIGHT: return pos + 1;
    case SB_PAGELEFT: return pos - rule.page;
    case SB_PAGERIGHT: return pos + rule.page;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return thumb;
    case SB_LEFT: return 0;
    case SB_RIGHT: return rule.max;
    default: return pos;
    }
}

void OnHScroll(HWND, WPARAM wparam, LPARAM lparam, AppState *state) {
    HWND control = reinterpret_cast<HWND>(lparam);
    if (control == nullptr) {
        return;
    }
    int pos = GetScrollPos(control, SB_CTL);
    int id = GetDlgCtrlID(control);
    int code = LOWORD(wparam);
    int thumb = HIWORD(wparam);
    for (const SliderRule &rule : kSliderRules) {
        if (rule.id != id) {
            continue;
        }
        pos = NewSliderPosition(code, thumb, pos, rule);
        if (pos < 0) {
            pos = 0;
        } else if (pos > rule.max) {
            pos = rule.max;
        }
        if (id == ID_PITCH_SLIDER) {
            state->slider_pos = pos;
        } else {
            state->volume = pos;
        }
        break;
    }
    SetScrollPos(control, SB_CTL, pos, TRUE);
}

void OnDisplaySettled(HWND window, WPARAM wparam, AppState *state) {
    HWND display = reinterpret_cast<HWND>(wparam);
    int id = GetDlgCtrlID(display);
    if (id == ID_SCORE_DISPLAY) {
        // The score stays hidden through the second half of the test.
        if (state->trial > 5) {
            SendDlgItemMessageA(window, ID_SCORE_DISPLAY, DSBM_SETBLANK, 1, 0);
        }
        AnnounceValue(display);
        return;
    }
    state->results_revealed = 1;
    ComposeScreen(state);
    InvalidateRect(window, nullptr, TRUE);
    AnnounceValue(display);
    AnnounceScreenTexts(window);
}

void OnPaint(HWND window, AppState *state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    ComposeScreen(state);
    int dpi = RecordDpi(state);
    BitBlt(dc, 0, 0, ScaledClientWidth(dpi), ScaledClientHeight(dpi), state->back_dc, 0, 0,
           SRCCOPY);
    EndPaint(window, &ps);
}

// The surfaces and fonts anew at the record's (new) DPI. DestroySurfaces
// frees only the drawing fields of the record it is given, so a copy that
// holds the old handles frees them, once the controls have the new font.
static void RebuildSurfaces(HWND window, AppState *state) {
    AppState previous = *state;
    CreateSurfaces(state);
    SetChildFonts(window, state);
    DestroySurfaces(&previous);
}

// Takes the rectangle the system suggests for the new scale (on Windows 10
// it already holds the scaled client area), then makes the client area
// exactly the scaled 500 x 300, whatever frame the system draws.
static void ResizeForDpi(HWND window, const RECT *suggested, int dpi) {
    int width = ScaledClientWidth(dpi);
    int height = ScaledClientHeight(dpi);
    if (IsIconic(window)) {
        // Minimised: the size applies when the window is restored.
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(window, &placement);
        SIZE outer = WindowSizeForClient(width, height, MAIN_STYLE, MAIN_EX_STYLE, dpi);
        RECT &normal = placement.rcNormalPosition;
        normal.right = normal.left + outer.cx;
        normal.bottom = normal.top + outer.cy;
        SetWindowPlacement(window, &placement);
        return;
    }
    if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitClientArea(window, width, height);
}

void OnDpiChanged(HWND window, WPARAM wparam, LPARAM lparam, AppState *state) {
    int dpi = HIWORD(wparam);
    if (!IsDisplayDpi(dpi)) {
        return; // not a display scale
    }
    // Nothing of the test is touched: the controls keep their marks and
    // positions, a tone plays on, a score display counts on (it redraws
    // itself at its new size).
    if (dpi != RecordDpi(state)) {
        state->dpi = dpi;
        RebuildSurfaces(window, state);
        PlaceChildren(window, dpi);
    }
    ResizeForDpi(window, reinterpret_cast<const RECT *>(lparam), dpi);
    ComposeScreen(state);
    InvalidateRect(window, nullptr, TRUE);
}
