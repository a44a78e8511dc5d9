#include "tests/support/app_window.h"

#include "app/main_window.h"
#include "app/settings.h"
#include "dsb/score_display.h"
#include "tests/support/message_pump.h"

namespace {

std::vector<DisplayMessage> display_log;

LRESULT CALLBACK LoggingDisplayProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= DSBM_SETVALUE && message <= DSBM_GETBLANK) {
        display_log.push_back({GetDlgCtrlID(window), message, wparam});
    }
    return DisplayWindowProc(window, message, wparam, lparam);
}

} // namespace

HWND OpenMainWindow(bool log_displays) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (log_displays) {
        // Registered first, this class wins over the program's own
        // registration of the same name, which then fails and changes
        // nothing; it differs from the program's only in its procedure.
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = LoggingDisplayProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = DSB_CLASS_NAME;
        RegisterClassExA(&wc);
    }
    RegisterWindowClasses(instance);
    *GetAppState() = AppState{};
    ClearDisplayLog();
    return CreateMainWindow(instance);
}

int ReadSettingsVolume() {
    AppState state = {};
    state.volume = -12345;
    ReadSettings(&state);
    return state.volume;
}

void WriteSettingsVolume(int volume) {
    AppState state = {};
    state.volume = volume;
    WriteSettings(&state);
}

void DrainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

bool WaitForToneEnd(const AppState *state) {
    return PumpUntil([state] { return state->playing == 0; }, 20000);
}

const std::vector<DisplayMessage> &DisplayLog() {
    return display_log;
}

void ClearDisplayLog() {
    display_log.clear();
}

std::vector<DisplayMessage> DisplayMessagesFor(int id) {
    std::vector<DisplayMessage> out;
    for (const DisplayMessage &m : display_log) {
        if (m.id == id) {
            out.push_back(m);
        }
    }
    return out;
}

std::vector<int> ChildIds(HWND parent) {
    std::vector<int> ids;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

bool IsShown(HWND parent, int id) {
    return IsWindowVisible(GetDlgItem(parent, id)) != FALSE;
}

void Click(HWND parent, int id) {
    SendMessageA(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

void Command(HWND parent, int id, int code) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

void Scroll(HWND parent, int id, int code, int thumb) {
    SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}
