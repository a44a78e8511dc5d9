#include "render/screen_paint.h"

#include "engine/pitch.h"
#include "engine/schedule.h"
#include "render/surfaces.h"

#include <limits.h>
#include <math.h>
#include <string.h>

// Every text is one line centred both ways in its rectangle.
constexpr UINT TEXT_FORMAT = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

constexpr COLORREF COMPARISON_ROW_COLOR = 0x00F6F380;
constexpr COLORREF MATCHING_ROW_COLOR = 0x0099FF99;

constexpr int TABLE_ROW_HEIGHT = 15;
constexpr int NOTE_LINE_STEP = 18;

// A font made for one composition: created and selected on construction; on
// destruction the font it displaced is selected back and it is deleted.
struct ScopedFont {
    HDC dc;
    HFONT font;
    HGDIOBJ displaced;

    ScopedFont(HDC dc_, int height, int weight, DWORD italic, DWORD charset, DWORD pitch_family)
        : dc(dc_), font(CreateFontA(height, 0, 0, 0, weight, italic, 0, 0, charset, 0, 0, 0,
                                    pitch_family, nullptr)),
          displaced(SelectObject(dc_, font)) {}
    ~ScopedFont() {
        SelectObject(dc, displaced);
        DeleteObject(font);
    }
    ScopedFont(const ScopedFont &) = delete;
    ScopedFont &operator=(const ScopedFont &) = delete;
};

static void DrawCentred(HDC dc, const char *text, const RECT *rect) {
    RECT r = *rect;
    DrawTextA(dc, text, -1, &r, TEXT_FORMAT);
}

static void DrawCentredAt(HDC dc, const char *text, int left, int top, int right, int bottom) {
    RECT r;
    SetRect(&r, left, top, right, bottom);
    DrawCentred(dc, text, &r);
}

static void CopyBackground(HDC dc, const Surface *background) {
    BitBlt(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, background->dc, 0, 0, SRCCOPY);
}

static void PaintTitleScreen(HDC dc, const AppState *state) {
    CopyBackground(dc, &state->title_bg);
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont heading(dc, 24, FW_BOLD, 1, SHIFTJIS_CHARSET, FIXED_PITCH);
        DrawCentredAt(dc, "Kestrune Ver1.1", 0, 0, 500, 75);
    }
    SelectObject(dc, state->font_large);
    RECT r;
    SetRect(&r, 0, 75, 500, 105);
    DrawCentred(dc, "あなたの音高識別能力をお手軽に診断します。", &r);
    {
        ScopedFont notes(dc, 15, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH);
        char line[128];
        OffsetRect(&r, 0, 30);
        wsprintfA(line, "1. 問題は全部で%d問です。所要時間は約3分を想定しています。", TRIAL_COUNT);
        DrawCentred(dc, line, &r);
        static const char *const kLaterNotes[] = {
            "2. スコアは、1問ごとに再計算され変動します。",
            "3. 前半はスコアが表示されますが、途中から非表示となります。",
            "4. 問題の難易度は、成績に応じて変化します。",
            "5. 音量は自由に調節できます。上げすぎに注意しましょう。",
        };
        for (const char *note : kLaterNotes) {
            OffsetRect(&r, 0, NOTE_LINE_STEP);
            DrawCentred(dc, note, &r);
        }
    }
    SelectObject(dc, state->font_large);
    DrawCentredAt(dc, "開始ボタンで始まります。時間制限はありません。", 0, 210, 500, 240);
}

static void PaintTestScreen(HDC dc, const AppState *state) {
    // Outside 0..9 there is no trial: the schedule answers "not a comparison"
    // and nothing below indexes by the trial.
    TrialInfo info = {0, -1};
    GetTrialInfo(state, &info);
    RECT r;
    SetRect(&r, 0, 10, 500, 40);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, state->font_large);
    if (info.is_comparison) {
        CopyBackground(dc, &state->comparison_bg);
        DrawCentred(dc, "最も高い音と低い音をそれぞれ選択してください。", &r);
        DrawCentredAt(dc, "高", 145, 105, 175, 135);
        DrawCentredAt(dc, "高", 325, 105, 355, 135);
        DrawCentredAt(dc, "低", 145, 165, 175, 195);
        DrawCentredAt(dc, "低", 325, 165, 355, 195);
    } else {
        CopyBackground(dc, &state->matching_bg);
        DrawCentred(dc, "Playの音をTargetの音に合わせてください。", &r);
        DrawCentredAt(dc, "低", 95, 100, 125, 130);
        DrawCentredAt(dc, "高", 375, 100, 405, 130);
    }
    char line[64];
    // trial + 1 in 64 bits: no overflow whatever the field holds.
    long long shown = static_cast<long long>(state->trial) + 1;
    if (shown > INT_MAX) {
        shown = INT_MAX;
    }
    wsprintfA(line, "No.%d of %d", static_cast<int>(shown), TRIAL_COUNT);
    DrawCentredAt(dc, line, 0, 50, 500, 80);
    DrawCentredAt(dc, "音量", 375, 250, 477, 270);
    DrawCentredAt(dc, "小", 352, 270, 375, 290);
    DrawCentredAt(dc, "大", 477, 270, 500, 290);
    {
        ScopedFont label(dc, 28, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN);
        DrawCentredAt(dc, "Score", 375, 130, 477, 170);
    }
}

// Rows 3, 4, 5 and 9 hold the matching trials of every plan.
static bool IsMatchingRow(int row) {
    return static_cast<unsigned>(row - 3) <= 2u || row == 9;
}

static void PaintResultTable(HDC dc, const AppState *state) {
    ScopedFont table(dc, 12, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH);
    RECT r;
    SetRect(&r, 50, 80, 450, 95);
    DrawCentred(dc, "       提示音のコード名と周波数[Hz]        回答(正解)  Score", &r);
    SetRect(&r, 50, 100, 450, 115);
    HBRUSH comparison_brush = CreateSolidBrush(COMPARISON_ROW_COLOR);
    HBRUSH matching_brush = CreateSolidBrush(MATCHING_ROW_COLOR);
    for (int i = 0; i < TRIAL_COUNT; i++) {
        FillRect(dc, &r, IsMatchingRow(i) ? matching_brush : comparison_brush);
        DrawEdge(dc, &r, EDGE_BUMP, BF_RECT);
        if (state->results_revealed != 0) {
            // A row is NUL-terminated within its 100 bytes; the bound keeps a
            // row that is not from running on into the next one.
            const char *row = state->result_rows[i];
            int length = static_cast<int>(strnlen(row, RESULT_ROW_BYTES));
            RECT cell = r;
            DrawTextA(dc, row, length, &cell, TEXT_FORMAT);
        }
        OffsetRect(&r, 0, TABLE_ROW_HEIGHT);
    }
    DeleteObject(comparison_brush);
    DeleteObject(matching_brush);
}

static void PaintResultScreen(HDC dc, const AppState *state) {
    CopyBackground(dc, &state->result_bg);
    // Normally the title composition has already left this mode; setting it
    // here keeps the texts free of opaque boxes whatever came before.
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont final_score(dc, 36, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN);
        DrawCentredAt(dc, "Final Score", 100, 0, 275, 80);
    }
    PaintResultTable(dc, state);
    if (state->results_revealed == 0) {
        return;
    }
    char number[32];
    FormatCentsNumber(CentsAtScore(state->score), number, sizeof number);
    char line[128];
    wsprintfA(line, "このスコアにおける識別能力は%scentです。", number);
    ScopedFont cents(dc, 15, FW_NORMAL, 0, SHIFTJIS_CHARSET, DEFAULT_PITCH | FF_DONTCARE);
    DrawCentredAt(dc, line, 50, 255, 350, 285);
}

bool ComposeScreen(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    HDC dc = state->back_dc;
    PatBlt(dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, WHITENESS);
    switch (state->screen) {
    case ScreenTitle: PaintTitleScreen(dc, state); break;
    case ScreenTest: PaintTestScreen(dc, state); break;
    case ScreenResult: PaintResultScreen(dc, state); break;
    default:
        // No screen yet (or an unknown value): the white picture stays.
        break;
    }
    return true;
}
