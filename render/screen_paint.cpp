#include "render/screen_paint.h"

#include "engine/pitch.h"
#include "engine/schedule.h"
#include "render/display_scale.h"
#include "render/surfaces.h"

#include <limits.h>
#include <math.h>
#include <string.h>

// Every text is one line centred both ways in its rectangle.
constexpr UINT TEXT_FORMAT = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

constexpr COLORREF COMPARISON_ROW_COLOR = 0x00F6F380;
constexpr COLORREF MATCHING_ROW_COLOR = 0x0099FF99;

// Every place, size and font height below is written for 100 % display
// scale and scaled to the record's DPI where it is drawn.
constexpr int TABLE_ROW_HEIGHT = 15;
constexpr int NOTE_LINE_STEP = 18;

// A font made for one composition: created and selected on construction; on
// destruction the font it displaced is selected back and it is deleted. The
// height is the 100 % one, scaled to `dpi`.
struct ScopedFont {
    HDC dc;
    HFONT font;
    HGDIOBJ displaced;

    ScopedFont(HDC dc_, int dpi, int height, int weight, DWORD italic, DWORD charset,
               DWORD pitch_family)
        : dc(dc_), font(CreateFontA(ScaleToDpi(height, dpi), 0, 0, 0, weight, italic, 0, 0, charset,
                                    0, 0, 0, pitch_family, nullptr)),
          displaced(SelectObject(dc_, font)) {}
    ~ScopedFont() {
        SelectObject(dc, displaced);
        DeleteObject(font);
    }
    ScopedFont(const ScopedFont &) = delete;
    ScopedFont &operator=(const ScopedFont &) = delete;
};

// The text centred in the rectangle whose edges at 100 % are given; each
// edge is scaled on its own, so rectangles that meet at 100 % still meet.
static void DrawCentredAt(HDC dc, int dpi, const char *text, int left, int top, int right,
                          int bottom) {
    RECT r = ScaledRect(left, top, right, bottom, dpi);
    DrawTextA(dc, text, -1, &r, TEXT_FORMAT);
}

static void CopyBackground(HDC dc, int dpi, const Surface *background) {
    BitBlt(dc, 0, 0, ScaledClientWidth(dpi), ScaledClientHeight(dpi), background->dc, 0, 0,
           SRCCOPY);
}

static void PaintTitleScreen(HDC dc, const AppState *state) {
    int dpi = RecordDpi(state);
    CopyBackground(dc, dpi, &state->title_bg);
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont heading(dc, dpi, 24, FW_BOLD, 1, SHIFTJIS_CHARSET, FIXED_PITCH);
        DrawCentredAt(dc, dpi, "Kestrune Ver1.1", 0, 0, 500, 75);
    }
    SelectObject(dc, state->font_large);
    DrawCentredAt(dc, dpi, "あなたの音高識別能力をお手軽に診断します。", 0, 75, 500, 105);
    {
        ScopedFont notes(dc, dpi, 15, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH);
        // The notes' rectangles are 30 high and 18 apart, so they overlap.
        int top = 105;
        char line[128];
        wsprintfA(line, "1. 問題は全部で%d問です。所要時間は約3分を想定しています。", TRIAL_COUNT);
        DrawCentredAt(dc, dpi, line, 0, top, 500, top + 30);
        static const char *const kLaterNotes[] = {
            "2. スコアは、1問ごとに再計算され変動します。",
            "3. 前半はスコアが表示されますが、途中から非表示となります。",
            "4. 問題の難易度は、成績に応じて変化します。",
            "5. 音量は自由に調節できます。上げすぎに注意しましょう。",
        };
        for (const char *note : kLaterNotes) {
            top += NOTE_LINE_STEP;
            DrawCentredAt(dc, dpi, note, 0, top, 500, top + 30);
        }
    }
    SelectObject(dc, state->font_large);
    DrawCentredAt(dc, dpi, "開始ボタンで始まります。時間制限はありません。", 0, 210, 500, 240);
}

static void PaintTestScreen(HDC dc, const AppState *state) {
    // Outside 0..9 there is no trial: the schedule answers "not a comparison"
    // and nothing below indexes by the trial.
    TrialInfo info = {0, -1};
    GetTrialInfo(state, &info);
    int dpi = RecordDpi(state);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, state->font_large);
    if (info.is_comparison) {
        CopyBackground(dc, dpi, &state->comparison_bg);
        DrawCentredAt(dc, dpi, "最も高い音と低い音をそれぞれ選択してください。", 0, 10, 500, 40);
        DrawCentredAt(dc, dpi, "高", 145, 105, 175, 135);
        DrawCentredAt(dc, dpi, "高", 325, 105, 355, 135);
        DrawCentredAt(dc, dpi, "低", 145, 165, 175, 195);
        DrawCentredAt(dc, dpi, "低", 325, 165, 355, 195);
    } else {
        CopyBackground(dc, dpi, &state->matching_bg);
        DrawCentredAt(dc, dpi, "Playの音をTargetの音に合わせてください。", 0, 10, 500, 40);
        DrawCentredAt(dc, dpi, "低", 95, 100, 125, 130);
        DrawCentredAt(dc, dpi, "高", 375, 100, 405, 130);
    }
    char line[64];
    // trial + 1 in 64 bits: no overflow whatever the field holds.
    long long shown = static_cast<long long>(state->trial) + 1;
    if (shown > INT_MAX) {
        shown = INT_MAX;
    }
    wsprintfA(line, "No.%d of %d", static_cast<int>(shown), TRIAL_COUNT);
    DrawCentredAt(dc, dpi, line, 0, 50, 500, 80);
    DrawCentredAt(dc, dpi, "音量", 375, 250, 477, 270);
    DrawCentredAt(dc, dpi, "小", 352, 270, 375, 290);
    DrawCentredAt(dc, dpi, "大", 477, 270, 500, 290);
    {
        ScopedFont label(dc, dpi, 28, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN);
        DrawCentredAt(dc, dpi, "Score", 375, 130, 477, 170);
    }
}

// Rows 3, 4, 5 and 9 hold the matching trials of every plan.
static bool IsMatchingRow(int row) {
    return static_cast<unsigned>(row - 3) <= 2u || row == 9;
}

static void PaintResultTable(HDC dc, int dpi, const AppState *state) {
    ScopedFont table(dc, dpi, 12, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH);
    DrawCentredAt(dc, dpi, "       提示音のコード名と周波数[Hz]        回答(正解)  Score", 50, 80,
                  450, 95);
    HBRUSH comparison_brush = CreateSolidBrush(COMPARISON_ROW_COLOR);
    HBRUSH matching_brush = CreateSolidBrush(MATCHING_ROW_COLOR);
    for (int i = 0; i < TRIAL_COUNT; i++) {
        // Each band's edges are scaled on their own: the bands still meet.
        int top = 100 + TABLE_ROW_HEIGHT * i;
        RECT r = ScaledRect(50, top, 450, top + TABLE_ROW_HEIGHT, dpi);
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
    }
    DeleteObject(comparison_brush);
    DeleteObject(matching_brush);
}

static void PaintResultScreen(HDC dc, const AppState *state) {
    int dpi = RecordDpi(state);
    CopyBackground(dc, dpi, &state->result_bg);
    // Normally the title composition has already left this mode; setting it
    // here keeps the texts free of opaque boxes whatever came before.
    SetBkMode(dc, TRANSPARENT);
    {
        ScopedFont final_score(dc, dpi, 36, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN);
        DrawCentredAt(dc, dpi, "Final Score", 100, 0, 275, 80);
    }
    PaintResultTable(dc, dpi, state);
    if (state->results_revealed == 0) {
        return;
    }
    char number[32];
    FormatCentsNumber(CentsAtScore(state->score), number, sizeof number);
    char line[128];
    wsprintfA(line, "このスコアにおける識別能力は%scentです。", number);
    ScopedFont cents(dc, dpi, 15, FW_NORMAL, 0, SHIFTJIS_CHARSET, DEFAULT_PITCH | FF_DONTCARE);
    DrawCentredAt(dc, dpi, line, 50, 255, 350, 285);
}

bool ComposeScreen(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    HDC dc = state->back_dc;
    int dpi = RecordDpi(state);
    PatBlt(dc, 0, 0, ScaledClientWidth(dpi), ScaledClientHeight(dpi), WHITENESS);
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
