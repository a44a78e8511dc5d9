#include "sound/tone_synth.h"

#include "tests/support/capture.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <vector>

namespace {

// The device buffer is one byte longer than the samples; that byte stays as it was.
constexpr size_t DEVICE_BUFFER_BYTES = 176401;

std::vector<unsigned char> Fill(double f, int chord, int volume) {
    std::vector<unsigned char> buffer(DEVICE_BUFFER_BYTES, 0);
    buffer.back() = 0xA5;
    FillToneBuffer(buffer.data(), f, chord, ToneGainDb(volume));
    return buffer;
}

int16_t Left(const std::vector<unsigned char> &b, int frame) {
    int16_t v;
    memcpy(&v, &b[4 * frame], 2);
    return v;
}

int16_t Right(const std::vector<unsigned char> &b, int frame) {
    int16_t v;
    memcpy(&v, &b[4 * frame + 2], 2);
    return v;
}

TEST(ToneGain, LinearInDecibelsFromMinusSixToZero) {
    EXPECT_EQ(ToneGainDb(100), 0.0);
    EXPECT_EQ(ToneGainDb(90), -0.5999999999999999);
    EXPECT_EQ(ToneGainDb(50), -3.0);
    EXPECT_EQ(ToneGainDb(0), -6.0);
}

TEST(ToneSample, KnownSampleValues) {
    const struct {
        double f;
        int chord;
        int volume;
        int frame;
        int sample;
    } cases[] = {
        {440.0, 0, 100, 1, 2052},    {440.0, 0, 100, 25, 32766}, {441.0, 0, 0, 25, 8230},
        {220.0, 1, 90, 100, -16318}, {300.0, 3, 0, 1000, 511},   {441.0, 0, 100, 25, 32767},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ToneSample(c.f, c.chord, c.frame, ToneGainDb(c.volume)), c.sample)
            << c.f << " Hz type " << c.chord << " frame " << c.frame;
        std::vector<unsigned char> b = Fill(c.f, c.chord, c.volume);
        EXPECT_EQ(Left(b, c.frame), c.sample);
    }
}

TEST(ToneSample, TruncatesAndNeverAmplifies) {
    // -2052.9 style values truncate toward zero: the half period mirrors frame 1.
    EXPECT_EQ(ToneSample(441.0, 0, 51, 0.0), -ToneSample(441.0, 0, 49, 0.0));
    for (int n : {1, 25, 777}) {
        EXPECT_EQ(ToneSample(440.0, 2, n, 3.0), ToneSample(440.0, 2, n, 0.0));
    }
}

TEST(ToneBuffer, PeakBoundsFollowTheVolume) {
    for (int volume : {100, 0}) {
        std::vector<unsigned char> b = Fill(441.0, 0, volume);
        int peak = 0;
        for (int n = 0; n < TONE_FRAMES; ++n) {
            peak = std::max(peak, abs(static_cast<int>(Left(b, n))));
        }
        EXPECT_LE(peak, volume == 100 ? 32767 : 8230);
        EXPECT_GE(peak, volume == 100 ? 32766 : 8230);
    }
}

TEST(ToneBuffer, EveryToneStartsAtZeroWithIdenticalChannelsAndLeavesTheLastByte) {
    for (int chord = 0; chord < 7; ++chord) {
        std::vector<unsigned char> b = Fill(263.0, chord, 90);
        EXPECT_EQ(Left(b, 0), 0);
        EXPECT_EQ(Right(b, 0), 0);
        for (int n = 0; n < TONE_FRAMES; ++n) {
            ASSERT_EQ(Left(b, n), Right(b, n)) << "chord " << chord << " frame " << n;
        }
        EXPECT_EQ(b.back(), 0xA5);
        EXPECT_NE(Left(b, 1000), 0);
    }
}

// The buffer fill computes per-tone values once; it must still match the
// per-sample definition bit for bit.
TEST(ToneBuffer, MatchesThePerSampleDefinitionExactly) {
    for (int chord = 0; chord < 7; ++chord) {
        for (double f : {220.0, 264.0, 329.0, 217.05482, 1000.5}) {
            for (int volume : {0, 37, 90, 100}) {
                std::vector<unsigned char> b = Fill(f, chord, volume);
                double gain = ToneGainDb(volume);
                for (int n = 0; n < TONE_FRAMES; ++n) {
                    ASSERT_EQ(Left(b, n), ToneSample(f, chord, n, gain))
                        << "chord " << chord << " f " << f << " volume " << volume << " frame "
                        << n;
                }
            }
        }
    }
}

TEST(ToneBuffer, UnknownChordTypeIsSilentAndStaysInsideTheBuffer) {
    for (int chord : {-1, 7, 1000}) {
        std::vector<unsigned char> b(DEVICE_BUFFER_BYTES, 0x5A);
        FillToneBuffer(b.data(), 440.0, chord, 0.0);
        for (int n = 0; n < TONE_FRAMES; ++n) {
            ASSERT_EQ(Left(b, n), 0);
            ASSERT_EQ(Right(b, n), 0);
        }
        EXPECT_EQ(b.back(), 0x5A);
        EXPECT_EQ(ToneSample(440.0, chord, 25, 0.0), 0);
    }
}

// Each chord's row holds its intervals as the requirements give them, then
// only the end marker.
TEST(ChordTable, RowsHoldTheChordsThenTheEndMarker) {
    for (int t = 0; t < 7; ++t) {
        SCOPED_TRACE(::testing::Message() << "chord type " << t);
        const std::vector<int> &semitones = kChordSemitones[t];
        for (size_t i = 0; i < CHORD_INTERVAL_SLOTS; ++i) {
            EXPECT_EQ(ChordIntervals[t][i], i < semitones.size() ? semitones[i] : CHORD_END)
                << "entry " << i;
        }
    }
}

} // namespace
