// The session ends (sign-out, shutdown) with a tone sounding: the device is
// closed and the tone's buffer given back before Windows ends the process.
#include "app/controls.h"
#include "app/main_window.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

namespace {

void Press(HWND window, int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

TEST(SessionEndDeviceTest, TheDeviceIsClosedAndTheToneGivenBack) {
    DeleteFileA("Settings.ini");
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses(instance);
    HWND window = CreateMainWindow(instance);
    ASSERT_NE(window, nullptr);
    AppState *state = GetAppState();
    ASSERT_NE(state->wave_out, nullptr) << "no wave device: is ALSA_CONFIG_PATH set?";
    Press(window, ID_START);
    Press(window, ID_PLAY_C);
    ASSERT_EQ(state->playing, 1) << "no tone was sounding";

    SendMessageA(window, WM_ENDSESSION, TRUE, 0); // 0: shutdown or restart
    EXPECT_EQ(state->wave_out, nullptr);
    EXPECT_EQ(state->wave_buffer, nullptr);
    EXPECT_EQ(state->playing, 0);
    // A completion of the cut tone still queued finds no device and changes
    // nothing.
    PumpPending();
    EXPECT_EQ(state->playing, 0);
    EXPECT_EQ(state->wave_buffer, nullptr);

    DestroyWindow(window);
    PumpPending();
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Volume", -1, ".\\Settings.ini"), 90u);
    DeleteFileA("Settings.ini");
}

} // namespace
