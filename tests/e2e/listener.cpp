#include "listener.h"

#include "app/controls.h"
#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "tests/support/screen_controls.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>

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

constexpr DWORD KEY_TIMEOUT_MS = 10000;

// Presses `keys` in turn, then waits until `done` holds.
// Shift+Tab among the keys of PressKeys.
constexpr WORD SHIFT_TAB = 0xFF00 | VK_TAB;

bool PressKeys(Listener *listener, const std::vector<WORD> &keys, const std::function<bool()> &done,
               const char *what, double value) {
    for (WORD key : keys) {
        if (key == SHIFT_TAB) {
            listener->app->PressKey(VK_TAB, 0, VK_SHIFT);
        } else {
            listener->app->PressKey(key);
        }
    }
    return PollUntil(done, KEY_TIMEOUT_MS) || Fail(listener, what, value);
}

// Marks button `pick` (0..2) of the row whose first button has the focus,
// with every key a row takes: Space marks the focused first button, the
// previous arrow goes round to the last one, the next arrow back to the
// first, and one more arrow reaches B or C. The upper row takes Left and
// Right, the lower Up and Down. Each step waits for a mark the row did not
// have before it, so no key is still on its way when the next is judged.
bool MarkRowByKeys(Listener *listener, int first, int pick) {
    KestruneApp *app = listener->app;
    bool upper = first == ID_HIGH_A;
    WORD previous = upper ? VK_LEFT : VK_UP;
    WORD next = upper ? VK_RIGHT : VK_DOWN;
    // Reaching the row (the trial's start, Tab) is not a pick.
    if (app->IsChecked(first)) {
        return Fail(listener, "a radio button was marked by the focus alone", first);
    }
    // Each key and the button it must leave marked.
    std::vector<std::pair<WORD, int>> steps = {{VK_SPACE, 0}, {previous, 2}, {next, 0}};
    if (pick != 0) {
        steps.push_back({pick == 1 ? next : previous, pick});
    }
    for (const auto &step : steps) {
        if (!PressKeys(
                listener, {step.first}, [&] { return app->IsChecked(first + step.second); },
                "a key did not mark the radio button it reached", first + step.second)) {
            return false;
        }
    }
    return true;
}

bool MoveSlider(Listener *listener, int id, int pos) {
    KestruneApp *app = listener->app;
    if (listener->keys_only) {
        // The focused slider's keys, each as a click on the bar: Home, a Page
        // Down too many and Page Up back, a Right too many and Left back; or End.
        std::vector<WORD> keys = {static_cast<WORD>(pos == PITCH_SLIDER_MAX ? VK_END : VK_HOME)};
        if (pos < PITCH_SLIDER_MAX) {
            keys.insert(keys.end(), static_cast<size_t>(pos / 20 + 1), WORD{VK_NEXT});
            keys.push_back(VK_PRIOR);
            keys.insert(keys.end(), static_cast<size_t>(pos % 20 + 1), WORD{VK_RIGHT});
            keys.push_back(VK_LEFT);
        }
        return PressKeys(
            listener, keys, [&] { return app->ScrollPos(id) == pos; },
            "the slider's keys did not bring it to", pos);
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
    // Its key (as the read-me gives them), or Enter on the button focused.
    WORD key = id == ID_TARGET ? 'T'
               : id == ID_PLAY ? 'P'
                               : static_cast<WORD>('A' + id - ID_PLAY_A);
    if (listener->app->FocusedId() == id) {
        key = VK_RETURN;
    }
    bool pressed =
        listener->keys_only ? listener->app->PressKey(key) : listener->app->PostClick(id);
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
        // The trial begins on the upper row; Tab passes the three play
        // buttons to the lower, or (every other trial) Shift+Tab goes round
        // from the first stop to the last, the volume, and back by Decide.
        KestruneApp *app = listener->app;
        std::vector<WORD> to_lower(4, VK_TAB);
        if (expected->trial % 2 != 0) {
            to_lower.assign(3, SHIFT_TAB);
        }
        if (!PressKeys(
                listener, {}, [&] { return app->FocusedId() == ID_HIGH_A; },
                "the trial does not begin on its first control", ID_HIGH_A) ||
            !MarkRowByKeys(listener, ID_HIGH_A, pick_high) ||
            !PressKeys(
                listener, to_lower, [&] { return app->FocusedId() == ID_LOW_A; }, "Tab went astray",
                0) ||
            !MarkRowByKeys(listener, ID_LOW_A, pick_low)) {
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
    // From the keyboard, Play is played once more from its button: the
    // slider, Target, Play in reading order.
    if (listener->keys_only &&
        !PressKeys(
            listener, {VK_TAB, VK_TAB}, [&] { return listener->app->FocusedId() == ID_PLAY; },
            "Tab went astray", 1)) {
        return false;
    }
    if (!PlayAndHear(listener, ID_PLAY, &play)) {
        return false;
    }
    // Enter would press Play again: on to Decide.
    if (listener->keys_only &&
        !PressKeys(
            listener, {VK_TAB}, [&] { return listener->app->FocusedId() == ID_DECIDE; },
            "Tab went astray", 2)) {
        return false;
    }
    return CheckChord(listener, play) && CheckPitch(listener, play, 1);
}

// Enter held on Decide (or on a marked row): once the program has moved on,
// the focus is on the next trial's first control, or the result screen is up.
bool DecideByKeys(Listener *listener, int trial) {
    KestruneApp *app = listener->app;
    int first = trial + 1 == TRIAL_COUNT       ? ID_BACK
                : IsComparisonTrial(trial + 1) ? ID_HIGH_A
                                               : ID_PITCH_SLIDER;
    // Held through three auto-repeats: a repeat that acted would decide the
    // next trial too, which the scores and screens after it show.
    return (app->PressKey(VK_RETURN, 3) &&
            PollUntil([&] { return app->FocusedId() == first; }, KEY_TIMEOUT_MS)) ||
           Fail(listener, "Enter did not decide", trial);
}

bool Decide(Listener *listener) {
    AppState *expected = &listener->expected;
    bool decided = listener->keys_only ? DecideByKeys(listener, expected->trial)
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
