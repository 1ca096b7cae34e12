// The window as a person sees it: where it is, its shape and skin, what the
// target and the bar show, and how it moves under the mouse.
#include <set>

#include "tests/e2e/game_run.h"
#include "tools/make_skin/skin_asset.h"
#include "tools/pack/file_io.h"

namespace {

TEST_F(GameRun, DragOnTheBackgroundMovesTheWindowAClickOnTheTargetNever)
{
    AutoplayOptions o = options();
    o.games = 0;
    o.drag = true;
    o.quit = QUIT_CLOSE;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("hold-clock-shows", "drag-background", "drag-target", "drag-exit", "click-no-move");
}

// The colours on the bar's middle row between two x positions.
std::set<uint32_t> bar_colours(const Picture& shot, int32_t from, int32_t to)
{
    std::set<uint32_t> colours;
    for (int32_t x = from; x < to; x++)
        colours.insert(picture_pixel(shot, x, 610));
    return colours;
}

// How many pixels of the bar's middle row between two x positions have a
// colour that the empty bar does not show.
int32_t bar_filled(const Picture& shot, int32_t from, int32_t to, const std::set<uint32_t>& empty)
{
    int32_t filled = 0;
    for (int32_t x = from; x < to; x++)
        filled += empty.count(picture_pixel(shot, x, 610)) == 0;
    return filled;
}

TEST_F(GameRun, WindowIsShapedSkinnedAndShowsTheTargetAndTheBar)
{
    AutoplayOptions o = options();
    o.screenshots = path("shot");
    o.pace_ms = 20;
    EXPECT_EQ(play(o), 0) << report_text();
    EXPECT_CHECKED("geometry");
    // "screenshot <moment> <file> window <x,y> <w>x<h> desktop 0x<colour>"
    auto shots = lines("screenshot start ");
    ASSERT_EQ(shots.size(), 1u) << report_text();
    ASSERT_EQ(shots[0].size(), 8u);
    EXPECT_EQ(shots[0][4], "212,74");
    EXPECT_EQ(shots[0][5], "600x620");
    const uint32_t desktop = static_cast<uint32_t>(std::stoul(shots[0][7], nullptr, 16));

    Picture start = screenshot("start");
    ASSERT_EQ(start.width, 600);
    ASSERT_EQ(start.height, 620);
    // The rounded outline cuts the corners away: the desktop shows there.
    EXPECT_EQ(picture_pixel(start, 0, 0), desktop);
    EXPECT_EQ(picture_pixel(start, 2, 2), desktop);
    EXPECT_EQ(picture_pixel(start, 596, 2), desktop);
    EXPECT_EQ(picture_pixel(start, 2, 617), desktop);
    EXPECT_EQ(picture_pixel(start, 596, 617), desktop);
    // Inside the outline the skin's picture is painted, pixel for pixel: in
    // the corners just inside the cut, along the top edge, and in the open.
    Picture skin;
    ASSERT_TRUE(bmp_decode(skin_asset_picture(), skin));
    const int32_t points[][2] = {{20, 300}, {300, 0}, {14, 14}, {585, 595}, {100, 100}, {500, 450}, {598, 300}};
    for (const auto& p : points) {
        EXPECT_EQ(picture_pixel(start, p[0], p[1]), picture_pixel(skin, p[0], p[1])) << p[0] << "," << p[1];
        EXPECT_NE(picture_pixel(start, p[0], p[1]), desktop) << p[0] << "," << p[1];
    }

    // The target at its start place shows the middle of its picture.
    std::vector<uint8_t> bytes;
    Picture target;
    ASSERT_TRUE(file_read_all(path_from_unix(TARGET_PICTURE), bytes) && bmp_decode(bytes, target));
    EXPECT_EQ(picture_pixel(start, 300, 300), picture_pixel(target, 50, 50));
    EXPECT_EQ(picture_pixel(start, 280, 320), picture_pixel(target, 30, 70));

    // The bar runs from x 100 to 520: empty at the start, half full after 25
    // clicks, full at the result.
    Picture mid = screenshot("mid");
    Picture result = screenshot("result");
    ASSERT_EQ(mid.width, 600);
    ASSERT_EQ(result.width, 600);
    const std::set<uint32_t> empty = bar_colours(start, 104, 516);
    EXPECT_GT(bar_filled(mid, 110, 290, empty), 120);
    EXPECT_LT(bar_filled(mid, 340, 510, empty), 10);
    EXPECT_GT(bar_filled(result, 110, 290, empty), 120);
    EXPECT_GT(bar_filled(result, 340, 510, empty), 110);
}

}  // namespace
