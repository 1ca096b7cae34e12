// Image objects: loading BMP and icon file images from memory (and through a
// registered decoder), refusing malformed ones cleanly, black images, the
// queries and freeing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/core/heap.h"
#include "tests/runtime/image/image_readback.h"
#include "tests/support/heap_blocks.h"
#include "tests/support/runtime_start.h"
#include "tools/gdi_census/gdi_census.h"

extern "C" const unsigned char zorvant_ico[];
extern "C" const uint32_t zorvant_ico_size;

namespace {

void put32(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<unsigned char> target_copy() { return {target_bmp, target_bmp + target_bmp_size}; }
std::vector<unsigned char> icon_copy() { return {zorvant_ico, zorvant_ico + zorvant_ico_size}; }

// A decoder that accepts everything as `kind` and draws a gradient.
int32_t decoder_kind;
int32_t decoder_width, decoder_height;
int decoder_asked;
int32_t counting_accept(FILE*, const void*, int32_t)
{
    ++decoder_asked;
    return decoder_kind;
}
void gradient_read(void* pixels, int32_t stride, int32_t)
{
    int32_t bytes = decoder_kind == 2 ? 4 : 3;
    for (int32_t y = 0; y < decoder_height; ++y)
        for (int32_t x = 0; x < decoder_width; ++x) {
            unsigned char* p = static_cast<unsigned char*>(pixels) + y * stride + x * bytes;
            p[0] = static_cast<unsigned char>(x);  // blue
            p[1] = static_cast<unsigned char>(y * 100);  // green
            p[2] = 0x80;
        }
}
int32_t decoded_width() { return decoder_width; }
int32_t decoded_height() { return decoder_height; }
const ImageDecoder gradient_decoder = {counting_accept, gradient_read, decoded_width, decoded_height};

class ImageLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("images");
        decoder_asked = 0;
        decoder_kind = 0;
    }
    void TearDown() override
    {
        image_free_all();
        image_decoders_reset();
    }
};

TEST_F(ImageLoadTest, TargetLoadsAsA32BitPictureWithItsPixelsInPlace)
{
    intptr_t result = image_from_memory(3, target_bmp);
    ASSERT_NE(result, 0);
    EXPECT_EQ(result, image_handle(3));
    expect_record(3, 100, 100, 32, 0);
    EXPECT_EQ(GetObjectType(image_record(3)->handle), static_cast<DWORD>(OBJ_BITMAP));
    // The file's last row is the top of the picture.
    EXPECT_EQ(image_pixels(3), target_file_pixels());
}

TEST_F(ImageLoadTest, TheSizeBoundsTheReads)
{
    EXPECT_NE(image_from_memory_ex(3, target_bmp, 30056, 0), 0);
    EXPECT_EQ(image_from_memory_ex(3, target_bmp, 30053, 0), 0);
    EXPECT_EQ(image_exists(3), 0);
    EXPECT_EQ(image_from_memory_ex(3, target_bmp, -1, 0), 0);
    EXPECT_EQ(image_from_memory_ex(3, target_bmp, 1, 0), 0);
}

// A 2 x 2 BMP file image of 8 bits with a two-colour table, whose header is
// `header_size` bytes (the later header forms add fields the loader skips).
std::vector<unsigned char> two_colour_bmp(uint32_t header_size)
{
    uint32_t offset = 14 + header_size + 8;
    std::vector<unsigned char> b(offset + 8, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, offset);
    put32(b, 14, header_size);
    put32(b, 18, 2);
    put32(b, 22, 2);
    b[26] = 1;
    b[28] = 8;
    put32(b, 46, 2);
    put32(b, 14 + header_size, 0x000000FF);      // blue
    put32(b, 14 + header_size + 4, 0x0000FF00);  // green
    b[offset] = 1;  // bottom row: green, blue
    b[offset + 4 + 1] = 1;  // top row: blue, green
    return b;
}

TEST_F(ImageLoadTest, PaletteAndLaterHeaderFormsLoad)
{
    for (uint32_t header_size : {40u, 108u, 124u}) {
        std::vector<unsigned char> b = two_colour_bmp(header_size);
        ASSERT_NE(image_from_memory(8, b.data()), 0) << header_size;
        expect_record(8, 2, 2, 32, 0);
        EXPECT_EQ(image_pixels(8), (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0x00FF00, 0x0000FF})) << header_size;
    }
}

TEST_F(ImageLoadTest, DeviceBitmapFlagGivesADeviceDependentPicture)
{
    ASSERT_NE(image_from_memory_ex(3, target_bmp, target_bmp_size, IMAGE_DEVICE_BITMAP), 0);
    ImageRecord* record = image_record(3);
    EXPECT_EQ(record->flags, IMAGE_DEVICE_BITMAP);
    EXPECT_FALSE(is_dib_section(record->handle));
    // The display's format holds the colours exactly from 24 bits up.
    if (record->depth >= 24) {
        EXPECT_EQ(image_pixels(3), target_file_pixels());
    }
}

TEST_F(ImageLoadTest, AnyGivesADynamicHandleThatNamesThePicture)
{
    intptr_t any = image_from_memory(OBJECT_ANY, target_bmp);
    ASSERT_NE(any, 0);
    intptr_t handle = image_handle(any);
    EXPECT_NE(handle, any);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(handle)), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_NE(image_exists(any), 0);
    image_free(any);
    EXPECT_EQ(image_exists(any), 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(handle)), 0u);
}

// Dynamic records live in the list heap.
TEST_F(ImageLoadTest, RefusedDataWithAnyLeavesNoDynamicRecord)
{
    int before = test_heap_blocks(heap_list());
    std::vector<unsigned char> bad = target_copy();
    put32(bad, 18, 0);
    EXPECT_EQ(image_from_memory(OBJECT_ANY, bad.data()), 0);
    EXPECT_EQ(image_from_memory(OBJECT_ANY, nullptr), 0);
    EXPECT_EQ(image_create_ex(OBJECT_ANY, 0, 5, 32), 0);
    EXPECT_EQ(test_heap_blocks(heap_list()), before);
    intptr_t any = image_from_memory(OBJECT_ANY, target_bmp);
    ASSERT_NE(any, 0);
    EXPECT_EQ(test_heap_blocks(heap_list()), before + 1);
    image_free(any);
    EXPECT_EQ(test_heap_blocks(heap_list()), before);
}

TEST_F(ImageLoadTest, LoadIntoAUsedNumberFreesTheOldPictureEvenWhenRefused)
{
    ASSERT_NE(image_from_memory(3, target_bmp), 0);
    HGDIOBJ old = reinterpret_cast<HGDIOBJ>(image_handle(3));
    const unsigned char junk[64] = {'X', 'Y'};
    EXPECT_EQ(image_from_memory(3, junk), 0);
    EXPECT_EQ(GetObjectType(old), 0u);
    EXPECT_EQ(image_exists(3), 0);
    EXPECT_EQ(image_handle(3), 0);
    EXPECT_EQ(image_from_memory(3, nullptr), 0);
}

TEST_F(ImageLoadTest, BmDataIsNeverTriedAnyOtherWay)
{
    ASSERT_EQ(image_decoder_register(&gradient_decoder), 1);
    decoder_kind = 2;
    decoder_width = decoder_height = 4;
    std::vector<unsigned char> bad = target_copy();
    put32(bad, 30, 1);  // run-length: not taken
    EXPECT_EQ(image_from_memory(3, bad.data()), 0);
    EXPECT_EQ(decoder_asked, 0);
}

TEST_F(ImageLoadTest, MalformedBmpFilesFailCleanly)
{
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    };
    const Case cases[] = {
        {"negative width", 18, static_cast<uint32_t>(-100)},
        {"zero width", 18, 0},
        {"zero height", 22, 0},
        {"top-down rows", 22, static_cast<uint32_t>(-100)},
        {"huge width", 18, 0x40000000},
        {"huge height", 22, 0x7FFFFFFF},
        {"pixel offset past the end", 10, 0x7FFFFFF0},
        {"rows past the file-size field", 2, 30000},
        {"two rows more than the data", 22, 102},
        {"2 bits per pixel", 28, 2},
        {"run-length compression", 30, 1},
        {"bit fields", 30, 3},
        {"unknown header size", 14, 64},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bad = target_copy();
        if (c.at == 28)
            bad[28] = static_cast<unsigned char>(c.value), bad[29] = 0;
        else
            put32(bad, c.at, c.value);
        ASSERT_NE(image_from_memory(3, target_bmp), 0);
        EXPECT_EQ(image_from_memory(3, bad.data()), 0) << c.what;
        EXPECT_EQ(image_exists(3), 0) << c.what;
    }
}

TEST_F(ImageLoadTest, IconLoadsFromItsFirstEntryAndIsDestroyedAsAnIcon)
{
    intptr_t result = image_from_memory(5, zorvant_ico);
    ASSERT_NE(result, 0);
    HICON icon = reinterpret_cast<HICON>(result);
    EXPECT_NE(GetObjectType(icon), static_cast<DWORD>(OBJ_BITMAP));
    ImageRecord* record = image_record(5);
    EXPECT_EQ(record->width, 16);
    EXPECT_EQ(record->height, 16);
    EXPECT_EQ(record->depth, 32);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    image_free(5);
    EXPECT_EQ(image_exists(5), 0);
    EXPECT_FALSE(GetIconInfo(icon, &info));  // DestroyIcon, not DeleteObject
}

TEST_F(ImageLoadTest, CursorDirectoryIsRefusedAndEndsInTheDecoderPath)
{
    std::vector<unsigned char> cursor = icon_copy();
    cursor[2] = 2;
    EXPECT_EQ(icon_from_memory(cursor.data()), nullptr);
    ASSERT_EQ(image_decoder_register(&gradient_decoder), 1);
    EXPECT_EQ(image_from_memory(5, cursor.data()), 0);
    EXPECT_EQ(decoder_asked, 1);
    EXPECT_EQ(image_exists(5), 0);
}

TEST_F(ImageLoadTest, MalformedIconsFailCleanly)
{
    std::vector<unsigned char> bad = icon_copy();
    bad[0] = 1;  // reserved
    EXPECT_EQ(image_from_memory(5, bad.data()), 0);
    bad = icon_copy();
    bad[4] = 0;  // no entries
    EXPECT_EQ(image_from_memory(5, bad.data()), 0);
    bad = icon_copy();
    put32(bad, 6 + 8, 0x7FFFFFFF);  // entry data past the size
    EXPECT_EQ(image_from_memory(5, bad.data()), 0);
    bad = icon_copy();
    put32(bad, 6 + 12, 0xFFFFFF00);
    EXPECT_EQ(image_from_memory(5, bad.data()), 0);
    bad = icon_copy();
    uint32_t first = bad[18] | (bad[19] << 8);
    put32(bad, first + 4, 30000);  // a header that asks for a huge icon
    EXPECT_EQ(image_from_memory(5, bad.data()), 0);
    EXPECT_EQ(image_from_memory_ex(5, zorvant_ico, 30, 0), 0);  // cut short
    EXPECT_EQ(image_exists(5), 0);
    EXPECT_NE(image_from_memory_ex(5, zorvant_ico, zorvant_ico_size, 0), 0);
}

TEST_F(ImageLoadTest, DecoderPictureArrivesTopRowFirstInEitherDepth)
{
    ASSERT_EQ(image_decoder_register(&gradient_decoder), 1);
    decoder_width = 5;  // odd: the 24-bit rows are padded
    decoder_height = 3;
    const unsigned char other[16] = {'Q'};
    for (int32_t kind : {2, 1}) {
        decoder_kind = kind;
        ASSERT_NE(image_from_memory(7, other), 0) << kind;
        expect_record(7, 5, 3, kind == 2 ? 32 : 24, 0);
        std::vector<uint32_t> pixels = image_pixels(7);
        ASSERT_EQ(pixels.size(), 15u);
        EXPECT_EQ(pixels[0], 0x800000u);
        EXPECT_EQ(pixels[2 * 5 + 4], 0x80C804u);
        // A top-down picture keeps its way up through the averaging resize.
        ASSERT_NE(image_resize(7, 5, 6), 0);
        pixels = image_pixels(7);
        ASSERT_EQ(pixels.size(), 30u);
        EXPECT_EQ(pixels[1 * 5 + 4], 0x800004u);
        EXPECT_EQ(pixels[5 * 5 + 4], 0x80C804u);
    }
    ASSERT_NE(image_from_memory_ex(7, other, 16, IMAGE_DEVICE_BITMAP), 0);
    EXPECT_EQ(image_record(7)->flags, IMAGE_DEVICE_BITMAP);
    EXPECT_FALSE(is_dib_section(image_record(7)->handle));
    decoder_width = 0;
    EXPECT_EQ(image_from_memory(7, other), 0);
    decoder_width = 100000;
    EXPECT_EQ(image_from_memory(7, other), 0);
}

// The short form vouches for its data; rows the platform then cannot read
// fail the load rather than give a black picture, and leave no bitmap.
TEST_F(ImageLoadTest, RowsThePlatformCannotConvertFailTheLoad)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    auto* pages = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(VirtualAlloc(pages, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    // The target's headers end the readable page; its rows would follow.
    unsigned char* headers = pages + page - 54;
    std::memcpy(headers, target_bmp, 54);
    GdiCensus before = gdi_census();
    EXPECT_EQ(image_from_memory(3, headers), 0);
    EXPECT_EQ(image_exists(3), 0);
    EXPECT_EQ(gdi_census(), before);
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(ImageLoadTest, FreeOfNothingDoesNothing)
{
    ASSERT_NE(image_from_memory(4, target_bmp), 0);
    image_free(OBJECT_ANY);
    image_free(9);
    image_free(123456);
    EXPECT_NE(image_exists(4), 0);
    image_free(4);
    EXPECT_EQ(image_exists(4), 0);
    EXPECT_EQ(image_handle(4), 0);
    EXPECT_EQ(image_record(4), nullptr);
}

// In the display's format, or a section of the depth asked.
TEST_F(ImageLoadTest, CreateGivesABlackPicture)
{
    intptr_t handle = image_create(100, 100, 100);
    ASSERT_NE(handle, 0);
    HDC screen = GetDC(nullptr);
    expect_record(100, 100, 100, GetDeviceCaps(screen, BITSPIXEL), IMAGE_DEVICE_BITMAP);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(image_pixels(100), std::vector<uint32_t>(10000, 0));
    ASSERT_NE(image_create_ex(101, 30, 20, 24), 0);
    expect_record(101, 30, 20, 24, 0);
    EXPECT_EQ(image_pixels(101), std::vector<uint32_t>(600, 0));
}

TEST_F(ImageLoadTest, CreateRefusesSidesARecordCannotHoldAndTablelessDepths)
{
    EXPECT_EQ(image_create(100, 0, 10), 0);
    EXPECT_EQ(image_create(100, 10, -1), 0);
    EXPECT_EQ(image_create_ex(100, 40000, 10, 32), 0);
    EXPECT_EQ(image_create_ex(100, 10, 10, 8), 0);  // would need a colour table
    EXPECT_EQ(image_create_ex(100, 10, 10, 0), 0);
    EXPECT_EQ(image_exists(100), 0);
}

// A dynamic handle is a heap address. Claiming it as a number, or one above
// it, must not grow the table over the live image it names.
TEST_F(ImageLoadTest, ADynamicHandleIsNeverTakenForATableNumber)
{
    intptr_t any = image_create_ex(OBJECT_ANY, 8, 8, 32);
    ASSERT_NE(any, 0);
    intptr_t picture = image_handle(any);
    EXPECT_EQ(image_create_ex(any, 8, 8, 32), 0);
    EXPECT_EQ(image_create_ex(any + 4096, 8, 8, 32), 0);
    EXPECT_EQ(image_handle(any), picture);
    image_free_all();
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(picture)), 0u);
}

// Loaded, made or freed, no image leaves a GDI object behind: not the
// icon's bitmaps, not a context of the conversions.
TEST_F(ImageLoadTest, FreeAllFreesTableAndDynamicImages)
{
    GdiCensus before = gdi_census();
    ASSERT_NE(image_from_memory(3, target_bmp), 0);
    ASSERT_NE(image_from_memory(5, zorvant_ico), 0);
    ASSERT_NE(image_create(6, 4, 4), 0);
    ASSERT_NE(image_create(6, 5, 5), 0);
    intptr_t any = image_create_ex(OBJECT_ANY, 8, 8, 32);
    ASSERT_NE(any, 0);
    HGDIOBJ a = reinterpret_cast<HGDIOBJ>(image_handle(3));
    HGDIOBJ b = reinterpret_cast<HGDIOBJ>(image_handle(any));
    image_free_all();
    EXPECT_EQ(image_exists(3), 0);
    EXPECT_EQ(image_exists(any), 0);
    EXPECT_EQ(GetObjectType(a), 0u);
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(gdi_census(), before);
}

}  // namespace
