// The end of a game as the runtime sees it: the card saved as "score.png"
// through the PNG encoder, the scrambled record appended through the file
// library, and both read back: the PNG whole up to its IEND chunk, the record
// by the score record's own reader.
#include <gtest/gtest.h>

#include <string>

#include "game/score_record.h"
#include "runtime/file/file.h"
#include "runtime/image/image_save.h"
#include "tests/runtime/image/image_pixels.h"
#include "tests/runtime/temp_folder.h"

namespace {

class PngRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        image_test_start();
        file_service_start();
        png_encoder_register();
    }
    void TearDown() override
    {
        file_service_end();
        image_free_all();
    }
    // Saves a fresh card and appends the record of `seconds` as the game does.
    void end_game(const std::string& name, int32_t seconds)
    {
        ASSERT_NE(image_create(100, 100, 100), 0);
        ASSERT_EQ(image_save(100, name.c_str(), ENCODER_PNG), 1);
        image_free(100);
        char scrambled[SCORE_TEXT_MAX + 1];
        int32_t n = static_cast<int32_t>(score_record_text(seconds, scrambled));
        ASSERT_NE(file_open(0, name.c_str()), 0);
        file_seek(0, file_length(0));
        EXPECT_EQ(file_write_line(0, scrambled), n + 2);
        EXPECT_EQ(file_write_byte(0, n), 1);
        file_close(0);
    }
    // The time of the record at the end of the file, or -1.
    static int32_t record_seconds(const std::string& name)
    {
        std::string bytes = TempFolder::read(name);
        int32_t seconds = -1;
        score_record_parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &seconds);
        return seconds;
    }
    TempFolder temp{"zorvant_record_"};
};

TEST_F(PngRecordTest, RecordFollowsTheWholePng)
{
    std::string name = temp.path("score.png");
    end_game(name, 23);
    std::string bytes = TempFolder::read(name);
    size_t record = SCORE_TAG_LENGTH + 2 + 3;
    ASSERT_GT(bytes.size(), record + 12);
    EXPECT_EQ(bytes.compare(0, 8, "\x89PNG\r\n\x1A\n"), 0);
    // The PNG's last chunk, IEND with its fixed CRC, ends where the record starts.
    EXPECT_EQ(bytes.substr(bytes.size() - record - 12, 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
    EXPECT_EQ(record_seconds(name), 23);
}

TEST_F(PngRecordTest, SecondGameLeavesOnlyItsOwnCardAndRecord)
{
    std::string name = temp.path("score.png");
    end_game(name, 23);
    size_t first = TempFolder::read(name).size();
    end_game(name, 100);
    EXPECT_EQ(TempFolder::read(name).size(), first + 1);
    EXPECT_EQ(record_seconds(name), 100);
}

}  // namespace
