// Closing the main window in every state it can be in: the volume is saved
// and nothing is left behind (tone buffer, device, timers, windows, GDI
// objects, heap).
#include "app/controls.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "dsb/score_display.h"
#include "tests/reliability/process_counts.h"
#include "tests/support/answers.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/seven_segment.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

enum class Way { CloseButton, QuitButton };

struct ShutdownCase {
    const char *name;
    // Brings the window into the state; returns the volume that must be saved.
    std::function<int(HWND, AppState *)> enter;
    Way way;
};

int StartWithVolume(HWND window, int volume) {
    Click(window, ID_START);
    Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, volume);
    return volume;
}

bool Counting(HWND window, int id) {
    DsbData *record = DisplayRecord(GetDlgItem(window, id));
    return record != nullptr && record->timer_id != 0;
}

const ShutdownCase kCases[] = {
    {"Title", [](HWND, AppState *) { return 23; }, Way::CloseButton},
    {"MidTest",
     [](HWND window, AppState *state) {
         int volume = StartWithVolume(window, 41);
         for (int t = 0; t < 4; ++t) {
             AnswerAndDecide(window, state, false);
         }
         PumpUntil([window] { return !Counting(window, ID_SCORE_DISPLAY); }, 20000);
         return volume;
     },
     Way::CloseButton},
    {"ToneInFlight",
     [](HWND window, AppState *state) {
         int volume = StartWithVolume(window, 7);
         Click(window, ID_PLAY_C);
         EXPECT_EQ(state->playing, 1);
         return volume;
     },
     Way::CloseButton},
    {"CountRunning",
     [](HWND window, AppState *state) {
         int volume = StartWithVolume(window, 64);
         AnswerAndDecide(window, state, true);
         EXPECT_TRUE(Counting(window, ID_SCORE_DISPLAY));
         return volume;
     },
     Way::CloseButton},
    {"ResultCountRunning",
     [](HWND window, AppState *state) {
         int volume = StartWithVolume(window, 99);
         for (int t = 0; t < TRIAL_COUNT; ++t) {
             AnswerAndDecide(window, state, true);
         }
         EXPECT_TRUE(Counting(window, ID_FINAL_DISPLAY));
         return volume;
     },
     Way::QuitButton},
    {"ResultRevealed",
     [](HWND window, AppState *state) {
         int volume = StartWithVolume(window, 0);
         for (int t = 0; t < TRIAL_COUNT; ++t) {
             AnswerAndDecide(window, state, false);
         }
         EXPECT_TRUE(PumpUntil([state] { return state->results_revealed != 0; }, 20000));
         return volume;
     },
     Way::QuitButton},
};

void PrintTo(const ShutdownCase &c, std::ostream *out) {
    *out << c.name;
}

class ShutdownInEveryState : public ::testing::TestWithParam<ShutdownCase> {
  protected:
    void SetUp() override {
        WriteWholeFile(scratch_.File(SETTINGS_FILE_NAME), "[Settings]\r\nVolume=23\r\n");
        // One pass through every state first, so that what the system caches
        // once (control classes, fonts, the sound driver) is in the baseline.
        for (const ShutdownCase &c : kCases) {
            HWND window = OpenMainWindow();
            c.enter(window, GetAppState());
            DestroyWindow(window);
            PumpFor(50);
            DrainQuit();
        }
        WriteWholeFile(scratch_.File(SETTINGS_FILE_NAME), "[Settings]\r\nVolume=23\r\n");
        ClearDisplayLog();
        baseline_ = CountProcess();
    }

    ScratchFolder scratch_;
    ProcessCounts baseline_ = {};
};

TEST_P(ShutdownInEveryState, SavesTheVolumeAndLeavesNothing) {
    const ShutdownCase &c = GetParam();
    HWND window = OpenMainWindow();
    AppState *state = GetAppState();
    ASSERT_NE(state->wave_out, nullptr) << "no wave device: is ALSA_CONFIG_PATH set?";
    int volume = c.enter(window, state);
    ASSERT_FALSE(HasFailure());

    if (c.way == Way::CloseButton) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    } else {
        Click(window, ID_RESULT_QUIT);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(state->wave_out, nullptr);
    EXPECT_EQ(state->wave_buffer, nullptr);
    EXPECT_EQ(state->playing, 0);
    // The loop would end here: the quit message is queued.
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    // Completions and ticks still queued for the dead windows go nowhere.
    PumpFor(100);
    DrainQuit();
    EXPECT_EQ(GetPrivateProfileIntA(SETTINGS_SECTION, SETTINGS_KEY, -1,
                                    scratch_.File(SETTINGS_FILE_NAME).c_str()),
              static_cast<UINT>(volume));

    ClearDisplayLog();
    ProcessCounts after = CountProcess();
    EXPECT_EQ(after.gdi_objects, baseline_.gdi_objects);
    EXPECT_EQ(after.windows, baseline_.windows);
    EXPECT_EQ(after.free_timer_slots, baseline_.free_timer_slots);
    EXPECT_LE(after.heap_bytes, baseline_.heap_bytes + 4096);
}

INSTANTIATE_TEST_SUITE_P(States, ShutdownInEveryState, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ShutdownCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
