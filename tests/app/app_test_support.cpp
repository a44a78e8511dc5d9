#include "app_test_support.h"

#include "app/main_window.h"
#include "dsb/score_display.h"

ScratchDir::ScratchDir() {
    GetCurrentDirectoryA(sizeof previous_, previous_);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "kst", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    path_ = name;
    SetCurrentDirectoryA(path_.c_str());
}

ScratchDir::~ScratchDir() {
    SetCurrentDirectoryA(previous_);
    RemoveTree(path_);
}

std::string ReadWholeFile(const std::string &path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
}

void WriteWholeFile(const std::string &path, const std::string &text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string HostPath(const char *unix_path) {
    std::string path = unix_path;
    if (path.empty() || path[0] != '/') {
        return path;
    }
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + path;
}

static std::vector<DisplayMessage> display_log;

std::vector<DisplayMessage> &DisplayLog() {
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

static LRESULT CALLBACK LoggingDisplayProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    if (message >= DSBM_SETVALUE && message <= DSBM_GETBLANK) {
        display_log.push_back({GetDlgCtrlID(window), message, wparam});
    }
    return DisplayWindowProc(window, message, wparam, lparam);
}

HWND OpenMainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // Registered first, this class wins over the program's own registration
    // of the same name, which then fails and changes nothing.
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = LoggingDisplayProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = DSB_CLASS_NAME;
    RegisterClassExA(&wc);
    RegisterWindowClasses(instance);
    *GetAppState() = AppState{};
    ClearDisplayLog();
    return CreateMainWindow(instance);
}

void DrainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::vector<int> ChildIds(HWND parent) {
    std::vector<int> ids;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

void Click(HWND parent, int id) {
    SendMessageA(GetDlgItem(parent, id), BM_CLICK, 0, 0);
}

void Scroll(HWND parent, int id, int code, int thumb) {
    SendMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}
