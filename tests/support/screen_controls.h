// Which controls each screen carries, as the requirements list them (not
// read from the program's catalogue).
#pragma once

#include "app/controls.h"

#include <vector>

// The title screen's controls, in the order they are created.
inline const std::vector<int> kTitleScreenIds = {ID_START, ID_QUIT};
// The test screen's fifteen controls, in the order they are created (which
// makes the two radio groups).
inline const std::vector<int> kTestScreenIds = {
    ID_HIGH_A,       ID_HIGH_B, ID_HIGH_C, ID_PLAY_A,        ID_PLAY_B,
    ID_PLAY_C,       ID_LOW_A,  ID_LOW_B,  ID_LOW_C,         ID_DECIDE,
    ID_PITCH_SLIDER, ID_PLAY,   ID_TARGET, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER,
};
// The result screen's controls, in the order they are created.
inline const std::vector<int> kResultScreenIds = {ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY};
// Test-screen controls shown only in comparison trials.
inline const std::vector<int> kComparisonOnlyIds = {
    ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_PLAY_A, ID_PLAY_B, ID_PLAY_C, ID_LOW_A, ID_LOW_B, ID_LOW_C};
// Test-screen controls shown only in matching trials.
inline const std::vector<int> kMatchingOnlyIds = {ID_PITCH_SLIDER, ID_PLAY, ID_TARGET};
// Test-screen controls shown in every trial.
inline const std::vector<int> kAlwaysOnTestIds = {ID_DECIDE, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER};
// The play buttons of both trial kinds.
inline const std::vector<int> kPlayIds = {ID_PLAY_A, ID_PLAY_B, ID_PLAY_C, ID_TARGET, ID_PLAY};
// Whether a trial index (0..9) is a comparison trial: 0-2 and 6-8 are.
inline bool IsComparisonTrial(int trial) {
    return (trial >= 0 && trial <= 2) || (trial >= 6 && trial <= 8);
}
