// Packer: compresses bytes into a packed block (the "JC" format that the
// runtime's skin decoder reads), with an optimal parse over hash-chain
// matches. Host-side library shared by the pack tool, the skin maker and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The complete block: header (magic, size, checksum) and token stream.
// Empty for 2 GiB or more, which the match finder's positions cannot hold.
std::vector<uint8_t> pack_block(const void* data, size_t size);

// Unpacks a whole block of untrusted bytes into out: false when it is not a
// sound packed block. An empty block is sound and gives no bytes.
bool unpack_block(const std::vector<uint8_t>& block, std::vector<uint8_t>& out);
