// Pictures the player reads and writes: screenshots as 24-bit BMP or 8-bit
// RGB PNG files, and the score card, a PNG decoded to check its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels top row first, three bytes each: red, green, blue.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// The colour at x, y as 0x00BBGGRR; 0xFFFFFFFF outside the picture.
uint32_t picture_pixel(const Picture& picture, int32_t x, int32_t y);

// A 24-bit bottom-up BMP file of the picture.
std::vector<uint8_t> bmp_encode(const Picture& picture);
// Reads an uncompressed 24-bit BMP file (either row order); false on anything
// else or on short data.
bool bmp_decode(const std::vector<uint8_t>& file, Picture& picture);

// An 8-bit RGB PNG file of the picture: unfiltered rows, deflated.
std::vector<uint8_t> png_encode(const Picture& picture);

// Walks the PNG chunks from the signature to IEND, checking every CRC; end is
// the offset just past IEND. Then decodes an 8-bit RGB, non-interlaced image.
// False on a malformed stream or another pixel format.
bool png_decode(const std::vector<uint8_t>& file, Picture& picture, size_t& end);

