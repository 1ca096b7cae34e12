// Bounds of device-independent bitmaps in memory: every field is read inside
// the known size, and a layout is accepted only when the rows its header
// promises are all there.
#include "runtime/image/dib_check.h"

#include "runtime/core/bounded_bytes.h"

namespace {

const size_t FILE_HEADER_SIZE = 14;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t BI_RGB_COMPRESSION = 0;

uint64_t row_bytes(int32_t width, uint32_t bits)
{
    return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
}

// The header fields both checks share, read from a BITMAPINFOHEADER.
struct InfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint32_t bits;
    uint64_t info_bytes;  // header and colour table
};

// The header starts at `at` in the bytes.
bool info_header_read(BoundedBytes& bytes, size_t at, InfoHeader* info)
{
    info->size = bytes_u32(bytes, at);
    info->width = static_cast<int32_t>(bytes_u32(bytes, at + 4));
    info->height = static_cast<int32_t>(bytes_u32(bytes, at + 8));
    uint32_t planes = bytes_u16(bytes, at + 12);
    info->bits = bytes_u16(bytes, at + 14);
    uint32_t compression = bytes_u32(bytes, at + 16);
    uint32_t colours_used = bytes_u32(bytes, at + 32);
    uint32_t bits = info->bits;
    if (bytes.failed || planes != 1 || compression != BI_RGB_COMPRESSION ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return false;
    // The conversion reads a full table below 16 bits when the count is 0.
    uint64_t entries = colours_used;
    if (bits <= 8) {
        if (colours_used > (1u << bits))
            return false;
        if (colours_used == 0)
            entries = 1u << bits;
    } else if (colours_used > 256) {
        return false;
    }
    info->info_bytes = info->size + entries * 4;
    return true;
}

}  // namespace

bool bmp_file_check(const unsigned char* data, size_t size, BmpFileLayout* layout)
{
    if (!data || size < FILE_HEADER_SIZE + INFO_HEADER_SIZE || data[0] != 'B' || data[1] != 'M')
        return false;
    BoundedBytes bytes = bounded_bytes(data, size);
    // Both the caller's size and the file's own size field bound the reads.
    uint64_t available = bytes_u32(bytes, 2);
    if (available > size)
        available = size;
    InfoHeader info;
    if (!info_header_read(bytes, BMP_INFO_OFFSET, &info))
        return false;
    if (!(info.size == 40 || info.size == 108 || info.size == 124))
        return false;
    if (info.width < 1 || info.width > BMP_MAX_SIDE || info.height < 1 || info.height > BMP_MAX_SIDE)
        return false;
    uint32_t pixel_offset = bytes_u32(bytes, 10);
    uint64_t rows_end = pixel_offset + row_bytes(info.width, info.bits) * static_cast<uint64_t>(info.height);
    if (BMP_INFO_OFFSET + info.info_bytes > pixel_offset || rows_end > available)
        return false;
    layout->width = info.width;
    layout->height = info.height;
    layout->pixel_offset = pixel_offset;
    return true;
}

bool icon_image_check(const unsigned char* image, size_t size)
{
    BoundedBytes bytes = bounded_bytes(image, size);
    InfoHeader info;
    if (!image || size < INFO_HEADER_SIZE || !info_header_read(bytes, 0, &info) || info.size != INFO_HEADER_SIZE)
        return false;
    int32_t height = info.height / 2;
    if (info.width < 1 || info.width > ICON_MAX_SIDE || height < 1 || height > ICON_MAX_SIDE ||
        info.height != height * 2)
        return false;
    uint64_t rows = (row_bytes(info.width, info.bits) + row_bytes(info.width, 1)) * static_cast<uint64_t>(height);
    return info.info_bytes + rows <= size;
}
