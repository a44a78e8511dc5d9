#include "listener.h"

#include "app/controls.h"
#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "sound/tone_synth.h"
#include "tests/audio/captured_audio.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>

namespace {

// Roots of every tone the program can play: bases 220..329 Hz moved by at
// most 3.65 intervals of 90 cents.
constexpr double LOWEST_ROOT = 170.0;
constexpr double HIGHEST_ROOT = 420.0;
// A component of a chord is there when it is at least this share of the
// root's amplitude; one that is absent leaks far less into its bin.
constexpr double PRESENT_SHARE = 0.5;
// A press can be lost while the previous tone's completion is still on its
// way to the program; the listener then presses again, as a user would.
constexpr DWORD TONE_TIMEOUT_MS = 5000;
constexpr int PRESS_ATTEMPTS = 3;
// After a tone has ended in the stream, time for its completion message to
// reach the program before the next press.
constexpr DWORD SETTLE_AFTER_TONE_MS = 150;
constexpr int PITCH_SLIDER_RESET = 100;

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
        return Fail(listener, "a tone is no chord the program knows, root", tone.root);
    }
    if (tone.chord_type != listener->expected.chord_type[trial]) {
        return Fail(listener, "the trial's tones are of different chord types", tone.chord_type);
    }
    return true;
}

bool MoveSlider(Listener *listener, int id, int pos) {
    KestruneApp *app = listener->app;
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
    const double tolerance = MATCH_ZONE_WIDTH * 0.5;
    double steps = fabs(k) <= 1.0 ? k * tolerance : (k > 0 ? 1.0 : -1.0) * k * k * tolerance;
    return static_cast<int>(lround(steps));
}

} // namespace

void CaptureMonitor::Follow(const std::string &path) {
    path_ = path;
    offset_ = 0;
    left_.clear();
    taken_ = 0;
}

void CaptureMonitor::ReadNewFrames() {
    FILE *file = fopen(path_.c_str(), "rb");
    if (file == nullptr) {
        return;
    }
    if (_fseeki64(file, offset_, SEEK_SET) == 0) {
        unsigned char chunk[1 << 16];
        size_t got;
        // Whole frames only: a frame half written now is read next time.
        while ((got = fread(chunk, 1, sizeof chunk, file)) >= 4) {
            size_t frames = got / 4;
            for (size_t i = 0; i < frames; ++i) {
                const unsigned char *p = &chunk[4 * i];
                left_.push_back(static_cast<short>(p[0] | (p[1] << 8)));
            }
            offset_ += static_cast<long long>(frames) * 4;
            if (frames * 4 != got) {
                break;
            }
        }
    }
    fclose(file);
}

bool CaptureMonitor::WaitForNextTone(DWORD timeout_ms, std::vector<short> *tone) {
    DWORD start = GetTickCount();
    for (;;) {
        ReadNewFrames();
        std::vector<CapturedTone> tones = FindTones(left_, TONE_GAP);
        if (static_cast<int>(tones.size()) > taken_) {
            const CapturedTone &next = tones[taken_];
            // Ended: the device's silence follows it.
            if (static_cast<size_t>(next.begin + next.frames + TONE_GAP) <= left_.size()) {
                tone->assign(left_.begin() + next.begin, left_.begin() + next.begin + next.frames);
                ++taken_;
                return true;
            }
        }
        if (GetTickCount() - start > timeout_ms) {
            return false;
        }
        Sleep(20);
    }
}

HeardTone HearTone(const std::vector<short> &tone) {
    HeardTone heard = {0.0, -1, static_cast<int>(tone.size())};
    int count = static_cast<int>(tone.size());
    heard.root = RootFrequency(tone.data(), count, LOWEST_ROOT, HIGHEST_ROOT);
    double root_amplitude = ComponentAmplitude(tone.data(), count, heard.root);
    // The chord whose components are all there and which has the most of them:
    // every chord that contains another has more components than it.
    int best_size = 0;
    for (int type = 0; type < CHORD_TYPE_COUNT; ++type) {
        int size = 0;
        bool all_there = true;
        for (int i = 0; i < CHORD_INTERVAL_SLOTS && ChordIntervals[type][i] != CHORD_END; ++i) {
            double hz = heard.root * pow(2.0, ChordIntervals[type][i] / 12.0);
            all_there = all_there && ComponentAmplitude(tone.data(), count, hz) >=
                                         PRESENT_SHARE * root_amplitude;
            ++size;
        }
        if (all_there && size > best_size) {
            best_size = size;
            heard.chord_type = type;
        }
    }
    return heard;
}

void BeginListening(Listener *listener, KestruneApp *app, const std::string &capture_path) {
    listener->app = app;
    listener->capture.Follow(capture_path);
    listener->expected = AppState();
    listener->heard.clear();
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
    std::vector<short> tone;
    bool got = false;
    for (int attempt = 0; attempt < PRESS_ATTEMPTS && !got; ++attempt) {
        if (!listener->app->Click(id)) {
            return Fail(listener, "a play button is missing or did not answer", id);
        }
        got = listener->capture.WaitForNextTone(TONE_TIMEOUT_MS, &tone);
    }
    if (!got) {
        return Fail(listener, "a play button sounded nothing", id);
    }
    Sleep(SETTLE_AFTER_TONE_MS);
    *heard = HearTone(tone);
    listener->heard.push_back(*heard);
    if (heard->frames != TONE_FRAMES) {
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
    if (!listener->app->Click(ID_HIGH_A + pick_high) ||
        !listener->app->Click(ID_LOW_A + pick_low)) {
        return Fail(listener, "a radio button is missing");
    }
    if (!listener->app->IsChecked(ID_HIGH_A + pick_high) ||
        !listener->app->IsChecked(ID_LOW_A + pick_low)) {
        return Fail(listener, "a clicked radio button is not checked");
    }
    expected->chosen_high = pick_high + 1;
    expected->chosen_low = pick_low + 1;
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
    if (!PlayAndHear(listener, ID_PLAY, &play)) {
        return false;
    }
    return CheckChord(listener, play) && CheckPitch(listener, play, 1);
}

bool Decide(Listener *listener) {
    AppState *expected = &listener->expected;
    if (!listener->app->Click(ID_DECIDE)) {
        return Fail(listener, "Decide is missing or did not answer");
    }
    ScoreAnswer(expected);
    expected->trial += 1;
    expected->chosen_high = 0;
    expected->chosen_low = 0;
    expected->slider_pos = PITCH_SLIDER_RESET;
    return true;
}

std::string ExpectedDisplayText(const Listener *listener) {
    // Hidden once the sixth trial has been graded.
    if (listener->expected.trial > 5) {
        return "---";
    }
    char text[16];
    snprintf(text, sizeof text, "%3d", listener->expected.score);
    return text;
}
