// Area-averaging stretch of packed pixel rows: each destination pixel is the
// average of the source pixels it covers, weighted by how much of each it
// covers. Platform-free; the image library runs it over DIB section memory.
#pragma once

#include <cstdint>

struct PixelRows {
    unsigned char* pixels;  // first row
    int32_t width;
    int32_t height;
    int32_t stride;  // bytes from one row to the next
};

// Every byte of a pixel (1 to 4 bytes a pixel) is averaged on its own, with
// rounding to nearest. Rows are in the same order on both sides (bottom-up
// or top-down alike). Sizes must be positive.
void image_average_stretch(const PixelRows& source, const PixelRows& destination, int32_t bytes_per_pixel);
