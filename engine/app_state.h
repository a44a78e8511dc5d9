// The one application record and the small types that travel with it.
#pragma once

#include <windows.h>
#include <mmsystem.h>

enum Screen : int {
    ScreenNone = 0,
    ScreenTitle = 1,
    ScreenTest = 2,
    ScreenResult = 3,
};

// A memory device context with a screen-compatible bitmap of the client
// area's size (500 x 300 at 100 % display scale) selected into it.
struct Surface {
    HDC dc;
    HBITMAP bitmap;
};

constexpr int TRIAL_COUNT = 10;
constexpr int COMPARISON_SLOTS = 6;
constexpr int MATCHING_SLOTS = 4;
constexpr int RESULT_ROW_BYTES = 100;
constexpr int SCORE_START = 100;
constexpr int SCORE_MAX = 300;
constexpr int PITCH_SLIDER_MAX = 200;
constexpr int VOLUME_MAX = 100;

// What one decided trial's result row shows, as the numbers it prints: the
// results file takes them from here, so its figures are the table's.
struct TrialFacts {
    int centihertz[3]; // tones A, B, C; or Play, Target (truncated hundredths of Hz)
    int answer[2];     // the letters marked highest and lowest; or the slider position
    int right[2];      // the keys' letters; or the slider position that matches
    int score;         // the score the trial was set at
};

// Field order and types are part of the program's contract: keep them, and
// add new fields only after the last of the original 31.
struct AppState {
    HWND main_window;
    int screen; // a Screen value
    HDC back_dc;
    HBITMAP back_bitmap;
    HFONT font_small;
    HFONT font_large;
    HBRUSH brush_high;
    HBRUSH brush_low;
    Surface title_bg;
    Surface comparison_bg;
    Surface matching_bg;
    Surface result_bg;
    HWAVEOUT wave_out;
    WAVEFORMATEX wave_format;
    WAVEHDR wave_header;
    void *wave_buffer;
    int volume;
    BYTE playing;
    int high_key[COMPARISON_SLOTS];
    int low_key[COMPARISON_SLOTS];
    int match_target[MATCHING_SLOTS];
    int chosen_high;
    int chosen_low;
    int slider_pos;
    char result_rows[TRIAL_COUNT][RESULT_ROW_BYTES];
    BYTE results_revealed;
    double base_freq[TRIAL_COUNT];
    int chord_type[TRIAL_COUNT];
    int trial;
    int score;
    double streak;
    // What each decided trial showed, for the results file.
    TrialFacts trial_facts[TRIAL_COUNT];
    // The main window's DPI, for which the surfaces, fonts and controls are
    // built: 96 at 100 % display scale, 144 at 150 %. A record that has none
    // yet (0) is drawn at 96.
    int dpi;
    // Set once the listener has used the keyboard: from then on each screen
    // and trial puts the focus on its first control, and focus is shown.
    BYTE keyboard_used;
    // The interface's language (a Language value of lang/language.h; 0 is
    // Japanese), and whether it was named in Settings.ini or chosen from the
    // system menu, and so is written back there with the volume.
    int language;
    BYTE language_chosen;
};

struct TrialInfo {
    BYTE is_comparison;
    int slot;
};
