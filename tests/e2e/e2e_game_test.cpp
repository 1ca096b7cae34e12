// Whole games: the rules box, 50 clicks, the result box with the right time,
// Yes for a fresh game, No to quit, and the card and record in "score.png".
#include <windows.h>

#include "tests/e2e/game_run.h"

namespace {

TEST_F(GameRun, OneGameEndsWithNoAndLeavesItsCard)
{
    AutoplayOptions o = options();
    // A steady game of 14 s or more: long enough that the player's window
    // around its own time fails a clock at half speed, even with the emulated
    // run's allowance (7 s shown for 14 s is more than 3 s and a quarter behind).
    o.pace_ms = 280;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("geometry", "rules", "gadgets", "label-before-rules", "rules-ok", "start", "result",
                   "result-text", "result-bar", "result-target", "result-label", "result-time", "clock", "jumps",
                   "result-no", "exit-after-no", "card-1");
    // "game 1 seconds <t> clicks 50 elapsed_ms <ms>"
    auto games = lines("game 1 seconds ");
    ASSERT_EQ(games.size(), 1u) << report_text();
    EXPECT_GE(std::stoi(games[0][7]), 49 * 280) << report_text();
    int32_t seconds = game_seconds(1);
    EXPECT_EQ(lines("exit 0").size(), 1u);
    ScoreFile s = score();
    ASSERT_TRUE(s.has_record);
    EXPECT_EQ(s.record.seconds, seconds);
    EXPECT_TRUE(s.has_card);
    EXPECT_EQ(s.card.width, 100);
    EXPECT_EQ(s.card.height, 100);
}

TEST_F(GameRun, YesStartsAFreshGameAndTheFinishedGameGetsItsCard)
{
    AutoplayOptions o = options();
    o.games = 2;
    o.pace_ms = 0;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("result-yes", "restart", "card-1", "result-no", "exit-after-no", "card-2");
    // Each save replaces the file: only the second card and record are left.
    ScoreFile s = score();
    ASSERT_TRUE(s.has_record);
    EXPECT_EQ(s.record.seconds, game_seconds(2));
    EXPECT_TRUE(s.has_card) << "something lies between the card and the record";
}

TEST_F(GameRun, ScoreFileThatCannotBeWrittenCostsOnlyTheCard)
{
    ASSERT_TRUE(CreateDirectoryA(path("score.png").c_str(), nullptr));
    AutoplayOptions o = options();
    o.games = 2;
    o.pace_ms = 0;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("result-yes", "restart", "result-no", "exit-after-no");
    EXPECT_EQ(lines("card 1 not written").size(), 1u) << report_text();
    EXPECT_EQ(lines("card 2 not written").size(), 1u) << report_text();
    EXPECT_TRUE(GetFileAttributesA(path("score.png").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
