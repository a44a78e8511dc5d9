// The real Kestrune.exe at 150 % display scale: this case runs in the Wine
// prefix made for 144 dpi, where every program gets that DPI.
#include "app/controls.h"
#include "history/history_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/picture.h"
#include "tests/support/program.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

namespace {

// Each child the window has is where the 150 % table puts it.
void ExpectControlsAt150(HWND window, const std::vector<int> &ids) {
    for (int id : ids) {
        SCOPED_TRACE(::testing::Message() << "control " << id);
        const PlacedControl *want = nullptr;
        for (const PlacedControl &row : kControlRectsAt150) {
            want = row.id == id ? &row : want;
        }
        ASSERT_NE(want, nullptr);
        RECT have = ChildRect(window, id);
        EXPECT_TRUE(EqualRect(&have, &want->rect))
            << "at (" << have.left << ", " << have.top << ", " << have.right << ", " << have.bottom
            << ")";
    }
}

TEST(ScaledProgramTest, At150PercentTheClientIs750By450AndEveryControlIsScaled) {
    ASSERT_EQ(ScreenDpi(), 144) << "this case must run in the 144-dpi prefix";
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, 750);
    EXPECT_EQ(client.bottom, 450);

    ASSERT_TRUE(app.WaitForScreen(kTitleScreenIds));
    ExpectControlsAt150(app.window(), kTitleScreenIds);
    ASSERT_TRUE(app.Click(ID_START));
    ASSERT_TRUE(app.WaitForScreen(kTestScreenIds));
    ExpectControlsAt150(app.window(), kTestScreenIds); // the hidden ones too
    // The scale changes places and sizes, not what the scroll bars stand for.
    const int ranges[][2] = {{ID_PITCH_SLIDER, 200}, {ID_VOLUME_SLIDER, 100}};
    for (const auto &range : ranges) {
        int low = -1, high = -1;
        GetScrollRange(app.Control(range[0]), SB_CTL, &low, &high);
        EXPECT_EQ(low, 0) << "control " << range[0];
        EXPECT_EQ(high, range[1]) << "control " << range[0];
    }
    for (int t = 0; t < 10; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    ExpectControlsAt150(app.window(), kResultScreenIds);

    // The history window opens at the scale too: its 680 x 440 client times
    // 1.5, narrowed to the 1024-pixel screen, which 1020 and a frame exceed.
    ASSERT_TRUE(app.PressKey('H'));
    HWND history = FindProcessWindow(app.process_id(), "Kestrune_History", 10000);
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "the tests' screen";
    // Placed and sized before the test's row, read afterwards, is shown (the
    // table is asked for anew: the window is found before its children are
    // made).
    ASSERT_TRUE(PollUntil(
        [&] { return SendMessageW(GetDlgItem(history, ID_HISTORY_TABLE), LB_GETCOUNT, 0, 0) == 1; },
        10000));
    RECT frame;
    GetWindowRect(history, &frame);
    GetClientRect(history, &client);
    EXPECT_EQ(client.bottom, 660);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.right, 1024);
    SavePictureIfAsked(CaptureClient(history), "history-150");
    ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    EXPECT_TRUE(app.ExitsCleanly());
}

} // namespace
