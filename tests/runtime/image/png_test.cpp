// The PNG encoder on the real platform: the written file's chunks read back
// and its image data inflated with zlib, the top row first in red, green,
// blue; libpng's errors coming back as a failed save.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/image/image.h"
#include "runtime/image/image_save.h"
#include "tests/support/runtime_start.h"
#include "tests/support/temp_folder.h"

namespace {

struct Chunk {
    std::string type;
    std::string data;
    bool crc_ok;
};

uint32_t be32(const std::string& bytes, size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// The chunks after the signature; empty if the file is not a whole PNG.
std::vector<Chunk> chunks_of(const std::string& png)
{
    std::vector<Chunk> chunks;
    if (png.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0)
        return chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = be32(png, at);
        if (at + 12 + length > png.size())
            return {};
        Chunk c{png.substr(at + 4, 4), png.substr(at + 8, length), false};
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
        c.crc_ok = crc == be32(png, at + 8 + length);
        chunks.push_back(c);
        at += 12 + length;
    }
    return at == png.size() ? chunks : std::vector<Chunk>();
}

// The IDAT chunks' data joined: the zlib stream of the image.
std::string image_stream(const std::string& png)
{
    std::string stream;
    for (const Chunk& c : chunks_of(png))
        if (c.type == "IDAT")
            stream += c.data;
    return stream;
}

// The stream inflated: each row's filter byte, then its pixels; empty when
// the stream is not whole or inflates to more than `limit` bytes.
std::vector<unsigned char> inflated(const std::string& stream, size_t limit)
{
    std::vector<unsigned char> raw(limit);
    uLongf size = raw.size();
    if (uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(stream.data()), stream.size()) != Z_OK)
        return {};
    raw.resize(size);
    return raw;
}

class PngTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("images");
        png_encoder_register();
    }
    void TearDown() override { image_free_all(); }
    std::string path(const char* name) { return temp.path(name); }
    // A black image with its top-left pixel red, the one right of it green,
    // and its bottom-right pixel blue.
    static void make_card(ObjectNumber number, int width, int height)
    {
        ASSERT_NE(image_create(number, width, height), 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, image_record(number)->handle);
        SetPixelV(dc, 0, 0, RGB(255, 0, 0));
        SetPixelV(dc, 1, 0, RGB(0, 255, 0));
        SetPixelV(dc, width - 1, height - 1, RGB(0, 0, 255));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    TempFolder temp{"zorvant_png"};
};

TEST_F(PngTest, CardIsAnRgbPngWithOnlyTheCriticalChunks)
{
    make_card(100, 100, 100);
    std::string name = path("score.png");
    ASSERT_EQ(image_save(100, name.c_str(), ENCODER_PNG), 1);
    std::vector<Chunk> chunks = chunks_of(TempFolder::read(name));
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    for (size_t i = 1; i + 1 < chunks.size(); ++i)
        EXPECT_EQ(chunks[i].type, "IDAT") << i;
    for (const Chunk& c : chunks)
        EXPECT_TRUE(c.crc_ok) << c.type;
    const std::string& ihdr = chunks.front().data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(be32(ihdr, 0), 100u);
    EXPECT_EQ(be32(ihdr, 4), 100u);
    EXPECT_EQ(ihdr[8], 8);   // bit depth
    EXPECT_EQ(ihdr[9], 2);   // RGB
    EXPECT_EQ(ihdr[10], 0);  // deflate
    EXPECT_EQ(ihdr[11], 0);  // adaptive filtering method
    EXPECT_EQ(ihdr[12], 0);  // no interlace
}

TEST_F(PngTest, RowsAreUnfilteredTopFirstInRedGreenBlueAtLevelNine)
{
    make_card(100, 100, 100);
    std::string name = path("rows.png");
    ASSERT_EQ(image_save(100, name.c_str(), ENCODER_PNG), 1);
    std::string stream = image_stream(TempFolder::read(name));
    ASSERT_GE(stream.size(), 2u);
    // The zlib header announces the maximum compression level.
    EXPECT_EQ(static_cast<unsigned char>(stream[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(stream[1]) >> 6, 3);
    std::vector<unsigned char> raw = inflated(stream, 100 * 301 + 1);
    ASSERT_EQ(raw.size(), 100u * 301);
    for (int r = 0; r < 100; ++r)
        ASSERT_EQ(raw[r * 301], 0) << "filter of row " << r;
    const unsigned char* top = &raw[1];
    EXPECT_EQ(std::vector<unsigned char>(top, top + 6), (std::vector<unsigned char>{255, 0, 0, 0, 255, 0}));
    const unsigned char* last = &raw[99 * 301 + 1 + 99 * 3];
    EXPECT_EQ(std::vector<unsigned char>(last, last + 3), (std::vector<unsigned char>{0, 0, 255}));
    size_t lit = 0;
    for (int r = 0; r < 100; ++r)
        for (int i = 1; i <= 300; ++i)
            lit += raw[r * 301 + i] != 0;
    EXPECT_EQ(lit, 3u);
}

TEST_F(PngTest, WidthsWithFillBytesAreWrittenWithoutThem)
{
    make_card(1, 3, 2);
    std::string name = path("narrow.png");
    ASSERT_EQ(image_save(1, name.c_str(), ENCODER_PNG), 1);
    EXPECT_EQ(inflated(image_stream(TempFolder::read(name)), 64), (std::vector<unsigned char>{0, 255, 0, 0, 0, 255, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 255}));
}

TEST_F(PngTest, SecondSaveReplacesTheFile)
{
    make_card(1, 100, 100);
    make_card(2, 4, 4);
    std::string name = path("twice.png");
    ASSERT_EQ(image_save(1, name.c_str(), ENCODER_PNG), 1);
    ASSERT_EQ(image_save(2, name.c_str(), ENCODER_PNG), 1);
    std::vector<Chunk> chunks = chunks_of(TempFolder::read(name));
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(be32(chunks.front().data, 0), 4u);
}

TEST_F(PngTest, ErrorsComeBackAsAFailedEncode)
{
    std::string name = path("bad.png");
    // Wider than libpng accepts: its error returns through the jump buffer.
    const int32_t width = 2000000;
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3 + 4);
    EXPECT_EQ(png_encode(name.c_str(), row.data(), width, 1, image_row_stride(width), 0), 0);
    EXPECT_EQ(png_encode(nullptr, row.data(), 1, 1, 4, 0), 0);
    EXPECT_EQ(png_encode(name.c_str(), row.data(), 10, 1, 20, 0), 0);
    std::string missing = temp.folder() + "\\no such folder\\x.png";
    EXPECT_EQ(png_encode(missing.c_str(), row.data(), 1, 1, 4, 0), 0);
    // A good encode afterwards still works.
    EXPECT_EQ(png_encode(name.c_str(), row.data(), 1, 1, 4, 0), 1);
    EXPECT_FALSE(chunks_of(TempFolder::read(name)).empty());
}

}  // namespace
