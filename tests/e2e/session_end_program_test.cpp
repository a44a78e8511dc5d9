// The real program when the session ends with it open (sign-out, shutdown):
// Windows sends WM_QUERYENDSESSION and WM_ENDSESSION, then ends the process
// without WM_DESTROY. The volume set during the run must be in Settings.ini.
#include "app/controls.h"
#include "tests/support/files.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD END_TIMEOUT_MS = 30000;

class SessionEndProgramTest : public ::testing::Test {
  protected:
    // The program on its test screen with the volume moved to 42 and a tone
    // sounding, so that the device is closed under it.
    void SetUp() override {
        ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
        ASSERT_TRUE(app.Click(ID_START));
        ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, 42));
        ASSERT_TRUE(app.Click(ID_PLAY_A));
    }

    void ExpectEndedWithTheVolumeSaved() {
        DWORD code = 0;
        ASSERT_TRUE(app.WaitForExit(END_TIMEOUT_MS, &code)) << "the program is still running";
        EXPECT_EQ(ReadWholeFile(dir.File("Settings.ini")), "[Settings]\r\nVolume=42\r\n");
    }

    ScratchFolder dir{ScratchFolder::DO_NOT_ENTER};
    KestruneApp app;
};

// Wine's own sign-out: wineboot ends the session of every program in the
// prefix the way Windows does.
TEST_F(SessionEndProgramTest, WinebootEndSession) {
    char command[] = "wineboot.exe --end-session";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION wineboot = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &wineboot)) {
        GTEST_SKIP() << "no wineboot.exe (not under Wine), error " << GetLastError();
    }
    EXPECT_EQ(WaitForSingleObject(wineboot.hProcess, END_TIMEOUT_MS), WAIT_OBJECT_0)
        << "wineboot --end-session did not finish";
    CloseHandle(wineboot.hThread);
    CloseHandle(wineboot.hProcess);
    ExpectEndedWithTheVolumeSaved();
}

// What Windows does, step by step: it asks, it tells, then it ends the process.
TEST_F(SessionEndProgramTest, QueryEndSessionThenTerminate) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(app.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, END_TIMEOUT_MS, &answer));
    EXPECT_NE(answer, 0u) << "the program must not hold up the end of the session";
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(app.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, END_TIMEOUT_MS, &ignored));
    ASSERT_TRUE(app.Terminate());
    ExpectEndedWithTheVolumeSaved();
}

} // namespace
