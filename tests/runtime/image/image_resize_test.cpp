// Image copy and resize: handles replaced or kept, records, device-dependent
// pictures staying so, icons refused, and what each stretch mode does to the
// pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/runtime/image/image_readback.h"
#include "tests/support/runtime_start.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

class ImageResizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("images");
        ASSERT_NE(image_from_memory(3, target_bmp), 0);
    }
    void TearDown() override { image_free_all(); }
};

// Writes 0x00RRGGBB pixels (top row first) into a 32-bit DIB section image.
void image_put_pixels(ObjectNumber number, const std::vector<uint32_t>& pixels)
{
    ImageRecord* record = image_record(number);
    DIBSECTION section;
    ASSERT_EQ(GetObjectA(record->handle, sizeof section, &section), static_cast<int>(sizeof section));
    ASSERT_EQ(section.dsBm.bmBitsPixel, 32);
    unsigned char* bits = static_cast<unsigned char*>(section.dsBm.bmBits);
    for (int y = 0; y < record->height; ++y)  // bottom-up memory
        std::memcpy(bits + (record->height - 1 - y) * section.dsBm.bmWidthBytes,
                    &pixels[static_cast<size_t>(y) * record->width], record->width * 4);
}

// 100 x 100, white in every fifth column, black elsewhere.
std::vector<uint32_t> fifth_columns()
{
    std::vector<uint32_t> pixels(10000);
    for (int i = 0; i < 10000; ++i)
        pixels[i] = i % 5 == 0 ? 0xFFFFFF : 0;
    return pixels;
}

uint32_t block_average(const std::vector<uint32_t>& pixels, int bx, int by, int side)
{
    uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        uint32_t sum = 0;
        for (int y = by * side; y < (by + 1) * side; ++y)
            for (int x = bx * side; x < (bx + 1) * side; ++x)
                sum += (pixels[y * 100 + x] >> shift) & 0xFF;
        uint32_t n = side * side;
        result |= ((sum + n / 2) / n) << shift;
    }
    return result;
}

// The same size keeps the handle.
TEST_F(ImageResizeTest, NewSizeReplacesTheBitmap)
{
    ASSERT_NE(image_copy(3, 4), 0);
    intptr_t same = image_handle(4);
    EXPECT_EQ(image_resize(4, 100, 100), same);
    EXPECT_EQ(image_handle(4), same);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(same)), static_cast<DWORD>(OBJ_BITMAP));
    HGDIOBJ before = reinterpret_cast<HGDIOBJ>(image_handle(4));
    intptr_t after = image_resize(4, 57, 23);
    ASSERT_NE(after, 0);
    EXPECT_NE(after, reinterpret_cast<intptr_t>(before));
    EXPECT_EQ(image_handle(4), after);
    expect_record(4, 57, 23, 32, 0);
    EXPECT_EQ(GetObjectType(before), 0u);
    ImageRecord* record = image_record(4);
    BITMAP bitmap;
    ASSERT_NE(GetObjectA(record->handle, sizeof bitmap, &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, 57);
    EXPECT_EQ(bitmap.bmHeight, 23);
}

TEST_F(ImageResizeTest, RefusedResizesLeaveTheImageAlone)
{
    intptr_t handle = image_handle(3);
    EXPECT_EQ(image_resize(3, 0, 50), 0);
    EXPECT_EQ(image_resize(3, 50, -5), 0);
    EXPECT_EQ(image_resize(3, 40000, 50), 0);
    EXPECT_EQ(image_handle(3), handle);
    EXPECT_EQ(image_record(3)->width, 100);
    EXPECT_EQ(image_resize(9, 50, 50), 0);
    EXPECT_EQ(image_resize(OBJECT_ANY, 50, 50), 0);
}

TEST_F(ImageResizeTest, IconsAreNotResized)
{
    // A 1 x 1 icon: header, one 32-bit pixel, one mask row.
    static const unsigned char icon[] = {
        0, 0, 1, 0, 1, 0,                                      // directory
        1, 1, 0, 0, 1, 0, 32, 0, 48, 0, 0, 0, 22, 0, 0, 0,     // entry: 48 bytes at 22
        40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0,      // header
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x10, 0x20, 0x30, 0xFF,                                // the pixel
        0, 0, 0, 0};                                           // the mask
    intptr_t handle = image_from_memory(6, icon);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(image_resize(6, 20, 20), 0);
    EXPECT_EQ(image_resize_ex(6, 20, 20, 1), 0);
    EXPECT_EQ(image_handle(6), handle);
    EXPECT_EQ(image_record(6)->width, 1);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(handle), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // A copy of an icon is an icon again.
    intptr_t copy = image_copy(6, 7);
    ASSERT_NE(copy, 0);
    EXPECT_NE(copy, handle);
    EXPECT_NE(GetObjectType(reinterpret_cast<HGDIOBJ>(copy)), static_cast<DWORD>(OBJ_BITMAP));
}

TEST_F(ImageResizeTest, CopyOntoItselfFreesTheImage)
{
    HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(image_handle(3));
    EXPECT_EQ(image_copy(3, 3), 0);
    EXPECT_EQ(image_exists(3), 0);
    EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(image_copy(3, 4), 0);  // no source any more
    EXPECT_EQ(image_exists(4), 0);
}

TEST_F(ImageResizeTest, CopyIntoAUsedNumberFreesTheOldImage)
{
    ASSERT_NE(image_create_ex(4, 10, 10, 24), 0);
    HGDIOBJ old = reinterpret_cast<HGDIOBJ>(image_handle(4));
    intptr_t source = image_handle(3);
    intptr_t copy = image_copy(3, 4);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(copy, image_handle(4));
    EXPECT_NE(copy, source);
    EXPECT_EQ(GetObjectType(old), 0u);
    EXPECT_EQ(image_handle(3), source);
    expect_record(4, 100, 100, 32, 0);
    BITMAP bitmap;  // the platform's copy is a 32-bit DIB section too
    ASSERT_NE(GetObjectA(reinterpret_cast<HGDIOBJ>(copy), sizeof bitmap, &bitmap), 0);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    EXPECT_EQ(image_pixels(4), target_file_pixels());
}

TEST_F(ImageResizeTest, CopyToAnyGivesAnIndependentDynamicImage)
{
    intptr_t any = image_copy(3, OBJECT_ANY);
    ASSERT_NE(any, 0);
    intptr_t handle = image_handle(any);
    EXPECT_NE(handle, 0);
    EXPECT_NE(handle, any);
    EXPECT_NE(handle, image_handle(3));
    EXPECT_EQ(image_pixels(any), target_file_pixels());
    ASSERT_NE(image_resize(any, 20, 30), 0);
    EXPECT_EQ(image_pixels(3), target_file_pixels());
    EXPECT_EQ(image_record(3)->width, 100);
}

TEST_F(ImageResizeTest, DeviceDependentImagesStaySoThroughCopyAndResize)
{
    ASSERT_NE(image_create(100, 100, 100), 0);
    ASSERT_NE(image_copy(100, 101), 0);
    ImageRecord* copy = image_record(101);
    EXPECT_EQ(copy->flags, IMAGE_DEVICE_BITMAP);
    EXPECT_FALSE(is_dib_section(copy->handle));
    EXPECT_EQ(copy->depth, image_record(100)->depth);
    GdiCensus objects = gdi_census();
    for (int32_t mode : {0, 1}) {
        ASSERT_NE(image_resize_ex(101, 40 + mode, 30, mode), 0) << mode;
        copy = image_record(101);
        EXPECT_FALSE(is_dib_section(copy->handle));
        EXPECT_EQ(copy->flags, IMAGE_DEVICE_BITMAP);
        EXPECT_EQ(image_pixels(101), std::vector<uint32_t>((40 + mode) * 30, 0));
        EXPECT_EQ(gdi_census(), objects);
    }
}

TEST_F(ImageResizeTest, SmoothShrinkAveragesTheCoveredPixels)
{
    ASSERT_NE(image_copy(3, 4), 0);
    ASSERT_NE(image_resize(4, 20, 20), 0);
    std::vector<uint32_t> source = target_file_pixels();
    std::vector<uint32_t> pixels = image_pixels(4);
    ASSERT_EQ(pixels.size(), 400u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pixels[y * 20 + x], block_average(source, x, y, 5)) << x << "," << y;
    // Fine stripes become an even grey.
    ASSERT_NE(image_create_ex(4, 100, 100, 32), 0);
    image_put_pixels(4, fifth_columns());
    ASSERT_NE(image_resize(4, 20, 20), 0);
    EXPECT_EQ(image_pixels(4), std::vector<uint32_t>(400, 0x333333));  // 255 / 5
}

TEST_F(ImageResizeTest, PlainShrinkPicksSourcePixels)
{
    ASSERT_NE(image_create_ex(4, 100, 100, 32), 0);
    image_put_pixels(4, fifth_columns());
    ASSERT_NE(image_resize_ex(4, 20, 20, 1), 0);
    for (uint32_t p : image_pixels(4))
        ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << std::hex << p;

    ASSERT_NE(image_copy(3, 4), 0);
    ASSERT_NE(image_resize_ex(4, 20, 20, 1), 0);
    std::vector<uint32_t> source = target_file_pixels();
    std::vector<uint32_t> pixels = image_pixels(4);
    ASSERT_EQ(pixels.size(), 400u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool found = false;
            for (int sy = y * 5; sy < y * 5 + 5; ++sy)
                for (int sx = x * 5; sx < x * 5 + 5; ++sx)
                    found = found || source[sy * 100 + sx] == pixels[y * 20 + x];
            ASSERT_TRUE(found) << x << "," << y;
        }
}

TEST_F(ImageResizeTest, SmoothEnlargementKeepsAUniformPictureUniform)
{
    ASSERT_NE(image_create_ex(4, 10, 10, 24), 0);
    ImageRecord* record = image_record(4);
    // Red, green and blue all differ, and none is the new bitmap's black.
    const COLORREF colour = RGB(0xCC, 0x66, 0x33);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, record->handle);
    SetDCBrushColor(dc, colour);
    RECT all = {0, 0, 10, 10};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_NE(image_resize(4, 140, 33), 0);
    record = image_record(4);
    EXPECT_EQ(record->depth, 24);
    EXPECT_EQ(image_pixels(4), std::vector<uint32_t>(140 * 33, 0xCC6633));
}

}  // namespace
