// Click to sound: a play command sent to a real main window in this process,
// timed until SendMessage returns (after waveOutWrite), against the sine
// floor of the same chord size timed right before it. Only one tone is ever in
// flight: each play waits for its MM_WOM_DONE before the next.
#include "app/controls.h"
#include "app/main_window.h"
#include "engine/pitch.h"
#include "tests/bench/bench_support.h"
#include "tests/support/app_window.h"
#include "tests/support/message_pump.h"

#include <stdio.h>

#include <vector>

namespace {

constexpr int REPETITIONS = 15;
constexpr DWORD TONE_TIMEOUT_MS = 5000;

// Plays tone B once; the seconds until the command returned, or a negative
// value when no tone went to the device.
double TimedPlay(HWND window, AppState *state) {
    double start = BenchNow();
    Command(window, ID_PLAY_B);
    double took = BenchNow() - start;
    if (state->playing == 0)
        return -1.0;
    if (!PumpUntil([&] { return state->playing == 0; }, TONE_TIMEOUT_MS))
        return -1.0;
    return took;
}

bool MeasureChord(HWND window, AppState *state, int chord_type) {
    state->chord_type[state->trial] = chord_type;
    if (TimedPlay(window, state) < 0) // the first play of a size warms up
        return false;
    std::vector<double> click, floor;
    double frequency = StimulusFrequency(state, 2);
    for (int r = 0; r < REPETITIONS; ++r) {
        // The floor first, while the device is idle, then the play.
        double start = BenchNow();
        SineFloor(frequency, chord_type);
        floor.push_back((BenchNow() - start) * 1e3);
        double took = TimedPlay(window, state);
        if (took < 0)
            return false;
        click.push_back(took * 1e3);
    }
    char figure[64];
    int size = ChordSize(chord_type);
    wsprintfA(figure, "Click to sound, %d note%s", size, size == 1 ? "" : "s");
    PrintRow(figure, click, "ms", "sine floor", floor, TARGET_AT_MOST, 1.3);
    return true;
}

} // namespace

int main() {
    HWND window = OpenMainWindow(false);
    AppState *state = GetAppState();
    if (window == nullptr || state->wave_out == nullptr) {
        fprintf(stderr, "click_bench: no main window or no wave output device\n");
        return 1;
    }
    Command(window, ID_START); // trial 0 is a comparison trial: A, B and C play
    int status = 0;
    for (int chord_type : {0, 1, 3}) { // one, three and four notes
        if (!MeasureChord(window, state, chord_type)) {
            fprintf(stderr, "click_bench: chord type %d did not reach the device\n", chord_type);
            status = 1;
        }
    }
    DestroyWindow(window);
    return status;
}
