// Images: numbered objects that each own one platform picture (a bitmap, or an
// icon loaded from an icon file image). Loading from memory, blank images,
// copy and resize, and the image library's state block.
#pragma once

#include <windows.h>
#include <cstdint>
#include <cstdio>

#include "runtime/core/object.h"
#include "runtime/image/drawing_output.h"

// Record flag: the bitmap is device-dependent (the display's format); clear,
// it is a DIB section.
const int32_t IMAGE_DEVICE_BITMAP = 0x80;
// Depth for image_create_ex that asks for a device-dependent bitmap.
const int32_t IMAGE_DEPTH_DEVICE = 128;

// The object record of the image table.
struct ImageRecord {
    HGDIOBJ handle;  // HBITMAP or HICON; null marks a free slot
    int16_t width;   // as the platform reports it for the bitmap
    int16_t height;
    uint8_t depth;   // bits per pixel (bmBitsPixel)
    uint8_t flags;   // IMAGE_DEVICE_BITMAP or 0
};
static_assert(sizeof(ImageRecord) == layout_size(12, 16) && offsetof(ImageRecord, handle) == 0,
              "ImageRecord: the picture first");

// The image library's state block: the image output that the drawing library
// draws through.
struct ImageState {
    HDC device_context;    // the image output's own context; null when none
    DrawingOutput output;  // made by image_output
};

// A picture format beyond BMP and icons. The list of decoders is empty in the
// program; image_decoder_register adds one.
struct ImageDecoder {
    // 0: not this format; 2: accepted, decode to 32 bits; other: 24 bits.
    int32_t (*accept)(FILE* file, const void* data, int32_t size);
    // Writes the accepted picture top row first, `stride` bytes a row.
    void (*read)(void* pixels, int32_t stride, int32_t reserved);
    int32_t (*width)();
    int32_t (*height)();
};
static_assert(sizeof(ImageDecoder) == layout_size(16, 32), "ImageDecoder: four operations");

// Start steps: the decoder list is emptied; the image table and state block
// are made (a second call keeps them). End step: every live image is freed.
void image_decoders_reset();
void image_library_start();
void image_free_all();

// Adds a decoder after those registered before; 0 when the list is full.
int32_t image_decoder_register(const ImageDecoder* decoder);

// The live record of the number, or null; the state block (null before start).
ImageRecord* image_record(ObjectNumber number);
ImageState* image_state();

// Within the image library: claims the number's record (freeing an image that
// had it); releases a record that has no picture (any more) and returns 0;
// gives the create result for a filled record.
ImageRecord* image_record_claim(ObjectNumber number);
intptr_t image_record_abandon(ObjectNumber number, ImageRecord* record);
intptr_t image_create_result(ObjectNumber number, const ImageRecord* record);

// A blank bitmap: device-dependent when flags has IMAGE_DEVICE_BITMAP,
// otherwise a bottom-up DIB section of `depth` (16, 24 or 32) bits. Sides run
// from 1 to 32767. Null on failure.
HBITMAP bitmap_create(int32_t width, int32_t height, int32_t flags, int32_t depth);

// An icon from an icon file image (first entry only), or null.
HICON icon_from_memory(const void* data);

// Create results: the picture's handle for a table number, the dynamic handle
// for OBJECT_ANY, 0 on failure. A number in use is freed first.
//
// Loads a BMP file image, an icon file image, or what a decoder accepts; no
// read goes past `size` bytes (the short form passes 10,000,000).
intptr_t image_from_memory(ObjectNumber number, const void* data);
intptr_t image_from_memory_ex(ObjectNumber number, const void* data, int32_t size, int32_t flags);
// A black image: depth 16, 24 or 32 gives a DIB section, IMAGE_DEPTH_DEVICE a
// device-dependent bitmap. The short form uses IMAGE_DEPTH_DEVICE.
intptr_t image_create(ObjectNumber number, int32_t width, int32_t height);
intptr_t image_create_ex(ObjectNumber number, int32_t width, int32_t height, int32_t depth);

// The record's handle, or 0; non-zero if the number names a live image.
intptr_t image_handle(ObjectNumber number);
intptr_t image_exists(ObjectNumber number);
// Destroys the picture and releases the number; nothing for a free number.
void image_free(ObjectNumber number);

// A new independent image with the source's size, depth and flags.
intptr_t image_copy(ObjectNumber source, ObjectNumber destination);
// Stretches the picture to a new size, replacing its bitmap; gives the new
// handle (the old one when the size is unchanged) or 0. Mode 0 averages the
// covered source pixels; any other mode picks one source pixel each. Icons
// are refused. The short form uses mode 0.
intptr_t image_resize(ObjectNumber number, int32_t width, int32_t height);
intptr_t image_resize_ex(ObjectNumber number, int32_t width, int32_t height, int32_t mode);
