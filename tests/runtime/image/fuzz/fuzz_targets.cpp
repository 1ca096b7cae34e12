// Fuzz targets of the bitmap checks. Inputs are copied into blocks of their
// exact size, and every byte that the platform's conversion would read is
// read here, so that the address sanitizer sees any promise past the end.
// The layouts are worked out from the fields again, independently of the
// checks.
#include "tests/runtime/image/fuzz/fuzz_targets.h"

#include <vector>

#include "runtime/image/dib_check.h"
#include "tests/support/fuzz_target.h"

namespace {

volatile uint32_t sink;

uint32_t u16(const uint8_t* p) { return p[0] | p[1] << 8; }

uint32_t u32(const uint8_t* p) { return u16(p) | u16(p + 2) << 16; }

// Bytes of the header and colour table of the BITMAPINFO at `info`: a table
// below 16 bits per pixel is full when its count is 0.
uint64_t info_bytes(const uint8_t* info)
{
    uint32_t bits = u16(info + 14);
    uint64_t colours = u32(info + 32);
    if (colours == 0 && bits < 16)
        colours = uint64_t(1) << bits;
    return u32(info) + colours * 4;
}

uint64_t row_bytes(const uint8_t* info, uint32_t bits)
{
    return (uint64_t(u32(info + 4)) * bits + 31) / 32 * 4;
}

void touch(const uint8_t* p, uint64_t n)
{
    uint32_t s = 0;
    for (uint64_t k = 0; k < n; ++k)
        s += p[k];
    sink = s;
}

}  // namespace

int fuzz_bmp_file(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    size_t allocated = fuzz_allocated_bytes();
    BmpFileLayout layout;
    bool accepted = bmp_file_check(file.data(), file.size(), &layout);
    fuzz_require(fuzz_allocated_bytes() == allocated);
    if (!accepted)
        return 0;
    const uint8_t* info = file.data() + BMP_INFO_OFFSET;
    int32_t width = int32_t(u32(info + 4));
    int32_t height = int32_t(u32(info + 8));
    fuzz_require(layout.width == width && layout.height == height && layout.pixel_offset == u32(file.data() + 10));
    fuzz_require(width >= 1 && height >= 1);
    uint64_t rows_end = layout.pixel_offset + row_bytes(info, u16(info + 14)) * uint64_t(height);
    fuzz_require(BMP_INFO_OFFSET + info_bytes(info) <= layout.pixel_offset);
    fuzz_require(rows_end <= size && rows_end <= u32(file.data() + 2));
    touch(file.data(), rows_end);
    return 0;
}

int fuzz_icon_image(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> image(data, data + size);
    size_t allocated = fuzz_allocated_bytes();
    bool accepted = icon_image_check(image.data(), image.size());
    fuzz_require(fuzz_allocated_bytes() == allocated);
    if (!accepted)
        return 0;
    // The header's height counts the colour rows and the mask rows.
    int32_t height = int32_t(u32(image.data() + 8));
    fuzz_require(height >= 2 && height % 2 == 0);
    uint64_t row = row_bytes(image.data(), u16(image.data() + 14)) + row_bytes(image.data(), 1);
    uint64_t end = info_bytes(image.data()) + row * uint64_t(height / 2);
    fuzz_require(end <= size);
    touch(image.data(), end);
    return 0;
}
