#include "render/screen_paint.h"

#include "engine/schedule.h"
#include "render/display_scale.h"
#include "render/screen_texts.h"
#include "render/surfaces.h"

#include "lang/language.h"

// A recipe's face: the one of the system's dialogs.
static const wchar_t DIALOG_FACE[] = L"(dialog)";

// Every text is one line centred both ways in its rectangle.
constexpr UINT TEXT_FORMAT = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

constexpr COLORREF COMPARISON_ROW_COLOR = 0x00F6F380;
constexpr COLORREF MATCHING_ROW_COLOR = 0x0099FF99;

// How each font of the texts is made; every height is the 100 % one, scaled
// to the record's DPI when the font is made.
struct FontRecipe {
    int height;
    int weight;
    DWORD italic;
    DWORD charset;
    DWORD pitch_family;
    const wchar_t *face; // null: the system picks by charset and pitch
};

void DialogFaceName(wchar_t *face, int chars) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    face[0] = 0;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        lstrcpynW(face, metrics.lfMessageFont.lfFaceName, chars);
    }
}

// The screens' own fonts, those of the Japanese interface.
static FontRecipe ScreenRecipe(TextFont font) {
    switch (font) {
    case FONT_HEADING: return {24, FW_BOLD, 1, SHIFTJIS_CHARSET, FIXED_PITCH, nullptr};
    case FONT_LARGE: return {18, FW_BOLD, 0, SHIFTJIS_CHARSET, FIXED_PITCH, nullptr};
    case FONT_NOTE: return {15, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH, nullptr};
    case FONT_SCORE_LABEL: return {28, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN, nullptr};
    case FONT_FINAL_SCORE: return {36, FW_BOLD, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN, nullptr};
    case FONT_TABLE: return {12, FW_NORMAL, 0, SHIFTJIS_CHARSET, FIXED_PITCH, nullptr};
    case FONT_CENTS:
        return {15, FW_NORMAL, 0, SHIFTJIS_CHARSET, DEFAULT_PITCH | FF_DONTCARE, nullptr};
    default: return {};
    }
}

// A language of Latin letters draws its sentences in the face of the
// system's dialogs, and its table in a fixed-pitch face (the rows' columns
// are lined up with spaces) a pixel lower, as its letters are wider than
// the Japanese fonts' half-width ones: 60 columns must fit in 400 pixels.
// "Kestrune Ver1.1", "Score" and "Final Score" are the same words in every
// language, and keep their fonts.
static FontRecipe RecipeOf(TextFont font, int language) {
    FontRecipe r = ScreenRecipe(font);
    const LanguageLook &look = GetLanguageTable(language)->look;
    if (!look.own_faces) {
        return r;
    }
    switch (font) {
    case FONT_LARGE:
    case FONT_NOTE:
    case FONT_CENTS:
        r.charset = look.charset;
        r.pitch_family = VARIABLE_PITCH | FF_SWISS;
        r.face = DIALOG_FACE;
        break;
    case FONT_TABLE:
        r.height = 11;
        r.charset = look.charset;
        r.pitch_family = FIXED_PITCH | FF_MODERN;
        r.face = L"Courier New";
        break;
    default: break;
    }
    return r;
}

HFONT CreateTextFont(TextFont font, int language, int dpi) {
    if (font == FONT_LARGE && !GetLanguageTable(language)->look.own_faces) {
        return nullptr; // the record's own
    }
    FontRecipe r = RecipeOf(font, language);
    wchar_t face[LF_FACESIZE] = {};
    if (r.face == DIALOG_FACE) {
        DialogFaceName(face, LF_FACESIZE);
    } else if (r.face != nullptr) {
        lstrcpynW(face, r.face, LF_FACESIZE);
    }
    return CreateFontW(ScaleToDpi(r.height, dpi), 0, 0, 0, r.weight, r.italic, 0, 0, r.charset, 0,
                       0, 0, r.pitch_family, face[0] != 0 ? face : nullptr);
}

// The font of one run of texts, made for the composition: the record's own
// large font is selected as it is; any other is created and selected, and
// when the next run begins (or the composition ends) the font it displaced
// is selected back and it is deleted.
struct TextFonts {
    HDC dc;
    int dpi;
    int language;
    HFONT created;
    HGDIOBJ displaced;

    TextFonts(HDC dc_, int dpi_, int language_)
        : dc(dc_), dpi(dpi_), language(language_), created(nullptr), displaced(nullptr) {}
    ~TextFonts() { Release(); }
    TextFonts(const TextFonts &) = delete;
    TextFonts &operator=(const TextFonts &) = delete;

    void Release() {
        if (created != nullptr) {
            SelectObject(dc, displaced);
            DeleteObject(created);
            created = nullptr;
        }
    }
    void Use(TextFont font, const AppState *state) {
        Release();
        HFONT made = CreateTextFont(font, language, dpi);
        if (made == nullptr) {
            SelectObject(dc, state->font_large);
            return;
        }
        created = made;
        displaced = SelectObject(dc, created);
    }
};

// The screen's texts, each centred in its rectangle, whose edges are scaled
// one by one (rectangles that meet at 100 % still meet).
static void DrawScreenTexts(HDC dc, const AppState *state) {
    ScreenText texts[SCREEN_TEXT_MAX];
    int count = ListScreenTexts(state, texts, SCREEN_TEXT_MAX);
    int dpi = RecordDpi(state);
    TextFonts fonts(dc, dpi, state->language);
    for (int i = 0; i < count; ++i) {
        if (i == 0 || texts[i].font != texts[i - 1].font) {
            fonts.Use(texts[i].font, state);
        }
        const RECT &at = texts[i].rect;
        RECT r = ScaledRect(at.left, at.top, at.right, at.bottom, dpi);
        DrawTextW(dc, texts[i].text, -1, &r, TEXT_FORMAT);
    }
}

static void CopyBackground(HDC dc, int dpi, const Surface *background) {
    BitBlt(dc, 0, 0, ScaledClientWidth(dpi), ScaledClientHeight(dpi), background->dc, 0, 0,
           SRCCOPY);
}

// Rows 3, 4, 5 and 9 hold the matching trials of every plan.
static bool IsMatchingRow(int row) {
    return static_cast<unsigned>(row - 3) <= 2u || row == 9;
}

// The table's ten bands, coloured by trial kind; their rows are texts.
static void PaintResultBands(HDC dc, int dpi) {
    HBRUSH comparison_brush = CreateSolidBrush(COMPARISON_ROW_COLOR);
    HBRUSH matching_brush = CreateSolidBrush(MATCHING_ROW_COLOR);
    for (int i = 0; i < TRIAL_COUNT; i++) {
        // Each band's edges are scaled on their own: the bands still meet.
        int top = ResultRowTop(i);
        RECT r = ScaledRect(50, top, 450, top + RESULT_ROW_HEIGHT, dpi);
        FillRect(dc, &r, IsMatchingRow(i) ? matching_brush : comparison_brush);
        DrawEdge(dc, &r, EDGE_BUMP, BF_RECT);
    }
    DeleteObject(comparison_brush);
    DeleteObject(matching_brush);
}

static const Surface *BackgroundOf(const AppState *state) {
    switch (state->screen) {
    case ScreenTitle: return &state->title_bg;
    case ScreenResult: return &state->result_bg;
    default: {
        TrialInfo info = {0, -1};
        GetTrialInfo(state, &info);
        return info.is_comparison ? &state->comparison_bg : &state->matching_bg;
    }
    }
}

bool ComposeScreen(AppState *state) {
    if (state == nullptr) {
        return false;
    }
    HDC dc = state->back_dc;
    int dpi = RecordDpi(state);
    PatBlt(dc, 0, 0, ScaledClientWidth(dpi), ScaledClientHeight(dpi), WHITENESS);
    if (state->screen != ScreenTitle && state->screen != ScreenTest &&
        state->screen != ScreenResult) {
        return true; // no screen yet (or an unknown value): the white picture stays
    }
    CopyBackground(dc, dpi, BackgroundOf(state));
    // Texts without opaque boxes, whatever the context was left with.
    SetBkMode(dc, TRANSPARENT);
    if (state->screen == ScreenResult) {
        PaintResultBands(dc, dpi);
    }
    DrawScreenTexts(dc, state);
    return true;
}
