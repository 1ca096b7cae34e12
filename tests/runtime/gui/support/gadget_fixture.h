// The fixture of the gadget tests: the gui libraries started and a plain
// 400 x 300 parent window at the screen's corner that new gadgets go into.
#pragma once

#include <gtest/gtest.h>

#include "runtime/gui/gadget.h"
#include "tests/runtime/gui/support/gui_test.h"

class GadgetFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui_test_start();
        parent = GuiTestParent::open(0, 0, 400, 300);
        gadget_list_use(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND parent = nullptr;
};
