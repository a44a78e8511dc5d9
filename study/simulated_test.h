// Simulated listeners taking Kestrune's test. The plan, the pitch of every
// tone and the grading are the program's own engine; only the ear is modelled.
#pragma once

#include "engine/app_state.h"

#include <stdint.h>

#include <random>

enum ListenerKind : int {
    LISTENER_MODEL = 0,    // hears every tone at its pitch plus Gaussian noise
    LISTENER_GUESSING = 1, // does not listen: random picks, random slider
};

struct Listener {
    int kind;
    double threshold; // cents told apart in 75 % of two-interval trials; 0 hears exactly
    double sigma;     // standard deviation of one percept, cents
    std::mt19937_64 noise;
};

Listener MakeModelListener(double threshold_cents, uint64_t noise_seed);
Listener MakeGuessingListener(uint64_t noise_seed);

// One percept of a tone `cents` above the trial's base.
double PerceivedCents(Listener *listener, double cents);

// Slider steps away from the target at which Play is off by `error_cents`
// when one interval is `interval_cents`: the program's pitch rule inverted,
// not rounded.
double MatchingSteps(double error_cents, double interval_cents);

// Sets the record's answer to its current trial as the listener gives it:
// chosen_high and chosen_low in a comparison trial, slider_pos in a matching one.
void AnswerTrial(AppState *state, Listener *listener);

// One whole test as the program runs it from Start to the result: a new plan
// from the program's generator, trial 0, score 100, streak carried over from
// any earlier test in the record. Returns the final score.
int TakeTest(AppState *state, Listener *listener);

// Seeds of listener `index` in study group `group`: the program's generator
// for its plans, and the listener's own noise.
unsigned int PlanSeed(uint64_t group, uint64_t index);
uint64_t NoiseSeed(uint64_t group, uint64_t index);
