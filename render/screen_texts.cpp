#include "render/screen_texts.h"

#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "lang/language.h"

#include <limits.h>
#include <string.h>

constexpr int NOTE_LINE_STEP = 18;
// Grading writes the record's result rows with ChordNames, in code page 932.
constexpr int RECORD_ROWS_LANGUAGE = LANGUAGE_JA;
constexpr UINT RECORD_ROWS_CODE_PAGE = 932;

// Appends texts to a list that stops growing at its capacity.
struct TextList {
    ScreenText *texts;
    int capacity;
    int count;
    int language;
};

static ScreenText *AddRect(TextList *list, TextFont font, RECT at, bool captions_control) {
    if (list->count >= list->capacity) {
        return nullptr;
    }
    ScreenText *t = &list->texts[list->count++];
    t->text[0] = 0;
    t->rect = at;
    t->font = font;
    t->captions_control = captions_control;
    return t;
}

static void Add(TextList *list, const wchar_t *text, TextFont font, int left, int top, int right,
                int bottom, bool captions_control = false) {
    ScreenText *t = AddRect(list, font, RECT{left, top, right, bottom}, captions_control);
    if (t != nullptr) {
        lstrcpynW(t->text, text, SCREEN_TEXT_CHARS);
    }
}

static const wchar_t *Word(const TextList *list, TextId id) {
    return LanguageText(list->language, id);
}

// A caption beside a control: the square of one character, or, for a
// language whose captions are words, room as wide as a button on the side
// away from the control (`toward_left`: the caption lies left of it).
static void AddCaption(TextList *list, TextId id, int left, int top, bool toward_left) {
    constexpr int SQUARE = 30;
    constexpr int WIDE = 50;
    int right = left + SQUARE;
    if (GetLanguageTable(list->language)->look.wide_captions) {
        if (toward_left) {
            left = right - WIDE;
        } else {
            right = left + WIDE;
        }
    }
    Add(list, Word(list, id), FONT_LARGE, left, top, right, top + SQUARE, true);
}

static void ListTitleTexts(TextList *list) {
    Add(list, Word(list, TEXT_TITLE_HEADING), FONT_HEADING, 0, 0, 500, 75);
    Add(list, Word(list, TEXT_TITLE_LEAD), FONT_LARGE, 0, 75, 500, 105);
    // The notes' rectangles are 30 high and 18 apart, so they overlap.
    int top = 105;
    wchar_t line[SCREEN_TEXT_CHARS];
    FormatLanguageText(line, SCREEN_TEXT_CHARS, list->language, TEXT_TITLE_NOTE_1, TRIAL_COUNT);
    Add(list, line, FONT_NOTE, 0, top, 500, top + 30);
    static const TextId kLaterNotes[] = {
        TEXT_TITLE_NOTE_2,
        TEXT_TITLE_NOTE_3,
        TEXT_TITLE_NOTE_4,
        TEXT_TITLE_NOTE_5,
    };
    for (TextId note : kLaterNotes) {
        top += NOTE_LINE_STEP;
        Add(list, Word(list, note), FONT_NOTE, 0, top, 500, top + 30);
    }
    Add(list, Word(list, TEXT_TITLE_START_HINT), FONT_LARGE, 0, 210, 500, 240);
}

static void ListTestTexts(const AppState *state, TextList *list) {
    // Outside 0..9 there is no trial: the schedule answers "not a comparison"
    // and nothing below indexes by the trial.
    TrialInfo info = {0, -1};
    GetTrialInfo(state, &info);
    if (info.is_comparison) {
        Add(list, Word(list, TEXT_COMPARISON_INSTRUCTION), FONT_LARGE, 0, 10, 500, 40);
        // Each radio row (x 175 to 325) between two captions.
        AddCaption(list, TEXT_HIGH_CAPTION, 145, 105, true);
        AddCaption(list, TEXT_HIGH_CAPTION, 325, 105, false);
        AddCaption(list, TEXT_LOW_CAPTION, 145, 165, true);
        AddCaption(list, TEXT_LOW_CAPTION, 325, 165, false);
    } else {
        Add(list, Word(list, TEXT_MATCHING_INSTRUCTION), FONT_LARGE, 0, 10, 500, 40);
        // The pitch slider's ends (x 125 and 375).
        AddCaption(list, TEXT_LOW_CAPTION, 95, 100, true);
        AddCaption(list, TEXT_HIGH_CAPTION, 375, 100, false);
    }
    wchar_t line[SCREEN_TEXT_CHARS];
    // trial + 1 in 64 bits: no overflow whatever the field holds.
    long long shown = static_cast<long long>(state->trial) + 1;
    if (shown > INT_MAX) {
        shown = INT_MAX;
    }
    FormatLanguageText(line, SCREEN_TEXT_CHARS, list->language, TEXT_TRIAL_NUMBER,
                       static_cast<int>(shown), TRIAL_COUNT);
    Add(list, line, FONT_LARGE, 0, 50, 500, 80);
    Add(list, Word(list, TEXT_VOLUME_CAPTION), FONT_LARGE, 375, 250, 477, 270, true);
    Add(list, Word(list, TEXT_VOLUME_SOFT_CAPTION), FONT_LARGE, 352, 270, 375, 290, true);
    Add(list, Word(list, TEXT_VOLUME_LOUD_CAPTION), FONT_LARGE, 477, 270, 500, 290, true);
    Add(list, Word(list, TEXT_SCORE_CAPTION), FONT_SCORE_LABEL, 375, 130, 477, 170, true);
}

int ResultRowTop(int row) {
    return 100 + RESULT_ROW_HEIGHT * row;
}

// Decoded from `code_page`; an empty text when the bytes are not text of it.
static void Decode(UINT code_page, const char *bytes, wchar_t *text, int chars) {
    if (MultiByteToWideChar(code_page, 0, bytes, -1, text, chars) == 0) {
        text[0] = 0;
    }
}

// Row `row` (0..9) of the result table as the record's language prints it:
// the record's own row where it is written in that language, otherwise
// printed anew from the trial's facts.
static void ResultRowText(const AppState *state, int row, wchar_t *text, int chars) {
    if (text == nullptr || chars <= 0) {
        return;
    }
    text[0] = 0;
    if (state == nullptr || row < 0 || row >= TRIAL_COUNT) {
        return;
    }
    char line[RESULT_ROW_BYTES + 1];
    if (state->language == RECORD_ROWS_LANGUAGE || !IsLanguage(state->language)) {
        // A row is NUL-terminated within its 100 bytes; the bound keeps a row
        // that is not from running on into the next one.
        int length = static_cast<int>(strnlen(state->result_rows[row], RESULT_ROW_BYTES));
        memcpy(line, state->result_rows[row], length);
        line[length] = 0;
        Decode(RECORD_ROWS_CODE_PAGE, line, text, chars);
        return;
    }
    // Any language's words, through UTF-8: the rest of the row is ASCII.
    char chord[32];
    int type = state->chord_type[row];
    if (type == 0) {
        if (WideCharToMultiByte(CP_UTF8, 0, LanguageText(state->language, TEXT_SINGLE_TONE), -1,
                                chord, sizeof chord, nullptr, nullptr) == 0) {
            chord[0] = 0;
        }
    } else {
        lstrcpynA(chord, ChordName(type), sizeof chord);
    }
    TrialInfo info = {0, -1};
    GetTrialInfoAt(row, &info);
    PrintResultRow(&state->trial_facts[row], row, info.is_comparison != 0, chord, line,
                   sizeof line);
    Decode(CP_UTF8, line, text, chars);
}

static void ListResultTexts(const AppState *state, TextList *list) {
    Add(list, Word(list, TEXT_FINAL_SCORE_CAPTION), FONT_FINAL_SCORE, 100, 0, 275, 80, true);
    Add(list, Word(list, TEXT_TABLE_HEADING), FONT_TABLE, 50, 80, 450, 95);
    if (state->results_revealed == 0) {
        return;
    }
    for (int i = 0; i < TRIAL_COUNT; i++) {
        int top = ResultRowTop(i);
        ScreenText *t =
            AddRect(list, FONT_TABLE, RECT{50, top, 450, top + RESULT_ROW_HEIGHT}, false);
        if (t != nullptr) {
            ResultRowText(state, i, t->text, SCREEN_TEXT_CHARS);
        }
    }
    char number[32];
    FormatCentsNumber(CentsAtScore(state->score), number, sizeof number);
    wchar_t wide_number[32];
    Decode(CP_UTF8, number, wide_number, 32); // digits and a point
    wchar_t line[SCREEN_TEXT_CHARS];
    FormatLanguageText(line, SCREEN_TEXT_CHARS, list->language, TEXT_CENTS_LINE, wide_number);
    Add(list, line, FONT_CENTS, 50, 255, 350, 285);
}

int ListScreenTexts(const AppState *state, ScreenText *texts, int capacity) {
    if (state == nullptr || texts == nullptr) {
        return 0;
    }
    TextList list = {texts, capacity, 0, state->language};
    switch (state->screen) {
    case ScreenTitle: ListTitleTexts(&list); break;
    case ScreenTest: ListTestTexts(state, &list); break;
    case ScreenResult: ListResultTexts(state, &list); break;
    default: break;
    }
    return list.count;
}
