#include "tests/audio/captured_audio.h"

#include <math.h>
#include <stdio.h>

static const double kTwoPi = 6.283185307179586476925;
static const double kRate = 44100.0;

bool ReadCapturedStream(const char *path, CapturedStream *stream) {
    FILE *file = fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    fclose(file);
    if (bytes.size() % 4 != 0) {
        return false;
    }
    size_t frames = bytes.size() / 4;
    stream->left.resize(frames);
    stream->right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char *p = &bytes[4 * i];
        stream->left[i] = static_cast<short>(p[0] | (p[1] << 8));
        stream->right[i] = static_cast<short>(p[2] | (p[3] << 8));
    }
    return true;
}

std::vector<CapturedTone> FindTones(const std::vector<short> &samples, int min_gap) {
    std::vector<CapturedTone> tones;
    const int count = static_cast<int>(samples.size());
    int i = 0;
    while (i < count) {
        while (i < count && samples[i] == 0) {
            ++i;
        }
        if (i >= count) {
            break;
        }
        // The frame before the first non-zero one is the tone's frame 0.
        int begin = i > 0 ? i - 1 : 0;
        int end = i;
        int silent = 0;
        while (i < count && silent < min_gap) {
            if (samples[i] == 0) {
                ++silent;
            } else {
                silent = 0;
                end = i + 1;
            }
            ++i;
        }
        tones.push_back({begin, end - begin});
        i = end;
    }
    return tones;
}

// The samples under a Hann window, the same for every frequency probed.
static std::vector<double> Windowed(const short *samples, int count) {
    std::vector<double> out(count);
    const double wstep = kTwoPi / (count - 1);
    for (int n = 0; n < count; ++n) {
        out[n] = (0.5 - 0.5 * cos(wstep * n)) * samples[n];
    }
    return out;
}

// |DFT| at hz of windowed samples, by a rotating phasor.
static double Magnitude(const std::vector<double> &x, double hz) {
    const double step = kTwoPi * hz / kRate;
    const double dc = cos(step), ds = sin(step);
    double re = 0.0, im = 0.0;
    double c = 1.0, s = 0.0;
    const int count = static_cast<int>(x.size());
    for (int n = 0; n < count; ++n) {
        re += x[n] * c;
        im -= x[n] * s;
        double nc = c * dc - s * ds;
        s = s * dc + c * ds;
        c = nc;
        if ((n & 1023) == 1023) { // keep the phasor on the unit circle
            double m = sqrt(c * c + s * s);
            c /= m;
            s /= m;
        }
    }
    return sqrt(re * re + im * im);
}

// Golden-section search for the maximum of |DFT| between a and b.
static double RefinePeak(const std::vector<double> &x, double a, double b) {
    const double r = 0.6180339887498949;
    double x1 = b - r * (b - a), x2 = a + r * (b - a);
    double m1 = Magnitude(x, x1);
    double m2 = Magnitude(x, x2);
    while (b - a > 1e-7) {
        if (m1 < m2) {
            a = x1;
            x1 = x2;
            m1 = m2;
            x2 = a + r * (b - a);
            m2 = Magnitude(x, x2);
        } else {
            b = x2;
            x2 = x1;
            m2 = m1;
            x1 = b - r * (b - a);
            m1 = Magnitude(x, x1);
        }
    }
    return 0.5 * (a + b);
}

double PeakFrequency(const short *samples, int count, double lo_hz, double hi_hz) {
    const std::vector<double> x = Windowed(samples, count);
    // Coarse scan at a fifth of the window's bin width, then refinement.
    const double grid = 0.2 * kRate / count;
    double best = lo_hz, best_mag = -1.0;
    for (double f = lo_hz; f <= hi_hz; f += grid) {
        double m = Magnitude(x, f);
        if (m > best_mag) {
            best_mag = m;
            best = f;
        }
    }
    return RefinePeak(x, best - grid, best + grid);
}

double RootFrequency(const short *samples, int count, double lo_hz, double hi_hz) {
    const std::vector<double> x = Windowed(samples, count);
    const double grid = 0.25 * kRate / count;
    std::vector<double> mags;
    for (double f = lo_hz; f <= hi_hz; f += grid) {
        mags.push_back(Magnitude(x, f));
    }
    double top = 0.0;
    for (double m : mags) {
        top = m > top ? m : top;
    }
    // Every component of a chord has the same weight: the lowest strong peak is the root.
    for (size_t i = 1; i + 1 < mags.size(); ++i) {
        if (mags[i] >= 0.5 * top && mags[i] >= mags[i - 1] && mags[i] >= mags[i + 1]) {
            double f = lo_hz + i * grid;
            return RefinePeak(x, f - grid, f + grid);
        }
    }
    return 0.0;
}

double ZeroCrossingFrequency(const short *samples, int count) {
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (int n = 1; n < count; ++n) {
        if (samples[n - 1] < 0 && samples[n] >= 0) {
            double t =
                (n - 1) + static_cast<double>(-samples[n - 1]) / (samples[n] - samples[n - 1]);
            if (first < 0) {
                first = t;
            }
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2) {
        return 0.0;
    }
    return (crossings - 1) * kRate / (last - first);
}

double ComponentAmplitude(const short *samples, int count, double hz) {
    // A Hann window passes a sine of amplitude A at its own frequency as A * N / 4.
    return 4.0 * Magnitude(Windowed(samples, count), hz) / count;
}

double SineAmplitude(const short *samples, int count) {
    double sum = 0.0;
    for (int n = 0; n < count; ++n) {
        sum += static_cast<double>(samples[n]) * samples[n];
    }
    return sqrt(2.0 * sum / count);
}

double CentsBetween(double measured_hz, double expected_hz) {
    return 1200.0 * log2(measured_hz / expected_hz);
}

double PitchErrorCents(const short *samples, double expected_hz) {
    double lo = expected_hz * pow(2.0, -100.0 / 1200.0);
    double hi = expected_hz * pow(2.0, 100.0 / 1200.0);
    return CentsBetween(PeakFrequency(samples, 44100, lo, hi), expected_hz);
}
