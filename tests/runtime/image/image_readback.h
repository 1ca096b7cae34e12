// An image read back for the image tests: its record field by field, what kind
// of bitmap it holds, its pixels; and the embedded target picture's own
// pixels to compare with.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/image/image.h"
#include "tests/support/pixels.h"

extern "C" const unsigned char target_bmp[];
extern "C" const uint32_t target_bmp_size;

// The image's pixels as 0x00RRGGBB, top row first; empty for no image.
inline std::vector<uint32_t> image_pixels(ObjectNumber number)
{
    ImageRecord* record = image_record(number);
    return record ? test_bitmap_pixels(record->handle, record->width, record->height) : std::vector<uint32_t>();
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
