// The end of a game as the runtime sees it: the card saved as "score.png"
// through the PNG encoder, the scrambled record appended through the file
// library, and both read back: the PNG whole up to its IEND chunk, the record
// by the score reader's own parser.
#include <gtest/gtest.h>

#include <string>

#include "runtime/file/file.h"
#include "runtime/image/image_save.h"
#include "tests/runtime/image/image_pixels.h"
#include "tests/runtime/temp_folder.h"
#include "tools/score_read/score_record.h"

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
    // Saves a fresh card and appends the record of `time` as the game does.
    void end_game(const std::string& name, const std::string& time)
    {
        ASSERT_NE(image_create(100, 100, 100), 0);
        ASSERT_EQ(image_save(100, name.c_str(), ENCODER_PNG), 1);
        image_free(100);
        std::string plain = std::string(SCORE_TAG) + time;
        std::string scrambled;
        for (char c : plain)
            scrambled += static_cast<char>(c - 1);
        ASSERT_NE(file_open(0, name.c_str()), 0);
        file_seek(0, file_length(0));
        EXPECT_EQ(file_write_line(0, scrambled.c_str()), static_cast<int32_t>(plain.size() + 2));
        EXPECT_EQ(file_write_byte(0, static_cast<int32_t>(scrambled.size())), 1);
        file_close(0);
    }
    TempFolder temp{"zorvant_record_"};
};

TEST_F(PngRecordTest, RecordFollowsTheWholePng)
{
    std::string name = temp.path("score.png");
    end_game(name, "23");
    std::string bytes = TempFolder::read(name);
    size_t record = std::string(SCORE_TAG).size() + 2 + 3;
    ASSERT_GT(bytes.size(), record + 12);
    EXPECT_EQ(bytes.compare(0, 8, "\x89PNG\r\n\x1A\n"), 0);
    // The PNG's last chunk, IEND with its fixed CRC, ends where the record starts.
    EXPECT_EQ(bytes.substr(bytes.size() - record - 12, 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
    int32_t seconds = 0;
    EXPECT_EQ(score_record_read_file(name.c_str(), &seconds), SCORE_RECORD_OK);
    EXPECT_EQ(seconds, 23);
}

TEST_F(PngRecordTest, SecondGameLeavesOnlyItsOwnCardAndRecord)
{
    std::string name = temp.path("score.png");
    end_game(name, "23");
    size_t first = TempFolder::read(name).size();
    end_game(name, "100");
    EXPECT_EQ(TempFolder::read(name).size(), first + 1);
    int32_t seconds = 0;
    EXPECT_EQ(score_record_read_file(name.c_str(), &seconds), SCORE_RECORD_OK);
    EXPECT_EQ(seconds, 100);
}

}  // namespace
