// A listener with perfect pitch, for driving the real Kestrune.exe through
// whole tests: it presses the play buttons, hears each tone in the captured
// sound stream as soon as the tone has ended, works out the answers from
// what it heard, and keeps its own verdict on each answer. It also keeps a
// record of the program's kind in which the same history is graded by the
// program's own rules, from which the reference screens are composed.
#pragma once

#include "engine/app_state.h"
#include "tests/support/capture.h"
#include "tests/support/program.h"

#include <string>
#include <vector>

// How the listener answers: what it heard, or deliberately the opposite (the
// highest marked lowest and the other way round, the slider far from the match).
enum class AnswerStyle { Heard, Opposite };

struct Listener {
    KestruneApp *app;
    // Answers from the keyboard alone (keys sent as the keyboard sends them,
    // never a click or a message to a control), else with the mouse.
    bool keys_only = false;
    CaptureMonitor capture;
    AppState expected;            // the program's record as it must be, kept by the listener
    std::vector<HeardTone> heard; // every tone in the order played
    bool answered_right = false;  // the listener's own verdict on the answer it marked last
    std::vector<bool> verdicts;   // its verdict on each trial decided, in order
    std::string failure;          // what went wrong, when a step returns false
};

// Starts listening to the program `app`, whose sound lands in `capture_path`.
void BeginListening(Listener *listener, KestruneApp *app, const std::string &capture_path);
void BeginListening(Listener *listener, KestruneApp *app, const std::wstring &capture_path);
// After Start: the new test begins at trial 0 with score 100; the streak carries over.
void ExpectNewTest(Listener *listener);
// Presses a play button and waits for its tone; a press that sounds nothing fails.
bool PlayAndHear(Listener *listener, int id, HeardTone *tone);
// Plays A, B and C of the current comparison trial and marks the answer.
bool AnswerComparison(Listener *listener, AnswerStyle style);
// Plays Target and Play, finds the slider position that matches and moves
// the slider there (or far from it), then plays once more.
bool AnswerMatching(Listener *listener, AnswerStyle style);
// Presses Decide, notes the listener's verdict and grades the same answer in
// the expected record. From the keyboard, Enter is held through three
// auto-repeats, and the step ends once the next trial (or the result
// screen) has come.
bool Decide(Listener *listener);
