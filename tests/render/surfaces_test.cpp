#include "render/surfaces.h"

#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);

class SurfacesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = AppState{};
        ASSERT_TRUE(CreateSurfaces(&state_));
    }
    void TearDown() override { DestroySurfaces(&state_); }
    AppState state_;
};

// Every row of a horizontal gradient equals row 0.
void ExpectRowsIdentical(const Picture &p) {
    for (int y = 1; y < 300; y++) {
        for (int x = 0; x < 500; x++) {
            ASSERT_EQ(p.At(x, y), p.At(x, 0)) << "x " << x << " y " << y;
        }
    }
}

// Every column of a vertical gradient equals column 0.
void ExpectColumnsIdentical(const Picture &p) {
    for (int y = 0; y < 300; y++) {
        for (int x = 1; x < 500; x++) {
            ASSERT_EQ(p.At(x, y), p.At(0, y)) << "x " << x << " y " << y;
        }
    }
}

// The white band and the mirror image of a horizontal gradient.
void ExpectHorizontalShape(const Picture &p, COLORREF start) {
    EXPECT_EQ(p.At(0, 0), start);
    EXPECT_EQ(p.At(499, 0), start);
    for (int x = 166; x <= 333; x++) {
        ASSERT_EQ(p.At(x, 0), WHITE) << "x " << x;
    }
    for (int j = 0; j <= 165; j++) {
        ASSERT_EQ(p.At(j, 0), p.At(499 - j, 0)) << "column " << j;
    }
    EXPECT_NE(p.At(165, 0), WHITE);
    EXPECT_EQ(p.At(334, 0), p.At(165, 0));
}

} // namespace

TEST(SurfacesNoState, AbsentStateIsRefused) {
    EXPECT_FALSE(CreateSurfaces(nullptr));
    EXPECT_FALSE(DestroySurfaces(nullptr));
}

TEST(Ramps, EndsAndListedValues) {
    struct Case {
        ColorRamp ramp;
        double x;
        COLORREF expected;
    } cases[] = {
        {CyanRamp, 0.0, RGB(2, 232, 238)},
        {CyanRamp, 1.0, WHITE},
        {CyanRamp, 165.0 / 166, RGB(253, 254, 254)},
        {CyanRamp, 150.0 / 300, RGB(128, 243, 246)},
        {CyanRamp, 299.0 / 300, RGB(254, 254, 254)},
        {GreenRamp, 0.0, RGB(51, 255, 51)},
        {GreenRamp, 1.0, WHITE},
        {GreenRamp, 83.0 / 166, RGB(153, 255, 153)},
        {GreenRamp, 165.0 / 166, RGB(253, 255, 253)},
        {GreenRamp, 8.0 / 166, RGB(60, 254, 60)},
        {GreenRamp, 150.0 / 300, RGB(153, 255, 153)},
        {GreenRamp, 299.0 / 300, RGB(254, 255, 254)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.ramp(c.x), c.expected) << "x " << c.x;
    }
}

// The green of GreenRamp is computed, not a constant: rounding of the double
// recipe makes it 254 at exactly these positions.
TEST(Ramps, GreenDipsTo254ExactlyWhereTheRecipeRoundsDown) {
    const std::set<int> horizontal = {8, 27, 48, 69, 78};
    for (int i = 0; i <= 166; i++) {
        int green = GetGValue(GreenRamp(static_cast<double>(i) / 166));
        EXPECT_EQ(green, horizontal.count(i) ? 254 : 255) << "i " << i;
    }
    const std::set<int> vertical = {2, 12, 21, 22, 41, 51, 67, 70, 87, 116, 125, 145};
    for (int k = 0; k < 300; k++) {
        int green = GetGValue(GreenRamp(static_cast<double>(k) / 300));
        EXPECT_EQ(green, vertical.count(k) ? 254 : 255) << "k " << k;
    }
}

TEST_F(SurfacesTest, BackBufferIsWhiteAndEveryBitmapHasTheScreenFormat) {
    Picture back = ReadPicture(state_.back_dc);
    for (COLORREF c : back.pixels) {
        ASSERT_EQ(c, WHITE);
    }
    HDC screen = GetDC(nullptr);
    int screen_bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    const Surface surfaces[] = {{state_.back_dc, state_.back_bitmap},
                                state_.title_bg,
                                state_.comparison_bg,
                                state_.matching_bg,
                                state_.result_bg};
    for (const Surface &s : surfaces) {
        BITMAP bm = {};
        ASSERT_EQ(GetObjectA(s.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, 500);
        EXPECT_EQ(bm.bmHeight, 300);
        EXPECT_EQ(bm.bmBitsPixel, screen_bits);
        EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
    }
}

TEST_F(SurfacesTest, FontsAndBrushes) {
    struct {
        HFONT font;
        int height;
    } fonts[] = {{state_.font_small, 12}, {state_.font_large, 18}};
    for (const auto &f : fonts) {
        LOGFONTA lf = {};
        ASSERT_NE(GetObjectA(f.font, sizeof lf, &lf), 0);
        EXPECT_EQ(lf.lfHeight, f.height);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfWeight, 700);
        EXPECT_EQ(lf.lfItalic, 0);
        EXPECT_EQ(lf.lfUnderline, 0);
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
        EXPECT_STREQ(lf.lfFaceName, "");
    }
    LOGBRUSH high = {}, low = {};
    ASSERT_NE(GetObjectA(state_.brush_high, sizeof high, &high), 0);
    ASSERT_NE(GetObjectA(state_.brush_low, sizeof low, &low), 0);
    EXPECT_EQ(high.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(high.lbColor, 0x00CCCCFFu);
    EXPECT_EQ(low.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(low.lbColor, 0x00FFD6ACu);
}

TEST_F(SurfacesTest, TitleBackground) {
    Picture p = ReadPicture(state_.title_bg.dc);
    SavePictureIfAsked(p, "title_bg");
    ExpectHorizontalShape(p, RGB(2, 232, 238));
    EXPECT_EQ(p.At(165, 0), RGB(253, 254, 254));
    for (int i = 0; i < 166; i++) {
        ASSERT_EQ(p.At(i, 0), CyanRamp(static_cast<double>(i) / 166)) << "column " << i;
    }
    ExpectRowsIdentical(p);
}

TEST_F(SurfacesTest, ResultBackground) {
    Picture p = ReadPicture(state_.result_bg.dc);
    SavePictureIfAsked(p, "result_bg");
    ExpectHorizontalShape(p, RGB(51, 255, 51));
    EXPECT_EQ(p.At(83, 0), RGB(153, 255, 153));
    EXPECT_EQ(p.At(165, 0), RGB(253, 255, 253));
    EXPECT_EQ(p.At(8, 0), RGB(60, 254, 60));
    const std::set<int> dips = {8, 27, 48, 69, 78, 491, 472, 451, 430, 421};
    for (int x = 0; x < 500; x++) {
        ASSERT_EQ(GetGValue(p.At(x, 0)), dips.count(x) ? 254 : 255) << "column " << x;
    }
    ExpectRowsIdentical(p);
}

TEST_F(SurfacesTest, ComparisonBackground) {
    Picture p = ReadPicture(state_.comparison_bg.dc);
    SavePictureIfAsked(p, "comparison_bg");
    EXPECT_EQ(p.At(0, 0), RGB(2, 232, 238));
    EXPECT_EQ(p.At(0, 150), RGB(128, 243, 246));
    EXPECT_EQ(p.At(0, 299), RGB(254, 254, 254));
    for (int k = 0; k < 300; k++) {
        ASSERT_EQ(p.At(0, k), CyanRamp(static_cast<double>(k) / 300)) << "row " << k;
    }
    ExpectColumnsIdentical(p);
}

TEST_F(SurfacesTest, MatchingBackground) {
    Picture p = ReadPicture(state_.matching_bg.dc);
    SavePictureIfAsked(p, "matching_bg");
    EXPECT_EQ(p.At(0, 0), RGB(51, 255, 51));
    EXPECT_EQ(p.At(0, 150), RGB(153, 255, 153));
    EXPECT_EQ(p.At(0, 299), RGB(254, 255, 254));
    const std::set<int> dips = {2, 12, 21, 22, 41, 51, 67, 70, 87, 116, 125, 145};
    for (int y = 0; y < 300; y++) {
        ASSERT_EQ(GetGValue(p.At(0, y)), dips.count(y) ? 254 : 255) << "row " << y;
    }
    ExpectColumnsIdentical(p);
}

// Fourteen objects (five contexts, five bitmaps, two fonts, two brushes) are
// made, and all of them are gone again after DestroySurfaces. The first use of
// contexts and fonts makes a few objects of the system's own that stay, so the
// count is taken around a second cycle; a leak would show in every cycle.
TEST(SurfacesLifetime, DestroyFreesEverythingCreateMade) {
    AppState warm_up = {};
    CreateSurfaces(&warm_up);
    DestroySurfaces(&warm_up);
    int before = LiveGdiObjects();
    ASSERT_GT(before, 0);
    AppState state = {};
    ASSERT_TRUE(CreateSurfaces(&state));
    EXPECT_EQ(LiveGdiObjects(), before + 14);
    const HGDIOBJ made[] = {state.back_dc,          state.back_bitmap,
                            state.font_small,       state.font_large,
                            state.brush_high,       state.brush_low,
                            state.title_bg.dc,      state.title_bg.bitmap,
                            state.comparison_bg.dc, state.comparison_bg.bitmap,
                            state.matching_bg.dc,   state.matching_bg.bitmap,
                            state.result_bg.dc,     state.result_bg.bitmap};
    for (HGDIOBJ h : made) {
        EXPECT_NE(GetObjectType(h), 0u);
    }
    ASSERT_TRUE(DestroySurfaces(&state));
    EXPECT_EQ(LiveGdiObjects(), before);
    for (HGDIOBJ h : made) {
        EXPECT_EQ(GetObjectType(h), 0u);
    }
}

// The counter itself must see single objects come and go, or the leak
// checks built on it would prove nothing.
TEST(GdiObjectCount, SeesEachObjectComeAndGo) {
    // First use of each kind sets up objects of the system's own; not counted.
    for (int i = 0; i < 2; i++) {
        DeleteObject(CreateSolidBrush(RGB(1, 2, 3)));
        DeleteObject(CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, nullptr));
        DeleteDC(CreateCompatibleDC(nullptr));
    }
    int before = LiveGdiObjects();
    ASSERT_GT(before, 0);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HFONT font = CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(LiveGdiObjects(), before + 3);
    DeleteObject(brush);
    EXPECT_EQ(LiveGdiObjects(), before + 2);
    DeleteObject(font);
    DeleteDC(dc);
    EXPECT_EQ(LiveGdiObjects(), before);
}
