#include "study/simulated_test.h"

#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "engine/trial_plan.h"

#include <math.h>

// Where the program puts the pitch slider after every graded trial.
constexpr int PITCH_SLIDER_RESET = 100;
// The 75 % point of the standard normal distribution.
constexpr double NORMAL_Q75 = 0.6744898;
constexpr double PI = 3.14159265358979323846;

// Uniform in (0, 1), never 0 so that its logarithm exists. Written out rather
// than taken from <random>'s distributions, whose results differ between
// standard libraries: the study's figures must not.
static double UniformOpen(std::mt19937_64 *noise) {
    return (static_cast<double>((*noise)() >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

static double StandardNormal(std::mt19937_64 *noise) {
    double u = UniformOpen(noise);
    double v = UniformOpen(noise);
    return sqrt(-2.0 * log(u)) * cos(2.0 * PI * v);
}

// 0..n-1; the bias of the modulo is below 1e-17 for the n used here.
static int UniformIndex(std::mt19937_64 *noise, int n) {
    return static_cast<int>((*noise)() % static_cast<uint64_t>(n));
}

Listener MakeModelListener(double threshold_cents, uint64_t noise_seed) {
    Listener listener;
    listener.kind = LISTENER_MODEL;
    listener.threshold = threshold_cents;
    // Two percepts differ with deviation sigma * sqrt(2); a difference of T
    // is then ordered right with probability 0.75.
    listener.sigma = threshold_cents / (sqrt(2.0) * NORMAL_Q75);
    listener.noise.seed(noise_seed);
    return listener;
}

Listener MakeGuessingListener(uint64_t noise_seed) {
    Listener listener;
    listener.kind = LISTENER_GUESSING;
    listener.threshold = 0.0;
    listener.sigma = 0.0;
    listener.noise.seed(noise_seed);
    return listener;
}

double PerceivedCents(Listener *listener, double cents) {
    return cents + listener->sigma * StandardNormal(&listener->noise);
}

double MatchingSteps(double error_cents, double interval_cents) {
    const double tolerance = MATCH_ZONE_WIDTH * 0.5;
    double k = error_cents / interval_cents;
    // The program moves Play linearly up to one interval at 15 steps and with
    // the square root of the distance beyond.
    if (fabs(k) <= 1.0) {
        return tolerance * k;
    }
    return (k > 0 ? tolerance : -tolerance) * k * k;
}

static void AnswerComparison(AppState *state, Listener *listener) {
    if (listener->kind == LISTENER_GUESSING) {
        state->chosen_high = 1 + UniformIndex(&listener->noise, 3);
        state->chosen_low = 1 + (state->chosen_high + UniformIndex(&listener->noise, 2)) % 3;
        return;
    }
    // Each tone once, at the pitch the program plays it.
    double base = state->base_freq[state->trial];
    double heard[4] = {};
    for (int tone = 1; tone <= 3; ++tone) {
        double cents = 1200.0 * log2(StimulusFrequency(state, tone) / base);
        heard[tone] = PerceivedCents(listener, cents);
    }
    int high = 1;
    int low = 1;
    for (int tone = 2; tone <= 3; ++tone) {
        if (heard[tone] > heard[high]) {
            high = tone;
        }
        if (heard[tone] < heard[low]) {
            low = tone;
        }
    }
    state->chosen_high = high;
    state->chosen_low = low;
}

static void AnswerMatching(AppState *state, Listener *listener, int slot) {
    if (listener->kind == LISTENER_GUESSING) {
        state->slider_pos = UniformIndex(&listener->noise, PITCH_SLIDER_MAX + 1);
        return;
    }
    // Play and Target are both heard with noise: their difference has sqrt(2) sigma.
    double error = sqrt(2.0) * listener->sigma * StandardNormal(&listener->noise);
    double steps = MatchingSteps(error, CentsAtScore(state->score));
    // Anything past the slider's whole length ends at its end.
    if (steps > 2.0 * PITCH_SLIDER_MAX) {
        steps = 2.0 * PITCH_SLIDER_MAX;
    } else if (steps < -2.0 * PITCH_SLIDER_MAX) {
        steps = -2.0 * PITCH_SLIDER_MAX;
    }
    int position = state->match_target[slot] + static_cast<int>(lround(steps));
    if (position < 0) {
        position = 0;
    } else if (position > PITCH_SLIDER_MAX) {
        position = PITCH_SLIDER_MAX;
    }
    state->slider_pos = position;
}

void AnswerTrial(AppState *state, Listener *listener) {
    TrialInfo info;
    if (!GetTrialInfo(state, &info)) {
        return;
    }
    if (info.is_comparison) {
        AnswerComparison(state, listener);
    } else {
        AnswerMatching(state, listener, info.slot);
    }
}

int TakeTest(AppState *state, Listener *listener) {
    // Start: a new plan, the first trial, the start score; streak stays.
    BuildTrialPlan(state);
    state->trial = 0;
    state->score = SCORE_START;
    while (state->trial < TRIAL_COUNT) {
        AnswerTrial(state, listener);
        ScoreAnswer(state);
        // Decide: the next trial, with the picks cleared and the slider centred.
        state->trial += 1;
        state->chosen_high = 0;
        state->chosen_low = 0;
        state->slider_pos = PITCH_SLIDER_RESET;
    }
    return state->score;
}

// splitmix64: neighbouring inputs give unrelated seeds.
static uint64_t MixBits(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

unsigned int PlanSeed(uint64_t group, uint64_t index) {
    return static_cast<unsigned int>(MixBits(MixBits(group) ^ index) >> 32);
}

uint64_t NoiseSeed(uint64_t group, uint64_t index) {
    return MixBits(MixBits(group + 0x5EED) ^ index);
}
