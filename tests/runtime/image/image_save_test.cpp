// Saving images on the real platform: the BMP writer's file byte for byte,
// row strides, the encoder list and its failures, files replaced and files
// that cannot be written.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/image/image.h"
#include "runtime/image/image_save.h"
#include "tests/support/runtime_start.h"
#include "tests/support/temp_folder.h"

namespace {

uint32_t u32(const std::string& bytes, size_t at)
{
    uint32_t v;
    memcpy(&v, bytes.data() + at, 4);
    return v;
}

// Blue, green, red of pixel x in the file's row r (bottom row first).
std::string bgr_at(const std::string& bmp, int stride, int r, int x)
{
    return bmp.substr(54 + static_cast<size_t>(r) * stride + x * 3, 3);
}

// An icon file image of one 16 x 16, 32-bit picture.
std::vector<unsigned char> icon_file()
{
    const uint32_t image_size = 40 + 16 * 16 * 4 + 16 * 4;
    std::vector<unsigned char> ico(6 + 16 + image_size, 0);
    ico[2] = 1;  // type: icon
    ico[4] = 1;  // one entry
    unsigned char* entry = &ico[6];
    entry[0] = 16;
    entry[1] = 16;
    entry[4] = 1;
    entry[6] = 32;
    memcpy(entry + 8, &image_size, 4);
    uint32_t offset = 22;
    memcpy(entry + 12, &offset, 4);
    BITMAPINFOHEADER header = {};
    header.biSize = 40;
    header.biWidth = 16;
    header.biHeight = 32;  // the picture and its mask
    header.biPlanes = 1;
    header.biBitCount = 32;
    memcpy(&ico[22], &header, 40);
    for (int i = 0; i < 16 * 16; ++i)
        ico[62 + i * 4 + 3] = 0xFF;
    return ico;
}

// What the test encoder last received.
struct Received {
    std::string file_name;
    std::vector<unsigned char> pixels;
    int32_t width, height, stride, option;
} received;

int32_t test_encode(const char* file_name, const unsigned char* pixels, int32_t width, int32_t height,
                    int32_t stride, int32_t option)
{
    received = {file_name, std::vector<unsigned char>(pixels, pixels + stride * height), width, height, stride,
                option};
    return 5;
}

int32_t second_encode(const char*, const unsigned char*, int32_t, int32_t, int32_t, int32_t)
{
    return 6;
}

const uint32_t ENCODER_TEST = 0x54534554;
const ImageEncoder test_entry = {ENCODER_TEST, test_encode};
const ImageEncoder shadowed_entry = {ENCODER_TEST, second_encode};

class ImageSaveTest : public ::testing::Test {
protected:
    void SetUp() override { test_runtime_start("images"); }
    void TearDown() override { image_free_all(); }
    std::string path(const char* name) { return temp.path(name); }
    // A black image with some pixels set (colours as 0x00BBGGRR).
    static void make_image(ObjectNumber number, int width, int height,
                           std::initializer_list<std::array<int, 3>> points)
    {
        ASSERT_NE(image_create(number, width, height), 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, image_record(number)->handle);
        for (const auto& p : points)
            SetPixelV(dc, p[0], p[1], static_cast<COLORREF>(p[2]));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    TempFolder temp{"zorvant_save"};
};

TEST_F(ImageSaveTest, BmpOfAHundredSquareHasTheHeadersAndItsRowsBottomFirst)
{
    make_image(100, 100, 100, {{0, 0, 0x0000FF}, {99, 99, 0xFF0000}, {5, 1, 0x7EFF}});
    std::string name = path("card.bmp");
    EXPECT_EQ(image_save(100, name.c_str(), ENCODER_BMP), 1);
    std::string bmp = TempFolder::read(name);
    ASSERT_EQ(bmp.size(), 30054u);
    const unsigned char header[54] = {
        'B', 'M', 0x66, 0x75, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // size 30054, pixels at 54
        40, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0, 0, 1, 0, 24, 0,  // 100 x 100, bottom row first
        0, 0, 0, 0, 0x30, 0x75, 0, 0,                          // BI_RGB, 30000 bytes of rows
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bmp.substr(0, 54), std::string(reinterpret_cast<const char*>(header), 54));
    // The image's top row is the file's last.
    EXPECT_EQ(bgr_at(bmp, 300, 99, 0), std::string("\x00\x00\xFF", 3));
    EXPECT_EQ(bgr_at(bmp, 300, 98, 5), std::string("\x00\x7E\xFF", 3));
    EXPECT_EQ(bgr_at(bmp, 300, 0, 99), std::string("\xFF\x00\x00", 3));
    EXPECT_EQ(bgr_at(bmp, 300, 0, 0), std::string("\x00\x00\x00", 3));
}

TEST_F(ImageSaveTest, RowsAreRoundedUpToFourBytes)
{
    EXPECT_EQ(image_row_stride(1), 4);
    EXPECT_EQ(image_row_stride(3), 12);
    EXPECT_EQ(image_row_stride(100), 300);
    EXPECT_EQ(image_row_stride(2), 8);

    make_image(1, 1, 2, {{0, 0, 0x0000FF}});
    make_image(3, 3, 2, {{2, 0, 0x00FF00}, {0, 1, 0xFF0000}});
    std::string one = path("one.bmp"), three = path("three.bmp");
    ASSERT_EQ(image_save(1, one.c_str(), ENCODER_BMP), 1);
    ASSERT_EQ(image_save(3, three.c_str(), ENCODER_BMP), 1);
    std::string a = TempFolder::read(one), b = TempFolder::read(three);
    ASSERT_EQ(a.size(), 54u + 2 * 4);
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(u32(a, 34), 8u);
    EXPECT_EQ(u32(b, 34), 24u);
    EXPECT_EQ(bgr_at(a, 4, 1, 0), std::string("\x00\x00\xFF", 3));
    EXPECT_EQ(bgr_at(a, 4, 0, 0), std::string("\x00\x00\x00", 3));
    EXPECT_EQ(bgr_at(b, 12, 1, 2), std::string("\x00\xFF\x00", 3));
    EXPECT_EQ(bgr_at(b, 12, 0, 0), std::string("\xFF\x00\x00", 3));
}

TEST_F(ImageSaveTest, EncoderReceivesTheRowsAndTheOption)
{
    ASSERT_EQ(encoder_register(&test_entry), 1);
    make_image(2, 3, 2, {{0, 0, 0x0000FF}, {2, 1, 0xFF0000}});
    EXPECT_EQ(image_save(2, "given name", ENCODER_TEST), 5);
    EXPECT_EQ(received.file_name, "given name");
    EXPECT_EQ(received.width, 3);
    EXPECT_EQ(received.height, 2);
    EXPECT_EQ(received.stride, 12);
    EXPECT_EQ(received.option, 7);
    ASSERT_EQ(received.pixels.size(), 24u);
    // Bottom row first: its last pixel is blue; the top row's first is red.
    EXPECT_EQ(received.pixels[6], 0xFF);
    EXPECT_EQ(received.pixels[12 + 2], 0xFF);
    EXPECT_EQ(image_save_ex(2, "other", ENCODER_TEST, -3), 5);
    EXPECT_EQ(received.option, -3);
    // The first entry with the identifier is the one used.
    ASSERT_EQ(encoder_register(&shadowed_entry), 1);
    EXPECT_EQ(encoder_run("x", received.pixels.data(), ENCODER_TEST, 3, 2, 12, 0), 5);
}

TEST_F(ImageSaveTest, UnregisteredEncoderGivesZeroAndCreatesNoFile)
{
    make_image(1, 10, 10, {});
    std::string name = path("none.png");
    EXPECT_EQ(image_save(1, name.c_str(), 0x12345), 0);
    EXPECT_FALSE(TempFolder::exists(name));
    unsigned char pixels[16] = {};
    EXPECT_EQ(encoder_run(name.c_str(), pixels, 0x12345, 1, 1, 4, 0), 0);
}

TEST_F(ImageSaveTest, MissingImageNullNameIconAndAFileThatCannotBeMadeAreRefused)
{
    std::string name = path("refused.bmp");
    EXPECT_EQ(image_save(9, name.c_str(), ENCODER_BMP), 0);
    make_image(1, 10, 10, {});
    EXPECT_EQ(image_save(1, nullptr, ENCODER_BMP), 0);
    std::vector<unsigned char> ico = icon_file();
    ASSERT_NE(image_from_memory(2, ico.data()), 0);
    ASSERT_NE(GetObjectType(image_record(2)->handle), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(image_save(2, name.c_str(), ENCODER_BMP), 0);
    EXPECT_FALSE(TempFolder::exists(name));
    EXPECT_EQ(image_save(1, (temp.folder() + "\\no such folder\\x.bmp").c_str(), ENCODER_BMP), 0);
}

TEST_F(ImageSaveTest, SecondSaveReplacesTheFile)
{
    make_image(1, 100, 100, {});
    make_image(2, 10, 10, {{0, 0, 0xFFFFFF}});
    std::string name = path("twice.bmp");
    ASSERT_EQ(image_save(1, name.c_str(), ENCODER_BMP), 1);
    ASSERT_EQ(image_save(2, name.c_str(), ENCODER_BMP), 1);
    std::string bmp = TempFolder::read(name);
    ASSERT_EQ(bmp.size(), 54u + 10 * 32);
    EXPECT_EQ(u32(bmp, 18), 10u);
}

}  // namespace
