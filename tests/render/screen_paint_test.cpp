#include "render/screen_paint.h"

#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/random.h"
#include "engine/trial_plan.h"
#include "render/surfaces.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF COMPARISON_ROW = RGB(128, 243, 246);
constexpr COLORREF MATCHING_ROW = RGB(153, 255, 153);

const RECT WHOLE = {0, 0, 500, 300};

const FontDescription LARGE = {18, 700, 0, SHIFTJIS_CHARSET, FIXED_PITCH};
const FontDescription HEADING = {24, 700, 1, SHIFTJIS_CHARSET, FIXED_PITCH};
const FontDescription NOTES = {15, 400, 0, SHIFTJIS_CHARSET, FIXED_PITCH};
const FontDescription SCORE_LABEL = {28, 700, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN};
const FontDescription FINAL_SCORE = {36, 700, 1, ANSI_CHARSET, DEFAULT_PITCH | FF_ROMAN};
const FontDescription TABLE = {12, 400, 0, SHIFTJIS_CHARSET, FIXED_PITCH};
const FontDescription CENTS = {15, 400, 0, SHIFTJIS_CHARSET, DEFAULT_PITCH | FF_DONTCARE};

RECT Rect(int left, int top, int right, int bottom) {
    RECT r;
    SetRect(&r, left, top, right, bottom);
    return r;
}

RECT BandRect(int row) {
    return Rect(50, 100 + 15 * row, 450, 115 + 15 * row);
}

bool Inside(const RECT &r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT Bounds(const std::vector<PlacedText> &group) {
    RECT r = group[0].rect;
    for (const PlacedText &t : group) {
        UnionRect(&r, &r, &t.rect);
    }
    return r;
}

// Groups of texts whose rectangles overlap are compared together.
typedef std::vector<std::vector<PlacedText>> TextGroups;

std::vector<PlacedText> TitleNotes() {
    return {
        {NOTES, Rect(0, 105, 500, 135),
         "1. 問題は全部で10問です。所要時間は約3分を想定しています。"},
        {NOTES, Rect(0, 123, 500, 153), "2. スコアは、1問ごとに再計算され変動します。"},
        {NOTES, Rect(0, 141, 500, 171),
         "3. 前半はスコアが表示されますが、途中から非表示となります。"},
        {NOTES, Rect(0, 159, 500, 189), "4. 問題の難易度は、成績に応じて変化します。"},
        {NOTES, Rect(0, 177, 500, 207), "5. 音量は自由に調節できます。上げすぎに注意しましょう。"},
    };
}

TextGroups TitleTexts() {
    return {
        {{HEADING, Rect(0, 0, 500, 75), "Kestrune Ver1.1"}},
        {{LARGE, Rect(0, 75, 500, 105), "あなたの音高識別能力をお手軽に診断します。"}},
        TitleNotes(),
        {{LARGE, Rect(0, 210, 500, 240), "開始ボタンで始まります。時間制限はありません。"}},
    };
}

TextGroups TestTexts(bool comparison, const std::string &number_line) {
    TextGroups groups;
    if (comparison) {
        groups = {
            {{LARGE, Rect(0, 10, 500, 40), "最も高い音と低い音をそれぞれ選択してください。"}},
            {{LARGE, Rect(145, 105, 175, 135), "高"}},
            {{LARGE, Rect(325, 105, 355, 135), "高"}},
            {{LARGE, Rect(145, 165, 175, 195), "低"}},
            {{LARGE, Rect(325, 165, 355, 195), "低"}},
        };
    } else {
        groups = {
            {{LARGE, Rect(0, 10, 500, 40), "Playの音をTargetの音に合わせてください。"}},
            {{LARGE, Rect(95, 100, 125, 130), "低"}},
            {{LARGE, Rect(375, 100, 405, 130), "高"}},
        };
    }
    TextGroups common = {
        {{LARGE, Rect(0, 50, 500, 80), number_line}},
        {{LARGE, Rect(375, 250, 477, 270), "音量"}},
        {{LARGE, Rect(352, 270, 375, 290), "小"}},
        {{LARGE, Rect(477, 270, 500, 290), "大"}},
        {{SCORE_LABEL, Rect(375, 130, 477, 170), "Score"}},
    };
    groups.insert(groups.end(), common.begin(), common.end());
    return groups;
}

const char *const kHeader = "       提示音のコード名と周波数[Hz]        回答(正解)  Score";

TextGroups ResultTexts() {
    return {
        {{FINAL_SCORE, Rect(100, 0, 275, 80), "Final Score"}},
        {{TABLE, Rect(50, 80, 450, 95), kHeader}},
    };
}

std::string CentsLine(const char *number) {
    return std::string("このスコアにおける識別能力は") + number + "centです。";
}

// Each text appears as the reference drawing of it (so its words, font and
// place are right), every text rectangle holds ink, and outside the texts and
// the extra areas the picture is the background, untouched.
void ExpectScreen(const Picture &composed, HDC background, const TextGroups &groups,
                  const std::vector<RECT> &extra_areas = {}) {
    Picture bg = ReadPicture(background);
    std::vector<RECT> areas = extra_areas;
    for (const auto &group : groups) {
        RECT bounds = Bounds(group);
        Picture reference = RenderTexts(background, group);
        EXPECT_EQ(CountDifferences(reference, composed, bounds), 0) << group[0].text;
        for (const PlacedText &t : group) {
            EXPECT_GT(CountDifferences(composed, bg, t.rect), 0) << "no ink for " << t.text;
            areas.push_back(t.rect);
        }
    }
    int stray = 0;
    for (int y = 0; y < 300; y++) {
        for (int x = 0; x < 500; x++) {
            bool covered = false;
            for (const RECT &r : areas) {
                covered = covered || Inside(r, x, y);
            }
            if (!covered && composed.At(x, y) != bg.At(x, y)) {
                stray++;
            }
        }
    }
    EXPECT_EQ(stray, 0) << "pixels changed outside every text";
}

class ScreenPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = AppState{};
        ASSERT_TRUE(CreateSurfaces(&state_));
    }
    void TearDown() override { DestroySurfaces(&state_); }

    Picture Compose(const std::string &name = "") {
        EXPECT_TRUE(ComposeScreen(&state_));
        Picture p = ReadPicture(state_.back_dc);
        if (!name.empty()) {
            SavePictureIfAsked(p, name);
        }
        return p;
    }

    // A finished test with the rows grading writes: answers alternate right
    // and wrong so both kinds of row text occur.
    void FinishTest() {
        SeedRandom(1234);
        ASSERT_TRUE(BuildTrialPlan(&state_));
        state_.score = 100;
        for (int t = 0; t < TRIAL_COUNT; t++) {
            state_.trial = t;
            state_.chosen_high = 1 + t % 3;
            state_.chosen_low = 1 + (t + 1) % 3;
            state_.slider_pos = 100;
            ASSERT_TRUE(ScoreAnswer(&state_));
        }
        state_.trial = TRIAL_COUNT;
        state_.screen = ScreenResult;
    }

    AppState state_;
};

} // namespace

TEST(ScreenPaintNoState, AbsentStateIsRefused) {
    EXPECT_FALSE(ComposeScreen(nullptr));
}

TEST_F(ScreenPaintTest, NoScreenOrAnUnknownOneIsWhite) {
    for (int screen : {0, 4, -1, 1000}) {
        // Something on the buffer first, so white must really be drawn.
        state_.screen = ScreenTitle;
        ComposeScreen(&state_);
        state_.screen = screen;
        Picture p = Compose();
        for (COLORREF c : p.pixels) {
            ASSERT_EQ(c, WHITE) << "screen " << screen;
        }
    }
}

TEST_F(ScreenPaintTest, TitleScreen) {
    state_.screen = ScreenTitle;
    Picture p = Compose("title");
    ExpectScreen(p, state_.title_bg.dc, TitleTexts());
    // Between the numbered lines and below the last text lies bare background.
    EXPECT_EQ(p.At(0, 250), ReadPicture(state_.title_bg.dc).At(0, 250));
    EXPECT_EQ(GetBkMode(state_.back_dc), TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(state_.back_dc, OBJ_FONT), state_.font_large);
}

// The first numbered line carries the number of trials; a wrong number (or
// the bare placeholder) would draw differently from the reference.
TEST_F(ScreenPaintTest, TitleFirstNoteShowsTen) {
    state_.screen = ScreenTitle;
    Picture p = Compose();
    std::vector<PlacedText> wrong = TitleNotes();
    wrong[0].text = "1. 問題は全部で%d問です。所要時間は約3分を想定しています。";
    Picture reference = RenderTexts(state_.title_bg.dc, wrong);
    EXPECT_GT(CountDifferences(reference, p, Rect(0, 105, 500, 135)), 0);
}

TEST_F(ScreenPaintTest, TestScreenForEveryTrial) {
    state_.screen = ScreenTest;
    state_.score = 100;
    for (int trial = 0; trial < TRIAL_COUNT; trial++) {
        SCOPED_TRACE(trial);
        state_.trial = trial;
        bool comparison = trial <= 2 || (trial >= 6 && trial <= 8);
        Picture p = Compose("test_trial" + std::to_string(trial));
        std::string line = "No." + std::to_string(trial + 1) + " of 10";
        ExpectScreen(p, comparison ? state_.comparison_bg.dc : state_.matching_bg.dc,
                     TestTexts(comparison, line));
        EXPECT_EQ(GetBkMode(state_.back_dc), TRANSPARENT);
        EXPECT_EQ(GetCurrentObject(state_.back_dc, OBJ_FONT), state_.font_large);
    }
}

// A trial outside 0..9 has no schedule entry: the picture is a matching
// screen with the plain number, and nothing is read outside a table.
TEST_F(ScreenPaintTest, TestScreenWithTrialOutOfRange) {
    state_.screen = ScreenTest;
    struct Case {
        int trial;
        const char *line;
    } cases[] = {
        {10, "No.11 of 10"},
        {-1, "No.0 of 10"},
        {1000, "No.1001 of 10"},
        {INT_MAX, "No.2147483647 of 10"},
        {INT_MIN, "No.-2147483647 of 10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.trial);
        state_.trial = c.trial;
        Picture p = Compose();
        ExpectScreen(p, state_.matching_bg.dc, TestTexts(false, c.line));
    }
}

TEST_F(ScreenPaintTest, ResultScreenBeforeTheReveal) {
    FinishTest();
    state_.results_revealed = 0;
    Picture p = Compose("result_hidden");
    ExpectScreen(p, state_.result_bg.dc, ResultTexts(), {Rect(50, 100, 450, 250)});
    for (int row = 0; row < TRIAL_COUNT; row++) {
        SCOPED_TRACE(row);
        bool matching = row == 3 || row == 4 || row == 5 || row == 9;
        COLORREF fill = matching ? MATCHING_ROW : COMPARISON_ROW;
        RECT band = BandRect(row);
        // Inside the two-pixel bump edge the band is its plain colour: no text.
        for (int y = band.top + 2; y < band.bottom - 2; y++) {
            for (int x = band.left + 2; x < band.right - 2; x++) {
                ASSERT_EQ(p.At(x, y), fill) << x << "," << y;
            }
        }
    }
    // No cents line.
    Picture bg = ReadPicture(state_.result_bg.dc);
    EXPECT_EQ(CountDifferences(p, bg, Rect(0, 250, 500, 300)), 0);
}

// EDGE_BUMP: a raised outer line (light top and left, dark shadow bottom and
// right) and a sunken inner one (dark shadow top and left, light bottom and right).
TEST_F(ScreenPaintTest, ResultBandsHaveBumpEdges) {
    FinishTest();
    Picture p = Compose();
    const COLORREF outer_light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF outer_dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF inner_dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF inner_light = GetSysColor(COLOR_3DLIGHT);
    ASSERT_NE(outer_light, outer_dark);
    for (int row = 0; row < TRIAL_COUNT; row++) {
        SCOPED_TRACE(row);
        RECT b = BandRect(row);
        int mid_y = (b.top + b.bottom) / 2;
        EXPECT_EQ(p.At(b.left, mid_y), outer_light);
        EXPECT_EQ(p.At(b.left + 1, mid_y), inner_dark);
        EXPECT_EQ(p.At(b.right - 1, mid_y), outer_dark);
        EXPECT_EQ(p.At(b.right - 2, mid_y), inner_light);
        for (int x = b.left + 2; x < b.right - 2; x++) {
            ASSERT_EQ(p.At(x, b.top), outer_light) << x;
            ASSERT_EQ(p.At(x, b.top + 1), inner_dark) << x;
            ASSERT_EQ(p.At(x, b.bottom - 1), outer_dark) << x;
            ASSERT_EQ(p.At(x, b.bottom - 2), inner_light) << x;
        }
    }
}

TEST_F(ScreenPaintTest, ResultScreenAfterTheReveal) {
    FinishTest();
    state_.score = 100;
    state_.results_revealed = 1;
    Picture p = Compose("result_revealed");
    TextGroups texts = ResultTexts();
    texts.push_back({{CENTS, Rect(50, 255, 350, 285), CentsLine("23")}});
    ExpectScreen(p, state_.result_bg.dc, texts, {Rect(50, 100, 450, 250)});

    state_.results_revealed = 0;
    Picture hidden = Compose();
    for (int row = 0; row < TRIAL_COUNT; row++) {
        SCOPED_TRACE(row);
        RECT band = BandRect(row);
        ASSERT_NE(state_.result_rows[row][0], 0);
        // The row text is the only change the reveal makes to a band, and
        // it is exactly the row drawn in the table font.
        EXPECT_GT(CountDifferences(p, hidden, band), 0);
        Picture reference = RenderTexts(state_.back_dc, {{TABLE, band, state_.result_rows[row]}});
        EXPECT_EQ(CountDifferences(reference, p, band), 0);
    }
}

// Grading fills every byte of a row only if it is broken; the table still
// stops at the row's end instead of running on into the next one.
TEST_F(ScreenPaintTest, UnterminatedRowStopsAtItsEnd) {
    FinishTest();
    state_.results_revealed = 1;
    memset(state_.result_rows[8], '.', RESULT_ROW_BYTES);
    state_.result_rows[9][0] = 0;
    Picture next_empty = Compose();
    lstrcpynA(state_.result_rows[9], "||||||||||||||||||||", RESULT_ROW_BYTES);
    Picture next_full = Compose();
    EXPECT_EQ(CountDifferences(next_empty, next_full, BandRect(8)), 0);
    EXPECT_GT(CountDifferences(next_empty, next_full, BandRect(9)), 0);
}

TEST_F(ScreenPaintTest, CentsLineFollowsTheFinalScore) {
    FinishTest();
    state_.results_revealed = 1;
    struct Case {
        int score;
        const char *number;
    } cases[] = {{0, "90"}, {124, "9.4"}, {300, "0.50"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.score);
        state_.score = c.score;
        Picture p = Compose(std::string("result_score") + std::to_string(c.score));
        Picture reference = RenderTexts(state_.result_bg.dc,
                                        {{CENTS, Rect(50, 255, 350, 285), CentsLine(c.number)}});
        EXPECT_EQ(CountDifferences(reference, p, Rect(50, 255, 350, 285)), 0);
    }
}

// The result screen does not depend on what the title left in the context.
TEST_F(ScreenPaintTest, ResultScreenComposedFirstHasNoTextBoxes) {
    FinishTest();
    state_.results_revealed = 1;
    SetBkMode(state_.back_dc, OPAQUE);
    Picture first = Compose();
    state_.screen = ScreenTitle;
    Compose();
    state_.screen = ScreenResult;
    Picture after_title = Compose();
    EXPECT_EQ(CountDifferences(first, after_title, WHOLE), 0);
}

TEST(FormatCentsNumber, FollowsTheThresholdsAndTruncates) {
    struct Case {
        int score;
        const char *text;
    } cases[] = {
        {0, "90"},    {100, "23"},  {120, "10"},  {123, "9"},    {124, "9.4"},
        {150, "6.0"}, {225, "1.2"}, {245, "0.9"}, {247, "0.94"}, {300, "0.50"},
    };
    for (const Case &c : cases) {
        char text[32];
        FormatCentsNumber(CentsAtScore(c.score), text, sizeof text);
        EXPECT_STREQ(text, c.text) << "score " << c.score;
    }
}

TEST(FormatCentsNumber, ThresholdsAreInclusive) {
    char text[32];
    FormatCentsNumber(9.5, text, sizeof text);
    EXPECT_STREQ(text, "9");
    FormatCentsNumber(0.95, text, sizeof text);
    EXPECT_STREQ(text, "0.9");
    FormatCentsNumber(0.949, text, sizeof text);
    EXPECT_STREQ(text, "0.94");
}

TEST(FormatCentsNumber, NeverWritesPastTheBuffer) {
    char text[8];
    memset(text, 'x', sizeof text);
    FormatCentsNumber(0.5, text, 3);
    EXPECT_STREQ(text, "0.");
    EXPECT_EQ(text[3], 'x');
    FormatCentsNumber(90.0, text, 0);
    EXPECT_EQ(text[0], '0');
    FormatCentsNumber(1e300, text, sizeof text); // no undefined conversion
    EXPECT_STREQ(text, "2147483");
}

// Counted in the process's GDI handle table (see LiveGdiObjects): after a
// warm-up composition, a thousand more of the same screen leave the count
// unchanged and the picture the same.
TEST_F(ScreenPaintTest, CompositionsLeaveNoGdiObjectBehind) {
    FinishTest();
    struct Case {
        const char *name;
        int screen;
        int trial;
        BYTE revealed;
    } cases[] = {
        {"none", ScreenNone, 0, 0},
        {"title", ScreenTitle, 0, 0},
        {"comparison", ScreenTest, 0, 0},
        {"matching", ScreenTest, 3, 0},
        {"result hidden", ScreenResult, 10, 0},
        {"result revealed", ScreenResult, 10, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        state_.screen = c.screen;
        state_.trial = c.trial;
        state_.results_revealed = c.revealed;
        Picture first = Compose();
        int before = LiveGdiObjects();
        ASSERT_GT(before, 0);
        for (int i = 0; i < 1000; i++) {
            ComposeScreen(&state_);
        }
        EXPECT_EQ(LiveGdiObjects(), before);
        EXPECT_EQ(CountDifferences(Compose(), first, WHOLE), 0);
    }
}

// A count that does not rely on the handle table's layout: the process can
// hold at most 65 536 GDI objects. Seventy thousand revealed result screens
// (five objects made and deleted by each) would fill that table if even one
// object per composition stayed behind; then creating an object fails and
// the texts come out in the wrong font or not at all.
TEST_F(ScreenPaintTest, SeventyThousandCompositionsStillDrawTheSamePicture) {
    FinishTest();
    state_.results_revealed = 1;
    Picture first = Compose();
    for (int i = 0; i < 70000; i++) {
        ComposeScreen(&state_);
    }
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_NE(probe, nullptr);
    DeleteObject(probe);
    EXPECT_EQ(CountDifferences(Compose(), first, WHOLE), 0);
}

// Before the surfaces exist (or after a failure to make them) every drawing
// call has nothing to draw on; a composition must still clean up after itself.
TEST(ScreenPaintNoSurfaces, ComposesNothingAndLeaksNothing) {
    AppState state = {};
    state.results_revealed = 1;
    state.score = 100;
    for (int screen : {ScreenTitle, ScreenTest, ScreenResult}) {
        state.screen = screen;
        EXPECT_TRUE(ComposeScreen(&state));
    }
    int before = LiveGdiObjects();
    for (int screen : {ScreenTitle, ScreenTest, ScreenResult}) {
        state.screen = screen;
        EXPECT_TRUE(ComposeScreen(&state));
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}
