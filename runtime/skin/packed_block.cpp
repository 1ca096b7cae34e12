// Packed-block decoder: a bit reader over 32-bit little-endian words (bits
// taken from bit 31 down), the token interpreter with its four integers of
// state, and the checksum that closes every block.
#include "runtime/skin/packed_block.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/bounded_bytes.h"

namespace {

const uint64_t GAMMA_LIMIT = 0xFFFFFFFFu;

// Unread bits sit left-aligned in a 64-bit register. A word is loaded only
// when a read needs it, so the reader touches exactly the words that a
// word-at-a-time reader would: nothing past a well-formed stream's end token.
struct BitReader {
    const uint8_t* next;
    size_t left;  // input bytes not yet loaded
    uint64_t bits;
    unsigned count;
    bool failed;
};

// n from 1 to 32. Past the input: 0, and the reader stays failed.
inline uint32_t take(BitReader& r, unsigned n)
{
    if (r.count < n) {
        if (r.left < 4) {
            r.failed = true;
            return 0;
        }
        r.bits |= uint64_t(bytes_load_u32(r.next)) << (32 - r.count);
        r.next += 4;
        r.left -= 4;
        r.count += 32;
    }
    uint32_t value = uint32_t(r.bits >> (64 - n));
    r.bits <<= n;
    r.count -= n;
    return value;
}

// Data bit, continuation bit, ... from an implied leading 1; at least 2.
// A value that outgrows 32 bits cannot describe anything and fails.
inline uint64_t take_gamma(BitReader& r)
{
    uint64_t value = 1;
    do {
        value = value * 2 + take(r, 1);
        if (value > GAMMA_LIMIT) {
            r.failed = true;
            return 0;
        }
    } while (take(r, 1) && !r.failed);
    return value;
}

// Length added to a far match's gamma length: near distances are cheaper as
// short matches, far ones rarely pay off below these lengths.
inline uint64_t far_match_extra(uint64_t distance)
{
    if (distance >= 0x10000) return 3;
    if (distance >= 0x37FF) return 2;
    if (distance >= 0x27F) return 1;
    if (distance >= 0x80) return 0;
    return 4;
}

struct Output {
    uint8_t* data;
    size_t produced;
    size_t size;
};

inline bool put(Output& out, uint8_t byte)
{
    if (out.produced >= out.size)
        return false;
    out.data[out.produced++] = byte;
    return true;
}

// Appends length bytes taken from distance bytes back, as if byte by byte
// from the front, so a distance below the length repeats the last distance
// bytes. Done eight bytes at a time where the bytes read are already
// written: a short distance is first widened to a multiple of itself of at
// least eight, which repeats the same pattern. The widened distance may
// reach before the output, so sources are formed as dst + i - distance only
// once i has grown past the bytes written one by one.
inline void copy_bytes(uint8_t* dst, size_t distance, size_t length)
{
    size_t i = 0;
    if (distance == 1) {
        memset(dst, dst[-1], length);
        return;
    }
    if (distance < 8) {
        size_t wide = distance * ((8 + distance - 1) / distance);
        for (size_t lead = std::min(length, wide - distance); i < lead; ++i)
            dst[i] = *(dst + i - distance);
        distance = wide;
    }
    for (; i + 8 <= length; i += 8) {
        uint64_t chunk;
        memcpy(&chunk, dst + i - distance, 8);
        memcpy(dst + i, &chunk, 8);
    }
    for (; i < length; ++i)
        dst[i] = *(dst + i - distance);
}

inline bool copy_match(Output& out, uint64_t distance, uint64_t length)
{
    if (distance == 0 || distance > out.produced || length > out.size - out.produced)
        return false;
    copy_bytes(out.data + out.produced, size_t(distance), size_t(length));
    out.produced += length;
    return true;
}

// Runs the tokens up to the end token; false on any fault.
bool run_tokens(BitReader& in, Output& out)
{
    unsigned literal_width = 0;  // not set yet
    uint32_t literal_base = 0;
    unsigned index_width = 8;
    uint64_t last_distance = 1;
    for (;;) {
        if (take(in, 1)) {
            if (literal_width == 0)
                return false;
            uint32_t v = take(in, literal_width);
            if (in.failed || !put(out, uint8_t(v + literal_base)))
                return false;
        } else if (take(in, 1)) {
            uint64_t g = take_gamma(in);
            if (in.failed)
                return false;
            if (g == 2) {
                uint64_t n = take_gamma(in);
                if (in.failed || !copy_match(out, last_distance, n))
                    return false;
                continue;
            }
            // The high part is checked before each widening shift, so the
            // distance never outgrows 64 bits on its way to the range test.
            uint64_t d = g - 3;
            for (unsigned rest = index_width; rest > 0;) {
                unsigned k = rest > 32 ? 32 : rest;
                if (d > out.produced)
                    return false;
                d = d << k | take(in, k);
                rest -= k;
            }
            last_distance = d;
            uint64_t n = take_gamma(in);
            if (in.failed || !copy_match(out, d, n + far_match_extra(d)))
                return false;
        } else if (take(in, 1)) {
            uint32_t v = take(in, 4);
            if (in.failed)
                return false;
            if (v == 1) {
                if (!put(out, 0))
                    return false;
            } else if (v >= 2) {
                if (!copy_match(out, v - 1, 1))
                    return false;
            } else if (take(in, 1)) {
                do {
                    for (int i = 0; i < 256; ++i) {
                        uint32_t byte = take(in, 8);
                        if (in.failed || !put(out, uint8_t(byte)))
                            return false;
                    }
                } while (take(in, 1));
            } else {
                literal_width = 7 + take(in, 1);
                literal_base = literal_width == 7 ? take(in, 8) : 0;
            }
            if (in.failed)
                return false;
        } else {
            uint32_t d = take(in, 7);
            uint32_t m = take(in, 2);
            if (in.failed)
                return false;
            if (d != 0) {
                if (!copy_match(out, d, m + 2))
                    return false;
                last_distance = d;
            } else if (m == 0) {
                return true;
            } else {
                index_width = take(in, m + 3);
                if (in.failed || index_width == 0)
                    return false;
            }
        }
    }
}

}  // namespace

uint32_t packed_block_checksum(const void* data, size_t size)
{
    if (!data || size < 4)
        return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    uint32_t a = 0;
    auto fold = [&a](uint32_t w) {
        a += w;
        a ^= ((w << 1) | (w >> 31)) + 1;
    };
    size_t offset = 0;
    for (; size - offset >= 4; offset += 4)
        fold(bytes_load_u32(bytes + offset));
    if (offset != size)
        fold(bytes_load_u32(bytes + size - 4));
    return a;
}

uint32_t packed_block_size(const void* block)
{
    const uint8_t* b = static_cast<const uint8_t*>(block);
    if (!b || b[0] != 'J' || b[1] != 'C')
        return 0;
    return bytes_load_u32(b + 2);
}

bool packed_block_unpack_checked(const void* block, size_t block_size, void* destination, size_t capacity,
                                 uint32_t* written)
{
    if (!block || !destination || block_size < PACKED_BLOCK_HEADER_SIZE)
        return false;
    const uint8_t* b = static_cast<const uint8_t*>(block);
    uint32_t size = packed_block_size(b);
    if (b[0] != 'J' || b[1] != 'C' || size > capacity)
        return false;
    uint32_t checksum = bytes_load_u32(b + 6);
    BitReader in = {b + PACKED_BLOCK_HEADER_SIZE, block_size - PACKED_BLOCK_HEADER_SIZE, 0, 0, false};
    Output out = {static_cast<uint8_t*>(destination), 0, size};
    if (!run_tokens(in, out) || out.produced != size)
        return false;
    if (checksum != 0 && packed_block_checksum(destination, size) != checksum)
        return false;
    *written = size;
    return true;
}

uint32_t packed_block_unpack_ex(const void* block, size_t block_size, void* destination,
                                size_t capacity)
{
    uint32_t written = 0;
    return packed_block_unpack_checked(block, block_size, destination, capacity, &written) ? written : 0;
}

uint32_t packed_block_unpack(const void* block, void* destination)
{
    if (!destination)
        return 0;
    // No input length is known: the stream's end token bounds the reads.
    return packed_block_unpack_ex(block, SIZE_MAX, destination, packed_block_size(block));
}
