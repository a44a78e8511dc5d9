// One second of a sine tone or chord as 16-bit stereo PCM.
#pragma once

constexpr double SAMPLE_RATE = 44100.0;
constexpr int TONE_FRAMES = 44100;
constexpr int TONE_BYTES = TONE_FRAMES * 4;
constexpr int CHORD_INTERVAL_SLOTS = 10;
constexpr int CHORD_END = -1000;

extern const int ChordIntervals[7][CHORD_INTERVAL_SLOTS];

double ToneGainDb(int volume);
short ToneSample(double frequency, int chord_type, int n, double gain_db);
// Writes TONE_FRAMES interleaved stereo frames (TONE_BYTES bytes) into buffer.
void FillToneBuffer(void *buffer, double frequency, int chord_type, double gain_db);
