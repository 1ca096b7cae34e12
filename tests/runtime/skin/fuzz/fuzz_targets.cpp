// Fuzz targets of the skin library's platform-free code. Inputs are copied
// into blocks of their exact size, so that the address sanitizer sees any
// read past their end.
#include "tests/runtime/skin/fuzz/fuzz_targets.h"

#include <cstring>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "runtime/skin/skin_container.h"
#include "tests/support/fuzz_target.h"
#include "tools/pack/pack.h"

namespace {

// Larger claims are refused before anything is written; the limit keeps the
// runs fast (a sanitized megabyte costs milliseconds to clear).
const uint32_t CAPACITY_LIMIT = 1 << 17;

// Keeps the reads of the container target from being optimised away.
volatile uint32_t sink;

uint32_t sum(const uint8_t* p, size_t n)
{
    uint32_t s = 0;
    for (size_t k = 0; k < n; ++k)
        s += p[k];
    return s;
}

}  // namespace

int fuzz_packed_block(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> block(data, data + size);
    uint32_t claimed = size >= PACKED_BLOCK_HEADER_SIZE ? packed_block_size(block.data()) : 0;
    size_t capacity = claimed < CAPACITY_LIMIT ? claimed : CAPACITY_LIMIT;
    std::vector<uint8_t> out(capacity);
    uint32_t n = packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size());
    fuzz_require(n == 0 || n == claimed);
    if (n != 0)
        fuzz_require(packed_block_unpack(block.data(), out.data()) == n);
    return 0;
}

int fuzz_pack_round_trip(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> block = pack_block(data, size);
    std::vector<uint8_t> out(size);
    fuzz_require(packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size()) == size);
    fuzz_require(size == 0 || memcmp(out.data(), data, size) == 0);
    return 0;
}

int fuzz_skin_container(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> container(data, data + size);
    SkinContainerHeader header;
    if (!skin_container_read(container.data(), container.size(), &header))
        return 0;
    std::vector<uint8_t> buffer;
    if (header.packed) {
        if (header.unpacked_size > CAPACITY_LIMIT)
            return 0;
        buffer.resize(header.unpacked_size);
    }
    const uint8_t* payload = nullptr;
    size_t payload_size = 0;
    if (!skin_container_payload(container.data(), container.size(), header, buffer.data(), &payload,
                                &payload_size))
        return 0;
    // Touch what the loader and the platform would read.
    uint32_t touched = sum(payload + header.region_offset, header.region_size);
    if (header.bitmap_size) {
        const uint8_t* p = payload + header.bitmap_offset;
        uint32_t pixels, width, height, depth;
        memcpy(&pixels, p + 10, 4);
        memcpy(&width, p + 18, 4);
        memcpy(&height, p + 22, 4);
        depth = p[28] | p[29] << 8;
        size_t rows = (size_t(width) * depth + 31) / 32 * 4 * height;
        touched += sum(p, 54) + sum(p + pixels, rows);
    }
    sink = touched + uint32_t(payload_size);
    return 0;
}
