// Non-modal sizing: started by SC_SIZE with full-window dragging on, driven by
// the real mouse or the arrow keys, held within the tracking limits, and
// ended by the button, Enter or Esc.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/sizing.h"
#include "runtime/gui/window.h"
#include "tests/runtime/gui/window_fixture.h"
#include "tests/support/events.h"
#include "tests/support/input.h"
#include "tests/support/window.h"

namespace {

std::vector<UINT> seen;
LONG minimum_width;
LRESULT watch(HWND, UINT message, WPARAM, LPARAM lparam)
{
    seen.push_back(message);
    if (message == WM_GETMINMAXINFO && minimum_width) {
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize.x = minimum_width;
        return 0;
    }
    return RESULT_CONTINUE;
}

bool was_seen(UINT message)
{
    return std::find(seen.begin(), seen.end(), message) != seen.end();
}

class SizingTest : public WindowFixture {
protected:
    void SetUp() override
    {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
        open(100, 100, 300, 200, "size", WS_OVERLAPPEDWINDOW);
        SetFocus(window);
        seen.clear();
        minimum_width = 0;
        start = test_window_rect(window);
        window_set_callback(0, watch);
        // Moves left over from earlier cursor changes are handled first.
        test_mouse_settle({start.left + 50, start.top + 60}, test_events_drop);
        start = test_window_rect(window);
    }
    void TearDown() override
    {
        ReleaseCapture();
        WindowFixture::TearDown();
    }
    void size_from(WPARAM edge) { EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_SIZE | edge, 0), 0); }

    RECT start = {};
};

TEST_F(SizingTest, TheMouseDragsTheChosenEdgeUntilTheButtonIsReleased)
{
    size_from(WMSZ_RIGHT);
    SizingState* s = sizing_state();
    EXPECT_EQ(s->active, 1);
    EXPECT_EQ(s->edge, WMSZ_RIGHT);
    EXPECT_EQ(s->restore_cursor, 0);
    EXPECT_TRUE(EqualRect(&s->starting, &start));
    EXPECT_EQ(GetCapture(), window);
    EXPECT_TRUE(was_seen(WM_GETMINMAXINFO));
    EXPECT_TRUE(was_seen(WM_LBUTTONDOWN));

    ASSERT_TRUE(test_mouse_settle({start.right + 60, start.top + 40}, test_events_drop));
    RECT r = test_window_rect(window);
    EXPECT_EQ(r.right, start.right + 60 + 2);
    EXPECT_EQ(r.left, start.left);
    EXPECT_EQ(r.top, start.top);
    EXPECT_EQ(r.bottom, start.bottom);
    EXPECT_TRUE(was_seen(WM_SIZING));
    EXPECT_TRUE(was_seen(WM_ENTERSIZEMOVE));

    input_button({start.right + 60, start.top + 40}, false);
    // The end of sizing is posted, after everything else it does.
    EXPECT_TRUE(test_events_until([] { return was_seen(WM_EXITSIZEMOVE); }));
    EXPECT_EQ(s->active, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizingTest, TheWindowCanRaiseItsMinimumTrackingSize)
{
    minimum_width = 250;
    size_from(WMSZ_LEFT);
    EXPECT_EQ(sizing_state()->limits.ptMinTrackSize.x, 250);
    EXPECT_EQ(sizing_state()->limits.ptMaxTrackSize.x, GetSystemMetrics(SM_CXMAXTRACK));
    // Past the right edge: the left edge stops 250 pixels short of it.
    ASSERT_TRUE(test_mouse_settle({start.right + 100, start.top + 40}, test_events_drop));
    RECT r = test_window_rect(window);
    EXPECT_EQ(r.right, start.right);
    EXPECT_EQ(r.left, start.right - 250);
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(sizing_state()->active, 0);
}

// Waits, handling no message, until the cursor reads as the point. Under
// Wine, GetCursorPos right after SetCursorPos may still give an old point.
bool cursor_at(LONG x, LONG y)
{
    for (int i = 0; i < 50; ++i) {
        MSG m;
        PeekMessageA(&m, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
        POINT p;
        GetCursorPos(&p);
        if (p.x == x && p.y == y)
            return true;
        Sleep(10);
    }
    return false;
}

// The keys are sent rather than typed and no mouse message is handled until
// the end: between typed keys Wine's X11 driver may replay an earlier cursor
// position as a mouse move, which sizes the window back to it.
TEST_F(SizingTest, ArrowKeysPickAnEdgeThenACorner)
{
    size_from(0);
    EXPECT_EQ(sizing_state()->restore_cursor, 1);
    auto key = [&](WPARAM k) { EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, k, 0), 0); };

    key(VK_RIGHT);
    EXPECT_EQ(sizing_state()->edge, WMSZ_RIGHT);
    ASSERT_TRUE(cursor_at(start.right - 2, start.top + 60));
    RECT r = test_window_rect(window);
    EXPECT_TRUE(EqualRect(&r, &start));

    // A further Right moves the cursor by 10 and the edge with it; under Wine
    // GetCursorPos now and then reads an old point, so only the sides that
    // must not move are checked.
    key(VK_RIGHT);
    r = test_window_rect(window);
    EXPECT_EQ(r.left, start.left);
    EXPECT_EQ(r.top, start.top);
    EXPECT_EQ(r.bottom, start.bottom);

    key(VK_DOWN);
    EXPECT_EQ(sizing_state()->edge, WMSZ_BOTTOMRIGHT);
    key(VK_UP);
    EXPECT_EQ(sizing_state()->edge, WMSZ_BOTTOMRIGHT);

    EXPECT_EQ(SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0), 0);
    EXPECT_EQ(sizing_state()->active, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizingTest, AChildWindowIsPlacedInItsParentsClientArea)
{
    ASSERT_NE(window_open(1, 20, 30, 100, 50, "", WS_CHILD | WS_THICKFRAME, window), 0);
    HWND child = window_handle(1);
    RECT before = test_window_rect(child);
    SendMessageA(child, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOM, 0);
    // A point 40 pixels below the child's bottom edge, in its client area.
    POINT p = {10, before.bottom + 40};
    ScreenToClient(child, &p);
    SendMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(child, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(sizing_state()->active, 0);
    RECT after = test_window_rect(child);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom + 40 + 2);
    EXPECT_EQ(after.left, before.left);
}

TEST_F(SizingTest, WithoutFullWindowDraggingTheSystemSizes)
{
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    EXPECT_EQ(sizing_procedure(window, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0), RESULT_UNHANDLED);
    EXPECT_EQ(sizing_state()->active, 0);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    EXPECT_EQ(sizing_procedure(window, WM_SYSCOMMAND, SC_MOVE, 0), RESULT_UNHANDLED);
    EXPECT_EQ(sizing_procedure(window, WM_MOUSEMOVE, 0, 0), RESULT_UNHANDLED);
    EXPECT_EQ(sizing_state()->active, 0);
}

}  // namespace
