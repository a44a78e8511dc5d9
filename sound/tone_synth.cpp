#include "sound/tone_synth.h"

#include <math.h>
#include <string.h>

// Not the double nearest to pi: the 14-digit decimal the tones were defined with.
static const double kPi = 3.14159265358979;
constexpr double FULL_SCALE = 32767.0;
constexpr double GAIN_SPAN_DB = 6.0;
constexpr int CHORD_TYPES = 7;

#define E CHORD_END
const int ChordIntervals[CHORD_TYPES][CHORD_INTERVAL_SLOTS] = {
    {0, E, E, E, E, E, E, E, E, E},  {0, 4, 7, E, E, E, E, E, E, E},
    {0, 3, 7, E, E, E, E, E, E, E},  {0, 4, 7, 10, E, E, E, E, E, E},
    {0, 3, 7, 10, E, E, E, E, E, E}, {0, 3, 6, E, E, E, E, E, E, E},
    {0, 4, 8, E, E, E, E, E, E, E},
};
#undef E

double ToneGainDb(int volume) {
    double r = volume / 100.0;
    return r * -0.0 - (1 - r) * GAIN_SPAN_DB;
}

static double Amplitude(double gain_db) {
    if (gain_db > 0) {
        gain_db = 0; // the gain never amplifies
    }
    return pow(10.0, gain_db / 10.0) * FULL_SCALE;
}

static double SemitoneRatio(int interval) {
    return pow(2.0, static_cast<double>(interval) / 12.0);
}

// A chord type outside the table has no components and sounds as silence.
static bool ValidChordType(int chord_type) {
    return chord_type >= 0 && chord_type < CHORD_TYPES;
}

short ToneSample(double frequency, int chord_type, int n, double gain_db) {
    if (!ValidChordType(chord_type)) {
        return 0;
    }
    double amplitude = Amplitude(gain_db);
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < CHORD_INTERVAL_SLOTS; ++i) {
        int k = ChordIntervals[chord_type][i];
        if (k == CHORD_END) {
            break;
        }
        double ratio = SemitoneRatio(k);
        double phase = ((((ratio * frequency) * 2.0) * kPi) / 44100.0) * static_cast<double>(n);
        sum = sum + sin(phase);
        count = count + 1;
    }
    double value = (sum / static_cast<double>(count)) * amplitude;
    return static_cast<short>(static_cast<int>(value));
}

// Frames are made in blocks: first the sine sums of a block, a loop that is
// nothing but the sine calls, then the scaling, truncation and stores of the
// whole block, which the compiler can vectorise. Per frame the operations and
// their order are those of ToneSample, so every sample is bit-identical.
constexpr int SYNTH_BLOCK = 512;

static void SumComponents(const double *steps, int count, int first, int frames, double *sums) {
    for (int i = 0; i < frames; ++i) {
        sums[i] = 0.0;
    }
    for (int c = 0; c < count; ++c) {
        const double step = steps[c];
        for (int i = 0; i < frames; ++i) {
            sums[i] = sums[i] + sin(step * static_cast<double>(first + i));
        }
    }
}

static void WriteFrames(const double *sums, int frames, double divisor, double amplitude,
                        unsigned char *bytes) {
    for (int i = 0; i < frames; ++i) {
        short sample = static_cast<short>(static_cast<int>((sums[i] / divisor) * amplitude));
        unsigned short bits = static_cast<unsigned short>(sample);
        unsigned int frame = bits | (static_cast<unsigned int>(bits) << 16); // left, right
        memcpy(bytes + 4 * i, &frame, 4);
    }
}

// The amplitude and the per-component phase steps do not depend on the frame
// and are worked out once; each frame is computed once for both channels. The
// phase step keeps the literal evaluation order.
void FillToneBuffer(void *buffer, double frequency, int chord_type, double gain_db) {
    unsigned char *bytes = static_cast<unsigned char *>(buffer);
    if (!ValidChordType(chord_type)) {
        memset(bytes, 0, TONE_BYTES);
        return;
    }
    double amplitude = Amplitude(gain_db);
    double steps[CHORD_INTERVAL_SLOTS];
    int count = 0;
    for (int i = 0; i < CHORD_INTERVAL_SLOTS && ChordIntervals[chord_type][i] != CHORD_END; ++i) {
        steps[count++] =
            (((SemitoneRatio(ChordIntervals[chord_type][i]) * frequency) * 2.0) * kPi) / 44100.0;
    }
    const double divisor = static_cast<double>(count);
    double sums[SYNTH_BLOCK];
    for (int first = 0; first < TONE_FRAMES; first += SYNTH_BLOCK) {
        int frames = TONE_FRAMES - first < SYNTH_BLOCK ? TONE_FRAMES - first : SYNTH_BLOCK;
        SumComponents(steps, count, first, frames, sums);
        WriteFrames(sums, frames, divisor, amplitude, bytes + 4 * first);
    }
}
