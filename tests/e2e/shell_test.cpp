// The real Kestrune.exe, clicked through from another process.
#include "app/controls.h"
#include "app/main_window.h"
#include "tests/support/files.h"
#include "tests/support/program.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellEndToEnd, WholeTestFromTitleToResultAndBackThenQuit) {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();

    char caption[64] = {};
    GetWindowTextA(app.window(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Kestrune Ver1.1");
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, 500);
    EXPECT_EQ(client.bottom, 300);

    // Title screen.
    EXPECT_TRUE(app.WaitForScreen(kTitleScreenIds));

    // Test screen: the saved volume (none yet, so 90) is on its slider.
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_TRUE(app.WaitForScreen(kTestScreenIds));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 90);
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBTRACK, 40));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, 40));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_LINELEFT));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_LINELEFT));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_LINELEFT));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 37);

    for (int t = 0; t < 10; ++t) {
        SCOPED_TRACE(::testing::Message() << "trial " << t);
        bool comparison = IsComparisonTrial(t);
        EXPECT_EQ(app.IsShown(ID_HIGH_A), comparison);
        EXPECT_EQ(app.IsShown(ID_PITCH_SLIDER), !comparison);
        if (comparison) {
            ASSERT_TRUE(app.Click(ID_HIGH_B));
            ASSERT_TRUE(app.Click(ID_LOW_C));
            EXPECT_TRUE(app.IsChecked(ID_HIGH_B));
            EXPECT_TRUE(app.IsChecked(ID_LOW_C));
        } else {
            EXPECT_EQ(app.ScrollPos(ID_PITCH_SLIDER), 100);
            ASSERT_TRUE(app.Scroll(ID_PITCH_SLIDER, SB_PAGERIGHT));
            EXPECT_EQ(app.ScrollPos(ID_PITCH_SLIDER), 120);
        }
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }

    // Result screen.
    EXPECT_TRUE(app.WaitForScreen(kResultScreenIds));

    // Back to the title, and a second test starts afresh with the volume kept.
    ASSERT_TRUE(app.Click(ID_BACK));
    EXPECT_TRUE(app.WaitForScreen(kTitleScreenIds));
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_TRUE(app.WaitForScreen(kTestScreenIds));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 37);
    EXPECT_TRUE(app.IsShown(ID_HIGH_A));
    EXPECT_FALSE(app.IsChecked(ID_HIGH_B));
    ASSERT_TRUE(app.Click(ID_DECIDE));
    for (int t = 1; t < 10; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.Click(ID_BACK));

    ASSERT_TRUE(app.PostClick(ID_QUIT));
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(dir.path()), 37);
}

// However the program is left, the volume is saved in the working folder
// and the exit code is 0.
enum class Way { CloseOnTitle, CloseDuringTest, ResultQuit };

void LeaveAndCheckTheSavedVolume(Way way) {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    int volume = 90;
    if (way == Way::CloseDuringTest) {
        ASSERT_TRUE(app.Click(ID_START));
        ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_PAGELEFT)); // 90 -> 80
        ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_LINERIGHT));
        volume = 81;
    } else if (way == Way::ResultQuit) {
        ASSERT_TRUE(app.Click(ID_START));
        ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_LEFT));
        volume = 0;
        for (int t = 0; t < 10; ++t) {
            ASSERT_TRUE(app.Click(ID_DECIDE));
        }
    }
    if (way == Way::ResultQuit) {
        ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    } else {
        ASSERT_TRUE(app.Close());
    }
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(dir.path()), volume);
}

TEST(ShellEndToEnd, CloseButtonOnTheTitleSavesTheVolume) {
    LeaveAndCheckTheSavedVolume(Way::CloseOnTitle);
}

TEST(ShellEndToEnd, CloseButtonDuringATestSavesTheVolume) {
    LeaveAndCheckTheSavedVolume(Way::CloseDuringTest);
}

TEST(ShellEndToEnd, ResultScreenQuitSavesTheVolume) {
    LeaveAndCheckTheSavedVolume(Way::ResultQuit);
}

// The program reads Settings.ini of its own working folder and writes back
// the clamped value even when no test was run.
TEST(ShellEndToEnd, ReadsTheWorkingFoldersSettingsAndWritesBackClamped) {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    WritePrivateProfileStringA("Settings", "Volume", "150", dir.File("Settings.ini").c_str());
    WritePrivateProfileStringA("Other", "Keep", "yes", dir.File("Settings.ini").c_str());
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 100);
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(dir.path()), 100);
    char keep[16] = {};
    GetPrivateProfileStringA("Other", "Keep", "", keep, sizeof keep,
                             dir.File("Settings.ini").c_str());
    EXPECT_STREQ(keep, "yes");
}

} // namespace
