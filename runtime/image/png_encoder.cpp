// The PNG encoder: 24-bit rows from image_save written through libpng as an
// 8-bit RGB PNG, top row first, every row with the filter None, at zlib
// level 9, with no ancillary chunks.
#include <png.h>

#include <cstdio>

#include "runtime/image/image_save.h"

namespace {

const ImageEncoder png_entry = {ENCODER_PNG, png_encode};
bool png_registered;

int32_t png_abandon(png_structp* png, png_infop* info, FILE* file)
{
    png_destroy_write_struct(png, info);
    fclose(file);
    return 0;
}

}  // namespace

void png_encoder_register()
{
    if (!png_registered)
        png_registered = encoder_register(&png_entry) != 0;
}

int32_t png_encode(const char* file_name, const unsigned char* pixels, int32_t width, int32_t height,
                   int32_t stride, int32_t)
{
    // In 64 bits: three bytes a pixel of a wide row would wrap a 32-bit sum.
    if (!file_name || !pixels || stride < static_cast<int64_t>(width) * 3)
        return 0;
    FILE* file = fopen(file_name, "wb");
    if (!file)
        return 0;
    // libpng 1.6 refuses a version string of another series (the create call
    // gives null), so the linked library's own string is passed. No handlers
    // of our own: libpng's report errors by returning to the jump buffer.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        fclose(file);
        return 0;
    }
    // Made before the jump point, so that no local changes between setjmp
    // and a longjmp back to it.
    png_infop info = png_create_info_struct(png);
    if (!info)
        return png_abandon(&png, &info, file);
    if (setjmp(png_jmpbuf(png)))
        return png_abandon(&png, &info, file);
    png_init_io(png, file);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    // The rows hold blue, green, red; the file gets red, green, blue.
    png_set_bgr(png);
    png_write_info(png, info);
    // The buffer's last row is the image's top row. libpng reads width * 3
    // bytes of each row and never the fill bytes.
    for (int32_t r = height - 1; r >= 0; --r)
        png_write_row(png, const_cast<png_bytep>(pixels + static_cast<size_t>(r) * stride));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0 ? 1 : 0;
}
