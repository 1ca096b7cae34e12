// Packed-block decoder: golden blocks, every token, the checksum, and the
// bounds on input, output and distances.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <string>
#include <vector>

#include "runtime/skin/packed_block.h"
#include "tests/runtime/skin/stream_builder.h"

namespace {

// Unpacks through the long form with the block's exact size; the text of
// the output, or "<fail>".
std::string unpack(const std::vector<uint8_t>& block, size_t capacity = 0)
{
    std::vector<uint8_t> out(capacity ? capacity : packed_block_size(block.data()) + 1, 0xEE);
    uint32_t n = packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size());
    if (n == 0)
        return "<fail>";
    return std::string(out.begin(), out.begin() + n);
}

TEST(PackedBlockGolden, AbcBlockUnpacksToThreeBytes)
{
    const std::vector<uint8_t> block = {0x4A, 0x43, 0x03, 0, 0, 0, 0, 0, 0, 0,
                                        0x56, 0x6C, 0xD8, 0x20, 0, 0, 0, 0x30};
    uint8_t out[3];
    EXPECT_EQ(packed_block_unpack(block.data(), out), 3u);
    EXPECT_EQ(std::string(out, out + 3), "abc");
    EXPECT_EQ(unpack(block), "abc");
    EXPECT_EQ(StreamBuilder().literal_mode8().text("abc").end().block(3), block);
    EXPECT_EQ(packed_block_size(block.data()), 3u);
}

TEST(PackedBlockChecksum, KnownValues)
{
    EXPECT_EQ(packed_block_checksum("abcd", 4), 0xACA5A6A2u);
    EXPECT_EQ(packed_block_checksum("abcde", 5), 0xD8C2CCC1u);
    EXPECT_EQ(packed_block_checksum("abc", 3), 0u);
    EXPECT_EQ(packed_block_checksum("", 0), 0u);
}

TEST(PackedBlockChecksum, VerifiedAgainstTheHeader)
{
    StreamBuilder abcd;
    abcd.literal_mode8().text("abcd").end();
    EXPECT_EQ(unpack(abcd.block(4, 0xACA5A6A2)), "abcd");
    EXPECT_EQ(unpack(abcd.block(4, 0xACA5A6A3)), "<fail>");
    StreamBuilder abcde;
    abcde.literal_mode8().text("abcde").end();
    EXPECT_EQ(unpack(abcde.block(5, 0xD8C2CCC1)), "abcde");

    // A mismatch still leaves the bytes in the destination.
    std::vector<uint8_t> bad = abcde.block(5, 1);
    char out[5] = {};
    EXPECT_EQ(packed_block_unpack(bad.data(), out), 0u);
    EXPECT_EQ(std::string(out, 5), "abcde");
}

TEST(PackedBlockChecksum, ZeroFieldIsNeverTested)
{
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abcdefgh").end().block(8, 0)), "abcdefgh");
}

TEST(PackedBlockChecksum, SizesOneToThreeWithAChecksumFail)
{
    for (const std::string s : {"a", "ab", "abc"}) {
        StreamBuilder b;
        b.literal_mode8().text(s).end();
        EXPECT_EQ(unpack(b.block(uint32_t(s.size()), 0x12345678)), "<fail>") << s;
        EXPECT_EQ(unpack(b.block(uint32_t(s.size()), 0)), s);
    }
}

TEST(PackedBlockTokens, ShortMatchOverlapsItsOwnOutput)
{
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").short_match(3, 5).end().block(8)),
              "abcabcab");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("x").short_match(1, 4).end().block(5)), "xxxxx");
}

TEST(PackedBlockTokens, RepeatUsesLastDistanceStartingAtOne)
{
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("a").repeat(3).end().block(4)), "aaaa");
    // A short match sets the distance; one-byte near copies leave it alone.
    EXPECT_EQ(unpack(StreamBuilder()
                         .literal_mode8()
                         .text("abcd")
                         .short_match(4, 2)
                         .near_copy(2)
                         .repeat(2)
                         .end()
                         .block(9)),
              "abcdabada");
}

TEST(PackedBlockTokens, NearCopyReachesFourteenBack)
{
    std::string text = "0123456789ABCD";
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text(text).near_copy(14).near_copy(1).end().block(16)),
              text + "00");
}

// 0x300 literals, then a far match whose length code is 2, in a block of
// 0x300 + length bytes: the bytes that the match wrote, or "<fail>".
std::string far_match_result(uint32_t distance, uint32_t length, std::string* prefix)
{
    StreamBuilder b;
    b.literal_mode8();
    for (int i = 0; i < 0x300; ++i) {
        *prefix += char(i * 7 + i / 256);
        b.literal(uint8_t(prefix->back()));
    }
    b.far_match(distance >> 8, distance & 0xFF, 8, 2).end();
    std::string out = unpack(b.block(0x300 + length), 0x300 + 8);
    return out == "<fail>" ? out : out.substr(0x300);
}

TEST(PackedBlockTokens, FarMatchLengthGrowsByDistanceClass)
{
    const std::pair<uint32_t, uint32_t> cases[] = {{0x7F, 6}, {0x80, 2}, {0x27E, 2}, {0x27F, 3}};
    for (auto [distance, length] : cases) {
        std::string prefix;
        std::string copied = far_match_result(distance, length, &prefix);
        EXPECT_EQ(copied, prefix.substr(0x300 - distance, length)) << distance;
        EXPECT_EQ(far_match_result(distance, length + 1, &prefix), "<fail>") << distance;
    }
}

TEST(PackedBlockTokens, FarClassesAtSixteenAndSixtyFourKilobytes)
{
    auto fill = [](uint32_t k) { return uint8_t(k * 31 + (k >> 8)); };
    for (uint32_t distance : {0x37FEu, 0x37FFu, 0xFFFFu, 0x10000u}) {
        uint32_t extra = distance >= 0x10000 ? 3 : distance >= 0x37FF ? 2 : 1;
        StreamBuilder b;
        b.raw(0x10000 / 256, fill).far_match(distance >> 8, distance & 0xFF, 8, 2).end();
        uint32_t size = 0x10000 + 2 + extra;
        std::vector<uint8_t> block = b.block(size);
        std::vector<uint8_t> out(size);
        ASSERT_EQ(packed_block_unpack_ex(block.data(), block.size(), out.data(), size), size) << distance;
        for (uint32_t k = 0; k < 2 + extra; ++k)
            EXPECT_EQ(out[0x10000 + k], fill(0x10000 + k - distance)) << distance;
    }
}

TEST(PackedBlockTokens, IndexWidthSplitsTheDistance)
{
    // Width 4: high part 2, low part 5 gives distance 0x25 (+4 to the length).
    std::string text;
    for (int i = 0; i < 0x25; ++i)
        text += char('A' + i % 26 + (i / 26));
    StreamBuilder b;
    b.literal_mode8().text(text).index_width(1, 4).far_match(2, 5, 4, 2).end();
    EXPECT_EQ(unpack(b.block(0x25 + 6)), text + text.substr(0, 6));
    StreamBuilder zero;
    zero.literal_mode8().text("ab").index_width(2, 0).end();
    EXPECT_EQ(unpack(zero.block(2)), "<fail>");
}

TEST(PackedBlockTokens, RawRunsWriteWholeChunks)
{
    auto fill = [](uint32_t k) { return uint8_t(k ^ 0x5A); };
    for (uint32_t chunks : {1u, 2u, 3u}) {
        StreamBuilder b;
        b.literal_mode7(0x40).raw(chunks, fill).literal(1, 7).end();
        std::string out = unpack(b.block(chunks * 256 + 1));
        ASSERT_EQ(out.size(), chunks * 256 + 1);
        for (uint32_t k = 0; k < chunks * 256; ++k)
            ASSERT_EQ(uint8_t(out[k]), fill(k));
        EXPECT_EQ(out.back(), 0x41);
    }
}

TEST(PackedBlockTokens, SevenBitLiteralsAddTheBaseModulo256)
{
    EXPECT_EQ(unpack(StreamBuilder().literal_mode7(0x60).literal(1, 7).literal(2, 7).end().block(2)), "ab");
    std::string wrapped = unpack(StreamBuilder().literal_mode7(0xA0).literal(0x7F, 7).end().block(1));
    EXPECT_EQ(wrapped, "\x1F");
    // Back to 8-bit literals: the base is reset to 0.
    EXPECT_EQ(unpack(StreamBuilder().literal_mode7(0xA0).literal_mode8().literal('z').end().block(1)), "z");
}

TEST(PackedBlockTokens, ZeroTokenIgnoresTheLiteralBase)
{
    std::string out = unpack(StreamBuilder().literal_mode7(0x30).literal(1, 7).zero().end().block(2));
    EXPECT_EQ(out, std::string("1\0", 2));
}

TEST(PackedBlockFaults, RefusedBeforeAnyWrite)
{
    std::vector<uint8_t> block = StreamBuilder().literal_mode8().text("abc").end().block(3);
    uint8_t out[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(packed_block_unpack(nullptr, out), 0u);
    EXPECT_EQ(packed_block_unpack(block.data(), nullptr), 0u);
    EXPECT_EQ(packed_block_size(nullptr), 0u);
    std::vector<uint8_t> wrong = block;
    wrong[1] = 'X';
    EXPECT_EQ(packed_block_unpack(wrong.data(), out), 0u);
    EXPECT_EQ(packed_block_size(wrong.data()), 0u);
    EXPECT_EQ(packed_block_unpack_ex(block.data(), block.size(), out, 2), 0u);  // no room
    EXPECT_EQ(packed_block_unpack_ex(block.data(), 9, out, 8), 0u);            // short header
    for (uint8_t b : out)
        EXPECT_EQ(b, 9);
}

// With nowhere to write, not even the block's header is read: the block here
// is a page that faults on any access.
TEST(PackedBlockFaults, NullDestinationReadsNothing)
{
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    EXPECT_EQ(packed_block_unpack(page, nullptr), 0u);
    EXPECT_EQ(packed_block_unpack_ex(page, 4096, nullptr, 4096), 0u);
    munmap(page, 4096);
}

TEST(PackedBlockFaults, TruncatedStreamsFail)
{
    std::vector<uint8_t> block = StreamBuilder().literal_mode8().text("abcdefghij").end().block(10);
    std::vector<uint8_t> out(10);
    for (size_t size = PACKED_BLOCK_HEADER_SIZE; size < block.size(); ++size)
        EXPECT_EQ(packed_block_unpack_ex(block.data(), size, out.data(), out.size()), 0u) << size;
    EXPECT_EQ(packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size()), 10u);
    // A raw run cut off in its middle.
    StreamBuilder raw;
    raw.raw(2, [](uint32_t k) { return uint8_t(k); }).end();
    std::vector<uint8_t> raw_block = raw.block(512);
    std::vector<uint8_t> raw_out(512);
    EXPECT_EQ(packed_block_unpack_ex(raw_block.data(), raw_block.size() - 40, raw_out.data(), 512), 0u);
}

TEST(PackedBlockFaults, EndlessGammaFails)
{
    // Gamma bits that never stop: the value outgrows 32 bits first.
    std::vector<uint8_t> block = StreamBuilder()
                                     .literal_mode8()
                                     .text("a")
                                     .bits(0b01, 2)
                                     .bits(0xFFFFFFFF, 32)
                                     .bits(0xFFFFFFFF, 32)
                                     .bits(0xFFFFFFFF, 32)
                                     .block(100);
    std::vector<uint8_t> out(100);
    EXPECT_EQ(packed_block_unpack_ex(block.data(), block.size(), out.data(), out.size()), 0u);
}

TEST(PackedBlockFaults, OutputBoundsAreKept)
{
    // More bytes than the header's size, and fewer.
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").end().block(2), 16), "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").short_match(3, 5).end().block(7), 16),
              "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").end().block(4), 16), "<fail>");
    StreamBuilder raw;
    raw.raw(1, [](uint32_t) { return uint8_t(1); }).end();
    EXPECT_EQ(unpack(raw.block(255), 1024), "<fail>");
}

TEST(PackedBlockFaults, CopiesFromBeforeTheOutputFail)
{
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").short_match(4, 2).end().block(5)), "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").near_copy(4).end().block(4)), "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().repeat(2).end().block(2)), "<fail>");
    // Far distance 0 and a far distance beyond the output.
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").far_match(0, 0, 8, 2).end().block(9)),
              "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().literal_mode8().text("abc").far_match(40000, 0, 8, 2).end().block(9)),
              "<fail>");
    // A wide index width reads the low part in two steps and still fails.
    EXPECT_EQ(unpack(StreamBuilder()
                         .literal_mode8()
                         .text("abc")
                         .index_width(3, 40)
                         .bits(0b01, 2)
                         .gamma(4)
                         .bits(0, 8)
                         .bits(1, 32)
                         .gamma(2)
                         .end()
                         .block(9)),
              "<fail>");
}

TEST(PackedBlockFaults, LiteralBeforeLiteralModeFails)
{
    EXPECT_EQ(unpack(StreamBuilder().literal('a').end().block(1)), "<fail>");
    EXPECT_EQ(unpack(StreamBuilder().zero().end().block(1)), std::string("\0", 1));
}

}  // namespace
