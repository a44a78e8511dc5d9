// The languages of the interface and every text the program shows, by
// name. The words themselves live in one table per language
// (lang/japanese.cpp, lang/english.cpp); nothing else holds a word of either.
//
// To add a language: copy lang/english.cpp to a file of its own, translate
// every text of the copy (keep each %d and %s where it stands), add a
// LANGUAGE_ value below before LANGUAGE_COUNT, and list the table in
// kLanguages in lang/language.cpp. The system menu gets its item by itself.
#pragma once

#include <windows.h>

enum Language : int {
    LANGUAGE_JA = 0, // the record's zero: the interface as it has always been
    LANGUAGE_EN = 1,
    LANGUAGE_COUNT,
};

// Each text the program shows. A table lists them in this order.
enum TextId : int {
    TEXT_LANGUAGE_NAME, // the language's own name, for the menu

    // Title screen.
    TEXT_TITLE_HEADING,
    TEXT_TITLE_LEAD,
    TEXT_TITLE_NOTE_1, // %d: the number of trials
    TEXT_TITLE_NOTE_2,
    TEXT_TITLE_NOTE_3,
    TEXT_TITLE_NOTE_4,
    TEXT_TITLE_NOTE_5,
    TEXT_TITLE_START_HINT,

    // Test screen.
    TEXT_COMPARISON_INSTRUCTION,
    TEXT_MATCHING_INSTRUCTION,
    TEXT_HIGH_CAPTION,
    TEXT_LOW_CAPTION,
    TEXT_TRIAL_NUMBER, // %d of %d
    TEXT_VOLUME_CAPTION,
    TEXT_VOLUME_SOFT_CAPTION,
    TEXT_VOLUME_LOUD_CAPTION,
    TEXT_SCORE_CAPTION,

    // Result screen.
    TEXT_FINAL_SCORE_CAPTION,
    TEXT_TABLE_HEADING, // spaced to stand over the rows' columns
    TEXT_SINGLE_TONE,   // a trial without a chord, six columns wide like [maj]
    TEXT_CENTS_LINE,    // %s: the number of cents

    // Button labels; also the buttons' names for a screen reader.
    TEXT_BUTTON_START,
    TEXT_BUTTON_QUIT,
    TEXT_BUTTON_DECIDE,
    TEXT_BUTTON_BACK,

    // What a screen reader calls the other controls, and a hidden score.
    TEXT_NAME_HIGH_A,
    TEXT_NAME_HIGH_B,
    TEXT_NAME_HIGH_C,
    TEXT_NAME_LOW_A,
    TEXT_NAME_LOW_B,
    TEXT_NAME_LOW_C,
    TEXT_NAME_PLAY_A,
    TEXT_NAME_PLAY_B,
    TEXT_NAME_PLAY_C,
    TEXT_NAME_PITCH,
    TEXT_NAME_TARGET,
    TEXT_NAME_PLAY,
    TEXT_NAME_SCORE,
    TEXT_NAME_VOLUME,
    TEXT_NAME_FINAL_SCORE,
    TEXT_VALUE_HIDDEN,

    // Message boxes.
    TEXT_NOTICE_NO_SOUND,
    TEXT_NOTICE_RESULTS_MOVED, // the file's path follows it
    TEXT_NOTICE_RESULTS_NOT_SAVED,

    // Results.csv: the header's column titles and the words of a row.
    TEXT_CSV_ENDED,
    TEXT_CSV_UTC_OFFSET,
    TEXT_CSV_SCORE,
    TEXT_CSV_CENTS,
    TEXT_CSV_VOLUME,
    TEXT_CSV_VERSION,
    TEXT_CSV_TRIAL_COLUMN, // %d: the trial's number, %s: what the column holds
    TEXT_CSV_KIND,
    TEXT_CSV_CHORD,
    TEXT_CSV_ANSWER,
    TEXT_CSV_RIGHT_ANSWER,
    TEXT_CSV_TRIAL_SCORE,
    TEXT_CSV_COMPARISON,
    TEXT_CSV_MATCHING,

    // History window.
    TEXT_HISTORY_CAPTION,
    TEXT_HISTORY_MENU_ITEM,    // the system menu's item, its key after a tab
    TEXT_HISTORY_FIGURE,       // %s: the combined figure's cents
    TEXT_HISTORY_ABOUT_THREE,  // what the figure of the last three tests is
    TEXT_HISTORY_ABOUT_TWO,    // the same of two tests, one more to take
    TEXT_HISTORY_ABOUT_ONE,    // the same of one test, two more to take
    TEXT_HISTORY_NO_TESTS,     // no test in the file yet
    TEXT_HISTORY_LOADING,      // while the file is read
    TEXT_HISTORY_UNREAD_ONE,   // one line of the file is not a row
    TEXT_HISTORY_UNREAD_MANY,  // %d: how many lines are not rows
    TEXT_HISTORY_RESULTS_OFF,  // Results=0 in Settings.ini
    TEXT_HISTORY_CANNOT_READ,  // %s: the file's path, %s: one of the three reasons below
    TEXT_HISTORY_WHY_IN_USE,   // another program holds it without sharing
    TEXT_HISTORY_WHY_DENIED,   // no permission
    TEXT_HISTORY_WHY_ERROR,    // %d: the system's error code
    TEXT_HISTORY_COLUMN_ENDED, // the table's columns
    TEXT_HISTORY_COLUMN_SCORE,
    TEXT_HISTORY_COLUMN_CENTS,
    TEXT_HISTORY_TABLE_NAME,    // what a screen reader calls the table
    TEXT_HISTORY_ROW_NAME,      // %s: date and time, %s: score, %s: cents
    TEXT_HISTORY_AXIS_CENTS,    // the vertical axis's unit
    TEXT_HISTORY_LINE_LABEL,    // the legend of the last three tests' mean and its band
    TEXT_HISTORY_PLOT_SUMMARY,  // %d tests, %s first and %s last date, %s newest, %s combined
    TEXT_HISTORY_PLOT_ONE_TEST, // %s: the date, %s: the cents

    TEXT_COUNT
};

// One text of a table. A table lists every TextId once, in order.
struct TextEntry {
    TextId id;
    const wchar_t *text;
};

// How a language's words are drawn on the screens.
struct LanguageLook {
    // Faces of its own: the face of the system's dialogs for sentences and
    // a fixed-pitch one for the table, in `charset`; otherwise the screens'
    // own Shift-JIS fonts.
    bool own_faces;
    // The character set its faces are asked for in. Named, never
    // DEFAULT_CHARSET: that is the process's code page's, which the
    // manifest makes 932, so it would bring the Japanese fonts back.
    BYTE charset;
    // Captions longer than one character (High, Low) get room beside their
    // controls instead of the single character's square.
    bool wide_captions;
};

struct LanguageTable {
    const wchar_t *code;   // Language= in Settings.ini
    WORD primary_language; // chosen when Windows' display language is this
    LanguageLook look;
    const TextEntry *texts; // TEXT_COUNT entries
};

// Whether a table lists each TextId once, in order (checked when compiled).
constexpr bool IsCompleteTable(const TextEntry *texts, int count) {
    if (count != TEXT_COUNT) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (texts[i].id != i || texts[i].text == nullptr) {
            return false;
        }
    }
    return true;
}

// The table of a language; a value outside the list is taken as Japanese.
const LanguageTable *GetLanguageTable(int language);
// A text in a language (never null).
const wchar_t *LanguageText(int language, TextId id);
// A text with placeholders (%d, %s: a wide string) filled in, cut to
// `chars` (terminator included).
void FormatLanguageText(wchar_t *out, int chars, int language, TextId id, ...);
// The language a value of the Language key names ("ja", "en"), or -1.
int LanguageOfCode(const wchar_t *code);
// The interface's language for a Windows display language: its own when
// there is a table for it, otherwise English.
int LanguageOfDisplayLanguage(LANGID display_language);
// Whether `language` is one of the list.
bool IsLanguage(int language);
