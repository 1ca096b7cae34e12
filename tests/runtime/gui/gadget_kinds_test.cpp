// The text, progress bar and button kinds and the generic operations on any
// gadget: geometry, state, focus, visibility, text and colours.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <string>

#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/runtime/gui/gadget_fixture.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

class GadgetKinds : public GadgetFixture {
protected:
    HWND handle(intptr_t created) { return reinterpret_cast<HWND>(created); }
    RECT placement(HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    std::string text(HWND control)
    {
        char buffer[64] = "?";
        GetWindowTextA(control, buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(GadgetKinds, ResizeKeepsWhatIsGivenAsCoordIgnore)
{
    HWND image = handle(gadget_image_create(0, 10, 20, 100, 100, nullptr));
    gadget_resize(0, COORD_IGNORE, COORD_IGNORE, 50, 50);
    EXPECT_EQ(placement(image), (RECT{10, 20, 60, 70}));
    gadget_resize(0, 30, COORD_IGNORE, COORD_IGNORE, 80);
    EXPECT_EQ(placement(image), (RECT{30, 20, 80, 100}));
    gadget_resize(0, 250, 250, 100, 100);
    EXPECT_EQ(placement(image), (RECT{250, 250, 350, 350}));
}

// A resize to the gadget's own place and size moves nothing, so what is left
// to repaint afterwards is the resize's own doing: the whole of a button and
// of a label, nothing of the other kinds.
TEST_F(GadgetKinds, ResizeRepaintsAButtonAndALabelAndNoOtherKind)
{
    HWND button = handle(gadget_button_create(5, 10, 10, 80, 20, "Выход"));
    HWND label = handle(gadget_text_create(1, 10, 40, 80, 20, "label"));
    HWND bar = handle(gadget_progress_create(2, 10, 70, 80, 20, 0, 50));
    HWND image = handle(gadget_image_create(0, 10, 100, 80, 20, nullptr));
    test_pump(50);
    for (HWND control : {button, label, bar, image})
        ValidateRect(control, nullptr);
    for (ObjectNumber n : {5, 1, 2, 0})
        gadget_resize(n, COORD_IGNORE, COORD_IGNORE, COORD_IGNORE, COORD_IGNORE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(button, &update, FALSE));
    EXPECT_EQ(update, (RECT{0, 0, 80, 20}));
    EXPECT_TRUE(GetUpdateRect(label, &update, FALSE));
    EXPECT_EQ(update, (RECT{0, 0, 80, 20}));
    EXPECT_FALSE(GetUpdateRect(bar, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(image, &update, FALSE));
    gadget_resize(1, COORD_IGNORE, COORD_IGNORE, 90, 30);
    EXPECT_EQ(placement(label), (RECT{10, 40, 100, 70}));
}

TEST_F(GadgetKinds, TheProgressBarFollowsItsStateOverItsRange)
{
    HWND bar = handle(gadget_progress_create(2, 100, 200, 200, 20, 0, 50));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(gadget_get_attribute(2, 1), 0);
    EXPECT_EQ(gadget_get_attribute(2, 2), 50);
    for (int count = 0; count <= 50; ++count) {
        gadget_set_state(2, count);
        ASSERT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), count);
        ASSERT_EQ(gadget_get_state(2), count);
    }
    gadget_set_attribute(2, 2, 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
    gadget_set_attribute(2, 1, 10);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 10);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(gadget_get_attribute(2, 3), 0);
}

TEST_F(GadgetKinds, TheProgressBarKeepsItsColours)
{
    gadget_progress_create(2, 100, 200, 200, 20, 0, 50);
    EXPECT_EQ(gadget_get_colour(2, 1), -1);
    EXPECT_EQ(gadget_get_colour(2, 2), -1);
    gadget_set_colour(2, 1, RGB(255, 0, 0));
    gadget_set_colour(2, 2, RGB(0, 0, 255));
    EXPECT_EQ(gadget_get_colour(2, 1), static_cast<int32_t>(RGB(255, 0, 0)));
    EXPECT_EQ(gadget_get_colour(2, 2), static_cast<int32_t>(RGB(0, 0, 255)));
    EXPECT_EQ(gadget_get_colour(2, 3), -1);
}

TEST_F(GadgetKinds, FocusMinusOneLeavesNoControlFocused)
{
    HWND button = handle(gadget_button_create(5, 10, 10, 80, 20, "b"));
    gadget_focus(5);
    EXPECT_EQ(GetFocus(), button);
    gadget_focus(-1);
    EXPECT_EQ(GetFocus(), nullptr);
    gadget_focus(5);
    gadget_focus(42);  // no such gadget: the focus stays
    EXPECT_EQ(GetFocus(), button);
}

TEST_F(GadgetKinds, ANullTextClearsALabel)
{
    HWND label = handle(gadget_text_create(1, 0, 200, 100, 20, nullptr));
    EXPECT_EQ(text(label), "");
    gadget_set_text(1, "     Время :  0s");
    EXPECT_EQ(text(label), "     Время :  0s");
    gadget_set_text(1, nullptr);
    EXPECT_EQ(text(label), "");
}

TEST_F(GadgetKinds, HiddenAndShown)
{
    HWND image = handle(gadget_image_create(0, 10, 10, 50, 50, nullptr));
    gadget_set_hidden(0, 1);
    EXPECT_FALSE(IsWindowVisible(image));
    gadget_set_hidden(0, 0);
    EXPECT_TRUE(IsWindowVisible(image));
}

TEST_F(GadgetKinds, TheButtonsStateIsItsCheckState)
{
    HWND box = handle(gadget_button_create(6, 10, 10, 80, 20, "box", BS_AUTOCHECKBOX));
    EXPECT_EQ(gadget_get_state(6), 0);
    gadget_set_state(6, 7);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(gadget_get_state(6), 1);
    gadget_set_state(6, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(GadgetKinds, TheKindsMakeTheirControlsWithTheirStyles)
{
    HWND button = handle(gadget_button_create(5, 520, 200, 80, 20, "Выход"));
    HWND label = handle(gadget_text_create(1, 0, 200, 100, 20, "", 0x20000));
    HWND bar = handle(gadget_progress_create(2, 100, 200, 420, 20, 0, 50));
    HWND image = handle(gadget_image_create(0, 250, 50, 100, 100, nullptr));
    char name[32];
    GetClassNameA(button, name, sizeof name);
    EXPECT_STREQ(name, "Button");
    GetClassNameA(bar, name, sizeof name);
    EXPECT_STREQ(name, "msctls_progress32");
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & 0x50030000, 0x50030000);
    EXPECT_EQ(GetWindowLongA(image, GWL_STYLE) & 0x50010000, 0x50010000);
    EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & 0x50020000, 0x50020000);
    EXPECT_EQ(GetWindowLongA(label, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(text(button), "Выход");
}

TEST_F(GadgetKinds, ALabelPaintsItsColours)
{
    GdiCensus before = gdi_census();
    HWND label = handle(gadget_text_create(1, 10, 10, 100, 20, ""));
    gadget_set_colour(1, 2, RGB(0, 200, 0));
    test_pump(50);
    EXPECT_EQ(test_capture(label).at(50, 10), RGB(0, 200, 0));
    // A text colour alone paints the background in the button face colour.
    HWND other = handle(gadget_text_create(2, 10, 40, 100, 20, ""));
    gadget_set_colour(2, 1, RGB(255, 0, 0));
    test_pump(50);
    EXPECT_EQ(test_capture(other).at(50, 10), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(gadget_get_colour(2, 1), static_cast<int32_t>(RGB(255, 0, 0)));
    EXPECT_EQ(gadget_get_colour(2, 2), -1);
    // Painted and freed, the labels leave no brush behind.
    gadget_free(1);
    gadget_free(2);
    EXPECT_EQ(gdi_census(), before);
}

TEST_F(GadgetKinds, OperationsOnANumberWithoutAGadgetDoNothing)
{
    gadget_resize(33, 1, 2, 3, 4);
    gadget_set_state(33, 1);
    gadget_set_hidden(33, 1);
    gadget_set_text(33, "x");
    gadget_set_attribute(33, 1, 1);
    gadget_set_colour(33, 1, 1);
    gadget_free(33);
    gadget_free(-5);
    EXPECT_EQ(gadget_get_state(33), 0);
    EXPECT_EQ(gadget_get_attribute(33, 1), 0);
    EXPECT_EQ(gadget_get_colour(33, 1), 0);
    // A kind without the operation ignores it.
    gadget_text_create(1, 10, 10, 100, 20, "t");
    gadget_set_state(1, 5);
    EXPECT_EQ(gadget_get_state(1), 0);
}

}  // namespace
