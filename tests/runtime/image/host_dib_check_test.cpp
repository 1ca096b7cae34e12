// Bounds checks of BMP file images and icon images: the good layouts pass,
// and every header that promises more than the bytes hold is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/image/dib_check.h"

namespace {

void put32(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void put16(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}

// A bottom-up BMP file image like the target picture, at any size and depth.
std::vector<unsigned char> bmp(int32_t width, int32_t height, int bits = 24, uint32_t colours = 0)
{
    uint32_t table = bits <= 8 ? (colours ? colours : 1u << bits) * 4 : 0;
    uint32_t row = (width * bits + 31) / 32 * 4;
    uint32_t offset = 54 + table;
    std::vector<unsigned char> b(offset + row * height + 2, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, offset);
    put32(b, 14, 40);
    put32(b, 18, width);
    put32(b, 22, height);
    put16(b, 26, 1);
    put16(b, 28, bits);
    put32(b, 34, row * height + 2);
    put32(b, 46, colours);
    return b;
}

bool check(const std::vector<unsigned char>& b, size_t size)
{
    BmpFileLayout layout;
    return bmp_file_check(b.data(), size, &layout);
}

bool check(const std::vector<unsigned char>& b) { return check(b, b.size()); }

TEST(BmpFileCheck, TargetLayoutIsReadBack)
{
    std::vector<unsigned char> b = bmp(100, 100);
    ASSERT_EQ(b.size(), 30056u);
    BmpFileLayout layout;
    ASSERT_TRUE(bmp_file_check(b.data(), b.size(), &layout));
    EXPECT_EQ(layout.width, 100);
    EXPECT_EQ(layout.height, 100);
    EXPECT_EQ(layout.pixel_offset, 54u);
    // The size the short loading form passes is far larger than the file.
    EXPECT_TRUE(check(b, 10000000));
}

TEST(BmpFileCheck, EveryUsualDepthPasses)
{
    for (int bits : {1, 4, 8, 16, 24, 32})
        EXPECT_TRUE(check(bmp(13, 7, bits))) << bits;
    EXPECT_TRUE(check(bmp(13, 7, 8, 16)));
}

TEST(BmpFileCheck, BadSidesAreRefused)
{
    EXPECT_FALSE(check(bmp(0, 10)));
    EXPECT_FALSE(check(bmp(10, 0)));
    std::vector<unsigned char> b = bmp(10, 10);
    put32(b, 18, static_cast<uint32_t>(-10));
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    put32(b, 22, static_cast<uint32_t>(-10));
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    put32(b, 18, 0x7FFFFFFF);
    put32(b, 22, 0x7FFFFFFF);
    put32(b, 2, 0xFFFFFFFF);
    EXPECT_FALSE(check(b, 0xFFFFFFFF));
    b = bmp(10, 10, 1);
    put32(b, 18, 32768);  // the rows would fit, the record's 16 bits not
    EXPECT_FALSE(check(b, 10000000));
}

TEST(BmpFileCheck, RowsMustEndInsideBothSizes)
{
    std::vector<unsigned char> b = bmp(100, 100);
    EXPECT_FALSE(check(b, b.size() - 3));  // the caller's size
    put32(b, 2, 30053);                     // the file-size field
    EXPECT_FALSE(check(b));
    b = bmp(100, 100);
    put32(b, 10, 57);  // rows shifted past the end
    EXPECT_FALSE(check(b));
    put32(b, 10, 0xFFFFFFF0);
    EXPECT_FALSE(check(b, 10000000));
    b = bmp(100, 100);
    put32(b, 22, 101);
    EXPECT_FALSE(check(b, 10000000));
}

TEST(BmpFileCheck, HeadersAndTableMustPrecedeThePixels)
{
    std::vector<unsigned char> b = bmp(10, 10);
    put32(b, 10, 40);  // inside the header
    EXPECT_FALSE(check(b));
    b = bmp(8, 8, 8);
    put32(b, 10, 54 + 255 * 4);  // one colour short
    EXPECT_FALSE(check(b));
    b = bmp(8, 8, 8);
    put32(b, 46, 257);
    EXPECT_FALSE(check(b));
    b = bmp(8, 8, 24);
    put32(b, 46, 200);  // an optional table the offset leaves no room for
    EXPECT_FALSE(check(b));
}

TEST(BmpFileCheck, UnhandledFormatsAreRefused)
{
    std::vector<unsigned char> b = bmp(10, 10);
    put16(b, 28, 2);
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    put32(b, 30, 1);  // run-length
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    put16(b, 26, 2);
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    put32(b, 14, 12);  // the old core header
    EXPECT_FALSE(check(b));
    b = bmp(10, 10);
    b[1] = 'A';
    EXPECT_FALSE(check(b));
}

TEST(BmpFileCheck, ShortAndNullInputIsRefused)
{
    std::vector<unsigned char> b = bmp(1, 1);
    EXPECT_FALSE(check(b, 53));
    EXPECT_FALSE(check(b, 0));
    BmpFileLayout layout;
    EXPECT_FALSE(bmp_file_check(nullptr, 100, &layout));
}

// An icon image in resource form: header, colour rows, mask rows.
std::vector<unsigned char> icon_image(int32_t side, int bits = 32)
{
    uint32_t table = bits <= 8 ? (1u << bits) * 4 : 0;
    uint32_t size = 40 + table + ((side * bits + 31) / 32 * 4 + (side + 31) / 32 * 4) * side;
    std::vector<unsigned char> b(size, 0);
    put32(b, 0, 40);
    put32(b, 4, side);
    put32(b, 8, side * 2);
    put16(b, 12, 1);
    put16(b, 14, bits);
    return b;
}

TEST(IconImageCheck, WholeImagesPass)
{
    for (int side : {16, 32, 48, 256})
        EXPECT_TRUE(icon_image_check(icon_image(side).data(), icon_image(side).size())) << side;
    std::vector<unsigned char> b = icon_image(32, 4);
    EXPECT_TRUE(icon_image_check(b.data(), b.size()));
}

TEST(IconImageCheck, HeadersThatPromiseMoreAreRefused)
{
    std::vector<unsigned char> b = icon_image(32);
    EXPECT_FALSE(icon_image_check(b.data(), b.size() - 1));
    EXPECT_FALSE(icon_image_check(b.data(), 39));
    put32(b, 4, 30000);
    EXPECT_FALSE(icon_image_check(b.data(), b.size()));
    b = icon_image(32);
    put32(b, 8, 31);  // not a colour part and a mask of one height
    EXPECT_FALSE(icon_image_check(b.data(), b.size()));
    b = icon_image(32);
    put32(b, 8, static_cast<uint32_t>(-64));
    EXPECT_FALSE(icon_image_check(b.data(), b.size()));
    b = icon_image(32);
    std::memcpy(b.data(), "\x89PNG", 4);
    EXPECT_FALSE(icon_image_check(b.data(), b.size()));
    EXPECT_FALSE(icon_image_check(nullptr, 100));
}

}  // namespace
