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

TEST(FuzzReplay, PackedBlockCorpus)
{
    int sound = 0;
    auto files = corpus("packed_block");
    ASSERT_GE(files.size(), 6u);
    for (auto& [name, bytes] : files) {
        EXPECT_EQ(fuzz_packed_block(bytes.data(), bytes.size()), 0) << name;
        std::vector<uint8_t> out(packed_block_size(bytes.data()));
        sound += out.size() && packed_block_unpack_ex(bytes.data(), bytes.size(), out.data(), out.size()) != 0;
    }
    EXPECT_EQ(sound, int(files.size()) - 1);  // all but the truncated block
}

TEST(FuzzReplay, PackRoundTripCorpus)
{
    auto files = corpus("pack_round_trip");
    ASSERT_GE(files.size(), 3u);
    for (auto& [name, bytes] : files)
        EXPECT_EQ(fuzz_pack_round_trip(bytes.data(), bytes.size()), 0) << name;
}

TEST(FuzzReplay, SkinContainerCorpus)
{
    int sound = 0;
    auto files = corpus("skin_container");
    ASSERT_GE(files.size(), 4u);
    for (auto& [name, bytes] : files) {
        EXPECT_EQ(fuzz_skin_container(bytes.data(), bytes.size()), 0) << name;
        SkinContainerHeader h;
        std::vector<uint8_t> buffer(1 << 21);
        const uint8_t* payload;
        size_t payload_size;
        sound += skin_container_read(bytes.data(), bytes.size(), &h) &&
                 skin_container_payload(bytes.data(), bytes.size(), h, buffer.data(), &payload, &payload_size);
    }
    EXPECT_EQ(sound, int(files.size()));
}

}  // namespace
