// Packed blocks: the compressed form of embedded assets ("JC", unpacked size,
// checksum, then a bit stream of literal and match tokens) and its decoder and
// checksum. Needs no platform; the skin loader and the host tools share it.
#pragma once

#include <cstddef>
#include <cstdint>

const uint32_t PACKED_BLOCK_HEADER_SIZE = 10;

// Unpacks a well-formed block into a destination that holds at least the
// block's unpacked size. Bytes written, or 0 (null arguments, no "JC", a
// malformed stream, a checksum mismatch). Input reads are bounded only by the
// stream's own end token; use the long form for untrusted blocks.
uint32_t packed_block_unpack(const void* block, void* destination);

// As above, but never reads past block_size bytes of the block nor writes past
// capacity bytes of the destination. Fails with 0 when the unpacked size does
// not fit the capacity, when a token would read past the input, write past the
// unpacked size or copy from before the start of the output, when the stream
// ends short of the unpacked size, and on the malformed settings (an index
// width of 0, a literal before the literal width is set).
uint32_t packed_block_unpack_ex(const void* block, size_t block_size, void* destination,
                                size_t capacity);

// As the long form, but tells a sound empty block, which writes 0 bytes,
// from a failure: true with the bytes written in *written, else false.
bool packed_block_unpack_checked(const void* block, size_t block_size, void* destination, size_t capacity,
                                 uint32_t* written);

// The header's unpacked size when the block begins with "JC", else 0.
uint32_t packed_block_size(const void* block);

// Checksum of size bytes: 0 below 4 bytes; otherwise each little-endian word
// w is folded in as a = (a + w) ^ (rotl(w, 1) + 1), and a ragged tail as the
// last four bytes (overlapping the word before).
uint32_t packed_block_checksum(const void* data, size_t size);
