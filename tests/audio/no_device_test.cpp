// Without a wave output device (ALSA has no default PCM): nothing opens and
// every play is refused, without leaving anything behind.
#include "sound/wave_out.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "tests/support/app_window.h"
#include "tests/support/message_boxes.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

namespace {

TEST(NoWaveDevice, EveryPlayIsRefused) {
    static AppState state;
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    state.base_freq[0] = 220.0;
    state.score = SCORE_START;
    state.high_key[0] = 1;
    state.low_key[0] = 2;
    state.volume = 90;

    EXPECT_FALSE(OpenWaveOut(window, &state));
    EXPECT_EQ(state.wave_out, nullptr);
    for (int trial = 0; trial < TRIAL_COUNT; ++trial) {
        state.trial = trial;
        for (int tone = 0; tone <= 3; ++tone) {
            EXPECT_FALSE(PlayTone(&state, tone));
            EXPECT_EQ(state.playing, 0);
            EXPECT_EQ(state.wave_buffer, nullptr);
        }
    }
    EXPECT_FALSE(CloseWaveOut(&state));
    EXPECT_EQ(state.wave_out, nullptr);
    DestroyWindow(window);
}

// The program's main window without a device: each press of a play button
// tries the device again and then tells the listener, once, that nothing
// could be played; a whole test of ten Decides still reaches the result
// screen.
TEST(NoWaveDevice, EachPressIsToldAndTenDecidesReachTheResultScreen) {
    DeleteFileA("Settings.ini");
    MessageBoxWatcher boxes;
    size_t presses = 0;
    HWND window = OpenMainWindow(false);
    ASSERT_NE(window, nullptr);
    AppState *state = GetAppState();
    EXPECT_EQ(state->wave_out, nullptr);
    auto click = [window](int id) { Command(window, id); };
    click(ID_START);
    ASSERT_EQ(state->screen, ScreenTest);
    for (int trial = 0; trial < TRIAL_COUNT; ++trial) {
        ASSERT_EQ(state->trial, trial);
        for (int id : {ID_PLAY_A, ID_PLAY_B, ID_PLAY_C, ID_TARGET, ID_PLAY}) {
            if (GetDlgItem(window, id) != nullptr && IsWindowVisible(GetDlgItem(window, id))) {
                click(id);
                EXPECT_EQ(boxes.Texts().size(), ++presses) << "a notice for the press, at once";
                EXPECT_EQ(state->playing, 0);
                EXPECT_EQ(state->wave_buffer, nullptr);
            }
        }
        click(ID_DECIDE);
    }
    EXPECT_EQ(state->trial, TRIAL_COUNT);
    EXPECT_EQ(state->screen, ScreenResult);
    EXPECT_EQ(presses, 6u * 3 + 4u * 2);
    DestroyWindow(window);
    PumpPending();
    DrainQuit();
    DeleteFileA("Settings.ini");
}

} // namespace
