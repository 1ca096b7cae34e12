// Replays the committed fuzz inputs through the fuzz targets' entry points: a
// broken property aborts the program, and the seeds that are sound must
// still be accepted.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/skin/packed_block.h"
#include "runtime/skin/skin_container.h"
#include "tests/support/fuzz_replay.h"
#include "tests/runtime/skin/fuzz/fuzz_targets.h"

namespace {

size_t seeds(const char* target) { return fuzz_seeds(target).size(); }

TEST(SkinFuzzReplay, PackedBlockCorpus)
{
    int sound = fuzz_replay("packed_block", fuzz_packed_block, 6, [](const std::vector<uint8_t>& bytes) {
        std::vector<uint8_t> out(packed_block_size(bytes.data()));
        return out.size() && packed_block_unpack_ex(bytes.data(), bytes.size(), out.data(), out.size()) != 0;
    });
    EXPECT_EQ(sound, int(seeds("packed_block")) - 1);  // all but the truncated block
}

TEST(SkinFuzzReplay, PackRoundTripCorpus)
{
    int replayed =
        fuzz_replay("pack_round_trip", fuzz_pack_round_trip, 3, [](const std::vector<uint8_t>&) { return true; });
    EXPECT_EQ(replayed, int(seeds("pack_round_trip")));
}

TEST(SkinFuzzReplay, SkinContainerCorpus)
{
    int sound = fuzz_replay("skin_container", fuzz_skin_container, 4, [](const std::vector<uint8_t>& bytes) {
        SkinContainerHeader h;
        std::vector<uint8_t> buffer(1 << 21);
        const uint8_t* payload;
        size_t payload_size;
        return skin_container_read(bytes.data(), bytes.size(), &h) &&
               skin_container_payload(bytes.data(), bytes.size(), h, buffer.data(), &payload, &payload_size);
    });
    EXPECT_EQ(sound, int(seeds("skin_container")));
}

}  // namespace
