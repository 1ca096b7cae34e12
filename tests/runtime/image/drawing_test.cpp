// Drawing on real images under the platform: line pixels read back, text
// placement and background, the context's state around each call, the image
// output's context and the other kinds of drawing target.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image_output.h"
#include "tests/runtime/image/image_readback.h"
#include "tests/support/runtime_start.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

const uint32_t BLACK = 0x000000;
const uint32_t WHITE = 0xFFFFFF;
const uint32_t ORANGE = 0xFF7E00;  // red 255, green 126, blue 0 as read back

int count_colour(const std::vector<uint32_t>& pixels, uint32_t colour)
{
    int n = 0;
    for (uint32_t p : pixels)
        n += p == colour;
    return n;
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("images");
        ASSERT_NE(image_create(100, 100, 100), 0);
    }
    void TearDown() override
    {
        drawing_stop();
        image_output_release();
        image_free_all();
        font_free_all();
    }
    HDC start() { return drawing_start(image_output(100)); }
    std::vector<uint32_t> stop_and_read()
    {
        drawing_stop();
        return image_pixels(100);
    }
};

// A line of one point sets that pixel.
TEST_F(DrawingTest, ColouredLineSetsBothEndPointsAndNothingElse)
{
    ASSERT_NE(start(), nullptr);
    draw_line(1, 1, 98, 1, 0x7EFF);
    draw_line(5, 5, 5, 5, 0xFFFFFF);
    std::vector<uint32_t> pixels = stop_and_read();
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            bool on_line = y == 1 && x >= 1 && x <= 98;
            uint32_t expected = on_line ? ORANGE : x == 5 && y == 5 ? WHITE : BLACK;
            ASSERT_EQ(pixels[y * 100 + x], expected) << x << "," << y;
        }
    }
}

TEST_F(DrawingTest, ColouredLineLeavesThePenAndThePositionAsTheyWere)
{
    HDC dc = start();
    ASSERT_NE(dc, nullptr);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    EXPECT_EQ(pen, drawing_state()->default_pen);
    MoveToEx(dc, 7, 9, nullptr);
    draw_line(10, 10, 20, 30, 0x123456);
    POINT at = {};
    GetCurrentPositionEx(dc, &at);
    EXPECT_EQ(at.x, 7);
    EXPECT_EQ(at.y, 9);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
}

TEST_F(DrawingTest, FrontColourAndMinusOneDrawWithTheDefaultBlackPen)
{
    ASSERT_NE(start(), nullptr);
    draw_line(0, 10, 99, 10, 0xFFFFFF);
    draw_line(0, 20, 99, 20, 0xFFFFFF);
    draw_line(0, 10, 49, 10, 0);
    draw_line(0, 20, 49, 20, -1);
    std::vector<uint32_t> pixels = stop_and_read();
    for (int x = 0; x < 100; ++x) {
        uint32_t expected = x < 50 ? BLACK : WHITE;
        EXPECT_EQ(pixels[10 * 100 + x], expected) << x;
        EXPECT_EQ(pixels[20 * 100 + x], expected) << x;
    }
}

// SetPixelV follows the context's mix mode as lines do (Wine's drawing
// engine, as on Windows), so in invert mode the end point is inverted too.
TEST_F(DrawingTest, InvertModeInvertsTheWholeLine)
{
    ASSERT_NE(start(), nullptr);
    drawing_set_mode(DRAW_INVERT);
    draw_line(0, 0, 9, 0, -1);
    draw_line(0, 1, 9, 1, 0x7EFF);
    std::vector<uint32_t> pixels = stop_and_read();
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(pixels[x], WHITE) << x;
        EXPECT_EQ(pixels[100 + x], WHITE) << x;
    }
    EXPECT_EQ(count_colour(pixels, WHITE), 20);
}

TEST_F(DrawingTest, ModeSetsRasterOperationBrushAndBackgroundMode)
{
    HDC dc = start();
    ASSERT_NE(dc, nullptr);
    // A new memory context draws opaque and copies the pen.
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    drawing_set_mode(DRAW_TRANSPARENT | DRAW_INVERT | DRAW_OUTLINED);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetROP2(dc), R2_NOT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    drawing_set_mode(0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), drawing_state()->front_brush);
    EXPECT_EQ(drawing_state()->mode, 0);
}

TEST_F(DrawingTest, TextGivesTheXAfterItsWidth)
{
    ASSERT_NE(font_load(100, "Tahoma", 28), 0);
    ASSERT_NE(start(), nullptr);
    drawing_set_font(font_handle(100));
    EXPECT_EQ(draw_text(10, 30, "", 0x7EFF, 0), 10);
    EXPECT_EQ(draw_text(10, 30, nullptr, 0x7EFF, 0), 10);
    int width = drawing_text_width("23");
    EXPECT_GT(width, 20);
    EXPECT_EQ(draw_text(10, 30, "23", 0x7EFF, 0), 10 + width);
    EXPECT_EQ(drawing_text_width(""), 0);
    EXPECT_EQ(drawing_text_width(nullptr), 0);
}

TEST_F(DrawingTest, OpaqueTextFillsItsCellFromTheTopLeftCorner)
{
    ASSERT_NE(font_load(100, "Tahoma", 28), 0);
    ASSERT_NE(start(), nullptr);
    drawing_set_font(font_handle(100));
    int right = draw_text(20, 30, "88", 0x7EFF, 0x00FF00);
    std::vector<uint32_t> pixels = stop_and_read();
    auto at = [&](int x, int y) { return pixels[y * 100 + x]; };
    EXPECT_EQ(at(20, 30), 0x00FF00u);
    EXPECT_EQ(at(19, 30), BLACK);
    EXPECT_EQ(at(20, 29), BLACK);
    EXPECT_EQ(at(right - 1, 30), 0x00FF00u);
    EXPECT_EQ(at(right, 30), BLACK);
    EXPECT_GT(count_colour(pixels, 0x00FF00), 500);
    EXPECT_GT(count_colour(pixels, ORANGE), 50);
}

// Empty text, even opaque, fills no cell either.
TEST_F(DrawingTest, TransparentTextLeavesItsCellUnfilled)
{
    ASSERT_NE(font_load(101, "Tahoma", 6), 0);
    ASSERT_NE(start(), nullptr);
    drawing_set_font(font_handle(101));
    draw_text(10, 30, "", 0x00FF00, 0x00FF00);
    drawing_set_mode(DRAW_TRANSPARENT);
    draw_text(5, 5, "Zorvant v1.0", 0xFFFFFF, 0x00FF00);
    std::vector<uint32_t> pixels = stop_and_read();
    EXPECT_EQ(count_colour(pixels, 0x00FF00), 0);
    EXPECT_GT(count_colour(pixels, WHITE), 10);
}

TEST_F(DrawingTest, TextLeavesTheColoursAndThePositionAsTheyWere)
{
    HDC dc = start();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetTextColor(dc), 0u);
    EXPECT_EQ(GetTextAlign(dc) & TA_UPDATECP, static_cast<UINT>(TA_UPDATECP));
    COLORREF back = GetBkColor(dc);
    draw_text(10, 30, "12", 0x7EFF, 0x123456);
    EXPECT_EQ(GetTextColor(dc), 0u);
    EXPECT_EQ(GetBkColor(dc), back);
    POINT at = {-1, -1};
    GetCurrentPositionEx(dc, &at);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

TEST_F(DrawingTest, SystemFontAndFontsAreSelectedIntoTheContext)
{
    ASSERT_NE(font_load(100, "Tahoma", 28), 0);
    HDC dc = start();
    ASSERT_NE(dc, nullptr);
    drawing_set_font(font_handle(100));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font_handle(100));
    drawing_set_font(DRAWING_SYSTEM_FONT);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    // A font that failed to load leaves the context's font.
    drawing_set_font(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    // A font freed while the drawing has it selected is deleted at once: the
    // system font takes its place (Wine would only defer the deletion).
    drawing_set_font(font_handle(100));
    HFONT font = font_handle(100);
    font_free(100);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(drawing_state()->font, nullptr);
}

// A missing image has no output to start on.
TEST_F(DrawingTest, StartOfNullEndsTheDrawingAndGivesZero)
{
    EXPECT_EQ(image_output(7), nullptr);
    EXPECT_EQ(image_output(OBJECT_ANY), nullptr);
    EXPECT_EQ(drawing_start(image_output(7)), nullptr);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(drawing_start(nullptr), nullptr);
    EXPECT_EQ(drawing_state()->device_context, nullptr);
    EXPECT_EQ(image_state()->device_context, nullptr);
    EXPECT_EQ(drawing_text_width("abc"), 0);
    EXPECT_EQ(draw_text(10, 10, "abc", 0xFFFFFF, 0), 0);
    draw_line(0, 0, 99, 99, 0xFFFFFF);
    EXPECT_EQ(drawing_stop(), 0);
    EXPECT_EQ(count_colour(image_pixels(100), BLACK), 100 * 100);
}

TEST_F(DrawingTest, StopGivesTheReleaseResultAndLeavesNoObjectBehind)
{
    GdiCensus before = gdi_census();
    ASSERT_NE(start(), nullptr);
    HBRUSH brush = drawing_state()->front_brush;
    ASSERT_NE(brush, nullptr);
    draw_line(1, 1, 98, 1, 0x7EFF);
    drawing_set_mode(DRAW_OUTLINED | DRAW_TRANSPARENT);
    draw_text(10, 30, "x", 0xFFFFFF, 0);
    EXPECT_EQ(drawing_stop(), 1);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(drawing_stop(), 0);
    EXPECT_EQ(gdi_census(), before);
}

// A picture freed, resized or replaced while a drawing goes on through its
// output: the drawing ends and the output closes first, so the old bitmap is
// selected nowhere and deleted at once. (Windows refuses to delete a selected
// bitmap; Wine defers it, so the old bitmap would still be counted.)
TEST_F(DrawingTest, APictureFreedResizedOrReplacedUnderADrawingIsDeletedAtOnce)
{
    struct Change {
        const char* name;
        void (*change)();
        int32_t bitmaps;  // afterwards, against the image before its output
    } changes[] = {
        {"free", [] { image_free(100); }, -1},
        {"resize", [] { ASSERT_NE(image_resize(100, 50, 20), 0); }, 0},
        {"replace", [] { ASSERT_NE(image_create(100, 20, 20), 0); }, 0},
        {"stop, then free", [] { drawing_stop(); image_free(100); }, -1},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(image_create(100, 100, 100), 0);
        GdiCensus expected = gdi_census();
        expected.bitmaps += c.bitmaps;
        HGDIOBJ picture = image_record(100)->handle;
        ASSERT_NE(start(), nullptr);
        c.change();
        EXPECT_EQ(GetObjectType(picture), 0u);
        EXPECT_EQ(drawing_state()->device_context, nullptr);
        EXPECT_EQ(image_state()->device_context, nullptr);
        EXPECT_EQ(gdi_census(), expected);
    }
}

TEST_F(DrawingTest, SecondImageOutputReleasesTheFirstContextAndEndsItsDrawing)
{
    ASSERT_NE(image_create(101, 10, 10), 0);
    DrawingOutput* first = image_output(100);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->kind, OUTPUT_IMAGE);
    EXPECT_EQ(first->release, image_output_release);
    HDC first_dc = first->device_context;
    ASSERT_EQ(drawing_start(first), first_dc);
    DrawingOutput* second = image_output(101);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(drawing_state()->device_context, nullptr);
    EXPECT_EQ(GetObjectType(first_dc), 0u);
    EXPECT_NE(second->device_context, nullptr);
    EXPECT_EQ(image_state()->device_context, second->device_context);
}

// A drawing's stop deletes the output's context: the same descriptor cannot
// start a second drawing, and a fresh image output can.
TEST_F(DrawingTest, SecondDrawingOnOneImageOutputFailsUntilTheOutputIsMadeAgain)
{
    DrawingOutput* output = image_output(100);
    ASSERT_NE(drawing_start(output), nullptr);
    drawing_stop();
    EXPECT_EQ(drawing_start(output), nullptr);
    EXPECT_EQ(drawing_state()->device_context, nullptr);
    ASSERT_NE(start(), nullptr);
    draw_line(5, 5, 5, 5, 0xFFFFFF);
    EXPECT_EQ(stop_and_read()[5 * 100 + 5], WHITE);
}

// Targets of other kinds, made by the test itself on a memory context.
HGDIOBJ pen_at_release;
HGDIOBJ brush_at_release;
HDC owned_dc;
HDC fresh_dc;

intptr_t owned_release()
{
    pen_at_release = GetCurrentObject(owned_dc, OBJ_PEN);
    brush_at_release = GetCurrentObject(owned_dc, OBJ_BRUSH);
    return 55;
}

HDC fresh_context()
{
    return fresh_dc;
}

TEST_F(DrawingTest, StopSelectsBackThePenAndBrushTheContextHeld)
{
    owned_dc = CreateCompatibleDC(nullptr);
    HGDIOBJ pen = GetCurrentObject(owned_dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(owned_dc, OBJ_BRUSH);
    DrawingOutput output = {};
    output.kind = 5;
    output.device_context = owned_dc;
    output.release = owned_release;
    ASSERT_EQ(drawing_start(&output), owned_dc);
    EXPECT_EQ(GetCurrentObject(owned_dc, OBJ_PEN), drawing_state()->default_pen);
    EXPECT_EQ(GetCurrentObject(owned_dc, OBJ_BRUSH), drawing_state()->default_brush);
    EXPECT_EQ(drawing_stop(), 55);
    EXPECT_EQ(pen_at_release, pen);
    EXPECT_EQ(brush_at_release, brush);
    DeleteDC(owned_dc);
}

TEST_F(DrawingTest, OtherKindsDeleteTheirContextAtStop)
{
    HDC dc = CreateCompatibleDC(nullptr);
    DrawingOutput output = {};
    output.kind = 3;
    output.device_context = dc;
    ASSERT_EQ(drawing_start(&output), dc);
    EXPECT_EQ(drawing_stop(), 1);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST_F(DrawingTest, LostContextOfKindSevenIsRemadeBeforeTheNextOperation)
{
    ASSERT_NE(image_create(101, 10, 10), 0);
    owned_dc = CreateCompatibleDC(nullptr);
    fresh_dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(fresh_dc, reinterpret_cast<HBITMAP>(image_handle(101)));
    DrawingOutput output = {};
    output.kind = 7;
    output.device_context = owned_dc;
    output.release = owned_release;
    output.extra_values[6] = reinterpret_cast<intptr_t>(fresh_context);
    ASSERT_EQ(drawing_start(&output), owned_dc);
    drawing_set_mode(DRAW_TRANSPARENT);
    drawing_state()->context_state = DRAWING_CONTEXT_LOST;
    draw_line(0, 0, 9, 0, 0xFFFFFF);
    EXPECT_EQ(drawing_state()->device_context, fresh_dc);
    EXPECT_EQ(drawing_state()->context_state, 1);
    EXPECT_EQ(GetBkMode(fresh_dc), TRANSPARENT);
    EXPECT_EQ(GetTextAlign(fresh_dc) & TA_UPDATECP, static_cast<UINT>(TA_UPDATECP));
    EXPECT_EQ(GetPixel(fresh_dc, 4, 0), RGB(255, 255, 255));
    drawing_stop();
    SelectObject(fresh_dc, old);
    DeleteDC(fresh_dc);
    DeleteDC(owned_dc);
}

}  // namespace
