// Time of one tone's synthesis: the buffer fill against the per-sample
// definition (two ToneSample calls per frame), measured in the same run.
#include "sound/tone_synth.h"

#include <windows.h>

#include <stdio.h>

#include <vector>

namespace {

double Seconds(const LARGE_INTEGER &a, const LARGE_INTEGER &b, const LARGE_INTEGER &freq) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

void FillLiterally(unsigned char *buffer, double f, int chord, double gain) {
    for (int n = 0; n < TONE_FRAMES; ++n) {
        short left = ToneSample(f, chord, n, gain);
        short right = ToneSample(f, chord, n, gain);
        memcpy(buffer + 4 * n, &left, 2);
        memcpy(buffer + 4 * n + 2, &right, 2);
    }
}

double Best(int runs, void (*fill)(unsigned char *, double, int, double), int chord) {
    std::vector<unsigned char> buffer(176401);
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        fill(buffer.data(), 261.0, chord, ToneGainDb(90));
        QueryPerformanceCounter(&b);
        best = std::min(best, Seconds(a, b, freq));
    }
    return best;
}

void FillFast(unsigned char *buffer, double f, int chord, double gain) {
    FillToneBuffer(buffer, f, chord, gain);
}

} // namespace

int main() {
    const struct {
        const char *name;
        int chord;
    } tones[] = {{"single tone", 0}, {"four-note chord (7th)", 3}};
    for (const auto &t : tones) {
        double fast = Best(15, FillFast, t.chord);
        double literal = Best(15, FillLiterally, t.chord);
        printf("%-22s FillToneBuffer %7.2f ms   per-sample definition %7.2f ms   speed-up %.2fx\n",
               t.name, fast * 1000, literal * 1000, literal / fast);
    }
    return 0;
}
