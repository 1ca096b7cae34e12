// Pictures the player reads and writes: screenshots as 24-bit BMP or 8-bit
// RGB PNG files, and the score card, a PNG decoded to check its pixels. The
// PNG file writer and predictor serve the asset maker's icon too.
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

// A PNG file of 8-bit channels, not interlaced, of the colour type (2 RGB,
// 6 RGBA): rows holds every row already filtered, its filter byte first, and
// is deflated at the zlib level.
std::vector<uint8_t> png_file(int32_t width, int32_t height, uint8_t colour_type, const std::vector<uint8_t>& rows,
                              int level);
// The PNG filters' Paeth predictor of a byte from its left, upper and upper
// left neighbours.
int32_t png_paeth(int32_t left, int32_t up, int32_t up_left);

// Walks the PNG chunks from the signature to IEND, checking every CRC; end is
// the offset just past IEND. Then decodes an 8-bit RGB, non-interlaced image.
// False on a malformed stream or another pixel format.
bool png_decode(const std::vector<uint8_t>& file, Picture& picture, size_t& end);

