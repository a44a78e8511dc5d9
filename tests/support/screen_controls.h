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

// A control's place and size in the main window's client area.
struct PlacedControl {
    int id;
    RECT rect; // left, top, right, bottom
};
// Every control at 150 % (144 dpi): the requirements' rectangle (x, y, x +
// width, y + height) with each edge times 1.5, rounded to the nearest pixel,
// halves up. Worked by hand: Start (200, 255, 250, 285) becomes (300, 382.5,
// 375, 427.5), so (300, 383, 375, 428), 75 x 45.
inline const std::vector<PlacedControl> kControlRectsAt150 = {
    {ID_START, {300, 383, 375, 428}},         {ID_QUIT, {375, 383, 450, 428}},
    {ID_HIGH_A, {263, 158, 338, 203}},        {ID_HIGH_B, {338, 158, 413, 203}},
    {ID_HIGH_C, {413, 158, 488, 203}},        {ID_LOW_A, {263, 248, 338, 293}},
    {ID_LOW_B, {338, 248, 413, 293}},         {ID_LOW_C, {413, 248, 488, 293}},
    {ID_PLAY_A, {263, 203, 338, 248}},        {ID_PLAY_B, {338, 203, 413, 248}},
    {ID_PLAY_C, {413, 203, 488, 248}},        {ID_PITCH_SLIDER, {188, 158, 563, 188}},
    {ID_TARGET, {300, 203, 375, 248}},        {ID_PLAY, {375, 203, 450, 248}},
    {ID_DECIDE, {338, 315, 413, 360}},        {ID_SCORE_DISPLAY, {563, 240, 716, 336}},
    {ID_VOLUME_SLIDER, {563, 405, 716, 435}}, {ID_BACK, {525, 383, 600, 428}},
    {ID_RESULT_QUIT, {600, 383, 675, 428}},   {ID_FINAL_DISPLAY, {450, 8, 603, 104}},
};

// The rectangle of the child `id` in its parent's client area (the parent
// may belong to another process); empty when there is no such child.
inline RECT ChildRect(HWND parent, int id) {
    RECT r = {0, 0, 0, 0};
    HWND child = GetDlgItem(parent, id);
    if (child != nullptr && GetWindowRect(child, &r)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    }
    return r;
}
