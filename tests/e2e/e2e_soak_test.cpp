// A short soak: games in a row in one program, some clicks landing right
// after or just before a clock tick; the game's memory stays flat.
#include "tests/e2e/support/e2e.h"

namespace {

TEST_F(GameRun, FiveGamesWithClicksAroundTheClockTicks)
{
    AutoplayOptions o = options();
    o.games = 5;
    o.pace_ms = 0;
    o.tick_aligned = true;
    o.resources = true;
    EXPECT_EQ(play(o), 0) << report_text();
    // "resources game <n> gdi <g> private <bytes> working <bytes>"
    auto figures = lines("resources game ");
    ASSERT_EQ(figures.size(), 5u) << report_text();
    auto value = [&](size_t game, size_t word) { return std::stoull(figures[game - 1][word]); };
    // After the first game has set everything up, nothing more is kept.
    const unsigned long long slack = 512 * 1024;
    EXPECT_LE(value(5, 6), value(2, 6) + slack) << report_text();
    EXPECT_LE(value(5, 4), value(2, 4)) << report_text();
}

}  // namespace
