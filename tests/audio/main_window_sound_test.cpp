// The program's own main window in the test process: its play buttons, Decide
// and closing, with what they play read back from the ALSA capture.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/pitch.h"
#include "sound/tone_synth.h"
#include "sound/wave_out.h"
#include "tests/audio/captured_audio.h"
#include "tests/audio/tone_window.h"

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
        HINSTANCE instance = GetModuleHandleA(nullptr);
        RegisterWindowClasses(instance);
        window_ = CreateMainWindow(instance);
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
        HWND control = GetDlgItem(window_, id);
        ASSERT_NE(control, nullptr) << "no control " << id;
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }

    void Slide(int id, int position) {
        SendMessageA(window_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
    }

    // Presses a play button, remembers what it should sound, waits until it has.
    void Play(int id, int tone_number) {
        expected_.push_back(StimulusFrequency(state_, tone_number));
        Click(id);
        ASSERT_EQ(state_->playing, 1) << "button " << id << " played nothing";
        ASSERT_TRUE(WaitUntilIdle(state_));
    }

    // Closing the window closes the device, which writes out the capture.
    void CloseAndCapture(CapturedStream *stream) {
        DestroyWindow(window_);
        PumpPending();
        ASSERT_TRUE(ReadCapturedStream(CAPTURE_FILE_NAME, stream));
        EXPECT_EQ(stream->left, stream->right);
    }

    void CheckTones(const CapturedStream &stream) {
        std::vector<CapturedTone> tones = FindTones(stream.left, TONE_GAP);
        ASSERT_EQ(tones.size(), expected_.size());
        for (size_t i = 0; i < tones.size(); ++i) {
            EXPECT_EQ(tones[i].frames, TONE_FRAMES) << "tone " << i;
            double cents = PitchErrorCents(&stream.left[tones[i].begin], expected_[i]);
            EXPECT_LT(fabs(cents), MAX_CENTS_ERROR) << "tone " << i << " at " << expected_[i];
            printf("  tone at %.6f Hz: pitch error %+.6f cents\n", expected_[i], cents);
        }
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
    int components = 0;
    while (components < CHORD_INTERVAL_SLOTS &&
           ChordIntervals[state_->chord_type[0]][components] != CHORD_END) {
        ++components;
    }
    const double root = StimulusFrequency(state_, 1);
    Slide(ID_VOLUME_SLIDER, 100);
    Play(ID_PLAY_A, 1);
    Slide(ID_VOLUME_SLIDER, 0);
    Play(ID_PLAY_A, 1);
    CapturedStream stream;
    CloseAndCapture(&stream);
    std::vector<CapturedTone> tones = FindTones(stream.left, TONE_GAP);
    ASSERT_EQ(tones.size(), 2u);
    const double loud = ComponentAmplitude(&stream.left[tones[0].begin], TONE_FRAMES, root);
    const double quiet = ComponentAmplitude(&stream.left[tones[1].begin], TONE_FRAMES, root);
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
    ASSERT_TRUE(WaitUntilIdle(state_));
    EXPECT_EQ(state_->wave_buffer, nullptr);
    const double next = StimulusFrequency(state_, 3);
    Click(ID_PLAY_C);
    ASSERT_EQ(state_->playing, 1);
    ASSERT_TRUE(WaitUntilIdle(state_));
    CapturedStream stream;
    CloseAndCapture(&stream);
    // After a reset the next tone may follow the cut one directly: take it
    // from the end of the stream.
    int end = static_cast<int>(stream.left.size());
    while (end > 0 && stream.left[end - 1] == 0) {
        --end;
    }
    ASSERT_GE(end, TONE_FRAMES);
    EXPECT_EQ(stream.left[end - TONE_FRAMES], 0);
    double cents = PitchErrorCents(&stream.left[end - TONE_FRAMES], next);
    EXPECT_LT(fabs(cents), MAX_CENTS_ERROR);
    printf("  cut tone: %d frames sounded; next tone pitch error %+.6f cents\n", end - TONE_FRAMES,
           cents);
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
