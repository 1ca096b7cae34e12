// Image gadget painting, read back from the control's own device context:
// the inset border, centring, the push offset, the pressed picture of a
// toggle and immediate repaints on a new picture.
#include <gtest/gtest.h>

#include "runtime/gui/gadget.h"
#include "tests/runtime/gui/gadget_fixture.h"
#include "tests/support/input.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

const COLORREF RED = RGB(255, 0, 0);
const COLORREF GREEN = RGB(0, 255, 0);
const COLORREF BLUE = RGB(0, 0, 255);

class ImageGadget : public GadgetFixture {
protected:
    void SetUp() override
    {
        GadgetFixture::SetUp();
        red100 = test_solid_bitmap(100, 100, RED);
        red40 = test_solid_bitmap(40, 40, RED);
        green40 = test_solid_bitmap(40, 40, GREEN);
        blue40 = test_solid_bitmap(40, 40, BLUE);
    }
    void TearDown() override
    {
        GadgetFixture::TearDown();
        for (HBITMAP b : {red100, red40, green40, blue40})
            DeleteObject(b);
    }
    HWND create(HBITMAP picture, uint32_t flags = 0)
    {
        control = reinterpret_cast<HWND>(gadget_image_create(0, 10, 10, 100, 100, picture, flags));
        EXPECT_TRUE(test_pump_painted(control));
        return control;
    }
    // This program carries no manifest asking for common controls 6: visual
    // styles are off, and the unthemed inset applies.
    int inset() const { return 2; }

    HWND control = nullptr;
    HBITMAP red100 = nullptr, red40 = nullptr, green40 = nullptr, blue40 = nullptr;
};

TEST_F(ImageGadget, ASmallPictureIsCentredALargeOneCutByTheInsetBorder)
{
    ASSERT_NE(create(red100), nullptr);
    TestCapture c = test_capture(control);
    int i = inset();
    EXPECT_EQ(c.bounds(RED), (RECT{i, i, 100 - i, 100 - i}));
    EXPECT_EQ(c.count(RED), (100 - 2 * i) * (100 - 2 * i));  // a solid picture, nothing left out
    ASSERT_NE(create(red40), nullptr);
    c = test_capture(control);
    EXPECT_EQ(c.bounds(RED), (RECT{30, 30, 70, 70}));
    EXPECT_EQ(c.count(RED), 40 * 40);
}

TEST_F(ImageGadget, HeldDownThePictureMovesOnePixelRightAndDown)
{
    ASSERT_NE(create(red40), nullptr);
    POINT centre = test_screen_point(control, 50, 50);
    ASSERT_TRUE(test_mouse_settle(centre, test_pump));
    auto pushed = [&] { return (SendMessageA(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
    input_button(centre, true);
    ASSERT_TRUE(test_pump_until(pushed));
    ASSERT_TRUE(test_pump_painted(control));
    EXPECT_EQ(test_capture(control).bounds(RED), (RECT{31, 31, 71, 71}));
    input_button(centre, false);
    ASSERT_TRUE(test_pump_until([&] { return !pushed(); }));
    ASSERT_TRUE(test_pump_painted(control));
    EXPECT_EQ(test_capture(control).bounds(RED), (RECT{30, 30, 70, 70}));
    EXPECT_EQ(GadgetParent::last_command, MAKEWPARAM(0, BN_CLICKED));  // the release clicked gadget 0
}

TEST_F(ImageGadget, ANewPictureThroughSetStateIsPaintedAtOnce)
{
    ASSERT_NE(create(red40), nullptr);
    GdiCensus painted = gdi_census();
    gadget_set_state(0, reinterpret_cast<intptr_t>(blue40));  // no message is pumped after this
    // The paint gave back its clip region and context.
    EXPECT_EQ(gdi_census(), painted);
    TestCapture c = test_capture(control);
    EXPECT_EQ(c.bounds(BLUE), (RECT{30, 30, 70, 70}));
    EXPECT_EQ(c.count(RED), 0);
    EXPECT_EQ(gadget_get_state(0), reinterpret_cast<intptr_t>(blue40));
    EXPECT_EQ(GetObjectType(red40), static_cast<DWORD>(OBJ_BITMAP));  // the old picture is not the gadget's
}

TEST_F(ImageGadget, AToggleShowsItsPressedPictureWhileChecked)
{
    ASSERT_NE(create(red40, IMAGE_GADGET_TOGGLE), nullptr);
    gadget_set_attribute(0, 2, reinterpret_cast<intptr_t>(green40));
    EXPECT_EQ(gadget_get_attribute(0, 2), reinterpret_cast<intptr_t>(green40));
    EXPECT_EQ(gadget_get_attribute(0, 1), reinterpret_cast<intptr_t>(red40));
    EXPECT_EQ(gadget_get_state(0), 0);
    EXPECT_EQ(test_capture(control).count(RED), 40 * 40);
    gadget_set_state(0, 1);
    EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(gadget_get_state(0), 1);
    TestCapture checked = test_capture(control);
    EXPECT_EQ(checked.count(GREEN), 40 * 40);
    EXPECT_EQ(checked.count(RED), 0);
    gadget_set_state(0, 0);
    EXPECT_EQ(test_capture(control).count(RED), 40 * 40);
}

TEST_F(ImageGadget, AToggleIsNotMadeByOtherFlags)
{
    ASSERT_NE(create(red40, BS_AUTOCHECKBOX), nullptr);
    gadget_set_state(0, reinterpret_cast<intptr_t>(blue40));
    EXPECT_EQ(gadget_get_state(0), reinterpret_cast<intptr_t>(blue40));
}

TEST_F(ImageGadget, ADisabledGadgetDrawsItsPictureEmbossed)
{
    ASSERT_NE(create(red40), nullptr);
    EnableWindow(control, FALSE);
    ASSERT_TRUE(test_pump_painted(control));
    TestCapture c = test_capture(control);
    EXPECT_EQ(c.count(RED), 0);
    EXPECT_NE(c.at(50, 50), c.at(5, 5)) << "the embossed picture differs from the face";
}

TEST_F(ImageGadget, PrintingDrawsThePictureIntoTheGivenContext)
{
    ASSERT_NE(create(red40), nullptr);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 100, 100);
    HGDIOBJ old = SelectObject(memory, target);
    SendMessageA(control, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(memory, 50, 50), RED);
    EXPECT_EQ(GetPixel(memory, 30, 30), RED);
    EXPECT_NE(GetPixel(memory, 29, 29), RED);
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(ImageGadget, AnIconIsCentredByTheSizeOfItsMask)
{
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = test_solid_bitmap(32, 32, GREEN);
    info.hbmMask = CreateBitmap(32, 32, 1, 1, nullptr);  // all zero: every pixel opaque
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(create(reinterpret_cast<HBITMAP>(icon)), nullptr);
    EXPECT_EQ(test_capture(control).bounds(GREEN), (RECT{34, 34, 66, 66}));
    DestroyWindow(control);
    DestroyIcon(icon);
}

// The dotted focus rectangle lies 3 pixels inside the edge, drawn over the
// picture, while the top window shows keyboard cues. (Wine's prefix shows
// keyboard cues always, so here the top window answers WM_QUERYUISTATE
// itself to hide them.)
TEST_F(ImageGadget, AFocusedGadgetDrawsItsFocusRectangleOverThePicture)
{
    ASSERT_NE(create(red100), nullptr);
    auto red_on_ring = [&] {
        InvalidateRect(control, nullptr, TRUE);
        UpdateWindow(control);
        TestCapture c = test_capture(control);
        int red = 0;
        for (int x = 4; x < 96; ++x)
            red += (c.at(x, 3) == RED) + (c.at(3, x) == RED);
        EXPECT_EQ(c.at(50, 4), RED);  // just inside the ring the picture stays
        return red;
    };
    EXPECT_EQ(red_on_ring(), 2 * 92);
    gadget_focus(0);
    ASSERT_EQ(GetFocus(), control);
    EXPECT_EQ(red_on_ring(), 0);
    GadgetParent::hide_focus = true;
    EXPECT_EQ(red_on_ring(), 2 * 92);
    GadgetParent::hide_focus = false;
}

TEST_F(ImageGadget, WithoutAPictureOnlyTheFaceIsPainted)
{
    HBRUSH not_a_picture = CreateSolidBrush(RED);
    ASSERT_NE(create(reinterpret_cast<HBITMAP>(not_a_picture)), nullptr);
    EXPECT_EQ(test_capture(control).count(RED), 0);
    gadget_set_state(0, 0);
    EXPECT_EQ(test_capture(control).count(RED), 0);
    DeleteObject(not_a_picture);
}

}  // namespace
