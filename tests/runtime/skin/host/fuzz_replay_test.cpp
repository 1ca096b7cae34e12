// Replays the committed fuzz corpus through the fuzz targets' entry points
// (no libFuzzer needed): a broken property aborts the program, and the
// seeds that are sound must still be accepted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "runtime/skin/skin_container.h"
#include "tests/runtime/skin/fuzz/fuzz_targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::vector<uint8_t>>> corpus(const char* target)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    fs::path dir = fs::path(ZORVANT_SOURCE_DIR) / "tests/runtime/skin/fuzz/corpus" / target;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        std::ifstream f(e.path(), std::ios::binary);
        out.push_back({e.path().filename().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>())});
    }
    return out;
}

// Runs every file of the target's corpus through it; the number of files
// that `sound` accepts.
template <class Sound>
int replay(const char* target, int (*fuzz)(const uint8_t*, size_t), size_t at_least, Sound sound)
{
    auto files = corpus(target);
    EXPECT_GE(files.size(), at_least) << target;
    int accepted = 0;
    for (auto& [name, bytes] : files) {
        EXPECT_EQ(fuzz(bytes.data(), bytes.size()), 0) << name;
        accepted += sound(bytes);
    }
    return accepted;
}

TEST(FuzzReplay, PackedBlockCorpus)
{
    int sound = replay("packed_block", fuzz_packed_block, 6, [](const std::vector<uint8_t>& bytes) {
        std::vector<uint8_t> out(packed_block_size(bytes.data()));
        return out.size() && packed_block_unpack_ex(bytes.data(), bytes.size(), out.data(), out.size()) != 0;
    });
    EXPECT_EQ(sound, int(corpus("packed_block").size()) - 1);  // all but the truncated block
}

TEST(FuzzReplay, PackRoundTripCorpus)
{
    int replayed = replay("pack_round_trip", fuzz_pack_round_trip, 3, [](const std::vector<uint8_t>&) { return true; });
    EXPECT_EQ(replayed, int(corpus("pack_round_trip").size()));
}

TEST(FuzzReplay, SkinContainerCorpus)
{
    int sound = replay("skin_container", fuzz_skin_container, 4, [](const std::vector<uint8_t>& bytes) {
        SkinContainerHeader h;
        std::vector<uint8_t> buffer(1 << 21);
        const uint8_t* payload;
        size_t payload_size;
        return skin_container_read(bytes.data(), bytes.size(), &h) &&
               skin_container_payload(bytes.data(), bytes.size(), h, buffer.data(), &payload, &payload_size);
    });
    EXPECT_EQ(sound, int(corpus("skin_container").size()));
}

}  // namespace
