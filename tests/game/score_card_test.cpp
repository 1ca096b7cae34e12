// The score card on the real runtime: the PNG that "score.png" starts with,
// decoded and looked at, and the record appended behind it.
#include <gtest/gtest.h>

#include <windows.h>
#include <png.h>
#include <fstream>
#include <string>
#include <vector>

#include "game/score_card.h"
#include "runtime/core/runtime.h"
#include "runtime/image/image.h"
#include "runtime/image/image_save.h"
#include "tests/support/temp_folder.h"

namespace {

struct Rgb {
    unsigned char r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
const Rgb ORANGE = {255, 126, 0};
const Rgb WHITE = {255, 255, 255};
const Rgb BLACK = {0, 0, 0};

// Records worked out by hand: the tag "quendrilavo5_" and the time's digits,
// each byte lowered by one, then CR LF and the length of that text.
const std::string TAG = "ptdmcqhk`un4^";
const struct Golden {
    int32_t seconds;
    std::string record;
} GOLDEN[] = {
    {10, TAG + "0/\r\n\x0f"},
    {23, TAG + "12\r\n\x0f"},
    {88, TAG + "77\r\n\x0f"},
    {100, TAG + "0//\r\n\x10"},
};

std::string record_of(int32_t seconds)
{
    for (const Golden& g : GOLDEN)
        if (g.seconds == seconds)
            return g.record;
    ADD_FAILURE() << "no record worked out for " << seconds;
    return "?";
}

// The size of the record of `seconds` when the file ends in it, else 0.
size_t record_size(const std::string& file, int32_t seconds)
{
    std::string record = record_of(seconds);
    if (file.size() < record.size() || file.compare(file.size() - record.size(), record.size(), record) != 0)
        return 0;
    return record.size();
}

struct Card {
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[y * 100 + x]; }
};

bool decode_card(const std::string& png, Card* card)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return false;
    if (image.width != 100 || image.height != 100)
        return false;
    image.format = PNG_FORMAT_RGB;
    card->pixels.resize(100 * 100);
    return png_image_finish_read(&image, nullptr, card->pixels.data(), 0, nullptr) != 0;
}

// The card in front of the record of `seconds` that ends the file; false when
// the file does not end in that record or the card does not decode.
bool card_before_record(const std::string& file, int32_t seconds, Card* card)
{
    size_t size = record_size(file, seconds);
    return size != 0 && decode_card(file.substr(0, file.size() - size), card);
}

class ScoreCard : public ::testing::Test {
protected:
    // The card goes to the working directory: a folder of the test's own,
    // left before it is removed.
    void SetUp() override { SetCurrentDirectoryA(temp.folder().c_str()); }
    void TearDown() override { SetCurrentDirectoryA(".."); }
    TempFolder temp{"zorvant_card"};
};

TEST_F(ScoreCard, TheFileIsThePngFollowedByTheRecord)
{
    score_card_write(23);
    std::string file = TempFolder::read("score.png");
    size_t size = record_size(file, 23);
    ASSERT_NE(size, 0u);
    std::string png = file.substr(0, file.size() - size);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // The last chunk, IEND with its fixed CRC, ends where the record starts.
    EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
    Card card;
    ASSERT_TRUE(decode_card(png, &card));
}

TEST_F(ScoreCard, ShowsStripedOrangeDigitsUnderAWhiteTitleInAnOrangeFrame)
{
    score_card_write(88);
    Card card;
    ASSERT_TRUE(card_before_record(TempFolder::read("score.png"), 88, &card));

    // The frame, drawn last, is whole.
    for (int i = 1; i <= 98; ++i) {
        EXPECT_EQ(card.at(i, 1), ORANGE) << i;
        EXPECT_EQ(card.at(i, 98), ORANGE) << i;
        EXPECT_EQ(card.at(1, i), ORANGE) << i;
        EXPECT_EQ(card.at(98, i), ORANGE) << i;
    }
    EXPECT_EQ(card.at(0, 0), BLACK);
    EXPECT_EQ(card.at(99, 99), BLACK);

    // The title is white and the digits orange, in their own bands.
    int white = 0, orange = 0, stripes = 0;
    for (int y = 3; y < 97; ++y)
        for (int x = 3; x < 97; ++x) {
            Rgb p = card.at(x, y);
            white += p == WHITE && y < 28;
            orange += p == ORANGE && y >= 28;
            // A black pixel between orange ones above and below: a fan line
            // crossing a stroke of a digit.
            stripes += y >= 28 && p == BLACK && card.at(x, y - 1) == ORANGE && card.at(x, y + 1) == ORANGE;
        }
    EXPECT_GT(white, 10);
    EXPECT_GT(orange, 100);
    EXPECT_GT(stripes, 5);
}

TEST_F(ScoreCard, ASecondGameReplacesTheCardAndItsRecord)
{
    score_card_write(23);
    score_card_write(100);
    std::string file = TempFolder::read("score.png");
    Card card;
    EXPECT_TRUE(card_before_record(file, 100, &card));
    EXPECT_EQ(file.find(record_of(23)), std::string::npos);
}

TEST_F(ScoreCard, AScoreFileThatCannotBeWrittenIsLeftAsItWas)
{
    {
        std::ofstream out("score.png", std::ios::binary);
        out << "older";
    }
    // Held open without sharing: neither the save nor the record can write.
    // (A read-only attribute would not do: Wine running as root ignores it.)
    HANDLE held = CreateFileA("score.png", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    score_card_write(12);
    CloseHandle(held);
    EXPECT_EQ(TempFolder::read("score.png"), "older");
}

// The names in a folder listing, "." and ".." left out.
std::vector<std::string> listing(const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST_F(ScoreCard, AFolderNamedScorePngCostsTheCardAndNothingElse)
{
    ASSERT_TRUE(CreateDirectoryA("score.png", nullptr));
    score_card_write(9);
    // Nothing written beside it or into it, and the card's image not kept.
    EXPECT_EQ(listing("*"), std::vector<std::string>{"score.png"});
    EXPECT_TRUE(listing("score.png\\*").empty());
    EXPECT_EQ(image_exists(100), 0);
    // The next game's card is whole, record included.
    ASSERT_TRUE(RemoveDirectoryA("score.png"));
    score_card_write(10);
    Card card;
    EXPECT_TRUE(card_before_record(TempFolder::read("score.png"), 10, &card));
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    runtime_start();
    png_encoder_register();
    return RUN_ALL_TESTS();
}
