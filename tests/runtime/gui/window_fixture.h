// The fixture of the tests around a window of the window library: the gui
// libraries started, and window 0 opened and brought to the foreground. At
// the end the window and event libraries end as the end chain ends them,
// closing every window.
#pragma once

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/window.h"
#include "tests/support/runtime_start.h"

class WindowFixture : public ::testing::Test {
protected:
    // Window 0 at a screen position; a fatal failure when it cannot be opened.
    void open(int x, int y, int width, int height, const char* title, uint32_t flags = WS_POPUP)
    {
        test_runtime_start("message boxes");
        ASSERT_NE(window_open(0, x, y, width, height, title, flags), 0);
        window = window_handle(0);
        SetForegroundWindow(window);
    }
    void TearDown() override
    {
        window_library_end();
        event_library_end();
    }

    HWND window = nullptr;
};
