// The texts each screen shows, where, and in which font: painting draws
// them, and a screen reader is given them in the same words.
#pragma once

#include "engine/app_state.h"

// The fonts the screens' texts are drawn in.
enum TextFont {
    FONT_HEADING,     // the title's name
    FONT_LARGE,       // the record's 16-pixel font: lines of the title, instructions
    FONT_NOTE,        // the title's numbered notes
    FONT_SCORE_LABEL, // "Score" beside the test's display
    FONT_FINAL_SCORE, // "Final Score" beside the result's display
    FONT_TABLE,       // the result table's heading and rows
    FONT_CENTS,       // the result's last line
};

constexpr int SCREEN_TEXT_CHARS = 128;
// More than any screen shows: the result screen's heading, ten rows and the
// two lines around them.
constexpr int SCREEN_TEXT_MAX = 24;

struct ScreenText {
    wchar_t text[SCREEN_TEXT_CHARS]; // in the record's language, NUL-terminated
    RECT rect;                       // at 100 % display scale; the text is centred in it
    TextFont font;
    // A caption of a control beside it (高, 低, 音量, Score ...): a screen
    // reader is given the control's own name instead.
    bool captions_control;
};

// The texts of the record's screen, in its language, in the order they are drawn; the number
// written to `texts` (at most `capacity`). The result table's rows and the
// cents line are among them only once the result is revealed.
int ListScreenTexts(const AppState *state, ScreenText *texts, int capacity);
// The top of the result table's band `row` (0..9) at 100 %; each band is 15 high.
int ResultRowTop(int row);
constexpr int RESULT_ROW_HEIGHT = 15;
