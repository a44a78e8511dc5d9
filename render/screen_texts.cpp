#include "render/screen_texts.h"

#include "engine/pitch.h"
#include "engine/schedule.h"

#include <limits.h>
#include <string.h>

constexpr int NOTE_LINE_STEP = 18;

// Appends texts to a list that stops growing at its capacity.
struct TextList {
    ScreenText *texts;
    int capacity;
    int count;
};

static void Add(TextList *list, const char *text, TextFont font, int left, int top, int right,
                int bottom, bool captions_control = false) {
    if (list->count >= list->capacity) {
        return;
    }
    ScreenText *t = &list->texts[list->count++];
    lstrcpynA(t->text, text, SCREEN_TEXT_BYTES);
    SetRect(&t->rect, left, top, right, bottom);
    t->font = font;
    t->captions_control = captions_control;
}

static void ListTitleTexts(TextList *list) {
    Add(list, "Kestrune Ver1.1", FONT_HEADING, 0, 0, 500, 75);
    Add(list, "あなたの音高識別能力をお手軽に診断します。", FONT_LARGE, 0, 75, 500, 105);
    // The notes' rectangles are 30 high and 18 apart, so they overlap.
    int top = 105;
    char line[SCREEN_TEXT_BYTES];
    wsprintfA(line, "1. 問題は全部で%d問です。所要時間は約3分を想定しています。", TRIAL_COUNT);
    Add(list, line, FONT_NOTE, 0, top, 500, top + 30);
    static const char *const kLaterNotes[] = {
        "2. スコアは、1問ごとに再計算され変動します。",
        "3. 前半はスコアが表示されますが、途中から非表示となります。",
        "4. 問題の難易度は、成績に応じて変化します。",
        "5. 音量は自由に調節できます。上げすぎに注意しましょう。",
    };
    for (const char *note : kLaterNotes) {
        top += NOTE_LINE_STEP;
        Add(list, note, FONT_NOTE, 0, top, 500, top + 30);
    }
    Add(list, "開始ボタンで始まります。時間制限はありません。", FONT_LARGE, 0, 210, 500, 240);
}

static void ListTestTexts(const AppState *state, TextList *list) {
    // Outside 0..9 there is no trial: the schedule answers "not a comparison"
    // and nothing below indexes by the trial.
    TrialInfo info = {0, -1};
    GetTrialInfo(state, &info);
    if (info.is_comparison) {
        Add(list, "最も高い音と低い音をそれぞれ選択してください。", FONT_LARGE, 0, 10, 500, 40);
        Add(list, "高", FONT_LARGE, 145, 105, 175, 135, true);
        Add(list, "高", FONT_LARGE, 325, 105, 355, 135, true);
        Add(list, "低", FONT_LARGE, 145, 165, 175, 195, true);
        Add(list, "低", FONT_LARGE, 325, 165, 355, 195, true);
    } else {
        Add(list, "Playの音をTargetの音に合わせてください。", FONT_LARGE, 0, 10, 500, 40);
        Add(list, "低", FONT_LARGE, 95, 100, 125, 130, true);
        Add(list, "高", FONT_LARGE, 375, 100, 405, 130, true);
    }
    char line[SCREEN_TEXT_BYTES];
    // trial + 1 in 64 bits: no overflow whatever the field holds.
    long long shown = static_cast<long long>(state->trial) + 1;
    if (shown > INT_MAX) {
        shown = INT_MAX;
    }
    wsprintfA(line, "No.%d of %d", static_cast<int>(shown), TRIAL_COUNT);
    Add(list, line, FONT_LARGE, 0, 50, 500, 80);
    Add(list, "音量", FONT_LARGE, 375, 250, 477, 270, true);
    Add(list, "小", FONT_LARGE, 352, 270, 375, 290, true);
    Add(list, "大", FONT_LARGE, 477, 270, 500, 290, true);
    Add(list, "Score", FONT_SCORE_LABEL, 375, 130, 477, 170, true);
}

int ResultRowTop(int row) {
    return 100 + RESULT_ROW_HEIGHT * row;
}

static void ListResultTexts(const AppState *state, TextList *list) {
    Add(list, "Final Score", FONT_FINAL_SCORE, 100, 0, 275, 80, true);
    Add(list, "       提示音のコード名と周波数[Hz]        回答(正解)  Score", FONT_TABLE, 50, 80,
        450, 95);
    if (state->results_revealed == 0) {
        return;
    }
    for (int i = 0; i < TRIAL_COUNT; i++) {
        // A row is NUL-terminated within its 100 bytes; the bound keeps a row
        // that is not from running on into the next one.
        char row[RESULT_ROW_BYTES + 1];
        int length = static_cast<int>(strnlen(state->result_rows[i], RESULT_ROW_BYTES));
        memcpy(row, state->result_rows[i], length);
        row[length] = 0;
        int top = ResultRowTop(i);
        Add(list, row, FONT_TABLE, 50, top, 450, top + RESULT_ROW_HEIGHT);
    }
    char number[32];
    FormatCentsNumber(CentsAtScore(state->score), number, sizeof number);
    char line[SCREEN_TEXT_BYTES];
    wsprintfA(line, "このスコアにおける識別能力は%scentです。", number);
    Add(list, line, FONT_CENTS, 50, 255, 350, 285);
}

int ListScreenTexts(const AppState *state, ScreenText *texts, int capacity) {
    if (state == nullptr || texts == nullptr) {
        return 0;
    }
    TextList list = {texts, capacity, 0};
    switch (state->screen) {
    case ScreenTitle: ListTitleTexts(&list); break;
    case ScreenTest: ListTestTexts(state, &list); break;
    case ScreenResult: ListResultTexts(state, &list); break;
    default: break;
    }
    return list.count;
}
