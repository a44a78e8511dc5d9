// Drives the real Kestrune.exe from another process, as a user would: the
// program is launched in a working folder of its own, its window is found
// by class, and its controls are addressed by id. The program inherits this
// process's Unix environment (ALSA_CONFIG_PATH, LANG): a case that needs
// other values sets them through its ctest ENVIRONMENT, since an environment
// block handed to CreateProcess does not reach Wine's Unix side.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Kestrune.exe as this platform names it (under Wine, drive Z: is the Unix root).
std::string KestruneExePath();

// One running Kestrune.exe. The destructor ends a process that is still
// running (a failed test must not leave it behind) and closes the handles.
class KestruneApp {
  public:
    KestruneApp() = default;
    ~KestruneApp();
    KestruneApp(const KestruneApp &) = delete;
    KestruneApp &operator=(const KestruneApp &) = delete;

    // Launches another copy of the program (a Windows path) instead of the
    // built Kestrune.exe.
    void UseExecutable(const std::string &path) { executable_ = path; }
    // Starts the program in work_dir and waits until its main window exists.
    bool Launch(const std::string &work_dir, DWORD timeout_ms = 30000);
    // The same for a folder whose name the ANSI code page may not spell.
    bool Launch(const std::wstring &work_dir, DWORD timeout_ms = 30000);
    // Why the last Launch failed.
    const std::string &launch_failure() const { return launch_failure_; }
    // The program's main window (after a successful Launch).
    HWND window() const { return window_; }
    // The program's process id and handle.
    DWORD process_id() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }

    // The child control `id` of the main window, or null.
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // Whether the main window has a child `id`.
    bool HasControl(int id) const { return IsWindow(Control(id)) != FALSE; }
    // Whether the child `id` exists and is shown.
    bool IsShown(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
    // The ids of the main window's children, first-created first.
    std::vector<int> ChildIds() const;
    // Waits until the main window's children are exactly `ids` (in any
    // order): the screen they make has been built. False on timeout.
    bool WaitForScreen(const std::vector<int> &ids, DWORD timeout_ms = 10000) const;
    // Presses a button and returns once the program has handled the click.
    bool Click(int id, DWORD timeout_ms = 10000);
    // Queues a click behind what the program has queued already, without
    // waiting for it (for buttons that end the program, and for play buttons
    // whose previous tone's completion may still be queued).
    bool PostClick(int id);
    // Sends WM_HSCROLL from the scroll bar control `id` to the main window.
    bool Scroll(int id, int code, int thumb = 0, DWORD timeout_ms = 10000);
    // The thumb position of the scroll bar `id`.
    int ScrollPos(int id) const;
    // Whether the radio button `id` is marked.
    bool IsChecked(int id) const;
    // The title bar's close button: WM_CLOSE, queued.
    bool Close();
    // A key pressed on the keyboard (SendInput, to the program's window made
    // the foreground one), held through `repeats` auto-repeats, then let go;
    // with `modifier` (VK_SHIFT, say) held around it. Returns at once: the
    // program handles it in its own time.
    bool PressKey(WORD key, int repeats = 0, WORD modifier = 0);
    // The id of the program's control that has the keyboard focus, or 0.
    int FocusedId() const;

    // Ends the process at once, as the system does after the end of a
    // session; true once it has ended.
    bool Terminate();
    // Waits for the process to end; false on timeout. exit_code gets its code.
    bool WaitForExit(DWORD timeout_ms, DWORD *exit_code);
    // Waits for the process to end and expects exit code 0; false when it
    // did not end in time or ended with another code.
    bool ExitsCleanly(DWORD timeout_ms = 30000);

  private:
    std::string executable_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
    std::string launch_failure_;
};

// Keys pressed together (SendInput), then let go in the reverse order, in
// whichever window has the keyboard now: {VK_CONTROL, 'C'}, {VK_ESCAPE}.
// Returns at once.
bool PressKeysInForeground(const std::vector<WORD> &keys);
// Finds the top-level window of class_name that belongs to process_id,
// looking again until timeout_ms has passed.
HWND FindProcessWindow(DWORD process_id, const char *class_name, DWORD timeout_ms);
// The ANSI code page a running process was given (the one its ANSI calls
// decode and encode text with), read from the code page table its process
// environment block points to; 0 when it cannot be read.
UINT ProcessAnsiCodePage(HANDLE process);
// Volume in the Settings.ini of folder dir, or `missing` when there is none.
int ReadSavedVolume(const std::string &dir, int missing = -1);
int ReadSavedVolume(const std::wstring &dir, int missing = -1);
