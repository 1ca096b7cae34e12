// A short soak: games in a row in one program, some clicks landing right
// after or just before a clock tick; the game's GDI objects and memory stay
// flat.
#include "tests/e2e/game_run.h"

namespace {

TEST_F(GameRun, FiveGamesWithClicksAroundTheClockTicks)
{
    AutoplayOptions o = options();
    o.games = 5;
    o.pace_ms = 0;
    o.tick_aligned = true;
    o.resources = true;
    EXPECT_EQ(play(o), 0) << report_text();
    // "resources game <n> bitmaps <b> dcs <d> regions <r> fonts <f> brushes <b>
    // pens <p> other <o> private <bytes> working <bytes>"
    auto figures = lines("resources game ");
    ASSERT_EQ(figures.size(), 5u) << report_text();
    ASSERT_EQ(figures[1].size(), 21u) << report_text();
    auto census = [&](size_t game) {
        const auto& words = figures[game - 1];
        return std::vector<std::string>(words.begin() + 3, words.begin() + 17);
    };
    auto value = [&](size_t game, size_t word) { return std::stoull(figures[game - 1][word]); };
    // After the first game has set everything up, nothing more is kept: not
    // one GDI object, and memory within a slack.
    EXPECT_EQ(census(5), census(2)) << report_text();
    const unsigned long long slack = 512 * 1024;
    EXPECT_LE(value(5, 18), value(2, 18) + slack) << report_text();
}

}  // namespace
