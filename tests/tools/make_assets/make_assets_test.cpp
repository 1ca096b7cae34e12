// The committed assets are exactly what the asset maker draws, and the target
// picture has the header the loader and the game rely on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tools/make_assets/assets.h"

namespace {

std::vector<uint8_t> committed(const char* name)
{
    std::ifstream file(std::string(ZORVANT_ASSETS) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint32_t u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

TEST(MakeAssets, CommittedFilesAreReproducedByteForByte)
{
    std::vector<uint8_t> target = committed("target.bmp");
    std::vector<uint8_t> icon = committed("zorvant.ico");
    ASSERT_FALSE(target.empty());
    ASSERT_FALSE(icon.empty());
    EXPECT_TRUE(assets_target_bmp() == target);
    EXPECT_TRUE(assets_icon() == icon);
}

TEST(MakeAssets, TargetHeaderFields)
{
    std::vector<uint8_t> b = assets_target_bmp();
    ASSERT_EQ(b.size(), 30056u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(u32(b, 2), 30056u);
    EXPECT_EQ(u32(b, 6), 0u);
    EXPECT_EQ(u32(b, 10), 54u);
    EXPECT_EQ(u32(b, 14), 40u);
    EXPECT_EQ(u32(b, 18), 100u);
    EXPECT_EQ(u32(b, 22), 100u);  // positive: bottom row first
    EXPECT_EQ(u16(b, 26), 1u);
    EXPECT_EQ(u16(b, 28), 24u);
    EXPECT_EQ(u32(b, 30), 0u);
    EXPECT_EQ(u32(b, 34), 30002u);
    EXPECT_EQ(u32(b, 38), 2834u);
    EXPECT_EQ(u32(b, 42), 2834u);
    EXPECT_EQ(u32(b, 46), 0u);
    EXPECT_EQ(u32(b, 50), 0u);
    EXPECT_EQ(b[30054], 0);
    EXPECT_EQ(b[30055], 0);
}

TEST(MakeAssets, TargetIsARoundRedTargetOnADarkBackdrop)
{
    std::vector<uint8_t> b = assets_target_bmp();
    // Pixel (x, y) counted from the top; rows are stored bottom first.
    auto pixel = [&](int x, int y) { return &b[54 + (99 - y) * 300 + x * 3]; };
    const uint8_t* centre = pixel(50, 50);
    EXPECT_GT(centre[2], 120);  // red bullseye
    EXPECT_LT(centre[1], 60);
    const uint8_t* ring = pixel(50, 50 - 14);  // the first cream ring
    EXPECT_GT(ring[1], 150);
    const uint8_t* corner = pixel(0, 0);
    EXPECT_LT(corner[2], 80);  // dark corner: the round shape reads clearly
    EXPECT_GT(centre[2] - corner[2], 60);
}

TEST(MakeAssets, IconHoldsA16And32PixelPicture)
{
    std::vector<uint8_t> b = assets_icon();
    EXPECT_EQ(u16(b, 0), 0u);
    EXPECT_EQ(u16(b, 2), 1u);
    ASSERT_EQ(u16(b, 4), 2u);
    const int sides[] = {16, 32};
    for (int i = 0; i < 2; ++i) {
        size_t entry = 6 + 16 * i;
        EXPECT_EQ(b[entry], sides[i]);
        EXPECT_EQ(b[entry + 1], sides[i]);
        EXPECT_EQ(u16(b, entry + 6), 32u);
        uint32_t size = u32(b, entry + 8), offset = u32(b, entry + 12);
        ASSERT_LE(offset + size, b.size());
        EXPECT_EQ(size, 40u + sides[i] * sides[i] * 4 + 4 * sides[i]);
        EXPECT_EQ(u32(b, offset + 4), static_cast<uint32_t>(sides[i]));
        EXPECT_EQ(u32(b, offset + 8), static_cast<uint32_t>(sides[i] * 2));
        // Transparent corner, opaque middle.
        size_t colour = offset + 40;
        EXPECT_EQ(b[colour + 3], 0);
        EXPECT_EQ(b[colour + ((sides[i] / 2) * sides[i] + sides[i] / 2) * 4 + 3], 255);
    }
}

}  // namespace
