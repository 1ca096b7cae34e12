// Focus movement through the event wait: real Tab and Shift+Tab keys among
// the enabled, visible tab stops of the active window, wrapping at both ends,
// and the rich edit controls that keep their Tab.
#include <gtest/gtest.h>

#include <richedit.h>

#include "runtime/gui/event.h"
#include "runtime/gui/focus.h"
#include "runtime/gui/window.h"
#include "tests/runtime/gui/window_fixture.h"
#include "tests/support/events.h"
#include "tests/support/input.h"

namespace {

class FocusTest : public WindowFixture {
protected:
    void SetUp() override
    {
        open(100, 100, 400, 200, "focus");
        first = button("first", WS_TABSTOP, 10);
        button("disabled", WS_TABSTOP | WS_DISABLED, 50);
        second = button("second", WS_TABSTOP, 90);
        button("hidden", WS_TABSTOP, 130, false);
        button("no stop", 0, 170);
        third = button("third", WS_TABSTOP, 210);
        test_events_drop();
    }

    HWND button(const char* text, DWORD style, int y, bool visible = true)
    {
        return CreateWindowExA(0, "BUTTON", text, WS_CHILD | style | (visible ? WS_VISIBLE : 0), 10, y / 2, 80, 18,
                               window, nullptr, nullptr, nullptr);
    }

    // Presses the key for real and waits for the wait that handles the Tab
    // itself; that wait returns WM_KEYDOWN, as the accelerator made no event.
    bool tab(bool shift)
    {
        test_key(VK_TAB, shift);
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 2000) {
            int32_t e = event_wait(50);
            if (e == WM_KEYDOWN && event_state()->message_wparam == VK_TAB) {
                test_events_drop();
                return true;
            }
        }
        return false;
    }

    HWND first = nullptr;
    HWND second = nullptr;
    HWND third = nullptr;
};

TEST_F(FocusTest, TabMovesForwardOverTheTabStopsAndWraps)
{
    SetFocus(first);
    ASSERT_TRUE(tab(false));
    EXPECT_EQ(GetFocus(), second);
    ASSERT_TRUE(tab(false));
    EXPECT_EQ(GetFocus(), third);
    ASSERT_TRUE(tab(false));
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(FocusTest, ShiftTabMovesBackwardAndWraps)
{
    SetFocus(first);
    ASSERT_TRUE(tab(true));
    EXPECT_EQ(GetFocus(), third);
    ASSERT_TRUE(tab(true));
    EXPECT_EQ(GetFocus(), second);
    ASSERT_TRUE(tab(true));
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(FocusTest, WithoutAFocusedChildTabStartsAtAnEnd)
{
    SetFocus(window);
    focus_step(0);
    EXPECT_EQ(GetFocus(), first);
    SetFocus(window);
    focus_step(1);
    EXPECT_EQ(GetFocus(), third);
}

TEST_F(FocusTest, FromAFocusThatIsNoTabStopTabGoesToTheFirst)
{
    HWND plain = FindWindowExA(window, nullptr, "BUTTON", "no stop");
    SetFocus(plain);
    ASSERT_EQ(GetFocus(), plain);
    focus_step(0);
    EXPECT_EQ(GetFocus(), first);
    SetFocus(plain);
    focus_step(1);
    EXPECT_EQ(GetFocus(), third);
}

TEST_F(FocusTest, OnlyALibraryWindowHasAnAcceleratorTable)
{
    EXPECT_EQ(accelerator_table_for(window), window_record(0)->accelerator_table);
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(accelerator_table_for(plain), nullptr);
    EXPECT_EQ(accelerator_table_for(nullptr), nullptr);
    DestroyWindow(plain);
}

TEST_F(FocusTest, AWritableRichEditKeepsTabAndAReadOnlyOneDoesNot)
{
    ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
    HWND rich = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 200, 10,
                                150, 60, window, nullptr, nullptr, nullptr);
    ASSERT_NE(rich, nullptr);
    SetFocus(rich);
    test_events_drop();
    test_key(VK_TAB);
    test_events_drop(300);
    EXPECT_EQ(GetFocus(), rich);
    char text[8] = {};
    GetWindowTextA(rich, text, sizeof text);
    EXPECT_STREQ(text, "\t");

    // Read-only, it gives the Tab up; the wait that moves the focus reports
    // the control's own notice of losing it.
    SendMessageA(rich, EM_SETREADONLY, TRUE, 0);
    ASSERT_EQ(SendMessageA(rich, EM_GETOPTIONS, 0, 0) & ECO_READONLY, ECO_READONLY);
    test_key(VK_TAB);
    ASSERT_TRUE(test_event_expect(EVENT_GADGET));
    EXPECT_EQ(event_state()->event_type, EN_KILLFOCUS);
    EXPECT_EQ(GetFocus(), first);
}

}  // namespace
