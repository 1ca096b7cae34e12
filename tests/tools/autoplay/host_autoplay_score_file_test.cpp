// The player's reading of "score.png" (card and record) and of screenshots.
// PNG files are written here by libpng with every row filter allowed, so the
// decoder meets all five filters.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>
#include <cstdio>
#include <cstring>

#include "game/score_record.h"
#include "tools/autoplay/picture.h"
#include "tools/autoplay/score_file.h"

namespace {

// A picture whose rows make libpng choose different filters.
Picture pattern(int32_t width, int32_t height)
{
    Picture p;
    p.width = width;
    p.height = height;
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            p.rgb.push_back(static_cast<uint8_t>(y % 4 == 0 ? x * 7 : x * y));
            p.rgb.push_back(static_cast<uint8_t>(y * 3 + (x > width / 2 ? 90 : 0)));
            p.rgb.push_back(static_cast<uint8_t>((x ^ y) * 5));
        }
    }
    return p;
}

void png_collect(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void png_no_flush(png_structp) {}

std::vector<uint8_t> libpng_encode(const Picture& p)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, png_collect, png_no_flush);
    png_set_filter(png, 0, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, p.width, p.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < p.height; y++)
        png_write_row(png, const_cast<png_bytep>(&p.rgb[static_cast<size_t>(y) * p.width * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The record as the game appends it.
std::vector<uint8_t> record(int32_t seconds)
{
    unsigned char bytes[SCORE_RECORD_MAX];
    size_t size = score_record_make(seconds, bytes);
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint8_t> joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ScoreRecord, ReadsTheSecondsAndWhereTheRecordStarts)
{
    ScoreRecord r;
    ASSERT_TRUE(score_record_read(joined({1, 2, 3}, record(23)), r));
    EXPECT_EQ(r.seconds, 23);
    EXPECT_EQ(r.offset, 3u);
    // The game never counts below zero.
    EXPECT_FALSE(score_record_read(record(-5), r));
    EXPECT_FALSE(score_record_read({}, r));
}

TEST(ScoreFile, FindsTheCardRightInFrontOfTheRecord)
{
    Picture card = pattern(100, 100);
    std::vector<uint8_t> png = libpng_encode(card);
    ASSERT_FALSE(png.empty());
    ScoreFile s = score_file_read(joined(png, record(7)));
    ASSERT_TRUE(s.has_record);
    EXPECT_EQ(s.record.seconds, 7);
    EXPECT_EQ(s.record.offset, png.size());
    ASSERT_TRUE(s.has_card);
    EXPECT_EQ(s.card.width, 100);
    EXPECT_EQ(s.card.rgb, card.rgb);
}

TEST(ScoreFile, NoCardWhenSomethingLiesBetweenOrTheFileHoldsOnlyTheRecord)
{
    std::vector<uint8_t> png = libpng_encode(pattern(100, 100));
    // An older record left behind the PNG data.
    ScoreFile s = score_file_read(joined(joined(png, record(1)), record(2)));
    EXPECT_TRUE(s.has_record);
    EXPECT_EQ(s.record.seconds, 2);
    EXPECT_FALSE(s.has_card);
    // A failed save: the record alone in a new file.
    s = score_file_read(record(3));
    EXPECT_TRUE(s.has_record);
    EXPECT_FALSE(s.has_card);
}

TEST(PngDecode, RefusesDamagedStreamsAndOtherFormats)
{
    std::vector<uint8_t> png = libpng_encode(pattern(16, 8));
    Picture p;
    size_t end = 0;
    ASSERT_TRUE(png_decode(png, p, end));
    EXPECT_EQ(end, png.size());
    std::vector<uint8_t> bad = png;
    bad[40] ^= 1;  // a byte inside a chunk: its CRC fails
    EXPECT_FALSE(png_decode(bad, p, end));
    bad.assign(png.begin(), png.end() - 12);  // no IEND
    EXPECT_FALSE(png_decode(bad, p, end));
    bad.assign(png.begin(), png.begin() + 7);
    EXPECT_FALSE(png_decode(bad, p, end));
    bad = png;
    bad[0x18] = 16;  // bit depth 16, with the header's CRC made right again
    uint32_t crc = static_cast<uint32_t>(crc32(0, &bad[12], 17));
    for (int i = 0; i < 4; i++)
        bad[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(png_decode(bad, p, end));
    bad[0x18] = 8;
    bad[0x19] = 6;  // RGBA
    crc = static_cast<uint32_t>(crc32(0, &bad[12], 17));
    for (int i = 0; i < 4; i++)
        bad[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(png_decode(bad, p, end));
}

// libpng reads back what the player's own encoder wrote.
Picture libpng_decode(const std::vector<uint8_t>& file)
{
    Picture p;
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        return p;
    image.format = PNG_FORMAT_RGB;
    p.width = static_cast<int32_t>(image.width);
    p.height = static_cast<int32_t>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr))
        p = Picture();
    return p;
}

TEST(PngEncode, WritesAFileThatLibpngAndTheDecoderRead)
{
    Picture p = pattern(37, 11);
    std::vector<uint8_t> file = png_encode(p);
    Picture back = libpng_decode(file);
    EXPECT_EQ(back.width, 37);
    EXPECT_EQ(back.height, 11);
    EXPECT_EQ(back.rgb, p.rgb);
    size_t end = 0;
    ASSERT_TRUE(png_decode(file, back, end));
    EXPECT_EQ(end, file.size());
    EXPECT_EQ(back.rgb, p.rgb);
}

TEST(Bmp, RoundTripsWithPaddedRows)
{
    Picture p = pattern(3, 2);
    std::vector<uint8_t> file = bmp_encode(p);
    // 3 pixels are 9 bytes, padded to 12 per row.
    EXPECT_EQ(file.size(), 54u + 12 * 2);
    EXPECT_EQ(file[28], 24);
    Picture back;
    ASSERT_TRUE(bmp_decode(file, back));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgb, p.rgb);
    EXPECT_EQ(picture_pixel(back, 1, 1), static_cast<uint32_t>(p.rgb[12] | (p.rgb[13] << 8) | (p.rgb[14] << 16)));
    EXPECT_EQ(picture_pixel(back, 3, 0), 0xFFFFFFFFu);
}

TEST(Bmp, ReadsTopDownRowsAndRefusesShortFiles)
{
    Picture p = pattern(2, 2);
    std::vector<uint8_t> file = bmp_encode(p);
    // Flip to top-down: negative height, rows swapped.
    int32_t negative = -2;
    std::memcpy(&file[22], &negative, 4);
    std::vector<uint8_t> rows(file.begin() + 54, file.end());
    std::copy(rows.begin() + 8, rows.end(), file.begin() + 54);
    std::copy(rows.begin(), rows.begin() + 8, file.begin() + 62);
    Picture back;
    ASSERT_TRUE(bmp_decode(file, back));
    EXPECT_EQ(back.rgb, p.rgb);
    file.resize(file.size() - 1);
    EXPECT_FALSE(bmp_decode(file, back));
}

}  // namespace
