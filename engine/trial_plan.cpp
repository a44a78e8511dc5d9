#include "engine/trial_plan.h"

#include "engine/random.h"

#include <string.h>

// Shuffles are swaps of random pairs, n x 100 of them; the draw count matters
// because it fixes which plan a seed gives.
constexpr int SWAPS_PER_ELEMENT = 100;
constexpr int CHORD_PERMUTATION_FIRST_CHORD = 5;
constexpr int TONE_RANK_LOWERED = 0;
constexpr int TONE_RANK_RAISED = 2;

void ShuffledIndices(int *values, int n) {
    if (values == nullptr || n <= 0) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        values[i] = i;
    }
    for (int i = 0; i < n * SWAPS_PER_ELEMENT; ++i) {
        int a = DrawRandom() % n;
        int b = DrawRandom() % n;
        int held = values[a];
        values[a] = values[b];
        values[b] = held;
    }
}

int LastIndexOf(const int *values, int n, int key) {
    int found = -1;
    for (int i = 0; values != nullptr && i < n; ++i) {
        if (values[i] == key) {
            found = i;
        }
    }
    return found;
}

int RandomInRange(int lo, int hi) {
    if (hi < lo) {
        return -1;
    }
    return lo + DrawRandom() % (hi - lo + 1);
}

int RandomChordType() {
    return DrawRandom() % 6 + 1;
}

double RandomBaseFrequency() {
    return static_cast<double>(DrawRandom() % 110) + 220.0;
}

bool BuildTrialPlan(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    int chord_permutation[TRIAL_COUNT];
    ShuffledIndices(chord_permutation, TRIAL_COUNT);
    for (int i = 0; i < TRIAL_COUNT; ++i) {
        state->base_freq[i] = RandomBaseFrequency();
        state->chord_type[i] =
            chord_permutation[i] >= CHORD_PERMUTATION_FIRST_CHORD ? RandomChordType() : 0;
    }
    for (int j = 0; j < COMPARISON_SLOTS; ++j) {
        // The permutation is the pitch rank of tones A, B, C.
        int ranks[3];
        ShuffledIndices(ranks, 3);
        state->high_key[j] = 1 + LastIndexOf(ranks, 3, TONE_RANK_RAISED);
        state->low_key[j] = 1 + LastIndexOf(ranks, 3, TONE_RANK_LOWERED);
    }
    for (int k = 0; k < MATCHING_SLOTS; ++k) {
        state->match_target[k] = RandomInRange(0, PITCH_SLIDER_MAX);
    }
    state->chosen_high = 0;
    state->chosen_low = 0;
    state->slider_pos = 0;
    memset(state->result_rows, 0, sizeof state->result_rows);
    memset(state->trial_facts, 0, sizeof state->trial_facts);
    state->results_revealed = 0;
    return true;
}
