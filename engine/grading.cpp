#include "engine/grading.h"

#include "engine/pitch.h"
#include "engine/schedule.h"

#include <math.h>
#include <stdlib.h>

// Each name is six bytes so the columns after it line up in the result table.
const char ChordNames[CHORD_TYPE_COUNT][CHORD_NAME_BYTES] = {
    "[単音]", "[maj] ", "[min] ", "[7th] ", "[m7]  ", "[dim] ", "[aug] ",
};

constexpr double COMPARISON_STEP = 30.0;
constexpr double MATCHING_STEP = 50.0;
constexpr double RUN_THRESHOLD = 2.5;
constexpr double PENALTY_THRESHOLD = -0.5;
constexpr double FAR_LIMIT = 1.5;
// wsprintfA never writes more than this.
constexpr int WSPRINTF_LIMIT = 1025;

const char *ChordName(int chord_type) {
    if (chord_type < 0 || chord_type >= CHORD_TYPE_COUNT) {
        return "";
    }
    return ChordNames[chord_type];
}

static int PickLetter(int pick) {
    return pick >= 1 && pick <= 3 ? 64 + pick : 'N';
}

// Hundredths of a hertz, truncated: printed as whole part and two decimals.
static int Centihertz(double frequency) {
    return static_cast<int>(frequency * 100);
}

// The facts of the trial being graded, kept for the results file.
static TrialFacts *CurrentFacts(AppState *state) {
    return &state->trial_facts[state->trial];
}

void PrintResultRow(const TrialFacts *facts, int trial, bool is_comparison, const char *chord,
                    char *row, int size) {
    if (row == nullptr || size <= 0) {
        return;
    }
    const int *f = facts->centihertz;
    char line[WSPRINTF_LIMIT];
    if (is_comparison) {
        wsprintfA(line, "%2d A: %3d.%02d B: %3d.%02d C: %3d.%02d %s    %C-%C(%C-%C)    %3d",
                  trial + 1, f[0] / 100, f[0] % 100, f[1] / 100, f[1] % 100, f[2] / 100, f[2] % 100,
                  chord, facts->answer[0], facts->answer[1], facts->right[0], facts->right[1],
                  facts->score);
    } else {
        wsprintfA(line, "%2d Play: %3d.%02d   Target: %3d.%02d %s    %3d(%3d)    %3d", trial + 1,
                  f[0] / 100, f[0] % 100, f[1] / 100, f[1] % 100, chord, facts->answer[0],
                  facts->right[0], facts->score);
    }
    lstrcpynA(row, line, size);
}

// The row is printed from the facts, so the file and the table cannot differ.
static void WriteComparisonRow(AppState *state, int slot) {
    TrialFacts *facts = CurrentFacts(state);
    for (int tone = 0; tone < 3; ++tone) {
        facts->centihertz[tone] = Centihertz(StimulusFrequency(state, tone + 1));
    }
    facts->answer[0] = PickLetter(state->chosen_high);
    facts->answer[1] = PickLetter(state->chosen_low);
    facts->right[0] = 64 + state->high_key[slot];
    facts->right[1] = 64 + state->low_key[slot];
    facts->score = state->score;
    PrintResultRow(facts, state->trial, true, ChordName(state->chord_type[state->trial]),
                   state->result_rows[state->trial], RESULT_ROW_BYTES);
}

static void WriteMatchingRow(AppState *state, int slot) {
    TrialFacts *facts = CurrentFacts(state);
    facts->centihertz[0] = Centihertz(StimulusFrequency(state, 1));
    facts->centihertz[1] = Centihertz(state->base_freq[state->trial]);
    facts->centihertz[2] = 0;
    facts->answer[0] = state->slider_pos;
    facts->answer[1] = 0;
    facts->right[0] = state->match_target[slot];
    facts->right[1] = 0;
    facts->score = state->score;
    PrintResultRow(facts, state->trial, false, ChordName(state->chord_type[state->trial]),
                   state->result_rows[state->trial], RESULT_ROW_BYTES);
}

// A good answer: a losing run ends at 0, a winning run grows by gain.
static void StreakOnGood(AppState *state, double gain) {
    state->streak = state->streak < 0 ? 0.0 : gain + state->streak;
}

// A bad answer: a winning run ends at 0, a losing run grows by step (negative).
static void StreakOnBad(AppState *state, double step) {
    state->streak = state->streak > 0 ? 0.0 : step + state->streak;
}

static double PenaltyExponent(const AppState *state) {
    return state->streak <= PENALTY_THRESHOLD ? 0.25 : 0.5;
}

static int GradeComparison(AppState *state, int slot, double d) {
    bool correct =
        state->chosen_high == state->high_key[slot] && state->chosen_low == state->low_key[slot];
    if (correct) {
        StreakOnGood(state, 1.0);
        return state->streak >= RUN_THRESHOLD ? static_cast<int>(sqrt(d) * COMPARISON_STEP)
                                              : static_cast<int>(d * COMPARISON_STEP);
    }
    StreakOnBad(state, -1.0);
    return static_cast<int>(pow(d, PenaltyExponent(state)) * -COMPARISON_STEP);
}

static int GradeMatching(AppState *state, int slot, double d) {
    const double tolerance = MATCH_ZONE_WIDTH * 0.5;
    int h = abs(state->slider_pos - state->match_target[slot]);
    double r = h / tolerance;
    if (h <= tolerance) {
        int w = static_cast<int>((1.0 - r) * MATCHING_STEP);
        StreakOnGood(state, 1.0 - r);
        return state->streak >= RUN_THRESHOLD ? static_cast<int>(sqrt(d) * w)
                                              : static_cast<int>(w * d);
    }
    double u = sqrt(r);
    int w;
    double step;
    if (u >= FAR_LIMIT) {
        w = -50;
        step = -1.0;
    } else {
        w = static_cast<int>((u - 1.0) * 2.0 * -MATCHING_STEP);
        step = (u - 1.0) * -2.0;
    }
    StreakOnBad(state, step);
    return static_cast<int>(pow(d, PenaltyExponent(state)) * w);
}

bool ScoreAnswer(AppState *state) {
    TrialInfo info;
    // Without a trial to grade there is no row to write: a trial index past
    // the plan would otherwise index outside it.
    if (state == nullptr || !GetTrialInfo(state, &info)) {
        return false;
    }
    double d = 1.0 - state->trial / 10.0;
    int delta;
    if (info.is_comparison) {
        WriteComparisonRow(state, info.slot);
        delta = GradeComparison(state, info.slot, d);
    } else {
        WriteMatchingRow(state, info.slot);
        delta = GradeMatching(state, info.slot, d);
    }
    int score = state->score + delta;
    if (score > SCORE_MAX) {
        score = SCORE_MAX;
    } else if (score < 0) {
        score = 0;
    }
    state->score = score;
    return true;
}
