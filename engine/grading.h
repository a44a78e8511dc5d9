// Grading of one answer: its result row, the streak and the adaptive score.
// The window side of a Decide (display, screens, repaint) is GradeAnswer's.
#pragma once

#include "engine/app_state.h"

constexpr int CHORD_TYPE_COUNT = 7;
constexpr int CHORD_NAME_BYTES = 10;
extern const char ChordNames[CHORD_TYPE_COUNT][CHORD_NAME_BYTES];
// The name of a chord type as the result table prints it; empty for a type
// outside the table.
const char *ChordName(int chord_type);

// Prints trial `trial`'s line of the result table from its facts, naming
// its chord `chord` (six columns, like ChordNames). Only `chord` may hold
// anything but ASCII, so the line is in the chord's encoding.
void PrintResultRow(const TrialFacts *facts, int trial, bool is_comparison, const char *chord,
                    char *row, int size);

// Writes result_rows[trial], moves streak and score (clamped to 0..300).
// Leaves trial alone. False when there is no record.
bool ScoreAnswer(AppState *state);
