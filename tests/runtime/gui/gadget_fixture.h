// The fixture of the gadget tests: the gui libraries started and a plain
// 400 x 300 parent window at the screen's corner that new gadgets go into.
#pragma once

#include <gtest/gtest.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/result.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/runtime_start.h"
#include "tests/support/window.h"

// A plain top-level window for gadgets whose procedure hands control colours
// to the gadget kinds as a library window's does.
struct GadgetParent {
    static inline WPARAM last_command;  // of the last WM_COMMAND
    static inline bool hide_focus;      // WM_QUERYUISTATE answers hidden focus cues
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == WM_CTLCOLORSTATIC) {
            LRESULT r = gadget_dispatch(reinterpret_cast<HWND>(lparam), window, message, wparam, lparam);
            if (r != RESULT_UNHANDLED)
                return r;
        }
        if (message == WM_COMMAND)
            last_command = wparam;
        if (message == WM_QUERYUISTATE && hide_focus)
            return UISF_HIDEFOCUS;
        return DefWindowProcA(window, message, wparam, lparam);
    }
    static HWND open(int x, int y, int width, int height) { return test_window_open(x, y, width, height, procedure); }
};

class GadgetFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("message boxes");
        parent = GadgetParent::open(0, 0, 400, 300);
        gadget_list_use(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND parent = nullptr;
};
