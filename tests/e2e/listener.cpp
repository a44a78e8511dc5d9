#include "listener.h"

#include "app/controls.h"
#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "tests/support/accessible.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

namespace {

// Roots of every tone the program can play: bases 220..329 Hz moved by at
// most 3.65 intervals of 90 cents.
constexpr double LOWEST_ROOT = 170.0;
constexpr double HIGHEST_ROOT = 420.0;
// A tone sounds within a quarter of a second on the capture device; a busy
// machine may take much longer, and a press that sounds nothing at all fails.
constexpr DWORD TONE_TIMEOUT_MS = 20000;
constexpr int PITCH_SLIDER_RESET = 100;
// A matching answer within this many slider steps of the match is right.
constexpr int MATCH_TOLERANCE = 15;

bool Fail(Listener *listener, const char *what, double value = 0.0) {
    char text[256];
    snprintf(text, sizeof text, "trial %d: %s (%.6f)", listener->expected.trial, what, value);
    listener->failure = text;
    return false;
}

// The expected pitch of a tone number at the record's current trial.
bool CheckPitch(Listener *listener, const HeardTone &tone, int tone_number) {
    double intended = StimulusFrequency(&listener->expected, tone_number);
    double error = CentsBetween(tone.root, intended);
    if (fabs(error) > MAX_CENTS_ERROR) {
        return Fail(listener, "a tone's pitch is not the one the score and plan give, cents off",
                    error);
    }
    return true;
}

bool CheckChord(Listener *listener, const HeardTone &tone) {
    int trial = listener->expected.trial;
    if (tone.chord_type < 0) {
        return Fail(listener, "a tone is none of the seven chords, root", tone.root);
    }
    if (tone.chord_type != listener->expected.chord_type[trial]) {
        return Fail(listener, "the trial's tones are of different chord types", tone.chord_type);
    }
    return true;
}

// The key for each play button, as the read-me's table gives them.
WORD KeyOfButton(int id) {
    switch (id) {
    case ID_PLAY_A: return 'A';
    case ID_PLAY_B: return 'B';
    case ID_PLAY_C: return 'C';
    case ID_TARGET: return 'T';
    default: return 'P';
    }
}

constexpr DWORD KEY_TIMEOUT_MS = 10000;

bool WaitForFocus(Listener *listener, int id) {
    if (!PollUntil([&] { return listener->app->FocusedId() == id; }, KEY_TIMEOUT_MS)) {
        return Fail(listener, "the keyboard focus did not come to control", id);
    }
    return true;
}

// Marks button `pick` (0..2) of the row whose first button has the focus and
// none is marked: Space marks the first, each Right moves on and marks.
bool MarkRowByKeys(Listener *listener, int first, int pick) {
    KestruneApp *app = listener->app;
    bool sent = pick == 0 ? app->PressKey(VK_SPACE) : app->PressKey(VK_RIGHT);
    for (int i = 1; i < pick; ++i) {
        sent = sent && app->PressKey(VK_RIGHT);
    }
    if (!sent || !PollUntil([&] { return app->IsChecked(first + pick); }, KEY_TIMEOUT_MS)) {
        return Fail(listener, "a key did not mark the radio button", first + pick);
    }
    return true;
}

// The focused slider moved to `pos` with its keys: Home, then Page Down and
// Right (each as a click on the bar's page and arrow), or End.
bool MoveSliderByKeys(Listener *listener, int id, int pos) {
    KestruneApp *app = listener->app;
    bool sent = app->PressKey(pos == PITCH_SLIDER_MAX ? VK_END : VK_HOME);
    for (int i = 0; pos < PITCH_SLIDER_MAX && i < pos / 20 + pos % 20; ++i) {
        sent = sent && app->PressKey(i < pos / 20 ? VK_NEXT : VK_RIGHT);
    }
    if (!sent || !PollUntil([&] { return app->ScrollPos(id) == pos; }, KEY_TIMEOUT_MS)) {
        return Fail(listener, "the slider's keys did not bring it to", pos);
    }
    return true;
}

bool MoveSlider(Listener *listener, int id, int pos) {
    KestruneApp *app = listener->app;
    if (listener->keys_only) {
        return WaitForFocus(listener, id) && MoveSliderByKeys(listener, id, pos);
    }
    // A drag: the thumb is tracked, then dropped.
    if (!app->Scroll(id, SB_THUMBTRACK, pos) || !app->Scroll(id, SB_THUMBPOSITION, pos) ||
        !app->Scroll(id, SB_ENDSCROLL)) {
        return Fail(listener, "a scroll bar did not take a drag", id);
    }
    if (app->ScrollPos(id) != pos) {
        return Fail(listener, "a scroll bar's thumb is not where it was dropped",
                    app->ScrollPos(id));
    }
    return true;
}

// Slider steps from the hidden match position that make Play sound k
// intervals away from Target: the inverse of the program's pitch rule.
int SliderStepsForIntervals(double k) {
    double steps =
        fabs(k) <= 1.0 ? k * MATCH_TOLERANCE : (k > 0 ? 1.0 : -1.0) * k * k * MATCH_TOLERANCE;
    return static_cast<int>(lround(steps));
}

} // namespace

void BeginListening(Listener *listener, KestruneApp *app, const std::string &capture_path) {
    BeginListening(listener, app, Wide(capture_path));
}

void BeginListening(Listener *listener, KestruneApp *app, const std::wstring &capture_path) {
    listener->app = app;
    listener->capture.Follow(capture_path);
    listener->expected = AppState();
    listener->heard.clear();
    listener->verdicts.clear();
    listener->failure.clear();
}

void ExpectNewTest(Listener *listener) {
    AppState *expected = &listener->expected;
    expected->trial = 0;
    expected->score = SCORE_START;
    expected->chosen_high = 0;
    expected->chosen_low = 0;
    expected->slider_pos = PITCH_SLIDER_RESET;
    expected->results_revealed = 0;
    for (char *row : expected->result_rows) {
        row[0] = 0;
    }
    // The streak is the listener's history: it carries over from the test before.
}

bool PlayAndHear(Listener *listener, int id, HeardTone *heard) {
    // Queued behind the previous tone's completion, which the device has sent
    // by the time that tone has ended in the stream: the press is never one
    // that the program must refuse because a tone is still in flight.
    bool pressed = listener->keys_only ? listener->app->PressKey(KeyOfButton(id))
                                       : listener->app->PostClick(id);
    if (!pressed) {
        return Fail(listener, "a play button is missing", id);
    }
    std::vector<short> tone;
    if (!listener->capture.WaitForNextTone(TONE_TIMEOUT_MS, &tone)) {
        return Fail(listener, "a play button sounded nothing", id);
    }
    *heard = HearTone(tone, LOWEST_ROOT, HIGHEST_ROOT);
    listener->heard.push_back(*heard);
    if (heard->frames != FRAMES_PER_TONE) {
        return Fail(listener, "a tone is not one second long, frames", heard->frames);
    }
    return true;
}

bool AnswerComparison(Listener *listener, AnswerStyle style) {
    AppState *expected = &listener->expected;
    TrialInfo info;
    if (!GetTrialInfo(expected, &info) || !info.is_comparison) {
        return Fail(listener, "not a comparison trial");
    }
    const int buttons[3] = {ID_PLAY_A, ID_PLAY_B, ID_PLAY_C};
    HeardTone tones[3];
    for (int i = 0; i < 3; ++i) {
        if (!PlayAndHear(listener, buttons[i], &tones[i])) {
            return false;
        }
    }
    // One tone stays on the trial's whole-number base, one is raised and one lowered.
    int high = 0;
    int low = 0;
    for (int i = 1; i < 3; ++i) {
        high = tones[i].root > tones[high].root ? i : high;
        low = tones[i].root < tones[low].root ? i : low;
    }
    int middle = 3 - high - low;
    expected->base_freq[expected->trial] = round(tones[middle].root);
    expected->chord_type[expected->trial] = tones[0].chord_type;
    expected->high_key[info.slot] = high + 1;
    expected->low_key[info.slot] = low + 1;
    for (int i = 0; i < 3; ++i) {
        if (!CheckChord(listener, tones[i]) || !CheckPitch(listener, tones[i], i + 1)) {
            return false;
        }
    }
    int pick_high = style == AnswerStyle::Heard ? high : low;
    int pick_low = style == AnswerStyle::Heard ? low : high;
    if (listener->keys_only) {
        // From the upper row, Tab passes the three play buttons to the lower.
        KestruneApp *app = listener->app;
        if (!WaitForFocus(listener, ID_HIGH_A) || !MarkRowByKeys(listener, ID_HIGH_A, pick_high)) {
            return false;
        }
        for (int i = 0; i < 4; ++i) {
            app->PressKey(VK_TAB);
        }
        if (!WaitForFocus(listener, ID_LOW_A) || !MarkRowByKeys(listener, ID_LOW_A, pick_low)) {
            return false;
        }
    } else if (!listener->app->Click(ID_HIGH_A + pick_high) ||
               !listener->app->Click(ID_LOW_A + pick_low)) {
        return Fail(listener, "a radio button is missing");
    }
    if (!listener->app->IsChecked(ID_HIGH_A + pick_high) ||
        !listener->app->IsChecked(ID_LOW_A + pick_low)) {
        return Fail(listener, "a clicked radio button is not checked");
    }
    expected->chosen_high = pick_high + 1;
    expected->chosen_low = pick_low + 1;
    // Right when the marks are the highest and the lowest tone as heard.
    listener->answered_right = pick_high == high && pick_low == low;
    return true;
}

bool AnswerMatching(Listener *listener, AnswerStyle style) {
    AppState *expected = &listener->expected;
    TrialInfo info;
    if (!GetTrialInfo(expected, &info) || info.is_comparison) {
        return Fail(listener, "not a matching trial");
    }
    HeardTone target;
    if (!PlayAndHear(listener, ID_TARGET, &target)) {
        return false;
    }
    expected->base_freq[expected->trial] = round(target.root);
    expected->chord_type[expected->trial] = target.chord_type;
    if (!CheckChord(listener, target) || !CheckPitch(listener, target, 0)) {
        return false;
    }
    int start = listener->app->ScrollPos(ID_PITCH_SLIDER);
    if (start != PITCH_SLIDER_RESET) {
        return Fail(listener, "the pitch slider does not start in the middle", start);
    }
    HeardTone play;
    if (!PlayAndHear(listener, ID_PLAY, &play)) {
        return false;
    }
    double intervals = CentsBetween(play.root, expected->base_freq[expected->trial]) /
                       CentsAtScore(expected->score);
    int match = start - SliderStepsForIntervals(intervals);
    if (match < 0 || match > PITCH_SLIDER_MAX) {
        return Fail(listener, "Play matches Target at no slider position, intervals", intervals);
    }
    expected->match_target[info.slot] = match;
    expected->slider_pos = start;
    if (!CheckChord(listener, play) || !CheckPitch(listener, play, 1)) {
        return false;
    }
    // Far off: the end of the slider farther from the match, at least 100
    // steps away, which costs the most a miss can.
    int far_end = match < PITCH_SLIDER_MAX / 2 ? PITCH_SLIDER_MAX : 0;
    int pos = style == AnswerStyle::Heard ? match : far_end;
    if (!MoveSlider(listener, ID_PITCH_SLIDER, pos)) {
        return false;
    }
    expected->slider_pos = pos;
    listener->answered_right = abs(pos - match) <= MATCH_TOLERANCE;
    if (!PlayAndHear(listener, ID_PLAY, &play)) {
        return false;
    }
    return CheckChord(listener, play) && CheckPitch(listener, play, 1);
}

// Waits until the program has moved past trial `trial`: the next trial's
// line, as a screen reader reads it, or the result screen.
bool WaitForNextTrial(Listener *listener, int trial) {
    KestruneApp *app = listener->app;
    if (trial + 1 == TRIAL_COUNT) {
        return app->WaitForScreen({ID_BACK, ID_RESULT_QUIT, ID_FINAL_DISPLAY}, KEY_TIMEOUT_MS) ||
               Fail(listener, "Enter did not bring the result screen");
    }
    std::wstring line = L"No." + std::to_wstring(trial + 2) + L" of 10";
    auto shown = [&] {
        std::vector<AccessibleItem> items;
        std::string failure;
        ReadAccessibleScreen(app->window(), &items, &failure);
        return FindAccessible(items, line) != nullptr;
    };
    return PollUntil(shown, KEY_TIMEOUT_MS) || Fail(listener, "Enter did not bring the next trial");
}

bool Decide(Listener *listener) {
    AppState *expected = &listener->expected;
    bool decided = listener->keys_only ? listener->app->PressKey(VK_RETURN, 3) &&
                                             WaitForNextTrial(listener, expected->trial)
                                       : listener->app->Click(ID_DECIDE);
    if (!decided) {
        return listener->failure.empty() ? Fail(listener, "Decide is missing or did not answer")
                                         : false;
    }
    listener->verdicts.push_back(listener->answered_right);
    listener->answered_right = false; // nothing marked for the next trial yet
    ScoreAnswer(expected);
    expected->trial += 1;
    expected->chosen_high = 0;
    expected->chosen_low = 0;
    expected->slider_pos = PITCH_SLIDER_RESET;
    return true;
}
