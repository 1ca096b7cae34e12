// Packer: round trips through the runtime's decoder over generated inputs
// (random, runs, text, structured binary), sizes that show the tokens at
// work, and the pack command refusing, with its reason, inputs anyone could
// hand it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "tests/support/tool_run.h"
#include "tools/pack/pack.h"

namespace {

// Packs, checks the header, unpacks as the tool does and through the
// bounded decoder; the packed size, or 0 when the round trip fails.
size_t round_trip(const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> block = pack_block(data.data(), data.size());
    EXPECT_EQ(packed_block_size(block.data()), data.size());
    std::vector<uint8_t> unpacked;
    if (!unpack_block(block, unpacked) || unpacked != data)
        return 0;
    std::vector<uint8_t> out(data.size() + 1, 0xA5);
    uint32_t n = packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size());
    if (n != data.size() || !std::equal(data.begin(), data.end(), out.begin()))
        return 0;
    if (!data.empty() && packed_block_unpack(block.data(), out.data()) != data.size())
        return 0;
    return block.size();
}

std::vector<uint8_t> random_bytes(size_t size, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(size);
    for (uint8_t& b : out)
        b = uint8_t(rng());
    return out;
}

std::vector<uint8_t> english_text(size_t size, uint32_t seed)
{
    static const char* words[] = {"the ", "skin ", "window ", "click ", "game ", "of ", "a ",
                                  "faster ", "target ", "runs ", "and ", "picture ", "\n"};
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    while (out.size() < size) {
        const char* w = words[rng() % 13];
        out.insert(out.end(), w, w + strlen(w));
    }
    out.resize(size);
    return out;
}

TEST(PackRoundTrip, TinyInputs)
{
    for (size_t size = 0; size <= 12; ++size) {
        EXPECT_NE(round_trip(random_bytes(size, uint32_t(size))), 0u) << size;
        EXPECT_NE(round_trip(std::vector<uint8_t>(size, 0)), 0u) << size;
        EXPECT_NE(round_trip(std::vector<uint8_t>(size, 'q')), 0u) << size;
    }
}

TEST(PackRoundTrip, RandomDataBarelyGrows)
{
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        size_t size = 1 + seed * 997 % 20000;
        size_t packed = round_trip(random_bytes(size, seed));
        ASSERT_NE(packed, 0u) << seed;
        // Raw chunks: a little over 8 bits a byte, not the 9 of literals.
        EXPECT_LT(packed, size + size / 32 + 64) << seed;
    }
}

TEST(PackRoundTrip, RunsAndRepeats)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        std::vector<uint8_t> data;
        while (data.size() < 30000) {
            size_t run = 1 + rng() % (round % 2 ? 4000 : 40);
            uint8_t byte = uint8_t(rng() % (round % 3 ? 256 : 3));
            if (rng() % 4 == 0 && data.size() > 100) {
                size_t from = data.size() - 1 - rng() % (data.size() - 1);
                for (size_t k = 0; k < run; ++k)
                    data.push_back(data[from + k]);
            } else {
                data.insert(data.end(), run, byte);
            }
        }
        size_t packed = round_trip(data);
        ASSERT_NE(packed, 0u) << round;
        EXPECT_LT(packed, data.size() / 4) << round;
    }
}

TEST(PackRoundTrip, TextCompresses)
{
    std::vector<uint8_t> text = english_text(200000, 3);
    size_t packed = round_trip(text);
    ASSERT_NE(packed, 0u);
    EXPECT_LT(packed, text.size() / 3);
}

TEST(PackRoundTrip, StructuredBinaryAtEveryDistanceClass)
{
    // Records of 24 bytes with slowly changing fields, zeros, and far echoes
    // at distances beyond 16 and 64 kilobytes.
    std::mt19937 rng(11);
    std::vector<uint8_t> data;
    for (uint32_t i = 0; data.size() < 400000; ++i) {
        if (i % 500 == 499 && data.size() > 70000) {
            size_t from = data.size() - (rng() % 2 ? 0x10000 + rng() % 300 : 0x3800 + rng() % 300);
            for (int k = 0; k < 300; ++k)
                data.push_back(data[from + k]);
            continue;
        }
        uint32_t fields[6] = {i, i * 3, 0, uint32_t(rng() % 16), 0x11223344, i / 7};
        for (uint32_t f : fields)
            for (int k = 0; k < 4; ++k)
                data.push_back(uint8_t(f >> (8 * k)));
    }
    size_t packed = round_trip(data);
    ASSERT_NE(packed, 0u);
    EXPECT_LT(packed, data.size() / 3);
}

TEST(PackRoundTrip, ManyMixedInputs)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 200; ++round) {
        size_t size = rng() % 3000;
        std::vector<uint8_t> data(size);
        uint32_t alphabet = 1 + rng() % 256;
        for (size_t k = 0; k < size; ++k) {
            if (k > 0 && rng() % 3 == 0)
                data[k] = data[k - 1 - rng() % std::min<size_t>(k, 300)];
            else
                data[k] = uint8_t(rng() % alphabet);
        }
        ASSERT_NE(round_trip(data), 0u) << round;
    }
}

// An empty file packs to a block of nothing but the end token; damaged, it
// is refused like any other.
TEST(PackBlock, EmptyBlockIsToldFromADamagedOne)
{
    std::vector<uint8_t> block = pack_block(nullptr, 0);
    std::vector<uint8_t> out = {1};
    ASSERT_TRUE(unpack_block(block, out));
    EXPECT_TRUE(out.empty());
    std::vector<uint8_t> cut(block.begin(), block.begin() + PACKED_BLOCK_HEADER_SIZE);
    EXPECT_FALSE(unpack_block(cut, out));
    block[0] = 'X';
    EXPECT_FALSE(unpack_block(block, out));
}

TEST(PackBlock, HeaderCarriesSizeAndChecksum)
{
    std::vector<uint8_t> data = english_text(1000, 5);
    std::vector<uint8_t> block = pack_block(data.data(), data.size());
    ASSERT_GE(block.size(), PACKED_BLOCK_HEADER_SIZE);
    EXPECT_EQ(block[0], 'J');
    EXPECT_EQ(block[1], 'C');
    uint32_t checksum = block[6] | block[7] << 8 | block[8] << 16 | uint32_t(block[9]) << 24;
    EXPECT_EQ(checksum, packed_block_checksum(data.data(), data.size()));
    EXPECT_EQ((block.size() - PACKED_BLOCK_HEADER_SIZE) % 4, 0u);
    // A flipped byte in the data would change the checksum: the decoder's
    // result is 0 when the header disagrees.
    block[6] ^= 1;
    std::vector<uint8_t> out(data.size());
    EXPECT_EQ(packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size()), 0u);
}

const std::string TOOL = "'" PACK_TOOL "'";

// A block header claiming `size` bytes, without a checksum, and `words`
// stream words of zeros (a zero stream ends at its first token).
std::string block(uint32_t size, int words)
{
    std::string b = "JC";
    for (int k = 0; k < 4; ++k)
        b += char(size >> (8 * k));
    return b + std::string(4 + 4 * words, '\0');
}

using PackTool = ToolRun;

TEST_F(PackTool, PathsThatHoldNoFileOrClaimTooMuchAreRefused)
{
    EXPECT_EQ(run(TOOL + " -d . out"), 1);
    EXPECT_NE(err.find("pack: . is a folder"), std::string::npos) << err;
    EXPECT_EQ(run("ulimit -v 200000 && timeout 60 " + TOOL + " /dev/zero out"), 1);
    EXPECT_NE(err.find("/dev/zero is not a regular file"), std::string::npos) << err;
    put_sparse("big", uint64_t(4) << 30, "JC");
    EXPECT_EQ(run("ulimit -v 200000 && " + TOOL + " -d big out"), 1);
    EXPECT_NE(err.find("pack: big is too large"), std::string::npos) << err;
    // One stream word makes at most 64 KiB: 4 GiB is refused from the header.
    // Three words could make 2 GiB - 1, which is reserved but, the stream
    // being empty, never written: the tool stays small.
    put("tiny", block(0xFFFFFFFF, 1));
    EXPECT_EQ(run("ulimit -v 200000 && " + TOOL + " -d tiny out"), 1);
    EXPECT_NE(err.find("pack: tiny claims more bytes than its stream can make"), std::string::npos) << err;
    put("empty", block(0x7FFFFFFF, 3));
    EXPECT_EQ(run(TOOL + " -d empty out"), 1);
    EXPECT_NE(err.find("pack: empty is not a sound packed block"), std::string::npos) << err;
    EXPECT_LT(peak_kib, 64 * 1024);
}

}  // namespace
