// Area-averaging stretch: exact weights on whole and fractional ratios, both
// directions, every byte of a pixel on its own.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/image/image_average.h"

namespace {

// Rows of one-byte pixels, `stride` a little wider than the row.
struct Plane {
    int32_t width, height, stride;
    std::vector<unsigned char> bytes;
    Plane(int32_t w, int32_t h, int32_t bytes_per_pixel = 1)
        : width(w), height(h), stride(w * bytes_per_pixel + 3), bytes(static_cast<size_t>(stride) * h, 0xEE) {}
    unsigned char& at(int32_t x, int32_t y, int32_t bpp = 1, int32_t b = 0) { return bytes[y * stride + x * bpp + b]; }
    PixelRows rows() { return {bytes.data(), width, height, stride}; }
};

TEST(ImageAverage, FiveToOneShrinkAveragesEveryCoveredPixel)
{
    // One bright column in each block of five: the area average is 255 / 5.
    Plane source(10, 5), destination(2, 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x)
            source.at(x, y) = x % 5 == 0 ? 255 : 0;
    image_average_stretch(source.rows(), destination.rows(), 1);
    EXPECT_EQ(destination.at(0, 0), 51);
    EXPECT_EQ(destination.at(1, 0), 51);
}

TEST(ImageAverage, FractionalCoverageIsWeightedByArea)
{
    // Three pixels into two: each destination pixel covers one and a half.
    Plane source(3, 1), destination(2, 1);
    source.at(0, 0) = 0;
    source.at(1, 0) = 90;
    source.at(2, 0) = 210;
    image_average_stretch(source.rows(), destination.rows(), 1);
    EXPECT_EQ(destination.at(0, 0), 30);   // (2 * 0 + 1 * 90) / 3
    EXPECT_EQ(destination.at(1, 0), 170);  // (1 * 90 + 2 * 210) / 3
}

TEST(ImageAverage, SameSizeCopiesAndLeavesRowPaddingAlone)
{
    Plane source(4, 3), destination(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            source.at(x, y) = static_cast<unsigned char>(x * 40 + y * 7);
    image_average_stretch(source.rows(), destination.rows(), 1);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(destination.at(x, y), source.at(x, y));
        EXPECT_EQ(destination.at(4, y), 0xEE);
    }
}

TEST(ImageAverage, EnlargementSplitsSourcePixelsByOverlap)
{
    // Two pixels into three: the middle one straddles both halves.
    Plane source(2, 1), destination(3, 1);
    source.at(0, 0) = 0;
    source.at(1, 0) = 200;
    image_average_stretch(source.rows(), destination.rows(), 1);
    EXPECT_EQ(destination.at(0, 0), 0);
    EXPECT_EQ(destination.at(1, 0), 100);
    EXPECT_EQ(destination.at(2, 0), 200);
}

TEST(ImageAverage, ChannelsAreAveragedSeparatelyAndRounded)
{
    Plane source(2, 2, 3), destination(1, 1, 3);
    const unsigned char values[4][3] = {{0, 10, 255}, {1, 20, 255}, {0, 30, 0}, {0, 41, 0}};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 3; ++b)
            source.at(i % 2, i / 2, 3, b) = values[i][b];
    image_average_stretch(source.rows(), destination.rows(), 3);
    EXPECT_EQ(destination.at(0, 0, 3, 0), 0);    // 1 / 4 rounds down
    EXPECT_EQ(destination.at(0, 0, 3, 1), 25);   // 101 / 4 = 25.25
    EXPECT_EQ(destination.at(0, 0, 3, 2), 128);  // 510 / 4 = 127.5 rounds up
}

TEST(ImageAverage, UniformPictureStaysUniformAtAnySize)
{
    Plane source(100, 100);
    std::fill(source.bytes.begin(), source.bytes.end(), 77);
    for (int32_t side : {1, 7, 20, 57, 140}) {
        Plane destination(side, side + 3);
        image_average_stretch(source.rows(), destination.rows(), 1);
        for (int y = 0; y < destination.height; ++y)
            for (int x = 0; x < destination.width; ++x)
                ASSERT_EQ(destination.at(x, y), 77) << side << " " << x << "," << y;
    }
}

}  // namespace
