// Gadgets inside a library window, driven by real input through event_wait:
// clicks become EVENT_GADGET with the gadget's number, label colours come
// through the window procedure, and a label set from another thread arrives
// during a wait.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "runtime/gui/gadget.h"
#include "runtime/gui/gadget_kind.h"
#include "tests/runtime/gui/window_fixture.h"
#include "tests/support/events.h"
#include "tests/support/input.h"
#include "tests/support/pixels.h"
#include "tests/support/window.h"

namespace {

class GadgetEvents : public WindowFixture {
protected:
    void SetUp() override
    {
        open(0, 0, 600, 300, "Zorvant");
        gadget_list_use(window);
        test_events_drop(100);
    }

    // A press and release at a point of the window; the events in between are
    // dropped until EVENT_GADGET comes. The cursor is settled there first:
    // Wine may replay the earlier pointer position after a move, and a press
    // there misses the gadget (seen on the emulated i686 run).
    bool click(int x, int y)
    {
        test_events_drop(50);
        POINT p = test_screen_point(window, x, y);
        if (!test_mouse_settle(p, test_events_drop))
            return false;
        input_button(p, true);
        input_button(p, false);
        return test_event_expect(EVENT_GADGET);
    }
};

// A kind of the test's own that notes what its controls' parent is handed.
std::vector<std::pair<HWND, UINT>> handed;

LRESULT noting_parent_message(GadgetRecord* record, HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_NOTIFY || message == WM_HSCROLL || message == WM_VSCROLL)
        handed.push_back({record->handle, message});
    return RESULT_UNHANDLED;
}

GadgetOps noting_ops;
bool noting_ops_filled;

void noting_fill(GadgetOps* ops)
{
    ops->parent_message = noting_parent_message;
}

int handed_count(HWND control, UINT message)
{
    int n = 0;
    for (const auto& h : handed)
        n += h.first == control && h.second == message;
    return n;
}

// Trackbars send their parent custom-draw notifications as they paint and
// scroll messages on the arrow keys: each reaches the gadget's kind.
TEST_F(GadgetEvents, NotificationsAndScrollingReachTheGadgetsKind)
{
    const GadgetOps* ops = gadget_ops_prepare(&noting_ops, &noting_ops_filled, 50, noting_fill);
    HWND across = gadget_control_create(0, TRACKBAR_CLASSA, "", TBS_HORZ, 10, 150, 150, 30, -1);
    HWND down = gadget_control_create(0, TRACKBAR_CLASSA, "", TBS_VERT, 200, 150, 30, 100, -1);
    ASSERT_NE(gadget_create_finish(20, across, ops, 0, 0, 0), 0);
    ASSERT_NE(gadget_create_finish(21, down, ops, 0, 0, 0), 0);
    handed.clear();
    RedrawWindow(across, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(handed_count(across, WM_NOTIFY), 0);
    SendMessageA(across, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(handed_count(across, WM_HSCROLL), 1);
    SendMessageA(down, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(handed_count(down, WM_VSCROLL), 1);
    EXPECT_EQ(handed_count(down, WM_HSCROLL) + handed_count(across, WM_VSCROLL), 0);
}

TEST_F(GadgetEvents, AButtonClickGivesItsNumberAndEventTypeZero)
{
    ASSERT_NE(gadget_button_create(5, 520, 250, 80, 20, "Выход"), 0);
    ASSERT_TRUE(click(560, 260));
    EXPECT_EQ(event_gadget(), 5);
    EXPECT_EQ(event_state()->event_type, 0);
}

TEST_F(GadgetEvents, AnImageGadgetClickGivesItsNumber)
{
    HBITMAP picture = test_solid_bitmap(100, 100, RGB(255, 0, 0));
    ASSERT_NE(gadget_image_create(0, 250, 50, 100, 100, picture), 0);
    ASSERT_NE(gadget_button_create(5, 520, 250, 80, 20, "Выход"), 0);
    ASSERT_TRUE(click(560, 260));
    ASSERT_EQ(event_gadget(), 5);
    ASSERT_TRUE(click(300, 100));
    EXPECT_EQ(event_gadget(), 0);
    EXPECT_EQ(event_state()->event_type, 0);
    gadget_free(0);
    DeleteObject(picture);
}

TEST_F(GadgetEvents, AfterFocusMinusOneTheNextTabStartsAtTheFirstTabStop)
{
    HWND image = reinterpret_cast<HWND>(gadget_image_create(0, 250, 50, 100, 100, nullptr));
    gadget_text_create(1, 0, 250, 100, 20, "label");  // no tab stop
    HWND button = reinterpret_cast<HWND>(gadget_button_create(5, 520, 250, 80, 20, "Выход"));
    gadget_focus(5);
    ASSERT_EQ(GetFocus(), button);
    gadget_focus(-1);
    EXPECT_EQ(GetFocus(), nullptr);
    test_key(VK_TAB);
    ASSERT_TRUE(test_events_until([] { return GetFocus() != nullptr; }));
    EXPECT_EQ(GetFocus(), image);
}

TEST_F(GadgetEvents, ALabelsColoursComeThroughTheWindowProcedure)
{
    HWND label = reinterpret_cast<HWND>(gadget_text_create(1, 0, 250, 100, 20, ""));
    gadget_set_colour(1, 2, RGB(0, 0, 200));
    ASSERT_TRUE(test_events_until([&] { return !GetUpdateRect(label, nullptr, FALSE); }));
    EXPECT_EQ(test_capture(label).at(50, 10), RGB(0, 0, 200));
}

DWORD WINAPI tick_once(void*)
{
    gadget_set_text(1, "     Время :  1");
    return 0;
}

TEST_F(GadgetEvents, ALabelSetFromAnotherThreadArrivesDuringAWait)
{
    HWND label = reinterpret_cast<HWND>(gadget_text_create(1, 0, 250, 100, 20, "     Время :  0s"));
    test_events_drop(50);
    HANDLE sender = CreateThread(nullptr, 0, tick_once, nullptr, 0, nullptr);
    // The waits hand the sent text to the label, and the sender goes on.
    EXPECT_TRUE(test_events_until([&] { return WaitForSingleObject(sender, 0) == WAIT_OBJECT_0; }));
    char text[32] = "";
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "     Время :  1");
    CloseHandle(sender);
}

}  // namespace
