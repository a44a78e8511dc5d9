// Without a wave output device (ALSA has no default PCM): nothing opens and
// every play is refused, without leaving anything behind.
#include "sound/wave_out.h"

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

} // namespace
