// Tones played through the real wave device, read back from the ALSA capture.
#include "sound/wave_out.h"

#include "engine/pitch.h"
#include "engine/schedule.h"
#include "sound/tone_synth.h"
#include "tests/audio/tone_window.h"
#include "tests/support/app_window.h"
#include "tests/support/capture.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// A fixed plan: comparison trials 0-2 and 6-8, matching trials 3-5 and 9.
void SetPlan(AppState *state) {
    static const double bases[TRIAL_COUNT] = {220, 233, 247, 261, 277, 293, 311, 329, 251, 300};
    for (int i = 0; i < TRIAL_COUNT; ++i) {
        state->base_freq[i] = bases[i];
        state->chord_type[i] = 0;
    }
    static const int high[COMPARISON_SLOTS] = {2, 1, 3, 1, 2, 3};
    static const int low[COMPARISON_SLOTS] = {3, 3, 1, 2, 1, 2};
    for (int j = 0; j < COMPARISON_SLOTS; ++j) {
        state->high_key[j] = high[j];
        state->low_key[j] = low[j];
    }
    static const int targets[MATCHING_SLOTS] = {80, 150, 0, 200};
    for (int k = 0; k < MATCHING_SLOTS; ++k) {
        state->match_target[k] = targets[k];
    }
    state->slider_pos = 100;
    state->trial = 0;
    state->score = SCORE_START;
    state->volume = 90;
}

// Blocks of exactly the tone buffer's size held on the process heap, where
// GlobalAlloc takes its memory from: a leaked tone buffer shows up here.
int ToneBuffersOnHeap() {
    HANDLE heap = GetProcessHeap();
    int count = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0 && entry.cbData == TONE_BUFFER_BYTES) {
            ++count;
        }
    }
    HeapUnlock(heap);
    return count;
}

class WaveOutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(CAPTURE_FILE_NAME);
        memset(&g_state, 0, sizeof(g_state));
        window_ = CreateToneWindow();
        ASSERT_NE(window_, nullptr);
        g_state.main_window = window_;
        SetPlan(&g_state);
        ASSERT_TRUE(OpenWaveOut(window_, &g_state)) << "no wave device: is ALSA_CONFIG_PATH set?";
    }

    void TearDown() override {
        if (g_state.wave_out != nullptr) {
            CloseWaveOut(&g_state);
        }
        PumpPending();
        DestroyWindow(window_);
    }

    // Plays one tone of the current trial and waits for its completion.
    void PlayAndWait(int tone_number) {
        ASSERT_TRUE(PlayTone(&g_state, tone_number)) << "tone " << tone_number;
        ASSERT_TRUE(WaitForToneEnd(&g_state)) << "no MM_WOM_DONE for tone " << tone_number;
        EXPECT_EQ(g_state.wave_buffer, nullptr);
    }

    // Closes the device, which writes out what ALSA still holds, and reads
    // back everything played since the device was opened.
    void Capture() {
        ASSERT_TRUE(CloseWaveOut(&g_state));
        ASSERT_TRUE(ReadCapturedStream(CAPTURE_FILE_NAME, &stream));
        EXPECT_EQ(stream.left, stream.right) << "the two channels differ";
        tones = FindTones(stream.left);
    }

    // The checks every captured tone must pass: one second from the sample 0,
    // at the intended pitch.
    void CheckTone(const CapturedTone &tone, double expected_hz) {
        EXPECT_EQ(TonesDifferFrom({tone}, {expected_hz}), "");
    }

    HWND window_ = nullptr;
    CapturedStream stream;           // what Capture read back
    std::vector<CapturedTone> tones; // the tones in it
};

struct ComparisonCase {
    int trial;
    int score;
};

class ComparisonTonesTest : public WaveOutTest,
                            public ::testing::WithParamInterface<ComparisonCase> {};

// Tones A, B and C of a comparison trial: the raised one an interval above
// the base, the lowered one an interval below, the third on the base. At
// score 300 the interval is half a cent, so the measurement must be finer.
TEST_P(ComparisonTonesTest, TonesABCSoundAtTheirPitch) {
    const ComparisonCase c = GetParam();
    g_state.trial = c.trial;
    g_state.score = c.score;
    for (int tone = 1; tone <= 3; ++tone) {
        PlayAndWait(tone);
    }
    Capture();
    ASSERT_EQ(tones.size(), 3u);

    TrialInfo info;
    ASSERT_TRUE(GetTrialInfo(&g_state, &info));
    ASSERT_TRUE(info.is_comparison);
    const double base = g_state.base_freq[c.trial];
    const double interval = CentsAtScore(c.score);
    for (int tone = 1; tone <= 3; ++tone) {
        double expected = StimulusFrequency(&g_state, tone);
        ASSERT_EQ(tones[tone - 1].frames, FRAMES_PER_TONE) << "tone " << tone;
        CheckTone(tones[tone - 1], expected);
        // The same pitch, stated as the distance from the base in cents.
        double measured =
            PeakFrequency(tones[tone - 1].samples.data(), FRAMES_PER_TONE, base * 0.9, base * 1.1);
        double offset = CentsBetween(measured, base);
        double intended = tone == g_state.high_key[info.slot]  ? interval
                          : tone == g_state.low_key[info.slot] ? -interval
                                                               : 0.0;
        EXPECT_NEAR(offset, intended, MAX_CENTS_ERROR) << "tone " << tone;
    }
}

INSTANTIATE_TEST_SUITE_P(Trials, ComparisonTonesTest,
                         ::testing::Values(ComparisonCase{0, 100}, ComparisonCase{7, 0},
                                           ComparisonCase{8, 300}, ComparisonCase{2, 285}),
                         [](const ::testing::TestParamInfo<ComparisonCase> &info) {
                             return "Trial" + std::to_string(info.param.trial) + "Score" +
                                    std::to_string(info.param.score);
                         });

// Target is the base of a matching trial; Play moves with the pitch slider,
// linearly up to 15 steps from the target and with the square root beyond.
TEST_F(WaveOutTest, MatchingTrialTargetAndPlay) {
    g_state.trial = 3; // matching slot 0, target position 80
    g_state.score = 0; // 90 cents per interval
    struct Step {
        int tone;
        int slider;
        double intervals;
    };
    const Step steps[] = {
        {0, 100, 0.0}, {1, 80, 0.0}, {1, 95, 1.0}, {1, 140, 2.0}, {1, 20, -2.0}, {0, 200, 0.0},
    };
    std::vector<double> expected;
    for (const Step &s : steps) {
        g_state.slider_pos = s.slider;
        expected.push_back(StimulusFrequency(&g_state, s.tone));
        EXPECT_NEAR(expected.back(), 261.0 * pow(2.0, s.intervals * 90.0 / 1200.0), 1e-9);
        PlayAndWait(s.tone);
    }
    Capture();
    ASSERT_EQ(tones.size(), expected.size());
    for (size_t i = 0; i < tones.size(); ++i) {
        CheckTone(tones[i], expected[i]);
    }
}

// Every chord type sounds exactly its intervals, as the requirements give
// them in semitones, at equal weight, and nothing else.
TEST_F(WaveOutTest, ChordComponentsArePresent) {
    g_state.volume = 100;
    g_state.trial = 0; // tone 1 is neither raised nor lowered: the base, 220 Hz
    for (int type = 0; type < 7; ++type) {
        g_state.chord_type[0] = type;
        PlayAndWait(1);
    }
    Capture();
    ASSERT_EQ(tones.size(), 7u);
    for (int type = 0; type < 7; ++type) {
        SCOPED_TRACE(testing::Message() << "chord type " << type);
        ASSERT_EQ(tones[type].frames, FRAMES_PER_TONE);
        const short *samples = tones[type].samples.data();
        CheckTone(tones[type], 220.0);
        EXPECT_EQ(SemitonesPresent(samples, 220.0), kChordSemitones[type]);
        bool member[13] = {};
        for (int semitone : kChordSemitones[type]) {
            member[semitone] = true;
        }
        const double each = 32767.0 / kChordSemitones[type].size();
        for (int k = 0; k <= 12; ++k) {
            double level = ComponentAmplitude(samples, FRAMES_PER_TONE, 220.0 * pow(2.0, k / 12.0));
            if (member[k]) {
                EXPECT_NEAR(level, each, each * 0.01) << "semitone " << k;
            } else {
                EXPECT_LT(level, 32767.0 * 0.001) << "semitone " << k;
            }
        }
    }
}

// The level follows the volume: 0 dB at 100 down to -6 dB at 0, where the
// amplitude is 10^(dB/10) of full scale.
TEST_F(WaveOutTest, LevelFollowsVolume) {
    const int volumes[] = {100, 90, 50, 0};
    const double amplitudes[] = {32767.0, 28538.86, 16422.40, 8230.70};
    for (int v : volumes) {
        g_state.volume = v;
        PlayAndWait(3); // trial 0: the base
    }
    Capture();
    ASSERT_EQ(tones.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(tones[i].frames, FRAMES_PER_TONE) << "volume " << volumes[i];
        double level = SineAmplitude(tones[i].samples.data(), FRAMES_PER_TONE);
        EXPECT_NEAR(level, amplitudes[i], amplitudes[i] * 0.001) << "volume " << volumes[i];
    }
}

// Moving the volume while a tone sounds changes only the next tone.
TEST_F(WaveOutTest, VolumeAtThePressAppliesToTheWholeTone) {
    g_state.volume = 100;
    ASSERT_TRUE(PlayTone(&g_state, 3));
    g_state.volume = 0;
    ASSERT_TRUE(WaitForToneEnd(&g_state));
    PlayAndWait(3);
    Capture();
    ASSERT_EQ(tones.size(), 2u);
    ASSERT_EQ(tones[0].frames, FRAMES_PER_TONE);
    ASSERT_EQ(tones[1].frames, FRAMES_PER_TONE);
    const int quarter = FRAMES_PER_TONE / 4;
    for (int part = 0; part < 4; ++part) {
        double loud = SineAmplitude(tones[0].samples.data() + part * quarter, quarter);
        double quiet = SineAmplitude(tones[1].samples.data() + part * quarter, quarter);
        EXPECT_NEAR(loud, 32767.0, 40.0) << "quarter " << part;
        EXPECT_NEAR(quiet, 8230.70, 10.0) << "quarter " << part;
    }
}

// A press while a tone is in flight is lost, not queued; once the device has
// given the buffer back, the next press plays.
TEST_F(WaveOutTest, PressWhileToneInFlightIsLost) {
    ASSERT_TRUE(PlayTone(&g_state, 1));
    void *buffer = g_state.wave_buffer;
    ASSERT_NE(buffer, nullptr);
    for (int tone = 0; tone <= 3; ++tone) {
        EXPECT_FALSE(PlayTone(&g_state, tone));
        EXPECT_EQ(g_state.wave_buffer, buffer);
        EXPECT_EQ(g_state.wave_header.lpData, buffer);
        EXPECT_EQ(g_state.playing, 1);
    }
    ASSERT_TRUE(WaitForToneEnd(&g_state));
    PlayAndWait(2);
    Capture();
    ASSERT_EQ(tones.size(), 2u);
    g_state.trial = 0;
    CheckTone(tones[0], StimulusFrequency(&g_state, 1));
    CheckTone(tones[1], StimulusFrequency(&g_state, 2));
}

// Decide resets the device while a tone sounds: the tone comes back through
// MM_WOM_DONE like any other, and the next trial plays.
TEST_F(WaveOutTest, DecideDuringToneStopsItAndTheNextTrialPlays) {
    ASSERT_TRUE(PlayTone(&g_state, 2));
    // What the Decide handler does after grading: the trial moves on, then the reset.
    g_state.trial = 1;
    waveOutReset(g_state.wave_out);
    ASSERT_TRUE(WaitForToneEnd(&g_state));
    EXPECT_EQ(g_state.wave_buffer, nullptr);
    PlayAndWait(1);
    Capture();
    // After a reset the device does not pad with silence: the next tone may
    // follow the cut one directly, so it is found from the end of the stream.
    const CapturedTone next = LastTone(stream.left);
    CheckTone(next, StimulusFrequency(&g_state, 1));
    // Everything before it is what sounded of the cut tone: less than a tone.
    std::vector<short> before(stream.left.begin(), stream.left.begin() + next.begin);
    std::vector<CapturedTone> cut = FindTones(before);
    ASSERT_LE(cut.size(), 1u);
    int sounded = cut.empty() ? 0 : cut[0].frames;
    printf("  cut tone: %d of %d frames sounded\n", sounded, FRAMES_PER_TONE);
    EXPECT_LT(sounded, FRAMES_PER_TONE);
}

// The buffer handed to the device and what the device played, byte for byte.
TEST_F(WaveOutTest, BufferAsHandedToTheDeviceIsWhatIsPlayed) {
    EXPECT_EQ(g_state.wave_format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(g_state.wave_format.nChannels, 2);
    EXPECT_EQ(g_state.wave_format.nSamplesPerSec, 44100u);
    EXPECT_EQ(g_state.wave_format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(g_state.wave_format.nBlockAlign, 4);
    EXPECT_EQ(g_state.wave_format.wBitsPerSample, 16);
    EXPECT_EQ(g_state.wave_format.cbSize, 0);

    g_state.trial = 4;
    g_state.chord_type[4] = 3;
    g_state.slider_pos = 180;
    ASSERT_TRUE(PlayTone(&g_state, 1));
    const WAVEHDR &h = g_state.wave_header;
    ASSERT_NE(g_state.wave_buffer, nullptr);
    EXPECT_EQ(h.lpData, g_state.wave_buffer);
    EXPECT_EQ(h.dwBufferLength, TONE_BUFFER_BYTES);
    EXPECT_EQ(h.dwLoops, 1u);
    EXPECT_EQ(h.dwFlags & (WHDR_BEGINLOOP | WHDR_ENDLOOP), 12u);
    EXPECT_EQ(h.dwBytesRecorded, 0u);
    EXPECT_EQ(h.dwUser, 0u);
    EXPECT_EQ(GlobalSize(g_state.wave_buffer), TONE_BUFFER_BYTES);
    const unsigned char *bytes = static_cast<const unsigned char *>(g_state.wave_buffer);
    EXPECT_EQ(bytes[TONE_BUFFER_BYTES - 1], 0);
    std::vector<unsigned char> reference(TONE_BYTES);
    FillToneBuffer(reference.data(), StimulusFrequency(&g_state, 1), 3, ToneGainDb(90));
    EXPECT_EQ(memcmp(bytes, reference.data(), TONE_BYTES), 0);
    ASSERT_TRUE(WaitForToneEnd(&g_state));

    Capture();
    ASSERT_EQ(tones.size(), 1u);
    ASSERT_EQ(tones[0].frames, FRAMES_PER_TONE);
    for (int n = 0; n < FRAMES_PER_TONE; ++n) {
        short expected;
        memcpy(&expected, &reference[4 * n], 2);
        ASSERT_EQ(tones[0].samples[n], expected) << "frame " << n;
    }
    // The final zero byte of the buffer is half a frame: the device drops it.
    for (size_t n = tones[0].end; n < stream.left.size(); ++n) {
        ASSERT_EQ(stream.left[n], 0);
    }
}

// Only a trial of a running test has a chord type to read; anything else is
// refused before a buffer is made.
TEST_F(WaveOutTest, PlayOutsideATrialIsRefused) {
    const int trials[] = {TRIAL_COUNT, -1, 1000000, -2147483647 - 1};
    for (int t : trials) {
        g_state.trial = t;
        for (int tone = 0; tone <= 3; ++tone) {
            EXPECT_FALSE(PlayTone(&g_state, tone)) << "trial " << t;
            EXPECT_EQ(g_state.playing, 0);
            EXPECT_EQ(g_state.wave_buffer, nullptr);
        }
    }
    EXPECT_FALSE(PlayTone(nullptr, 1));
    g_state.trial = 9;
    PlayAndWait(0);
    Capture();
    ASSERT_EQ(tones.size(), 1u);
    CheckTone(tones[0], 300.0);
}

// Closing while a tone sounds stops it and gives its buffer back at once;
// the close succeeds although the buffer had been prepared. The completion
// that the reset still posts must not touch a later tone.
TEST_F(WaveOutTest, CloseWhileToneSounds) {
    const int before = ToneBuffersOnHeap();
    ASSERT_TRUE(PlayTone(&g_state, 1));
    EXPECT_EQ(ToneBuffersOnHeap(), before + 1);
    EXPECT_TRUE(CloseWaveOut(&g_state));
    EXPECT_EQ(ToneBuffersOnHeap(), before);
    EXPECT_EQ(g_state.wave_out, nullptr);
    EXPECT_EQ(g_state.wave_buffer, nullptr);
    EXPECT_EQ(g_state.playing, 0);

    // The reset posted a completion for the released buffer; wait for it.
    MSG stale;
    DWORD start = GetTickCount();
    while (!PeekMessageA(&stale, window_, MM_WOM_DONE, MM_WOM_DONE, PM_NOREMOVE)) {
        ASSERT_LT(GetTickCount() - start, 20000u) << "the reset posted no MM_WOM_DONE";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }

    // The new device is paused before the new tone goes to it, so the tone is
    // certainly still on the device when the stale completion arrives.
    ASSERT_TRUE(OpenWaveOut(window_, &g_state));
    ASSERT_EQ(waveOutPause(g_state.wave_out), MMSYSERR_NOERROR);
    ASSERT_TRUE(PlayTone(&g_state, 2));
    void *buffer = g_state.wave_buffer;
    ASSERT_TRUE(PeekMessageA(&stale, window_, MM_WOM_DONE, MM_WOM_DONE, PM_REMOVE));
    ASSERT_EQ(g_state.wave_header.dwFlags & WHDR_DONE, 0u) << "the paused device played the tone";
    DispatchMessageA(&stale);
    EXPECT_EQ(g_state.playing, 1) << "a stale completion ended the new tone";
    EXPECT_EQ(g_state.wave_buffer, buffer);
    ASSERT_EQ(waveOutRestart(g_state.wave_out), MMSYSERR_NOERROR);
    ASSERT_TRUE(WaitForToneEnd(&g_state));
    EXPECT_EQ(g_state.wave_buffer, nullptr);
    EXPECT_EQ(ToneBuffersOnHeap(), before);
    EXPECT_TRUE(CloseWaveOut(&g_state));
}

// Opening again over an open device with a tone in flight closes the old one
// cleanly and plays on the new one.
TEST_F(WaveOutTest, ReopenWithToneInFlight) {
    ASSERT_TRUE(PlayTone(&g_state, 1));
    ASSERT_TRUE(OpenWaveOut(window_, &g_state));
    EXPECT_EQ(g_state.playing, 0);
    EXPECT_EQ(g_state.wave_buffer, nullptr);
    PlayAndWait(2);
}

// The device refuses the buffer (here: its handle was closed behind the
// record's back, so preparing the header fails) and no other can be opened
// (a record without a main window opens none). The buffer is given back and
// the record stays idle, so play works again once there is a device.
TEST_F(WaveOutTest, RefusedBufferLeavesPlayIdle) {
    ASSERT_EQ(waveOutClose(g_state.wave_out), MMSYSERR_NOERROR);
    g_state.main_window = nullptr;
    const int before = ToneBuffersOnHeap();
    for (int tone = 0; tone <= 3; ++tone) {
        EXPECT_FALSE(PlayTone(&g_state, tone));
        EXPECT_EQ(g_state.playing, 0);
        EXPECT_EQ(g_state.wave_buffer, nullptr);
    }
    EXPECT_EQ(ToneBuffersOnHeap(), before) << "a refused buffer was not freed";
    g_state.main_window = window_;
    g_state.wave_out = nullptr;
    ASSERT_TRUE(OpenWaveOut(window_, &g_state));
    PlayAndWait(1);
}

} // namespace
