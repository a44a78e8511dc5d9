#include "tests/support/capture.h"

#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

static const double kTwoPi = 6.283185307179586476925;
static const double kRate = 44100.0;

const std::vector<int> kChordSemitones[7] = {
    {0},           // single tone
    {0, 4, 7},     // major
    {0, 3, 7},     // minor
    {0, 4, 7, 10}, // seventh
    {0, 3, 7, 10}, // minor seventh
    {0, 3, 6},     // diminished
    {0, 4, 8},     // augmented
};

bool ReadCapturedStream(const std::string &path, CapturedStream *stream) {
    FILE *file = fopen(path.c_str(), "rb");
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

namespace {

// A stretch of sound: from its first non-zero frame to the frame after its
// last, with at least min_gap silent frames (or the stream's edge) around it.
struct Stretch {
    int first;
    int end;
};

std::vector<Stretch> Stretches(const std::vector<short> &samples, int min_gap) {
    std::vector<Stretch> out;
    const int count = static_cast<int>(samples.size());
    int i = 0;
    while (i < count) {
        while (i < count && samples[i] == 0) {
            ++i;
        }
        if (i >= count) {
            break;
        }
        Stretch s = {i, i + 1};
        int silent = 0;
        while (i < count && silent < min_gap) {
            if (samples[i] == 0) {
                ++silent;
            } else {
                silent = 0;
                s.end = i + 1;
            }
            ++i;
        }
        out.push_back(s);
        i = s.end;
    }
    return out;
}

void Append(CapturedTone *tone, const std::vector<short> &samples, int from, int to) {
    tone->samples.insert(tone->samples.end(), samples.begin() + from, samples.begin() + to);
    tone->frames = static_cast<int>(tone->samples.size());
    tone->end = to;
    ++tone->pieces;
}

} // namespace

std::vector<CapturedTone> FindTones(const std::vector<short> &samples, int min_gap) {
    std::vector<CapturedTone> tones;
    bool open = false; // the last tone still wants frames
    for (const Stretch &s : Stretches(samples, min_gap)) {
        // A tone's frame 0 is the zero before its first sound.
        int pos = open || s.first == 0 ? s.first : s.first - 1;
        while (pos < s.end) {
            if (!open) {
                tones.push_back({pos, pos, 0, 0, {}});
                open = true;
            }
            CapturedTone &tone = tones.back();
            // A tone may follow the one before with no silence between.
            int take = std::min(s.end - pos, FRAMES_PER_TONE - tone.frames);
            Append(&tone, samples, pos, pos + take);
            pos += take;
            open = tone.frames < FRAMES_PER_TONE;
        }
    }
    return tones;
}

CapturedTone LastTone(const std::vector<short> &samples, int min_gap) {
    std::vector<Stretch> stretches = Stretches(samples, min_gap);
    std::vector<Stretch> taken; // the last one first
    int frames = 0;
    for (auto s = stretches.rbegin(); s != stretches.rend() && frames < FRAMES_PER_TONE; ++s) {
        Stretch part = *s;
        int need = FRAMES_PER_TONE - frames;
        if (part.end - part.first > need) {
            part.first = part.end - need; // a tone that followed a cut one directly
        } else if (part.end - part.first == need - 1 && part.first > 0) {
            part.first -= 1; // the tone's frame 0, the zero before its first sound
        }
        frames += part.end - part.first;
        taken.push_back(part);
    }
    CapturedTone tone = {0, 0, 0, 0, {}};
    if (!taken.empty()) {
        tone.begin = taken.back().first;
    }
    for (auto s = taken.rbegin(); s != taken.rend(); ++s) {
        Append(&tone, samples, s->first, s->end);
    }
    return tone;
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
    return CentsBetween(PeakFrequency(samples, FRAMES_PER_TONE, lo, hi), expected_hz);
}

std::string TonesDifferFrom(const std::vector<CapturedTone> &tones, const std::vector<double> &hz) {
    char text[160];
    if (tones.size() != hz.size()) {
        snprintf(text, sizeof text, "%d tones, not %d", static_cast<int>(tones.size()),
                 static_cast<int>(hz.size()));
        return text;
    }
    for (size_t i = 0; i < tones.size(); ++i) {
        if (tones[i].frames != FRAMES_PER_TONE || tones[i].samples[0] != 0) {
            snprintf(text, sizeof text, "tone %d: %d frames from the sample %d",
                     static_cast<int>(i), tones[i].frames, tones[i].samples[0]);
            return text;
        }
        double cents = PitchErrorCents(tones[i].samples.data(), hz[i]);
        printf("  tone at %.6f Hz: pitch error %+.6f cents (%d pieces)\n", hz[i], cents,
               tones[i].pieces);
        if (!(fabs(cents) < MAX_CENTS_ERROR)) {
            snprintf(text, sizeof text, "tone %d: %+.6f cents from %.6f Hz", static_cast<int>(i),
                     cents, hz[i]);
            return text;
        }
    }
    return "";
}

std::vector<int> SemitonesPresent(const short *samples, double root_hz, double share) {
    const std::vector<double> x = Windowed(samples, FRAMES_PER_TONE);
    const double root = Magnitude(x, root_hz);
    std::vector<int> present;
    for (int k = 0; k <= 12; ++k) {
        // A component that is absent leaks far less than half the root's
        // level into its bin: the nearest component is a semitone away.
        if (Magnitude(x, root_hz * pow(2.0, k / 12.0)) >= share * root) {
            present.push_back(k);
        }
    }
    return present;
}

HeardTone HearTone(const std::vector<short> &tone, double lo_hz, double hi_hz) {
    HeardTone heard = {0.0, -1, static_cast<int>(tone.size())};
    if (tone.size() < static_cast<size_t>(FRAMES_PER_TONE)) {
        return heard;
    }
    heard.root = RootFrequency(tone.data(), FRAMES_PER_TONE, lo_hz, hi_hz);
    std::vector<int> present = SemitonesPresent(tone.data(), heard.root);
    for (int type = 0; type < 7; ++type) {
        if (present == kChordSemitones[type]) {
            heard.chord_type = type;
        }
    }
    return heard;
}

void CaptureMonitor::Follow(const std::string &path) {
    Follow(Wide(path));
}

void CaptureMonitor::Follow(const std::wstring &path) {
    path_ = path;
    offset_ = 0;
    left_.clear();
    taken_ = 0;
    taken_end_ = 0;
}

void CaptureMonitor::ReadNewFrames() {
    FILE *file = _wfopen(path_.c_str(), L"rb");
    if (file == nullptr) {
        return;
    }
    if (_fseeki64(file, offset_, SEEK_SET) == 0) {
        unsigned char chunk[1 << 16];
        size_t got;
        // Whole frames only: a frame half written now is read next time.
        while ((got = fread(chunk, 1, sizeof chunk, file)) >= 4) {
            size_t frames = got / 4;
            for (size_t i = 0; i < frames; ++i) {
                const unsigned char *p = &chunk[4 * i];
                left_.push_back(static_cast<short>(p[0] | (p[1] << 8)));
            }
            offset_ += static_cast<long long>(frames) * 4;
            if (frames * 4 != got) {
                break;
            }
        }
    }
    fclose(file);
}

// The next tone, once it is over: whole, and the device has gone on past it;
// or followed by another tone; or, cut short, followed by a second of silence.
bool CaptureMonitor::TakeFinishedTone(std::vector<short> *tone) {
    ReadNewFrames();
    std::vector<CapturedTone> tones = FindTones(left_);
    if (static_cast<int>(tones.size()) <= taken_) {
        return false;
    }
    const CapturedTone &next = tones[taken_];
    size_t silence = left_.size() - next.end;
    bool whole = next.frames >= FRAMES_PER_TONE;
    if (static_cast<int>(tones.size()) == taken_ + 1 &&
        silence < static_cast<size_t>(whole ? DEVICE_MOVED_ON : FRAMES_PER_TONE)) {
        return false;
    }
    *tone = next.samples;
    ++taken_;
    taken_end_ = next.end;
    return true;
}

bool CaptureMonitor::WaitForNextTone(DWORD timeout_ms, std::vector<short> *tone) {
    return PollUntil([&] { return TakeFinishedTone(tone); }, timeout_ms);
}

bool CaptureMonitor::WaitForSound(DWORD timeout_ms) {
    return PollUntil(
        [&] {
            ReadNewFrames();
            for (size_t i = taken_end_; i < left_.size(); ++i) {
                if (left_[i] != 0) {
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
}
