// The English screens' texts fit where they are drawn: each one's extent
// (all but the name, "Score" and "Final Score", drawn as on the Japanese
// screens),
// measured with the very font the screens draw it in, lies within its
// rectangle and clear of the screen's controls, at 100 % and at 150 %.
#include "app/controls.h"
#include "engine/grading.h"
#include "engine/random.h"
#include "engine/trial_plan.h"
#include "lang/language.h"
#include "render/screen_paint.h"
#include "render/screen_texts.h"
#include "tests/support/screen_controls.h"
#include "tests/support/words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct EnglishScreen {
    const char *name;
    int screen;
    int trial;
    int score;
    std::vector<int> controls;
};

// A whole test graded (every trial's row filled in), at `score` at the end.
AppState FinishedTest(int score) {
    AppState s = {};
    SeedRandom(7);
    BuildTrialPlan(&s);
    s.score = SCORE_START;
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        s.trial = t;
        s.chosen_high = 2;
        s.slider_pos = 200;
        ScoreAnswer(&s);
    }
    s.trial = TRIAL_COUNT;
    s.score = score;
    s.results_revealed = 1;
    return s;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(EnglishTexts, EachFitsItsRectangleAndClearsTheControls) {
    const std::vector<EnglishScreen> screens = {
        {"title", ScreenTitle, 0, 0, kTitleScreenIds},
        {"comparison", ScreenTest, 0, 100, Join(kComparisonOnlyIds, kAlwaysOnTestIds)},
        {"matching", ScreenTest, 3, 100, Join(kMatchingOnlyIds, kAlwaysOnTestIds)},
        // The longest numbers of the cents line: 2, 3 and 4 characters.
        {"result at 0", ScreenResult, TRIAL_COUNT, 0, kResultScreenIds},
        {"result at 124", ScreenResult, TRIAL_COUNT, 124, kResultScreenIds},
        {"result at 300", ScreenResult, TRIAL_COUNT, 300, kResultScreenIds},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    int measured = 0;
    for (int dpi : {96, 144}) {
        for (const EnglishScreen &e : screens) {
            SCOPED_TRACE(::testing::Message() << e.name << " at " << dpi << " dpi");
            AppState s = FinishedTest(e.score);
            s.screen = e.screen;
            s.trial = e.trial;
            s.language = LANGUAGE_EN;
            ScreenText texts[SCREEN_TEXT_MAX];
            int count = ListScreenTexts(&s, texts, SCREEN_TEXT_MAX);
            ASSERT_GT(count, 0);
            for (int i = 0; i < count; ++i) {
                const ScreenText &t = texts[i];
                SCOPED_TRACE(::testing::Message() << "text " << i);
                // The same words in the same font as on the Japanese screens.
                if (t.font == FONT_HEADING || t.font == FONT_SCORE_LABEL ||
                    t.font == FONT_FINAL_SCORE) {
                    continue;
                }
                EXPECT_FALSE(HasJapanese(t.text));
                HFONT font = CreateTextFont(t.font, LANGUAGE_EN, dpi);
                ASSERT_NE(font, nullptr) << "an English text in the Japanese screens' font";
                HGDIOBJ displaced = SelectObject(dc, font);
                RECT ink = {0, 0, 0, 0};
                DrawTextW(dc, t.text, -1, &ink, DT_SINGLELINE | DT_CALCRECT);
                SelectObject(dc, displaced);
                DeleteObject(font);
                RECT at = ScaledRect(t.rect.left, t.rect.top, t.rect.right, t.rect.bottom, dpi);
                int width = ink.right - ink.left;
                int height = ink.bottom - ink.top;
                EXPECT_LE(width, at.right - at.left) << "too wide";
                EXPECT_LE(height, at.bottom - at.top) << "too high";
                // Centred both ways, as the screens draw it.
                RECT drawn;
                drawn.left = at.left + (at.right - at.left - width) / 2;
                drawn.top = at.top + (at.bottom - at.top - height) / 2;
                drawn.right = drawn.left + width;
                drawn.bottom = drawn.top + height;
                for (int id : e.controls) {
                    RECT control = ControlRect(FindControlDefinition(id), dpi);
                    RECT overlap;
                    EXPECT_FALSE(IntersectRect(&overlap, &drawn, &control))
                        << "runs over control " << id;
                }
                ++measured;
            }
        }
    }
    DeleteDC(dc);
    // Title 7, comparison 9, matching 7, each result 12: every text, twice.
    EXPECT_EQ(measured, 2 * (7 + 9 + 7 + 3 * 12));
}

// The captions beside the controls, in English words.
TEST(EnglishTexts, CaptionsSayHighLowAndVolume) {
    AppState s = {};
    s.screen = ScreenTest;
    s.language = LANGUAGE_EN;
    std::vector<std::wstring> captions;
    ScreenText texts[SCREEN_TEXT_MAX];
    for (int trial : {0, 3}) {
        s.trial = trial;
        int count = ListScreenTexts(&s, texts, SCREEN_TEXT_MAX);
        for (int i = 0; i < count; ++i) {
            if (texts[i].captions_control) {
                captions.push_back(texts[i].text);
            }
        }
    }
    const wchar_t *high = kHighCaption.text[WORDS_EN];
    const wchar_t *low = kLowCaption.text[WORDS_EN];
    const std::vector<std::wstring> want = {high,
                                            high,
                                            low,
                                            low,
                                            kVolumeCaptions[0].text[WORDS_EN],
                                            kVolumeCaptions[1].text[WORDS_EN],
                                            kVolumeCaptions[2].text[WORDS_EN],
                                            L"Score",
                                            low,
                                            high,
                                            kVolumeCaptions[0].text[WORDS_EN],
                                            kVolumeCaptions[1].text[WORDS_EN],
                                            kVolumeCaptions[2].text[WORDS_EN],
                                            L"Score"};
    EXPECT_EQ(captions, want);
}

} // namespace
