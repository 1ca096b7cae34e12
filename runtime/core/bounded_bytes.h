// Little-endian fields of outside bytes (embedded pictures and skins, packed
// streams), read only inside the size the parser knows. A field that does not
// lie wholly inside reads as 0 and marks the bytes failed, so a parser reads
// all its fields and checks once. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

struct BoundedBytes {
    const uint8_t* data;
    size_t size;  // SIZE_MAX where the format's own fields are the only bound
    bool failed;
};

inline BoundedBytes bounded_bytes(const void* data, size_t size)
{
    return BoundedBytes{static_cast<const uint8_t*>(data), data ? size : 0, false};
}

// The four bytes at p as a little-endian word, for a reader that has bounded
// them itself (the decoder's word loads).
inline uint32_t bytes_load_u32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Whether `count` bytes from `offset` lie inside `total`, without wrapping.
inline bool bytes_fit(uint64_t offset, uint64_t count, uint64_t total)
{
    return offset <= total && count <= total - offset;
}

inline uint32_t bytes_u16(BoundedBytes& b, uint64_t offset)
{
    if (!bytes_fit(offset, 2, b.size)) {
        b.failed = true;
        return 0;
    }
    return uint32_t(b.data[offset]) | uint32_t(b.data[offset + 1]) << 8;
}

inline uint32_t bytes_u32(BoundedBytes& b, uint64_t offset)
{
    if (!bytes_fit(offset, 4, b.size)) {
        b.failed = true;
        return 0;
    }
    return bytes_load_u32(b.data + offset);
}
