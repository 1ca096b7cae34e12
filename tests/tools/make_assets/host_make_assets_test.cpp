// The committed assets are exactly what the asset maker draws, and the target
// picture has the header the loader and the game rely on.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
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

// Every size Windows shows, each the same drawing: a transparent corner and an
// opaque middle. The small ones are 32-bit pictures in resource form; the
// 256 one is a PNG, read back by libpng.
TEST(MakeAssets, IconHoldsEverySizeWindowsShows)
{
    std::vector<uint8_t> b = assets_icon();
    EXPECT_EQ(u16(b, 0), 0u);
    EXPECT_EQ(u16(b, 2), 1u);
    ASSERT_EQ(u16(b, 4), 5u);
    const int sides[] = {16, 24, 32, 48, 256};
    std::map<int, std::vector<uint8_t>> pictures;  // RGBA by side
    for (int i = 0; i < 5; ++i) {
        const int side = sides[i];
        size_t entry = 6 + 16 * i;
        EXPECT_EQ(b[entry], side % 256);
        EXPECT_EQ(b[entry + 1], side % 256);
        EXPECT_EQ(u16(b, entry + 6), 32u);
        uint32_t size = u32(b, entry + 8), offset = u32(b, entry + 12);
        ASSERT_LE(offset + size, b.size());
        std::vector<uint8_t>& rgba = pictures[side];  // top row first
        if (side < 256) {
            EXPECT_EQ(size, 40u + side * side * 4 + ((side + 31) / 32 * 4) * side) << side;
            EXPECT_EQ(u32(b, offset + 4), static_cast<uint32_t>(side));
            EXPECT_EQ(u32(b, offset + 8), static_cast<uint32_t>(side * 2));
            for (int y = side - 1; y >= 0; --y)
                for (int x = 0; x < side; ++x) {
                    const uint8_t* bgra = &b[offset + 40 + (y * side + x) * 4];
                    rgba.insert(rgba.end(), {bgra[2], bgra[1], bgra[0], bgra[3]});
                }
        } else {
            png_image image = {};
            image.version = PNG_IMAGE_VERSION;
            ASSERT_TRUE(png_image_begin_read_from_memory(&image, &b[offset], size)) << image.message;
            EXPECT_EQ(image.width, 256u);
            EXPECT_EQ(image.height, 256u);
            image.format = PNG_FORMAT_RGBA;
            rgba.resize(PNG_IMAGE_SIZE(image));
            ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << image.message;
        }
        ASSERT_EQ(rgba.size(), static_cast<size_t>(side * side * 4));
        EXPECT_EQ(rgba[3], 0) << side;
        EXPECT_EQ(rgba[((side / 2) * side + side / 2) * 4 + 3], 255) << side;
    }
    // The same drawing: each opaque pixel of the 16 px picture is close to
    // the average of the 16 x 16 block of the 256 px one that it covers.
    const std::vector<uint8_t>& small = pictures[16];
    const std::vector<uint8_t>& large = pictures[256];
    int far = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (small[(y * 16 + x) * 4 + 3] != 255)
                continue;
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int j = 0; j < 16; ++j)
                    for (int i = 0; i < 16; ++i)
                        sum += large[((y * 16 + j) * 256 + x * 16 + i) * 4 + c];
                far += std::abs(sum / 256 - small[(y * 16 + x) * 4 + c]) > 12;
            }
        }
    EXPECT_EQ(far, 0);
}

}  // namespace
