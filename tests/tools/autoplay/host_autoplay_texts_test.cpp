// The player's readers of the game's texts and its command line.
#include <gtest/gtest.h>

#include "tools/autoplay/options.h"
#include "tools/autoplay/texts.h"

namespace {

std::string clock_text(const std::string& tail)
{
    return std::string(SHOWN_CLOCK_PREFIX) + tail;
}

TEST(ClockLabel, ReadsTheSecondsAndTheSuffixOfAFreshGame)
{
    bool suffix = false;
    EXPECT_EQ(clock_label_seconds(clock_text("0s"), &suffix), 0);
    EXPECT_TRUE(suffix);
    EXPECT_EQ(clock_label_seconds(clock_text("1"), &suffix), 1);
    EXPECT_FALSE(suffix);
    EXPECT_EQ(clock_label_seconds(clock_text("60"), &suffix), 60);
    EXPECT_EQ(clock_label_seconds(clock_text("2147483647"), nullptr), 2147483647);
    // The prefix is 14 bytes: five spaces, the word, a space, a colon, two spaces.
    EXPECT_EQ(std::string(SHOWN_CLOCK_PREFIX).size(), 14u);
}

TEST(ClockLabel, RefusesAnythingElse)
{
    EXPECT_EQ(clock_label_seconds("", nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text(""), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text("07"), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text("7 "), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text("7ss"), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text("-1"), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(clock_text("2147483648"), nullptr), -1);
    EXPECT_EQ(clock_label_seconds(std::string("    ") + clock_text("3").substr(5), nullptr), -1);
}

TEST(ResultText, ReadsTheTimeBeforeTheQuestion)
{
    EXPECT_EQ(result_text_seconds(std::string("23") + SHOWN_RESULT_QUESTION), 23);
    EXPECT_EQ(result_text_seconds(std::string("0") + SHOWN_RESULT_QUESTION), 0);
    // The two lines are separated by CR alone.
    EXPECT_EQ(std::string(SHOWN_RESULT_QUESTION).substr(0, 6), " cek.\r");
    EXPECT_EQ(result_text_seconds(std::string("23 cek.\r\n") + (SHOWN_RESULT_QUESTION + 6)), -1);
    EXPECT_EQ(result_text_seconds(SHOWN_RESULT_QUESTION), -1);
    EXPECT_EQ(result_text_seconds("23"), -1);
}

TEST(Texts, AreWindows1251Bytes)
{
    // "Выход": В is 0xC2 and х is 0xF5 in Windows-1251.
    EXPECT_EQ(std::string(SHOWN_EXIT_BUTTON), "\xC2\xFB\xF5\xEE\xE4");
    EXPECT_EQ(std::string(SHOWN_EXIT_QUESTION).size(), 12u);
}

std::vector<const char*> arguments(std::initializer_list<const char*> list)
{
    return std::vector<const char*>(list);
}

TEST(Options, ReadsEveryOption)
{
    auto a = arguments({"--game", "/b/zorvant.exe", "--folder", "C:\\t", "--report", "/r.txt", "--games", "3",
                        "--last", "yes", "--clicks", "4", "--quit", "close", "--pace", "0", "--drag",
                        "--tick-aligned", "--resources", "--screenshots", "/s/shot", "--png", "--clock-lag", "25"});
    AutoplayOptions o;
    std::string error;
    ASSERT_TRUE(options_parse(static_cast<int>(a.size()), a.data(), o, error)) << error;
    EXPECT_EQ(o.game, "Z:\\b\\zorvant.exe");
    EXPECT_EQ(o.folder, "C:\\t");
    EXPECT_EQ(o.report, "Z:\\r.txt");
    EXPECT_EQ(o.screenshots, "Z:\\s\\shot");
    EXPECT_EQ(o.games, 3);
    EXPECT_TRUE(o.last_yes);
    EXPECT_EQ(o.clicks, 4);
    EXPECT_EQ(o.quit, QUIT_CLOSE);
    EXPECT_EQ(o.pace_ms, 0);
    EXPECT_EQ(o.clock_lag_percent, 25);
    EXPECT_TRUE(o.drag && o.tick_aligned && o.resources && o.png);
}

TEST(Options, DefaultsToOneGameEndedWithNo)
{
    auto a = arguments({"--game", "z.exe"});
    AutoplayOptions o;
    std::string error;
    ASSERT_TRUE(options_parse(static_cast<int>(a.size()), a.data(), o, error));
    EXPECT_EQ(o.games, 1);
    EXPECT_FALSE(o.last_yes);
    EXPECT_EQ(o.quit, QUIT_BUTTON);
    EXPECT_FALSE(o.drag);
    EXPECT_FALSE(o.png);
    EXPECT_EQ(o.clock_lag_percent, 0);
}

TEST(Options, RefusesWrongArgumentsAndSaysWhich)
{
    const std::vector<std::vector<const char*>> wrong = {
        {"--games", "2"},                          // no game
        {"--game", "z.exe", "--games"},            // missing value
        {"--game", "z.exe", "--games", "x"},       // not a number
        {"--game", "z.exe", "--games", "-1"},      // out of range
        {"--game", "z.exe", "--clicks", "49"},     // one more click would end the game
        {"--game", "z.exe", "--last", "maybe"},
        {"--game", "z.exe", "--quit", "kill"},
        {"--game", "z.exe", "--clock-lag", "101"},
        {"--game", "z.exe", "--speed", "1"},
    };
    for (const auto& a : wrong) {
        AutoplayOptions o;
        std::string error;
        EXPECT_FALSE(options_parse(static_cast<int>(a.size()), a.data(), o, error)) << a[a.size() - 1];
        EXPECT_FALSE(error.empty());
    }
}

TEST(Options, TurnsUnixPathsIntoWineDrivePaths)
{
    EXPECT_EQ(path_from_unix("/work/build/zorvant.exe"), "Z:\\work\\build\\zorvant.exe");
    EXPECT_EQ(path_from_unix("C:\\x"), "C:\\x");
    EXPECT_EQ(path_from_unix("rel/x"), "rel/x");
    EXPECT_EQ(path_from_unix(""), "");
}

}  // namespace
