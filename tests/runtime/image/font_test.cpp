// Fonts on the real platform: the heights, weights and styles asked for (read
// back from the font object), and the table.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/image/font.h"
#include "tests/support/runtime_start.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("fonts");
    }
    void TearDown() override { font_free_all(); }

    static LOGFONTA asked(HFONT font)
    {
        LOGFONTA description = {};
        EXPECT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
        return description;
    }
};

// Pixel heights worked out by hand for the resolutions a display may have: a
// point is 1/72 inch, rounded to the nearest pixel.
struct HandCounted {
    int dpi;
    int points_28, points_6, points_10;
};
const HandCounted HAND_COUNTED[] = {
    {96, 37, 8, 13},    // 37.33, 8, 13.33
    {120, 47, 10, 17},  // 46.67, 10, 16.67
};

const HandCounted& here()
{
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int dpi = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    for (const HandCounted& h : HAND_COUNTED)
        if (h.dpi == dpi)
            return h;
    ADD_FAILURE() << "no heights worked out for " << dpi << " dpi";
    return HAND_COUNTED[0];
}

TEST_F(FontTest, PointSizesTurnIntoNegativePixelHeightsAtTheDisplayResolution)
{
    intptr_t large = font_load(100, "Tahoma", 28);
    intptr_t small = font_load(101, "Tahoma", 6);
    ASSERT_NE(large, 0);
    ASSERT_NE(small, 0);
    EXPECT_EQ(large, reinterpret_cast<intptr_t>(font_handle(100)));
    EXPECT_EQ(asked(font_handle(100)).lfHeight, -here().points_28);
    EXPECT_EQ(asked(font_handle(101)).lfHeight, -here().points_6);
}

TEST_F(FontTest, StyleFlagsSetWeightItalicUnderlineStrikeOutAndQuality)
{
    struct Case {
        int32_t style;
        std::vector<int> expected;  // weight, italic, underline, strike-out, quality
    };
    const Case cases[] = {
        {0, {FW_NORMAL, 0, 0, 0, DEFAULT_QUALITY}},
        {FONT_BOLD | FONT_ITALIC, {FW_BOLD, 1, 0, 0, DEFAULT_QUALITY}},
        // Other bits are ignored.
        {FONT_UNDERLINE | FONT_STRIKEOUT | FONT_HIGH_QUALITY | 0x1003, {FW_NORMAL, 0, 1, 1, PROOF_QUALITY}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(font_load_ex(1, "Tahoma", 12, c.style), 0);
        LOGFONTA font = asked(font_handle(1));
        std::vector<int> got = {font.lfWeight, font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfQuality};
        EXPECT_EQ(got, c.expected) << "style " << c.style;
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_STREQ(font.lfFaceName, "Tahoma");
    }
}

TEST_F(FontTest, LoadingUnderAUsedNumberDeletesTheFirstFont)
{
    ASSERT_NE(font_load(5, "Tahoma", 10), 0);
    HFONT first = font_handle(5);
    ASSERT_NE(font_load(5, "Tahoma", 20), 0);
    HFONT second = font_handle(5);
    EXPECT_NE(first, second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(FontTest, DynamicFontsAreNamedByTheirRecord)
{
    intptr_t a = font_load(OBJECT_ANY, "Tahoma", 10);
    intptr_t b = font_load(OBJECT_ANY, "Tahoma", 10);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    HFONT font = font_handle(a);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(asked(font).lfHeight, -here().points_10);
    font_free(a);
    EXPECT_EQ(font_handle(a), nullptr);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_NE(font_handle(b), nullptr);
}

TEST_F(FontTest, FreeingReleasesTheNumberAndIgnoresFreeNumbers)
{
    ASSERT_NE(font_load(100, "Tahoma", 28), 0);
    HFONT font = font_handle(100);
    font_free(100);
    EXPECT_EQ(font_handle(100), nullptr);
    EXPECT_EQ(GetObjectType(font), 0u);
    font_free(100);
    font_free(OBJECT_ANY);
    font_free(7);
    EXPECT_EQ(font_handle(7), nullptr);
}

TEST_F(FontTest, EndStepFreesEveryLiveFont)
{
    GdiCensus before = gdi_census();
    ASSERT_NE(font_load(3, "Tahoma", 10), 0);
    intptr_t any = font_load(OBJECT_ANY, "Tahoma", 10);
    ASSERT_NE(any, 0);
    HFONT fixed = font_handle(3);
    HFONT dynamic = font_handle(any);
    font_free_all();
    EXPECT_EQ(font_handle(3), nullptr);
    EXPECT_EQ(GetObjectType(fixed), 0u);
    EXPECT_EQ(GetObjectType(dynamic), 0u);
    EXPECT_EQ(gdi_census(), before);
}

}  // namespace
