// Shared by the skin tests: the embedded game skin, and skin containers built
// in memory (plain payloads, so no packer is needed).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

extern "C" const unsigned char asset_skin[];
extern "C" const uint32_t asset_skin_size;

struct ContainerLayout {
    std::vector<RECT> rects = {{0, 0, 40, 30}};
    int32_t picture_width = 8;   // 0: no picture
    int32_t picture_height = 4;
    uint32_t version = 1;
    uint32_t header_size = 48;
};

// RGNDATA for the rectangles, bound to their union.
std::vector<uint8_t> region_data(const std::vector<RECT>& rects);

// A 24-bit bottom-up BMP file image whose pixel (x, y) from the top is
// colour(x, y) = RGB(x * 7, y * 11, 0x40), two bytes after the last row.
std::vector<uint8_t> bmp_picture(int32_t width, int32_t height);

// A plain container: region data at 0, the picture right behind it.
std::vector<uint8_t> plain_container(const ContainerLayout& layout);

// Writes a 32-bit little-endian field of a container or payload.
void set32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);
