// Leaving the program: the exit button's question, and closing the window.
#include "tests/e2e/game_run.h"

namespace {

TEST_F(GameRun, ExitButtonAsksThenNoGoesOnAndYesQuitsWithoutACard)
{
    AutoplayOptions o = options();
    o.games = 0;
    o.clicks = 3;
    o.quit = QUIT_BUTTON;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("exit-question", "exit-no", "exit-no-goes-on", "exit-yes", "exit-after-yes", "no-card");
    EXPECT_FALSE(exists("score.png"));
}

TEST_F(GameRun, ExitDuringALaterGameLeavesTheLastCardAlone)
{
    AutoplayOptions o = options();
    o.games = 1;
    o.last_yes = true;
    o.clicks = 2;
    o.quit = QUIT_BUTTON;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("restart", "card-1", "exit-after-yes", "no-card");
    ScoreFile s = score();
    EXPECT_TRUE(s.has_record && s.has_card);
    EXPECT_EQ(s.record.seconds, game_seconds(1));
}

TEST_F(GameRun, ClosingTheWindowQuitsWithoutAQuestion)
{
    AutoplayOptions o = options();
    o.games = 0;
    o.clicks = 2;
    o.quit = QUIT_CLOSE;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("close-no-question", "exit-after-close", "no-card");
    EXPECT_FALSE(exists("score.png"));
}

}  // namespace
