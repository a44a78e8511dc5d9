// Helpers shared by the application shell's tests: scratch folders, a real
// main window in the test process, and a record of what the score displays receive.
#pragma once

#include "app/main_window.h"

#include <gtest/gtest.h>

#include "tests/support/file_tree.h"

#include <string>
#include <vector>

// A fresh folder under the temporary folder, made the current directory for
// the test's lifetime; the previous current directory comes back afterwards.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    const std::string &path() const { return path_; }
    std::string File(const char *name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
    char previous_[MAX_PATH * 2];
};

std::string ReadWholeFile(const std::string &path);
void WriteWholeFile(const std::string &path, const std::string &text);
// A Unix path as Wine sees it (drive Z: is the root); Windows paths pass unchanged.
std::string HostPath(const char *unix_path);

// One message a score display received.
struct DisplayMessage {
    int id; // the display's control id
    UINT message;
    WPARAM wparam;
};
// Every DSBM_* message sent to any score display since the last ClearDisplayLog.
std::vector<DisplayMessage> &DisplayLog();
void ClearDisplayLog();
// The messages of one display only, in the order received.
std::vector<DisplayMessage> DisplayMessagesFor(int id);

// Registers the program's classes, the display class wrapped so it logs its
// DSBM_* messages before handing them on, and opens the main window on a
// fresh AppState.
HWND OpenMainWindow();
// Removes a WM_QUIT that the window's destruction left in this thread's queue.
void DrainQuit();

// Control ids of the main window's children, first-created first.
std::vector<int> ChildIds(HWND parent);
// Sends a click to a control the way a user's click arrives.
void Click(HWND parent, int id);
void Scroll(HWND parent, int id, int code, int thumb = 0);

// A real main window in a scratch current directory for each test.
class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        window = OpenMainWindow();
        ASSERT_NE(window, nullptr);
        state = GetAppState();
    }
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        DrainQuit();
    }

    ScratchDir scratch;
    HWND window = nullptr;
    AppState *state = nullptr;
};
