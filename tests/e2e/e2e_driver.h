// Drives the real Kestrune.exe from another process, as a user would: the
// program is launched in a working folder of its own, its window is found
// by class, and its controls are addressed by id.
#pragma once

#include <windows.h>

#include "tests/support/file_tree.h"

#include <string>

// Kestrune.exe as this platform names it (under Wine, drive Z: is the Unix root).
std::string KestruneExePath();
// A Unix path as Wine sees it; Windows paths pass unchanged.
std::string ToWindowsPath(const std::string &path);

// A fresh, empty folder under the temporary folder, removed again on destruction.
class WorkDir {
  public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir &) = delete;
    WorkDir &operator=(const WorkDir &) = delete;
    const std::string &path() const { return path_; }
    std::string File(const char *name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// One running Kestrune.exe. The destructor ends a process that is still
// running (a failed test must not leave it behind) and closes the handles.
class KestruneApp {
  public:
    KestruneApp() = default;
    ~KestruneApp();
    KestruneApp(const KestruneApp &) = delete;
    KestruneApp &operator=(const KestruneApp &) = delete;

    // Starts the program in work_dir and waits until its main window exists.
    bool Launch(const std::string &work_dir, DWORD timeout_ms = 30000);
    // The environment of the next Launch: NAME=value strings, each ended by a
    // NUL, the block by one more. Empty (the default): this process's own.
    void SetEnvironment(const std::string &block) { environment_ = block; }
    // Why the last Launch failed.
    const std::string &launch_failure() const { return launch_failure_; }
    HWND window() const { return window_; }
    DWORD process_id() const { return process_.dwProcessId; }

    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool HasControl(int id) const { return IsWindow(Control(id)) != FALSE; }
    int ChildCount() const;
    // Presses a button and returns once the program has handled the click.
    bool Click(int id, DWORD timeout_ms = 10000);
    // Queues a click without waiting for it (for buttons that end the program).
    bool PostClick(int id);
    // Sends WM_HSCROLL from the scroll bar control `id` to the main window.
    bool Scroll(int id, int code, int thumb = 0, DWORD timeout_ms = 10000);
    int ScrollPos(int id) const;
    bool IsChecked(int id) const;
    bool Close(); // the title bar's close button: WM_CLOSE

    // Waits for the process to end; false on timeout. exit_code gets its code.
    bool WaitForExit(DWORD timeout_ms, DWORD *exit_code);
    // Copies what the window shows on screen into a 24-bit BMP file.
    bool SaveScreenshot(const std::string &bmp_path) const;

  private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
    std::string environment_;
    std::string launch_failure_;
};

// Finds the top-level window of class_name that belongs to process_id.
HWND FindProcessWindow(DWORD process_id, const char *class_name, DWORD timeout_ms);
// Volume in the Settings.ini of folder dir, or `missing` when there is none.
int ReadSavedVolume(const std::string &dir, int missing = -1);
