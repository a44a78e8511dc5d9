// The program's own main window in the test process: its play buttons, Decide
// and closing, with what they play read back from the ALSA capture.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/pitch.h"
#include "sound/tone_synth.h"
#include "sound/wave_out.h"
#include "tests/support/app_window.h"
#include "tests/support/capture.h"
#include "tests/support/message_boxes.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

#include <vector>

namespace {

class MainWindowSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The window reads and writes the volume here; every case starts from the default.
        DeleteFileA("Settings.ini");
        DeleteFileA(CAPTURE_FILE_NAME);
        window_ = OpenMainWindow(false);
        ASSERT_NE(window_, nullptr);
        state_ = GetAppState();
        ASSERT_NE(state_->wave_out, nullptr) << "no wave device: is ALSA_CONFIG_PATH set?";
    }

    void TearDown() override {
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
        PumpPending();
        DeleteFileA("Settings.ini");
    }

    void Click(int id) {
        ASSERT_NE(GetDlgItem(window_, id), nullptr) << "no control " << id;
        Command(window_, id);
    }

    void Slide(int id, int position) { Scroll(window_, id, SB_THUMBPOSITION, position); }

    // Presses a play button, remembers what it should sound, waits until it has.
    void Play(int id, int tone_number) {
        expected_.push_back(StimulusFrequency(state_, tone_number));
        Click(id);
        ASSERT_EQ(state_->playing, 1) << "button " << id << " played nothing";
        ASSERT_TRUE(WaitForToneEnd(state_));
    }

    // Closing the window closes the device, which writes out the capture.
    void CloseAndCapture(CapturedStream *stream) {
        DestroyWindow(window_);
        PumpPending();
        ASSERT_TRUE(ReadCapturedStream(CAPTURE_FILE_NAME, stream));
        EXPECT_EQ(stream->left, stream->right);
    }

    void CheckTones(const CapturedStream &stream) {
        EXPECT_EQ(TonesDifferFrom(FindTones(stream.left), expected_), "");
    }

    HWND window_ = nullptr;
    AppState *state_ = nullptr;
    std::vector<double> expected_;
};

// The buttons of a comparison trial and of a matching trial, with the pitch
// slider moved between presses of Play.
TEST_F(MainWindowSoundTest, PlayButtonsSoundTheirTrialsTones) {
    Click(ID_START);
    ASSERT_EQ(state_->screen, ScreenTest);
    Play(ID_PLAY_A, 1);
    Play(ID_PLAY_B, 2);
    Play(ID_PLAY_C, 3);
    for (int trial = 0; trial < 3; ++trial) {
        Click(ID_DECIDE);
    }
    ASSERT_EQ(state_->trial, 3); // the first matching trial
    Play(ID_TARGET, 0);
    Play(ID_PLAY, 1);
    Slide(ID_PITCH_SLIDER, 0);
    ASSERT_EQ(state_->slider_pos, 0);
    Play(ID_PLAY, 1);
    Slide(ID_PITCH_SLIDER, 200);
    Play(ID_PLAY, 1);
    CapturedStream stream;
    CloseAndCapture(&stream);
    CheckTones(stream);
}

// The volume slider sets the level of the next tone. The trial may be a
// chord, whose components share the level equally.
TEST_F(MainWindowSoundTest, VolumeSliderSetsTheLevel) {
    Click(ID_START);
    const double components = static_cast<double>(kChordSemitones[state_->chord_type[0]].size());
    const double root = StimulusFrequency(state_, 1);
    Slide(ID_VOLUME_SLIDER, 100);
    Play(ID_PLAY_A, 1);
    Slide(ID_VOLUME_SLIDER, 0);
    Play(ID_PLAY_A, 1);
    CapturedStream stream;
    CloseAndCapture(&stream);
    std::vector<CapturedTone> tones = FindTones(stream.left);
    ASSERT_EQ(tones.size(), 2u);
    ASSERT_EQ(tones[0].frames, FRAMES_PER_TONE);
    ASSERT_EQ(tones[1].frames, FRAMES_PER_TONE);
    const double loud = ComponentAmplitude(tones[0].samples.data(), FRAMES_PER_TONE, root);
    const double quiet = ComponentAmplitude(tones[1].samples.data(), FRAMES_PER_TONE, root);
    EXPECT_NEAR(loud * components, 32767.0, 33.0) << components << " components";
    EXPECT_NEAR(quiet * components, 8230.70, 8.0) << components << " components";
}

// Decide while a tone sounds cuts it off; its completion frees the buffer and
// the next trial's buttons play.
TEST_F(MainWindowSoundTest, DecideDuringAToneCutsItOff) {
    Click(ID_START);
    Click(ID_PLAY_B);
    ASSERT_EQ(state_->playing, 1);
    Click(ID_DECIDE);
    ASSERT_EQ(state_->trial, 1);
    ASSERT_TRUE(WaitForToneEnd(state_));
    EXPECT_EQ(state_->wave_buffer, nullptr);
    const double next = StimulusFrequency(state_, 3);
    Click(ID_PLAY_C);
    ASSERT_EQ(state_->playing, 1);
    ASSERT_TRUE(WaitForToneEnd(state_));
    CapturedStream stream;
    CloseAndCapture(&stream);
    // After a reset the next tone may follow the cut one directly: take it
    // from the end of the stream.
    CapturedTone last = LastTone(stream.left);
    ASSERT_EQ(last.frames, FRAMES_PER_TONE);
    EXPECT_EQ(last.samples[0], 0);
    double cents = PitchErrorCents(last.samples.data(), next);
    EXPECT_LT(fabs(cents), MAX_CENTS_ERROR);
    printf("  next tone pitch error %+.6f cents\n", cents);
}

// A device that fails on a write (its handle made worthless behind the
// program's back, as when its driver goes away) is opened again and the
// tone written once more; with no device open at all (as after a start
// without headphones) a press opens one. Both sound, without a word. Each
// open starts the capture file anew, so only the last tone is in it.
TEST_F(MainWindowSoundTest, ALostOrMissingDeviceIsOpenedAgainByThePress) {
    MessageBoxWatcher boxes;
    Click(ID_START);
    ASSERT_EQ(waveOutClose(state_->wave_out), MMSYSERR_NOERROR);
    Play(ID_PLAY_A, 1);
    CloseWaveOut(state_);
    ASSERT_EQ(state_->wave_out, nullptr);
    expected_.clear();
    Play(ID_PLAY_B, 2);
    CapturedStream stream;
    CloseAndCapture(&stream);
    CheckTones(stream);
    EXPECT_TRUE(boxes.Texts().empty()) << "a notice";
}

// Closing the program while a tone sounds stops it and releases its buffer.
TEST_F(MainWindowSoundTest, ClosingWhileAToneSounds) {
    Click(ID_START);
    Click(ID_PLAY_A);
    ASSERT_EQ(state_->playing, 1);
    DestroyWindow(window_);
    EXPECT_EQ(state_->wave_out, nullptr);
    EXPECT_EQ(state_->wave_buffer, nullptr);
    EXPECT_EQ(state_->playing, 0);
    PumpPending(); // the completion the reset posted finds nothing to free
    EXPECT_EQ(state_->playing, 0);
}

} // namespace
