// A listener with perfect pitch, for driving the real Kestrune.exe through
// whole tests: it presses the play buttons, hears each tone in the captured
// sound stream as soon as the tone has ended, works out the answers, and keeps
// a record of the program's own kind in which the same history is graded by
// the program's own rules, so that every score and result row is known.
#pragma once

#include "e2e_driver.h"
#include "engine/app_state.h"

#include <string>
#include <vector>

// Follows the raw capture file that the launched program's sound lands in.
class CaptureMonitor {
  public:
    void Follow(const std::string &path);
    // Waits until a tone after those already taken has ended in the stream
    // (its samples followed by the device's silence) and returns its left
    // channel. False when none comes within timeout_ms.
    bool WaitForNextTone(DWORD timeout_ms, std::vector<short> *tone);
    int tones_taken() const { return taken_; }
    // Every frame read so far (left channel).
    const std::vector<short> &stream() const { return left_; }

  private:
    void ReadNewFrames();
    std::string path_;
    long long offset_ = 0;
    std::vector<short> left_;
    int taken_ = 0;
};

// A tone as heard: its root in Hz and its chord type (-1: none fits).
struct HeardTone {
    double root;
    int chord_type;
    int frames;
};
HeardTone HearTone(const std::vector<short> &tone);

// How the listener answers: what it heard, or deliberately the opposite (the
// highest marked lowest and the other way round, the slider far from the match).
enum class AnswerStyle { Heard, Opposite };

struct Listener {
    KestruneApp *app;
    CaptureMonitor capture;
    AppState expected;            // the program's record as it must be, kept by the listener
    std::vector<HeardTone> heard; // every tone in the order played
    std::string failure;          // what went wrong, when a step returns false
};

void BeginListening(Listener *listener, KestruneApp *app, const std::string &capture_path);
// After Start: the new test begins at trial 0 with score 100 and no streak.
void ExpectNewTest(Listener *listener);
// Presses a play button and waits for its tone.
bool PlayAndHear(Listener *listener, int id, HeardTone *tone);
// Plays A, B and C of the current comparison trial and marks the answer.
bool AnswerComparison(Listener *listener, AnswerStyle style);
// Plays Target and Play, finds the slider position that matches and moves
// the slider there (or far from it), then plays once more.
bool AnswerMatching(Listener *listener, AnswerStyle style);
// Presses Decide and grades the same answer in the expected record.
bool Decide(Listener *listener);
// The score display's text as it must read once its count has settled.
std::string ExpectedDisplayText(const Listener *listener);
