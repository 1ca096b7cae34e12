// Image saving: an image's pixels read as 24-bit rows, stored by the built-in
// BMP writer (encoder 0) or by a registered encoder chosen by its identifier.
// The library owns the encoder list; the PNG encoder writes through libpng.
#pragma once

#include <cstdint>

#include "runtime/core/object.h"

// Selects the PNG encoder: its bytes in memory are "PNG" and a zero.
const uint32_t ENCODER_PNG = 0x474E50;
// Encoder 0 is the BMP writer.
const uint32_t ENCODER_BMP = 0;
const int32_t ENCODER_LIST_SIZE = 100;

// Rows handed to an encoder: `height` rows of `stride` bytes, bottom row
// first, each holding width pixels of blue, green, red and (width AND 3)
// fill bytes.
typedef int32_t (*ImageEncodeFn)(const char* file_name, const unsigned char* pixels, int32_t width,
                                 int32_t height, int32_t stride, int32_t option);

struct ImageEncoder {
    uint32_t identifier;   // selects the encoder in image_save
    ImageEncodeFn encode;  // writes the file; non-zero on success
};
static_assert(sizeof(ImageEncoder) == layout_size(8, 16), "ImageEncoder: identifier, then operation");

// A 24-bit row rounded up to a multiple of 4 bytes.
inline int32_t image_row_stride(int32_t width)
{
    return width * 3 + (width & 3);
}

// 1 (or the encoder's non-zero result) on success, 0 on failure: no such
// image, an icon, a null file name, no encoder with the identifier, a file
// that cannot be written. The option goes to the encoder unchanged; the short
// form passes 7. A file created before a failure stays as far as written.
intptr_t image_save_ex(ObjectNumber number, const char* file_name, uint32_t encoder, int32_t option);
intptr_t image_save(ObjectNumber number, const char* file_name, uint32_t encoder);

// Appends the entry (a static record of its provider) to the encoder list:
// 1, or 0 when the list already holds ENCODER_LIST_SIZE entries.
int32_t encoder_register(const ImageEncoder* entry);
// The first entry with the identifier encodes: its result, or 0 if none.
int32_t encoder_run(const char* file_name, const unsigned char* pixels, uint32_t encoder, int32_t width,
                    int32_t height, int32_t stride, int32_t option);

// Registers {ENCODER_PNG, png_encode} once; later calls do nothing.
void png_encoder_register();
// Writes an 8-bit RGB PNG, top row first, without filters, at zlib level 9:
// 1 on success, 0 on failure. The option is ignored. A stride shorter than
// width x 3 bytes, which image_save never gives but a caller of the encoder
// list may, fails before libpng would read past a row.
int32_t png_encode(const char* file_name, const unsigned char* pixels, int32_t width, int32_t height,
                   int32_t stride, int32_t option);
