// Reading back what the wave device played (a raw S16_LE stereo stream) and
// measuring the tones in it.
#pragma once

#include <vector>

// Where the capture configuration (tools/alsa/capture.conf) writes what a
// process plays: relative to the folder the process was started in.
constexpr const char *CAPTURE_FILE_NAME = "kestrune-capture.raw";

// Silent frames the device leaves between two tones, at least (not after a reset).
constexpr int TONE_GAP = 50;
// How far a measured pitch may lie from the intended one.
constexpr double MAX_CENTS_ERROR = 0.01;

struct CapturedStream {
    std::vector<short> left;
    std::vector<short> right;
};

// One tone found in the stream: its first frame and its length in frames.
struct CapturedTone {
    int begin;
    int frames;
};

// False when the file cannot be read or does not hold whole frames.
bool ReadCapturedStream(const char *path, CapturedStream *stream);

// The tones of a stream, in order. Every tone starts with the sample 0 and
// ends where at least min_gap silent frames follow (the device pads the time
// between tones with silence); the stream before the first tone is silent.
std::vector<CapturedTone> FindTones(const std::vector<short> &samples, int min_gap);

// Frequency in Hz of the strongest component between lo_hz and hi_hz: the
// peak of the Hann-windowed spectrum of all samples, refined to 1e-7 Hz.
double PeakFrequency(const short *samples, int count, double lo_hz, double hi_hz);

// Root in Hz of a tone or chord between lo_hz and hi_hz, without knowing it
// beforehand: the lowest of the strong spectral peaks, refined as above.
double RootFrequency(const short *samples, int count, double lo_hz, double hi_hz);

// Frequency in Hz from the first and last upward zero crossings, each placed
// by linear interpolation between the samples around it (single tones only).
double ZeroCrossingFrequency(const short *samples, int count);

// Amplitude of the component at hz, from the Hann-windowed spectrum.
double ComponentAmplitude(const short *samples, int count, double hz);

// Peak amplitude of a sine estimated from its RMS value.
double SineAmplitude(const short *samples, int count);

double CentsBetween(double measured_hz, double expected_hz);

// Pitch of one second of samples against expected_hz, in cents: the spectral
// peak within 100 cents either side of it.
double PitchErrorCents(const short *samples, double expected_hz);
