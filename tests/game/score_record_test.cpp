// The score record reader: records as the game appends them, read back from
// the end of the bytes; missing and damaged records refused with their
// reason; the tool's output and exit status.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "tools/score_read/score_record.h"

namespace {

// The record as the game writes it after `before`: the tag and the time, each
// byte lowered by one, CR LF, and the text's length.
std::string with_record(const std::string& before, const std::string& time)
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

TEST(ScoreRecord, TimesAreReadBackFromTheEndOfTheFile)
{
    for (const char* time : {"0", "9", "10", "23", "100", "2147483647", "-2147483648", "-5"}) {
        int32_t seconds = 12345;
        ASSERT_EQ(parse(with_record(PNG_BYTES, time), &seconds), SCORE_RECORD_OK) << time;
        EXPECT_EQ(std::to_string(seconds), time);
    }
}

TEST(ScoreRecord, GoldenRecordOfTwentyThreeSeconds)
{
    // "quendrilavo5_23" lowered by one, CR LF, 15.
    std::string bytes = "ptdmcqhk`un4^12\r\n\x0F";
    int32_t seconds = 0;
    ASSERT_EQ(parse(bytes, &seconds), SCORE_RECORD_OK);
    EXPECT_EQ(seconds, 23);
    EXPECT_EQ(with_record("", "23"), bytes);
}

TEST(ScoreRecord, RecordAloneInAFileIsRead)
{
    int32_t seconds = 0;
    EXPECT_EQ(parse(with_record("", "7"), &seconds), SCORE_RECORD_OK);
    EXPECT_EQ(seconds, 7);
}

TEST(ScoreRecord, MissingRecordsAreRefused)
{
    int32_t seconds = 99;
    EXPECT_EQ(parse("", &seconds), SCORE_RECORD_TOO_SHORT);
    EXPECT_EQ(parse("\r\n", &seconds), SCORE_RECORD_TOO_SHORT);
    // A PNG without a record ends in its IEND chunk's CRC.
    EXPECT_EQ(parse(PNG_BYTES + "IEND\xAE\x42\x60\x82", &seconds), SCORE_RECORD_BAD_LENGTH);
    std::string record = with_record("", "23");
    EXPECT_EQ(parse(record.substr(1), &seconds), SCORE_RECORD_TOO_SHORT);
    EXPECT_EQ(parse(std::string("\r\n\x0D", 3), &seconds), SCORE_RECORD_BAD_LENGTH);
    EXPECT_EQ(parse(std::string(30, 'a') + "\r\n\x19", &seconds), SCORE_RECORD_BAD_LENGTH);
    EXPECT_EQ(seconds, 99);
}

TEST(ScoreRecord, DamagedRecordsAreRefused)
{
    int32_t seconds = 99;
    std::string record = with_record(PNG_BYTES, "23");
    std::string no_line_end = record;
    no_line_end[no_line_end.size() - 3] = 'x';
    EXPECT_EQ(parse(no_line_end, &seconds), SCORE_RECORD_NO_LINE_END);
    std::string bad_tag = record;
    bad_tag[PNG_BYTES.size()] ^= 0x20;
    EXPECT_EQ(parse(bad_tag, &seconds), SCORE_RECORD_BAD_TAG);
    // Not scrambled: the plain text read as scrambled.
    std::string plain = PNG_BYTES + SCORE_TAG + "23\r\n\x0F";
    EXPECT_EQ(parse(plain, &seconds), SCORE_RECORD_BAD_TAG);
    EXPECT_EQ(parse(with_record(PNG_BYTES, "2x"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_record(PNG_BYTES, "-"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_record(PNG_BYTES, "2147483648"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(parse(with_record(PNG_BYTES, "12345678901"), &seconds), SCORE_RECORD_BAD_TIME);
    EXPECT_EQ(seconds, 99);
}

TEST(ScoreRecord, EveryStatusHasItsOwnExplanation)
{
    std::set<std::string> texts;
    for (int s = SCORE_RECORD_OK; s <= SCORE_RECORD_BAD_TIME; ++s)
        texts.insert(score_record_explain(static_cast<ScoreRecordStatus>(s)));
    EXPECT_EQ(texts.size(), static_cast<size_t>(SCORE_RECORD_BAD_TIME + 1));
}

class ScoreReadTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zorvant_score_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        for (const char* f : {"score.png", "out", "err"})
            unlink((folder + "/" + f).c_str());
        rmdir(folder.c_str());
    }
    void put(const std::string& bytes)
    {
        std::ofstream(folder + "/score.png", std::ios::binary) << bytes;
    }
    // Runs the tool in the folder: its exit status, its output and errors.
    int run(const std::string& arguments = "")
    {
        std::string command = "cd '" + folder + "' && '" SCORE_READ_TOOL "' " + arguments + " >out 2>err";
        int status = system(command.c_str());
        out = slurp("out");
        err = slurp("err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string slurp(const char* name)
    {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::string folder, out, err;
};

TEST_F(ScoreReadTool, PrintsTheTimeOfScorePng)
{
    put(with_record(PNG_BYTES, "42"));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(out, "42\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(run("score.png"), 0);
    EXPECT_EQ(out, "42\n");
}

TEST_F(ScoreReadTool, ReportsAMissingRecordWithAMessage)
{
    put(PNG_BYTES);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("score.png: no score record"), std::string::npos) << err;
}

TEST_F(ScoreReadTool, ReportsAMissingFile)
{
    EXPECT_EQ(run("absent.png"), 2);
    EXPECT_NE(err.find("absent.png: the file cannot be read"), std::string::npos) << err;
    EXPECT_EQ(run("a b"), 2);
    EXPECT_NE(err.find("usage"), std::string::npos) << err;
}

}  // namespace
