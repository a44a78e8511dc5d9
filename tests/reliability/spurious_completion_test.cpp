// A completion message that the device did not send, arriving while a tone
// is really on the device: the tone must play on from its own buffer, whole
// and at its pitch, as the captured sound shows.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/pitch.h"
#include "sound/tone_synth.h"
#include "tests/support/app_window.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

namespace {

TEST(SpuriousCompletion, ToneInFlightKeepsItsBufferAndSoundsWhole) {
    // The capture lands in the folder the process started in.
    char start_folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, start_folder);
    std::string capture = std::string(start_folder) + "\\" + CAPTURE_FILE_NAME;
    DeleteFileA(capture.c_str());

    ScratchFolder scratch;
    HWND window = OpenMainWindow();
    ASSERT_NE(window, nullptr);
    AppState *state = GetAppState();
    ASSERT_NE(state->wave_out, nullptr) << "no wave device: is ALSA_CONFIG_PATH set?";
    Click(window, ID_START);

    std::vector<double> expected;
    for (int id : {ID_PLAY_A, ID_PLAY_C, ID_PLAY_B}) {
        int tone = id - ID_PLAY_A + 1;
        expected.push_back(StimulusFrequency(state, tone));
        Click(window, id);
        ASSERT_EQ(state->playing, 1);
        void *buffer = state->wave_buffer;
        // Sent at once, and posted behind whatever the device queues.
        for (int i = 0; i < 3; ++i) {
            SendMessageA(window, MM_WOM_DONE, reinterpret_cast<WPARAM>(state->wave_out),
                         reinterpret_cast<LPARAM>(&state->wave_header));
            ASSERT_EQ(state->playing, 1) << "a completion the device did not send ended the tone";
            ASSERT_EQ(state->wave_buffer, buffer) << "the buffer on the device was freed";
        }
        PostMessageA(window, MM_WOM_DONE, reinterpret_cast<WPARAM>(state->wave_out),
                     reinterpret_cast<LPARAM>(&state->wave_header));
        // A play request meanwhile is refused, as for any tone in flight.
        Click(window, ID_PLAY_B);
        ASSERT_EQ(state->wave_buffer, buffer);
        ASSERT_TRUE(WaitForToneEnd(state));
        PumpPending(); // stray completions after the real one change nothing
        EXPECT_EQ(state->playing, 0);
        EXPECT_EQ(state->wave_buffer, nullptr);
    }
    DestroyWindow(window); // closing the device writes out the capture
    PumpPending();
    DrainQuit();

    CapturedStream stream;
    ASSERT_TRUE(ReadCapturedStream(capture, &stream)) << capture;
    EXPECT_EQ(TonesDifferFrom(FindTones(stream.left), expected), "");
    EXPECT_EQ(stream.left, stream.right);
    DeleteFileA(capture.c_str());
}

} // namespace
