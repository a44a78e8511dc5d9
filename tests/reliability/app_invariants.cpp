#include "tests/reliability/app_invariants.h"

#include "app/controls.h"
#include "engine/schedule.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

const std::vector<int> kTitleIds = {ID_START, ID_QUIT};
const std::vector<int> kTestIds = {
    ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_LOW_A,         ID_LOW_B,
    ID_LOW_C,  ID_PLAY_A, ID_PLAY_B, ID_PLAY_C,        ID_PITCH_SLIDER,
    ID_TARGET, ID_PLAY,   ID_DECIDE, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER,
};
const std::vector<int> kResultIds = {ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY};
const int kComparisonIds[] = {ID_HIGH_A, ID_HIGH_B, ID_HIGH_C, ID_PLAY_A, ID_PLAY_B,
                              ID_PLAY_C, ID_LOW_A,  ID_LOW_B,  ID_LOW_C};
const int kMatchingIds[] = {ID_PITCH_SLIDER, ID_PLAY, ID_TARGET};
const int kAlwaysShownIds[] = {ID_DECIDE, ID_SCORE_DISPLAY, ID_VOLUME_SLIDER};

std::string OutOfRange(const char *name, int value, int lo, int hi) {
    if (value >= lo && value <= hi) {
        return "";
    }
    std::ostringstream out;
    out << name << " = " << value << ", outside " << lo << ".." << hi;
    return out.str();
}

std::string BrokenSound(const AppState *state) {
    bool buffer = state->wave_buffer != nullptr;
    if ((state->playing != 0) != buffer) {
        return buffer ? "a buffer is held while playing is 0" : "playing is set without a buffer";
    }
    if (!buffer) {
        return "";
    }
    const WAVEHDR &header = state->wave_header;
    if (state->wave_out == nullptr) {
        return "a buffer is held without a device";
    }
    if (header.lpData != state->wave_buffer) {
        return "the header does not point at the buffer in flight";
    }
    if ((header.dwFlags & WHDR_PREPARED) == 0 ||
        (header.dwFlags & (WHDR_INQUEUE | WHDR_DONE)) == 0) {
        return "the buffer held is not on the device";
    }
    return "";
}

// Every child of the main window with whether it is shown, in one walk:
// looking each id up on its own costs a trip to the window server apiece.
// The main window itself is always shown, so a child's own style bit says
// whether it is shown.
struct Child {
    int id;
    bool shown;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM out) {
    reinterpret_cast<std::vector<Child> *>(out)->push_back(
        {GetDlgCtrlID(child), (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0});
    return TRUE;
}

bool ShownAmong(const std::vector<Child> &children, int id) {
    for (const Child &child : children) {
        if (child.id == id) {
            return child.shown;
        }
    }
    return false;
}

} // namespace

std::string BrokenChildren(HWND window, const AppState *state) {
    const std::vector<int> *expected = nullptr;
    switch (state->screen) {
    case ScreenTitle: expected = &kTitleIds; break;
    case ScreenTest: expected = &kTestIds; break;
    case ScreenResult: expected = &kResultIds; break;
    default: return "screen = " + std::to_string(state->screen);
    }
    if (!IsWindowVisible(window)) {
        return "the main window is hidden";
    }
    std::vector<Child> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<int> ids;
    for (const Child &child : children) {
        ids.push_back(child.id);
    }
    std::vector<int> want = *expected;
    std::sort(ids.begin(), ids.end());
    std::sort(want.begin(), want.end());
    if (ids != want) {
        std::ostringstream out;
        out << "screen " << state->screen << " has " << ids.size() << " children, not its "
            << want.size();
        return out.str();
    }
    if (state->screen != ScreenTest) {
        return "";
    }
    TrialInfo info = {};
    if (!GetTrialInfo(state, &info)) {
        return "the test screen is up without a trial to answer";
    }
    for (int id : kComparisonIds) {
        if (ShownAmong(children, id) != (info.is_comparison != 0)) {
            return "comparison control " + std::to_string(id) + " shown wrongly";
        }
    }
    for (int id : kMatchingIds) {
        if (ShownAmong(children, id) == (info.is_comparison != 0)) {
            return "matching control " + std::to_string(id) + " shown wrongly";
        }
    }
    for (int id : kAlwaysShownIds) {
        if (!ShownAmong(children, id)) {
            return "control " + std::to_string(id) + " hidden";
        }
    }
    return "";
}

std::string BrokenRecord(const AppState *state) {
    for (const std::string &broken : {
             OutOfRange("score", state->score, 0, SCORE_MAX),
             OutOfRange("trial", state->trial, 0, TRIAL_COUNT),
             OutOfRange("slider_pos", state->slider_pos, 0, PITCH_SLIDER_MAX),
             OutOfRange("volume", state->volume, 0, VOLUME_MAX),
             BrokenSound(state),
         }) {
        if (!broken.empty()) {
            return broken;
        }
    }
    return "";
}

std::string BrokenInvariant(HWND window, const AppState *state) {
    std::string broken = BrokenRecord(state);
    return broken.empty() ? BrokenChildren(window, state) : broken;
}
