// Skin container layout: the "DKPS" header and the checks that keep the
// region data and the BMP picture inside the payload. Needs no platform, so
// the loader's parsing is tested and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>

const uint32_t SKIN_CONTAINER_VERSION = 1;
const uint32_t SKIN_CONTAINER_HEADER_SIZE = 48;

// The header's fields after the magic, in file order.
struct SkinContainerHeader {
    uint32_t version;
    uint32_t header_size;
    uint32_t packed;
    uint32_t unpacked_size;
    uint32_t packed_size;
    uint32_t region_size;
    uint32_t region_offset;
    uint32_t bitmap_size;
    uint32_t bitmap_offset;
    int32_t width;
    int32_t height;
};

// Reads the header of a container of `size` bytes: false when it is null,
// shorter than its header, or its magic, version or header size is wrong.
bool skin_container_read(const void* container, size_t size, SkinContainerHeader* header);

// Payload checks: the region data lies inside the payload and holds its own
// header and rectangles; the picture, when there is one, lies inside the
// payload, starts with "BM", and its info header, colour table and pixel
// rows lie inside the picture, uncompressed (or with bit fields), bottom-up.
bool skin_payload_check(const SkinContainerHeader& header, const uint8_t* payload, size_t payload_size);

// Unpacks or points at the payload, then checks it. The payload is the
// header's unpacked size of bytes, also when stored plain: a container that
// holds fewer is refused. `buffer` receives those bytes when the container
// is packed (the caller allocates it); `payload` and `payload_size` are set
// on success.
bool skin_container_payload(const void* container, size_t size, const SkinContainerHeader& header,
                            uint8_t* buffer, const uint8_t** payload, size_t* payload_size);
