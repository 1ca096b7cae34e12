// Checks device-independent bitmaps held in memory (BMP file images and the
// images inside icon files) before any of them reaches the platform: headers,
// colour table and every pixel row must lie inside the known bytes.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

// Offset of the BITMAPINFO (header, then colour table) in a BMP file image.
const uint32_t BMP_INFO_OFFSET = 14;
// Widest and tallest picture an image record can describe (16-bit fields).
const int32_t BMP_MAX_SIDE = 32767;
// Largest side of an icon image.
const int32_t ICON_MAX_SIDE = 256;

struct BmpFileLayout {
    int32_t width;
    int32_t height;         // rows, stored bottom row first
    uint32_t pixel_offset;  // first pixel row, from the start of the file
};

// True, with the layout filled, when the `size` bytes at `data` hold a BMP
// file image the loader takes: "BM", a 40-, 108- or 124-byte header, 1 plane,
// 1, 4, 8, 16, 24 or 32 bits per pixel, BI_RGB, width and height from 1 to
// BMP_MAX_SIDE (bottom-up only), and headers, colour table and rows inside
// both `size` and the file-size field.
bool bmp_file_check(const unsigned char* data, size_t size, BmpFileLayout* layout);

// True when the `size` bytes at `image` hold an icon image in resource form:
// a 40-byte header whose height is twice the icon's, sides from 1 to
// ICON_MAX_SIDE, a depth as above, BI_RGB, then the colour table, the colour
// rows and the 1-bit mask rows, all inside `size`.
bool icon_image_check(const unsigned char* image, size_t size);
