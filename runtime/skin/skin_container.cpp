// Skin container layout: header fields and the bounds of the region data and
// the picture within the payload. All sums are 64-bit, so no field value can
// wrap a check around.
#include "runtime/skin/skin_container.h"

#include "runtime/core/bounded_bytes.h"
#include "runtime/skin/packed_block.h"

namespace {

const uint32_t REGION_HEADER_SIZE = 32;  // RGNDATAHEADER
const uint32_t REGION_RECT_SIZE = 16;    // RECT
const uint32_t BMP_FILE_HEADER_SIZE = 14;
const uint32_t BMP_INFO_HEADER_SIZE = 40;
const uint32_t BMP_BI_RGB = 0;
const uint32_t BMP_BI_BITFIELDS = 3;
const uint32_t BMP_MAGIC = 0x4D42;  // "BM"

bool region_fits(const uint8_t* region, uint32_t size)
{
    BoundedBytes r = bounded_bytes(region, size);
    uint32_t header_size = bytes_u32(r, 0);
    uint64_t rects = bytes_u32(r, 8);
    return !r.failed && header_size == REGION_HEADER_SIZE && REGION_HEADER_SIZE + rects * REGION_RECT_SIZE <= size;
}

// The three fields that the loader reads, and everything that SetDIBits
// will read from the picture, lie inside its `size` bytes.
bool picture_fits(const uint8_t* p, uint32_t size)
{
    if (size < BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE)
        return false;
    BoundedBytes b = bounded_bytes(p, size);
    uint32_t magic = bytes_u16(b, 0);
    uint64_t pixels = bytes_u32(b, 10);
    uint64_t info_size = bytes_u32(b, 14);
    int32_t width = int32_t(bytes_u32(b, 18));
    int32_t height = int32_t(bytes_u32(b, 22));
    uint32_t depth = bytes_u16(b, 28);
    uint32_t compression = bytes_u32(b, 30);
    uint64_t colours_used = bytes_u32(b, 46);
    if (b.failed || magic != BMP_MAGIC || info_size < BMP_INFO_HEADER_SIZE || width <= 0 || height <= 0)
        return false;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    bool bitfields = compression == BMP_BI_BITFIELDS && (depth == 16 || depth == 32);
    if (compression != BMP_BI_RGB && !bitfields)
        return false;
    uint64_t table = depth <= 8 ? (colours_used ? colours_used : 1u << depth) * 4 : colours_used * 4;
    if (bitfields && info_size == BMP_INFO_HEADER_SIZE)
        table += 12;  // the three masks follow a plain info header
    if (!bytes_fit(BMP_FILE_HEADER_SIZE, info_size + table, size))
        return false;
    uint64_t stride = (uint64_t(width) * depth + 31) / 32 * 4;
    return bytes_fit(pixels, stride * uint64_t(height), size);
}

}  // namespace

bool skin_container_read(const void* container, size_t size, SkinContainerHeader* header)
{
    const uint8_t* c = static_cast<const uint8_t*>(container);
    if (!c || size < SKIN_CONTAINER_HEADER_SIZE || c[0] != 'D' || c[1] != 'K' || c[2] != 'P' || c[3] != 'S')
        return false;
    BoundedBytes b = bounded_bytes(c, size);
    uint32_t fields[11];
    for (int k = 0; k < 11; ++k)
        fields[k] = bytes_u32(b, 4 + 4 * k);
    *header = SkinContainerHeader{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                                  fields[6], fields[7], fields[8], int32_t(fields[9]), int32_t(fields[10])};
    return header->version == SKIN_CONTAINER_VERSION && header->header_size == SKIN_CONTAINER_HEADER_SIZE;
}

bool skin_payload_check(const SkinContainerHeader& header, const uint8_t* payload, size_t payload_size)
{
    if (!payload || !bytes_fit(header.region_offset, header.region_size, payload_size) ||
        !region_fits(payload + header.region_offset, header.region_size))
        return false;
    if (header.bitmap_size == 0)
        return true;
    return bytes_fit(header.bitmap_offset, header.bitmap_size, payload_size) &&
           picture_fits(payload + header.bitmap_offset, header.bitmap_size);
}

bool skin_container_payload(const void* container, size_t size, const SkinContainerHeader& header,
                            uint8_t* buffer, const uint8_t** payload, size_t* payload_size)
{
    const uint8_t* stored = static_cast<const uint8_t*>(container) + SKIN_CONTAINER_HEADER_SIZE;
    size_t stored_size = size - SKIN_CONTAINER_HEADER_SIZE;
    if (header.packed) {
        // A sound empty block and a failed one both write nothing: only the
        // checked form tells them apart.
        uint32_t written = 0;
        if (!buffer ||
            !packed_block_unpack_checked(stored, stored_size, buffer, header.unpacked_size, &written) ||
            written != header.unpacked_size)
            return false;
        stored = buffer;
    } else if (header.unpacked_size > stored_size) {
        return false;
    }
    // A plain payload is as long as its unpacked-size field says, which also
    // bounds a container whose own size the caller does not know.
    stored_size = header.unpacked_size;
    if (!skin_payload_check(header, stored, stored_size))
        return false;
    *payload = stored;
    *payload_size = stored_size;
    return true;
}
