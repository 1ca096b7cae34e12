// The score record: the bytes made for the game, pinned to golden values;
// records read back from the end of the bytes; missing and damaged records
// refused with their reason.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/score_record.h"

namespace {

// The record of `seconds` after `before`, as the game appends it.
std::string with_record(const std::string& before, int32_t seconds)
{
    unsigned char record[SCORE_RECORD_MAX];
    size_t size = score_record_make(seconds, record);
    return before + std::string(reinterpret_cast<const char*>(record), size);
}

// A record of any text after the tag, scrambled by hand: for texts that the
// game never writes.
std::string with_text(const std::string& before, const std::string& time)
{
    std::string plain = std::string(SCORE_TAG) + time;
    std::string record;
    for (char c : plain)
        record += static_cast<char>(static_cast<unsigned char>(c) - 1);
    return before + record + "\r\n" + static_cast<char>(plain.size());
}

ScoreRecordStatus parse(const std::string& bytes, int32_t* seconds)
{
    return score_record_parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), seconds);
}

const std::string PNG_BYTES = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, '\x07');

TEST(ScoreRecord, GoldenRecords)
{
    // "quendrilavo5_23" lowered by one, CR LF, 15.
    std::string bytes = "ptdmcqhk`un4^12\r\n\x0F";
    EXPECT_EQ(with_record("", 23), bytes);
    int32_t seconds = 0;
    ASSERT_EQ(parse(bytes, &seconds), SCORE_RECORD_OK);
    EXPECT_EQ(seconds, 23);
    // The digits 9 and 0 stored as "8" and "/".
    char text[SCORE_TEXT_MAX + 1];
    EXPECT_EQ(score_record_text(90, text), 15u);
    EXPECT_STREQ(text, "ptdmcqhk`un4^8/");
    EXPECT_EQ(score_record_text(INT32_MIN, text), SCORE_TEXT_MAX);
    EXPECT_STREQ(text, "ptdmcqhk`un4^,1036372537");
}

TEST(ScoreRecord, LengthFollowsTheDigitsOfTheTime)
{
    unsigned char record[SCORE_RECORD_MAX];
    EXPECT_EQ(score_record_make(0, record), 17u);
    EXPECT_EQ(record[16], 14);
    EXPECT_EQ(score_record_make(9, record), 17u);
    EXPECT_EQ(score_record_make(10, record), 18u);
    EXPECT_EQ(score_record_make(100, record), 19u);
    EXPECT_EQ(score_record_make(INT32_MIN, record), SCORE_RECORD_MAX);
}

TEST(ScoreRecord, TimesAreReadBackFromTheEndOfTheFile)
{
    for (int32_t time : {0, 9, 10, 23, 100, INT32_MAX, INT32_MIN, -5}) {
        int32_t seconds = 12345;
        ASSERT_EQ(parse(with_record(PNG_BYTES, time), &seconds), SCORE_RECORD_OK) << time;
        EXPECT_EQ(seconds, time);
        // Alone in a file too (a failed save leaves only the record).
        ASSERT_EQ(parse(with_record("", time), &seconds), SCORE_RECORD_OK) << time;
    }
}

TEST(ScoreRecord, MissingRecordsAreRefused)
{
    int32_t seconds = 99;
    EXPECT_EQ(parse("", &seconds), SCORE_RECORD_TOO_SHORT);
    EXPECT_EQ(parse("\r\n", &seconds), SCORE_RECORD_TOO_SHORT);
    // A PNG without a record ends in its IEND chunk's CRC.
    EXPECT_EQ(parse(PNG_BYTES + "IEND\xAE\x42\x60\x82", &seconds), SCORE_RECORD_BAD_LENGTH);
    std::string record = with_record("", 23);
    EXPECT_EQ(parse(record.substr(1), &seconds), SCORE_RECORD_TOO_SHORT);
    std::string too_long = record;
    too_long.back() = 20;
    EXPECT_EQ(parse(too_long, &seconds), SCORE_RECORD_TOO_SHORT);
    // The tag alone, without a time.
    EXPECT_EQ(parse(with_text("", ""), &seconds), SCORE_RECORD_BAD_LENGTH);
    EXPECT_EQ(parse(std::string("\r\n\x0D", 3), &seconds), SCORE_RECORD_BAD_LENGTH);
    EXPECT_EQ(parse(std::string(30, 'a') + "\r\n\x19", &seconds), SCORE_RECORD_BAD_LENGTH);
    EXPECT_EQ(seconds, 99);
}

TEST(ScoreRecord, DamagedRecordsAreRefused)
{
    int32_t seconds = 99;
    std::string record = with_record(PNG_BYTES, 23);
    std::string no_line_end = record;
    no_line_end[no_line_end.size() - 3] = 'x';
    EXPECT_EQ(parse(no_line_end, &seconds), SCORE_RECORD_NO_LINE_END);
    no_line_end[no_line_end.size() - 3] = '\n';  // LF LF
    EXPECT_EQ(parse(no_line_end, &seconds), SCORE_RECORD_NO_LINE_END);
    std::string bad_tag = record;
    bad_tag[PNG_BYTES.size()] ^= 0x20;
    EXPECT_EQ(parse(bad_tag, &seconds), SCORE_RECORD_BAD_TAG);
    // Not scrambled: the plain text read as scrambled.
    std::string plain = PNG_BYTES + SCORE_TAG + "23\r\n\x0F";
    EXPECT_EQ(parse(plain, &seconds), SCORE_RECORD_BAD_TAG);
    EXPECT_EQ(parse(with_text(PNG_BYTES, "2x"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_text(PNG_BYTES, "-"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_text(PNG_BYTES, "2147483648"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_text(PNG_BYTES, "12345678901"), &seconds), SCORE_RECORD_BAD_TIME);
    // Texts the game never writes.
    EXPECT_EQ(parse(with_text(PNG_BYTES, "09"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_text(PNG_BYTES, "-0"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_text(PNG_BYTES, std::string("7\0", 2)), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(seconds, 99);
}

TEST(ScoreRecord, EveryStatusHasItsOwnExplanation)
{
    std::set<std::string> texts;
    for (int s = SCORE_RECORD_OK; s <= SCORE_RECORD_BAD_TIME; ++s)
        texts.insert(score_record_explain(static_cast<ScoreRecordStatus>(s)));
    EXPECT_EQ(texts.size(), static_cast<size_t>(SCORE_RECORD_BAD_TIME + 1));
}

}  // namespace
