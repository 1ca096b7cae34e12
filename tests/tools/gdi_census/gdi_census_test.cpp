// The census counts each object under its own kind, while it lives.
#include <gtest/gtest.h>

#include <vector>

#include "tools/gdi_census/gdi_census.h"

namespace {

// The n-th object of a kind: a bitmap, a context, a region, a font, a brush,
// or a pen (plain and extended by turns).
HGDIOBJ make(int kind, int n)
{
    LOGBRUSH solid = {BS_SOLID, 0, 0};
    switch (kind) {
    case 0: return CreateBitmap(2, 2, 1, 32, nullptr);
    case 1: return CreateCompatibleDC(nullptr);
    case 2: return CreateRectRgn(0, 0, 1, 1);
    case 3: return CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    case 4: return CreateSolidBrush(0);
    default: return n % 2 ? ExtCreatePen(PS_GEOMETRIC, 3, &solid, 0, nullptr) : CreatePen(PS_SOLID, 0, 0);
    }
}

TEST(GdiCensus, EachKindIsCountedAsItselfWhileItLives)
{
    GdiCensus before = gdi_census();
    ASSERT_TRUE(before.read);
    // A different number of each kind, so that no two kinds can be mistaken
    // for each other: 1 bitmap, 2 contexts, 3 regions, 4 fonts, 5 brushes,
    // 6 pens.
    std::vector<HGDIOBJ> made;
    for (int kind = 0; kind < 6; ++kind)
        for (int n = 0; n <= kind; ++n)
            made.push_back(make(kind, n));
    GdiCensus expected = before;
    expected.bitmaps += 1;
    expected.dcs += 2;
    expected.regions += 3;
    expected.fonts += 4;
    expected.brushes += 5;
    expected.pens += 6;
    EXPECT_EQ(gdi_census(), expected);
    for (HGDIOBJ object : made)
        GetObjectType(object) == OBJ_MEMDC ? DeleteDC(static_cast<HDC>(object)) : DeleteObject(object);
    EXPECT_EQ(gdi_census(), before);
}

}  // namespace
