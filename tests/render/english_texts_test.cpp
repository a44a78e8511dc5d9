// The English screens' texts fit where they are drawn: each one's extent,
// measured with the very font the screens draw it in, lies within its
// rectangle and clear of the screen's controls, at 100 % and at 150 %; the
// captions beside the controls say High, Low and the volume's three.
#include "app/controls.h"
#include "engine/grading.h"
#include "engine/random.h"
#include "engine/trial_plan.h"
#include "lang/language.h"
#include "render/screen_paint.h"
#include "tests/support/screen_controls.h"
#include "tests/support/words.h"

#include <gtest/gtest.h>

namespace {

// The extent of `text` drawn on one line in `font` at `dpi`.
SIZE Extent(HDC dc, TextFont font, int dpi, const wchar_t *text) {
    HFONT made = CreateTextFont(font, LANGUAGE_EN, dpi);
    HGDIOBJ displaced = SelectObject(dc, made);
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, displaced);
    DeleteObject(made);
    return {r.right - r.left, r.bottom - r.top};
}

TEST(EnglishTexts, EachFitsItsRectangleAndClearsTheControls) {
    // The rows of a whole test graded; the cents line's numbers of 2, 3
    // and 4 characters (scores 0, 124, 300).
    AppState s = {};
    SeedRandom(7);
    BuildTrialPlan(&s);
    for (s.trial = 0; s.trial < TRIAL_COUNT; ++s.trial) {
        ScoreAnswer(&s);
    }
    s.results_revealed = 1;
    s.language = LANGUAGE_EN;
    struct {
        int screen, trial, score;
        std::vector<int> controls;
    } screens[] = {
        {ScreenTitle, 0, 0, kTitleScreenIds},      {ScreenTest, 0, 100, kComparisonOnlyIds},
        {ScreenTest, 3, 100, kMatchingOnlyIds},    {ScreenResult, 10, 0, kResultScreenIds},
        {ScreenResult, 10, 124, kResultScreenIds}, {ScreenResult, 10, 300, kResultScreenIds},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    int measured = 0;
    std::vector<std::wstring> captions;
    for (int dpi : {96, 144}) {
        for (const auto &e : screens) {
            SCOPED_TRACE(::testing::Message() << "screen " << e.screen << " trial " << e.trial
                                              << " at " << dpi << " dpi");
            s.screen = e.screen;
            s.trial = e.trial;
            s.score = e.score;
            std::vector<int> controls = e.controls;
            if (e.screen == ScreenTest) {
                controls.insert(controls.end(), kAlwaysOnTestIds.begin(), kAlwaysOnTestIds.end());
            }
            ScreenText texts[SCREEN_TEXT_MAX];
            int count = ListScreenTexts(&s, texts, SCREEN_TEXT_MAX);
            for (int i = 0; i < count; ++i) {
                const ScreenText &t = texts[i];
                EXPECT_FALSE(HasJapanese(t.text)) << i;
                if (t.captions_control && dpi == 96) {
                    captions.push_back(t.text);
                }
                // The name, "Score" and "Final Score" are drawn as on the Japanese screens.
                if (t.font == FONT_HEADING || t.font == FONT_SCORE_LABEL ||
                    t.font == FONT_FINAL_SCORE) {
                    continue;
                }
                SIZE size = Extent(dc, t.font, dpi, t.text);
                RECT at = ScaledRect(t.rect.left, t.rect.top, t.rect.right, t.rect.bottom, dpi);
                EXPECT_LE(size.cx, at.right - at.left) << "text " << i << " too wide";
                EXPECT_LE(size.cy, at.bottom - at.top) << "text " << i << " too high";
                // Centred both ways, as the screens draw it.
                int left = (at.left + at.right - size.cx) / 2;
                int top = (at.top + at.bottom - size.cy) / 2;
                RECT drawn = {left, top, left + size.cx, top + size.cy}, overlap;
                for (int id : controls) {
                    RECT control = ControlRect(FindControlDefinition(id), dpi);
                    EXPECT_FALSE(IntersectRect(&overlap, &drawn, &control))
                        << "text " << i << " runs over control " << id;
                }
                ++measured;
            }
        }
    }
    DeleteDC(dc);
    // Title 7, comparison 9, matching 7, each result 12: every text, twice.
    EXPECT_EQ(measured, 2 * (7 + 9 + 7 + 3 * 12));
    const std::wstring high = kHighCaption.text[WORDS_EN], low = kLowCaption.text[WORDS_EN];
    std::vector<std::wstring> volume;
    for (const Wording &w : kVolumeCaptions) {
        volume.push_back(w.text[WORDS_EN]);
    }
    std::vector<std::wstring> want = {high, high, low, low};
    want.insert(want.end(), volume.begin(), volume.end());
    want.insert(want.end(), {L"Score", low, high});
    want.insert(want.end(), volume.begin(), volume.end());
    want.insert(want.end(), {L"Score", L"Final Score", L"Final Score", L"Final Score"});
    EXPECT_EQ(captions, want);
}

} // namespace
