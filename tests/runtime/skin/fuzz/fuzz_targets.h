// Fuzz targets of the skin library's platform-free code. Each returns 0 and
// aborts on a broken property; libFuzzer drives them through tools/fuzz.sh,
// and a host test replays the committed corpus through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

// The bounded decoder on any bytes: no access outside the block or the
// destination, and a result of 0 or exactly the header's size.
int fuzz_packed_block(const uint8_t* data, size_t size);

// The packer on any bytes: the decoder gives them back.
int fuzz_pack_round_trip(const uint8_t* data, size_t size);

// The container checks on any bytes: whatever passes has its region data
// and every byte that the picture conversion reads inside the payload.
int fuzz_skin_container(const uint8_t* data, size_t size);
