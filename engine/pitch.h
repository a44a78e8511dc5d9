// The score-to-cents table and the pitch of every tone the user can play.
#pragma once

#include "engine/app_state.h"

// Slider steps of the matching zone; half of it is the grading tolerance.
constexpr double MATCH_ZONE_WIDTH = 30.0;

double CentsAtScore(int score);
// The number of the result screen's cents line ("23", "9.4", "0.50"); the
// results file writes the same digits.
void FormatCentsNumber(double cents, char *text, int text_size);
// Root frequency in Hz of a tone of the current trial: 0 Target, 1..3 tones A..C
// (in a matching trial any non-zero number is Play).
double StimulusFrequency(const AppState *state, int tone_number);
