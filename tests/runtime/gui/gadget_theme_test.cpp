// Visual styles with common controls 6: this test program carries a manifest
// that asks for them, as a themed program would. `themed` follows the
// reported version and IsAppThemed, and the image gadget's inset follows
// `themed`, over the version 6 button.
//
// Wine 8 loads the side-by-side version 6 library here, but its DllGetVersion
// still answers 5.81, so `themed` stays 0 under Wine even though IsAppThemed
// answers 1.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdio>
#include <cstring>

#include "runtime/gui/gadget.h"
#include "tests/runtime/gui/support/gui_test.h"

namespace {

TEST(Theme, ThemedFollowsTheReportedVersionAndTheInsetFollowsThemed)
{
    gui_test_start();
    int32_t version = theme_detect();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
    std::printf("%s: version %d.%d, themed %d\n", path, version >> 16, version & 0xFFFF, gadget_themed());
    EXPECT_NE(std::strstr(path, "common-controls_6595b64144ccf1df_6."), nullptr) << "the manifest was not honoured";
    EXPECT_EQ(gadget_themed(), version >= 0x60000 ? 1 : 0);  // IsAppThemed answers 1 on this desktop

    HWND parent = GuiTestParent::open(0, 0, 300, 200);
    gadget_list_use(parent);
    HBITMAP picture = gui_test_bitmap(100, 100, RGB(255, 0, 0));
    HWND control = reinterpret_cast<HWND>(gadget_image_create(0, 10, 10, 100, 100, picture));
    ASSERT_NE(control, nullptr);
    gui_test_pump(50);
    int inset = gadget_themed() ? 4 : 2;
    EXPECT_EQ(gui_test_capture(control).bounds(RGB(255, 0, 0)), (RECT{inset, inset, 100 - inset, 100 - inset}));
    DestroyWindow(parent);
    DeleteObject(picture);
}

}  // namespace
