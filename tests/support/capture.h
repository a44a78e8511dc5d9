// What the wave device played, read back from the raw S16_LE stereo stream
// that tools/alsa/capture.conf writes: the tones in it, their pitches and
// components, and waits on a stream that a running program is still writing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where the capture configuration writes what a process plays: relative to
// the folder the process was started in.
constexpr const char *CAPTURE_FILE_NAME = "kestrune-capture.raw";
// Frames in one tone: one second at 44 100 frames per second.
constexpr int FRAMES_PER_TONE = 44100;
// Silent frames the device leaves between two tones, at least (not after a reset).
constexpr int TONE_GAP = 50;
// How far a measured pitch may lie from the intended one.
constexpr double MAX_CENTS_ERROR = 0.01;

// The seven chord types (0 single tone, major, minor, seventh, minor seventh,
// diminished, augmented) as semitones above the root, written from the
// requirements rather than read from the program's table.
extern const std::vector<int> kChordSemitones[7];

struct CapturedStream {
    std::vector<short> left;
    std::vector<short> right;
};

// One tone found in the stream. The capture device has no clock: when the
// player falls behind (a busy machine), the device fills the moment with a
// stretch of silence and the tone goes on after it. Such stretches are
// taken out, so `samples` holds the tone's own frames.
struct CapturedTone {
    int begin;                  // stream frame of the tone's frame 0
    int end;                    // stream frame after its last sound
    int frames;                 // the tone's own frames: samples.size()
    int pieces;                 // stretches of sound it was put together from
    std::vector<short> samples; // its left channel
};

// False when the file cannot be read or does not hold whole frames.
bool ReadCapturedStream(const std::string &path, CapturedStream *stream);

// The tones of a stream in which every tone but the last was played whole,
// in order. Every tone starts with the sample 0 and is one second long:
// stretches of sound separated by at least min_gap silent frames are joined
// up to that length, and a stretch longer than that holds tones that
// followed each other with no silence between. The last tone may be shorter
// (cut by a reset or the end of the stream). When a tone was cut short
// before others, find the tone after the cut with LastTone.
std::vector<CapturedTone> FindTones(const std::vector<short> &samples, int min_gap = TONE_GAP);
// The last second of sound in the stream, put together from its stretches
// as above, backwards from the stream's end; fewer frames when there is less.
CapturedTone LastTone(const std::vector<short> &samples, int min_gap = TONE_GAP);

// Frequency in Hz of the strongest component between lo_hz and hi_hz: the
// peak of the Hann-windowed spectrum of all samples, refined to 1e-7 Hz.
double PeakFrequency(const short *samples, int count, double lo_hz, double hi_hz);
// Root in Hz of a tone or chord between lo_hz and hi_hz, without knowing it
// beforehand: the lowest of the strong spectral peaks, refined as above.
double RootFrequency(const short *samples, int count, double lo_hz, double hi_hz);
// Amplitude of the component at hz, from the Hann-windowed spectrum.
double ComponentAmplitude(const short *samples, int count, double hz);
// Peak amplitude of a sine estimated from its RMS value.
double SineAmplitude(const short *samples, int count);
// The distance from expected_hz to measured_hz in cents.
double CentsBetween(double measured_hz, double expected_hz);
// Pitch of one second of samples against expected_hz, in cents: the spectral
// peak within 100 cents either side of it.
double PitchErrorCents(const short *samples, double expected_hz);
// Empty when the tones are, in order, one second each from the sample 0 at
// the pitches `hz` (each within MAX_CENTS_ERROR); else the first difference.
// Prints each tone's pitch error.
std::string TonesDifferFrom(const std::vector<CapturedTone> &tones, const std::vector<double> &hz);
// The semitones 0..12 above `root_hz` at which one second of samples holds a
// component of at least `share` of the root's amplitude.
std::vector<int> SemitonesPresent(const short *samples, double root_hz, double share = 0.5);

// A tone as heard: its root in Hz, the chord type whose semitones are exactly
// those present (-1: none), and its length in frames.
struct HeardTone {
    double root;
    int chord_type;
    int frames;
};
// Hears one tone whose root lies between lo_hz and hi_hz.
HeardTone HearTone(const std::vector<short> &tone, double lo_hz, double hi_hz);

// Follows the capture file that a running program is still writing.
class CaptureMonitor {
  public:
    // Starts following `path` from its beginning (the wide form for folders
    // the ANSI code page cannot spell).
    void Follow(const std::string &path);
    void Follow(const std::wstring &path);
    // Waits until a tone after those already taken has ended in the stream
    // and the device has gone on past it (DEVICE_MOVED_ON frames of silence
    // written after it, by which time the device has reported the tone done),
    // and returns its left channel. False when none comes within timeout_ms.
    bool WaitForNextTone(DWORD timeout_ms, std::vector<short> *tone);
    // Waits until the stream holds sound after the tones already taken: a tone
    // has begun. False when none begins within timeout_ms.
    bool WaitForSound(DWORD timeout_ms);
    // How many tones WaitForNextTone has returned.
    int tones_taken() const { return taken_; }
    // Every frame read so far (left channel).
    const std::vector<short> &stream() const { return left_; }

    // Silence after a tone that shows the device has moved on from it.
    static constexpr int DEVICE_MOVED_ON = 4410;

  private:
    void ReadNewFrames();
    // Takes the next tone if it has finished; false while it has not.
    bool TakeFinishedTone(std::vector<short> *tone);
    std::wstring path_;
    long long offset_ = 0;
    std::vector<short> left_;
    int taken_ = 0;
    size_t taken_end_ = 0; // the frame after the last tone taken
};
