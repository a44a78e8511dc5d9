// Ends that are not a quit: the session ends with the window open (sign-out,
// shutdown), or the main window cannot be made at all.
#include "app/controls.h"
#include "app/main_window.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/main_window_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct SessionCase {
    const char *name;
    // Brings the window into a state; returns the volume the user has set.
    std::function<int(HWND)> enter;
};

const SessionCase kSessionCases[] = {
    {"title screen, volume as read", [](HWND) { return 90; }},
    {"test screen, volume moved",
     [](HWND window) {
         Click(window, ID_START);
         Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 61);
         return 61;
     }},
    {"test screen, volume paged to the bottom",
     [](HWND window) {
         Click(window, ID_START);
         Scroll(window, ID_VOLUME_SLIDER, SB_LEFT);
         return 0;
     }},
};

// Windows asks, then tells, and then ends the process: no WM_DESTROY comes.
TEST_F(MainWindowFixture, AnEndingSessionSavesTheVolume) {
    for (const SessionCase &c : kSessionCases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(scratch.File("Settings.ini").c_str());
        if (!IsWindow(window)) {
            window = OpenMainWindow();
            state = GetAppState();
        }
        int volume = c.enter(window);
        EXPECT_NE(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0)
            << "the program must not hold up the end of the session";
        SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(ReadWholeFile(scratch.File("Settings.ini")),
                  "[Settings]\r\nVolume=" + std::to_string(volume) + "\r\n");
        DestroyWindow(window);
        DrainQuit();
    }
}

// Another program refused the end of the session: nothing is written, and
// the user carries on.
TEST_F(MainWindowFixture, ACancelledSessionEndChangesNothing) {
    Click(window, ID_START);
    Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 33);
    SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(GetFileAttributesA(scratch.File("Settings.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(IsWindow(window));
    Click(window, ID_DECIDE);
    EXPECT_EQ(state->trial, 1);
    DestroyWindow(window);
    DrainQuit();
    EXPECT_EQ(ReadWholeFile(scratch.File("Settings.ini")), "[Settings]\r\nVolume=33\r\n");
}

// RunApplication on a thread of its own, so that a loop that never ends
// fails the test instead of hanging it.
struct Run {
    std::function<void()> before; // on the thread, just before RunApplication
    int exit_code = -1;
};

DWORD WINAPI RunOnThread(void *param) {
    Run *run = static_cast<Run *>(param);
    run->before();
    run->exit_code = RunApplication(GetModuleHandleA(nullptr));
    return 0;
}

// Returns the exit code; fails if RunApplication is still running after
// the deadline (its thread is then told to quit).
int RunApplicationWithin(DWORD milliseconds, std::function<void()> before) {
    Run run;
    run.before = before;
    DWORD thread_id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunOnThread, &run, 0, &thread_id);
    if (WaitForSingleObject(thread, milliseconds) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "RunApplication is still waiting in a message loop with no window";
        PostThreadMessageA(thread_id, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, INFINITE);
    }
    CloseHandle(thread);
    return run.exit_code;
}

HHOOK refuse_hook = nullptr;

// Refuses the creation of the program's main window, as a system out of
// resources would.
LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA *create = reinterpret_cast<const CBT_CREATEWNDA *>(lparam);
        const char *name = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(name) && lstrcmpA(name, MAIN_CLASS_NAME) == 0) {
            return 1;
        }
    }
    return CallNextHookEx(refuse_hook, code, wparam, lparam);
}

TEST(NoMainWindowTest, RefusedWindowEndsTheProgramWithExitCodeOne) {
    ScratchFolder scratch;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The class must register for real, so that only the window is refused.
    UnregisterClassA(MAIN_CLASS_NAME, instance);
    int code = RunApplicationWithin(10000, [] {
        refuse_hook = SetWindowsHookExA(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    });
    UnhookWindowsHookEx(refuse_hook);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(FindWindowA(MAIN_CLASS_NAME, nullptr), nullptr);
    // No window, so no WM_DESTROY: nothing may have been written either.
    EXPECT_EQ(GetFileAttributesA(scratch.File("Settings.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(NoMainWindowTest, RefusedClassEndsTheProgramWithExitCodeOne) {
    ScratchFolder scratch;
    // A class of the same name already in the process: the program's
    // registration is refused, as it would be for any other reason.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(instance);
    EXPECT_EQ(RunApplicationWithin(10000, [] {}), 1);
    EXPECT_EQ(FindWindowA(MAIN_CLASS_NAME, nullptr), nullptr);
}

} // namespace
