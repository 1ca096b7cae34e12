// Helpers of the image tests: the library started once per program, pixels
// read back from the platform, and the embedded pictures.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/image/image.h"

extern "C" const unsigned char target_bmp[];
extern "C" const uint32_t target_bmp_size;

inline void image_test_start()
{
    heap_main_create();
    heap_list_create();
    image_decoders_reset();
    image_library_start();
}

// The bitmap's pixels as 0x00RRGGBB, top row first, read with GetDIBits.
inline std::vector<uint32_t> pixels_of(HGDIOBJ bitmap, int32_t width, int32_t height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xDEADBEEF);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, static_cast<HBITMAP>(bitmap), 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != height)
        pixels.clear();
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

inline std::vector<uint32_t> image_pixels(ObjectNumber number)
{
    ImageRecord* record = image_record(number);
    return record ? pixels_of(record->handle, record->width, record->height) : std::vector<uint32_t>();
}

// The target picture's own pixels as 0x00RRGGBB, top row first.
inline std::vector<uint32_t> target_file_pixels()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 100; ++y) {
        const unsigned char* row = target_bmp + 54 + (99 - y) * 300;
        for (int x = 0; x < 100; ++x)
            pixels.push_back(row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16));
    }
    return pixels;
}

inline bool is_dib_section(HGDIOBJ bitmap)
{
    DIBSECTION section;
    return GetObjectA(bitmap, sizeof section, &section) == sizeof section;
}

// The record of a live image, field by field, and what kind of bitmap it holds.
inline void expect_record(ObjectNumber number, int width, int height, int depth, int flags)
{
    ImageRecord* record = image_record(number);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, width);
    EXPECT_EQ(record->height, height);
    EXPECT_EQ(record->depth, depth);
    EXPECT_EQ(record->flags, flags);
    EXPECT_EQ(is_dib_section(record->handle), !(flags & IMAGE_DEVICE_BITMAP));
}
