#include "tests/support/program.h"

#include "app/main_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <algorithm>

std::string KestruneExePath() {
    return WindowsPath(KESTRUNE_EXE_PATH);
}

struct WindowSearch {
    DWORD process_id;
    const char *class_name;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch *search = reinterpret_cast<WindowSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    if (owner == search->process_id && lstrcmpA(class_name, search->class_name) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD process_id, const char *class_name, DWORD timeout_ms) {
    WindowSearch search = {process_id, class_name, nullptr};
    PollUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout_ms);
    return search.found;
}

bool KestruneApp::Terminate() {
    return TerminateProcess(process_.hProcess, 0) != FALSE &&
           WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
}

KestruneApp::~KestruneApp() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool KestruneApp::Launch(const std::string &work_dir, DWORD timeout_ms) {
    return Launch(Wide(work_dir), timeout_ms);
}

bool KestruneApp::Launch(const std::wstring &work_dir, DWORD timeout_ms) {
    std::wstring exe = Wide(executable_.empty() ? KestruneExePath() : executable_);
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // A start the system refuses is tried again a moment later, a couple of
    // times, before the launch counts as failed.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 work_dir.c_str(), &startup, &process_) != FALSE;
        if (!started) {
            launch_failure_ = "CreateProcess failed, error " + std::to_string(GetLastError());
            Sleep(200);
        }
    }
    if (!started) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, timeout_ms);
    // The window can be found while it is still being created (children not
    // yet made); it turns visible at the end of creation, and a message
    // answered from its loop means the program is ready for input. A window
    // that does not answer is looked for again while the program runs.
    DWORD start = GetTickCount();
    for (;;) {
        window_ = FindProcessWindow(process_.dwProcessId, MAIN_CLASS_NAME, 0);
        DWORD_PTR result = 0;
        if (window_ != nullptr && IsWindowVisible(window_) &&
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0) {
            return true;
        }
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
            launch_failure_ = "the program ended before its window was ready";
            return false;
        }
        if (GetTickCount() - start > timeout_ms) {
            launch_failure_ =
                window_ == nullptr ? "no main window" : "the main window never answered";
            return false;
        }
        Sleep(10);
    }
}

std::vector<int> KestruneApp::ChildIds() const {
    std::vector<int> ids;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

bool KestruneApp::WaitForScreen(const std::vector<int> &ids, DWORD timeout_ms) const {
    std::vector<int> want = ids;
    std::sort(want.begin(), want.end());
    return PollUntil(
        [&] {
            std::vector<int> have = ChildIds();
            std::sort(have.begin(), have.end());
            return have == want;
        },
        timeout_ms);
}

bool KestruneApp::Click(int id, DWORD timeout_ms) {
    HWND control = Control(id);
    if (control == nullptr) {
        return false;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeout_ms, &result) != 0;
}

bool KestruneApp::PostClick(int id) {
    HWND control = Control(id);
    return control != nullptr && PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}

bool KestruneApp::Scroll(int id, int code, int thumb, DWORD timeout_ms) {
    HWND control = Control(id);
    if (control == nullptr) {
        return false;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window_, WM_HSCROLL, MAKEWPARAM(code, thumb),
                               reinterpret_cast<LPARAM>(control), SMTO_ABORTIFHUNG, timeout_ms,
                               &result) != 0;
}

int KestruneApp::ScrollPos(int id) const {
    return GetScrollPos(Control(id), SB_CTL);
}

bool KestruneApp::IsChecked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool KestruneApp::Close() {
    return PostMessageA(window_, WM_CLOSE, 0, 0) != FALSE;
}

// Held down again without being let go, a key arrives as an auto-repeat,
// as a key the listener keeps pressed does.
bool KestruneApp::PressKey(WORD key, int repeats, WORD modifier) {
    SetForegroundWindow(window_);
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (modifier != 0) {
        add(modifier, 0);
    }
    for (int i = 0; i <= repeats; ++i) {
        add(key, 0);
    }
    add(key, KEYEVENTF_KEYUP);
    if (modifier != 0) {
        add(modifier, KEYEVENTF_KEYUP);
    }
    UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

bool PressKeysInForeground(const std::vector<WORD> &keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        INPUT &up = inputs[inputs.size() - 1 - i];
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = keys[i];
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    UINT count = static_cast<UINT>(inputs.size());
    return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

int KestruneApp::FocusedId() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window_, nullptr);
    if (!GetGUIThreadInfo(thread, &info) || info.hwndFocus == nullptr ||
        GetParent(info.hwndFocus) != window_) {
        return 0;
    }
    return GetDlgCtrlID(info.hwndFocus);
}

bool KestruneApp::WaitForExit(DWORD timeout_ms, DWORD *exit_code) {
    if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(process_.hProcess, exit_code);
    return true;
}

bool KestruneApp::ExitsCleanly(DWORD timeout_ms) {
    DWORD exit_code = 99;
    return WaitForExit(timeout_ms, &exit_code) && exit_code == 0;
}

namespace {
// Where the 64-bit process environment block keeps the pointer to the ANSI
// code page's table; the table (an NLS file's image) starts with its header
// size and then the code page, two 16-bit numbers.
constexpr size_t PEB_ANSI_CODE_PAGE_DATA = 0xA0;
typedef LONG(WINAPI *QueryInformationProcess)(HANDLE, int, void *, ULONG, ULONG *);
struct BasicProcessInformation {
    LONG exit_status;
    void *peb;
    ULONG_PTR affinity;
    LONG priority;
    ULONG_PTR process_id;
    ULONG_PTR parent_id;
};
} // namespace

UINT ProcessAnsiCodePage(HANDLE process) {
    auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    BasicProcessInformation info = {};
    if (query == nullptr || query(process, 0, &info, sizeof info, nullptr) != 0) {
        return 0;
    }
    void *table = nullptr;
    USHORT header[2] = {};
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<BYTE *>(info.peb) + PEB_ANSI_CODE_PAGE_DATA, &table,
                           sizeof table, &read) ||
        table == nullptr || !ReadProcessMemory(process, table, header, sizeof header, &read)) {
        return 0;
    }
    return header[1];
}

int ReadSavedVolume(const std::string &dir, int missing) {
    return ReadSavedVolume(Wide(dir), missing);
}

int ReadSavedVolume(const std::wstring &dir, int missing) {
    std::wstring file = dir + L"\\Settings.ini";
    return static_cast<int>(GetPrivateProfileIntW(L"Settings", L"Volume", missing, file.c_str()));
}
