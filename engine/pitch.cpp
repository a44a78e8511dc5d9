#include "engine/pitch.h"

#include "engine/schedule.h"

#include <limits.h>
#include <math.h>
#include <stdlib.h>

static const double kCentsTable[11] = {90, 70, 50, 30, 10, 6, 2, 1.5, 1.0, 0.75, 0.5};
constexpr int SCORE_PER_POINT = 30;

double CentsAtScore(int score) {
    // The score never leaves 0..300 in the program; clamping keeps the
    // table lookup inside the table for any caller.
    if (score < 0) {
        score = 0;
    } else if (score > SCORE_MAX) {
        score = SCORE_MAX;
    }
    int i = score / SCORE_PER_POINT;
    double f = score / 30.0 - i;
    if (score < SCORE_MAX) {
        return (1 - f) * kCentsTable[i] + f * kCentsTable[i + 1];
    }
    return kCentsTable[i];
}

double StimulusFrequency(const AppState *state, int tone_number) {
    TrialInfo info;
    // Outside a test there is no trial to sound; 0 Hz synthesises silence.
    if (!GetTrialInfo(state, &info)) {
        return 0.0;
    }
    double base = state->base_freq[state->trial];
    double oct = CentsAtScore(state->score) / 1200.0;
    double k;
    if (info.is_comparison) {
        if (tone_number == state->high_key[info.slot]) {
            k = 1.0;
        } else if (tone_number == state->low_key[info.slot]) {
            k = -1.0;
        } else {
            k = 0.0;
        }
    } else if (tone_number == 0) {
        k = 0.0;
    } else {
        const double tolerance = MATCH_ZONE_WIDTH * 0.5;
        int diff = state->slider_pos - state->match_target[info.slot];
        k = diff / tolerance;
        if (abs(diff) > tolerance) {
            k = (diff > 0 ? 1.0 : -1.0) * sqrt(fabs(k));
        }
    }
    return pow(2.0, k * oct) * base;
}

// Truncates toward zero; values beyond the int range (or not a number) are
// pinned so the conversion is always defined.
static int TruncateToInt(double value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT_MAX;
    }
    if (value <= -2147483648.0) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

void FormatCentsNumber(double cents, char *text, int text_size) {
    if (text == nullptr || text_size <= 0) {
        return;
    }
    // Long enough for any two ints and the punctuation.
    char number[32];
    if (cents >= 9.5) {
        wsprintfA(number, "%d", TruncateToInt(cents));
    } else if (cents >= 0.95) {
        int t = TruncateToInt(cents * 10);
        wsprintfA(number, "%d.%d", t / 10, t % 10);
    } else {
        wsprintfA(number, "0.%d", TruncateToInt(cents * 100));
    }
    lstrcpynA(text, number, text_size);
}
