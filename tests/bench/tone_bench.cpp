// One tone's synthesis: FillToneBuffer against the per-sample definition (two
// ToneSample calls per frame) and against the bare sine loop, all three timed
// in turn within each repetition so that a busy machine slows them alike.
#include "sound/tone_synth.h"
#include "tests/bench/bench_support.h"

#include <string.h>

#include <vector>

namespace {

constexpr int REPETITIONS = 21;
constexpr double FREQUENCY = 261.0;

void FillLiterally(unsigned char *buffer, double f, int chord, double gain) {
    for (int n = 0; n < TONE_FRAMES; ++n) {
        short left = ToneSample(f, chord, n, gain);
        short right = ToneSample(f, chord, n, gain);
        memcpy(buffer + 4 * n, &left, 2);
        memcpy(buffer + 4 * n + 2, &right, 2);
    }
}

void MeasureTone(const char *name, int chord) {
    std::vector<unsigned char> buffer(TONE_BYTES + 1);
    double gain = ToneGainDb(90);
    std::vector<double> fill, literal, floor;
    for (int r = 0; r < REPETITIONS; ++r) {
        double t0 = BenchNow();
        FillToneBuffer(buffer.data(), FREQUENCY, chord, gain);
        double t1 = BenchNow();
        FillLiterally(buffer.data(), FREQUENCY, chord, gain);
        double t2 = BenchNow();
        SineFloor(FREQUENCY, chord);
        double t3 = BenchNow();
        fill.push_back((t1 - t0) * 1e3);
        literal.push_back((t2 - t1) * 1e3);
        floor.push_back((t3 - t2) * 1e3);
    }
    char figure[96];
    wsprintfA(figure, "FillToneBuffer, %s", name);
    // At least four times faster than the literal formula, within 1.15x of the floor.
    PrintRow(figure, fill, "ms", "literal formula", literal, TARGET_AT_MOST, 0.25);
    PrintRow(figure, fill, "ms", "sine floor", floor, TARGET_AT_MOST, 1.15);
}

} // namespace

int main() {
    MeasureTone("single tone", 0);
    MeasureTone("four-note chord", 3);
    return 0;
}
