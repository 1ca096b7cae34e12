// Packer: compresses bytes into a packed block (the "JC" format that the
// runtime's skin decoder reads), with an optimal parse over hash-chain
// matches. Host-side library shared by the pack tool, the skin maker and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The most bytes pack_block takes and unpack_block gives: the match finder's
// positions hold no more.
const uint64_t PACK_SIZE_MAX = INT32_MAX;

// The complete block: header (magic, size, checksum) and token stream.
// Empty beyond PACK_SIZE_MAX.
std::vector<uint8_t> pack_block(const void* data, size_t size);

// Unpacks a whole block of untrusted bytes into out: false when it is not a
// sound packed block, with the reason in *why when given. A size the stream
// could never make, or beyond PACK_SIZE_MAX, is refused before anything is
// allocated. An empty block is sound and gives no bytes.
bool unpack_block(const std::vector<uint8_t>& block, std::vector<uint8_t>& out, const char** why = nullptr);
