// Visual styles with common controls 6: this test program carries a manifest
// that asks for them, as a themed program would. Wine 8 then loads the
// side-by-side version 6 library, but its DllGetVersion still answers 5.81:
// visual styles stay off, though IsAppThemed answers 1, and the image gadget
// keeps the classic inset. (Windows with a theme would answer 6, themed, and
// an inset of 4.)
#include <gtest/gtest.h>

#include <windows.h>
#include <cstring>

#include "runtime/gui/gadget.h"
#include "runtime/gui/theme.h"
#include "tests/runtime/gui/gadget_fixture.h"

namespace {

TEST(Theme, TheVersionSixLibraryAnsweringFiveKeepsVisualStylesOff)
{
    test_runtime_start("message boxes");
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
    EXPECT_NE(std::strstr(path, "common-controls_6595b64144ccf1df_6."), nullptr) << "the manifest was not honoured";
    EXPECT_EQ(theme_detect(), 0x50051) << path;
    EXPECT_EQ(gadget_themed(), 0);

    HWND parent = GadgetParent::open(0, 0, 300, 200);
    gadget_list_use(parent);
    HBITMAP picture = test_solid_bitmap(100, 100, RGB(255, 0, 0));
    HWND control = reinterpret_cast<HWND>(gadget_image_create(0, 10, 10, 100, 100, picture));
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(test_pump_painted(control));
    EXPECT_EQ(test_capture(control).bounds(RGB(255, 0, 0)), (RECT{2, 2, 98, 98}));
    DestroyWindow(parent);
    DeleteObject(picture);
}

}  // namespace
