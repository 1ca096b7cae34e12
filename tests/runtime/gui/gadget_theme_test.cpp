// Visual styles with common controls 6: this test program carries a manifest
// that asks for them, as a themed program would. `themed` and the image
// gadget's inset follow what the test reads from the platform itself: the
// loaded common controls' DllGetVersion and uxtheme's IsAppThemed.
//
// Wine 8 loads the side-by-side version 6 library here, but its DllGetVersion
// still answers 5.81, so visual styles stay off under Wine even though
// IsAppThemed answers 1.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <cstdio>
#include <cstring>

#include "runtime/gui/gadget.h"
#include "tests/runtime/gui/support/gui_test.h"

namespace {

// The loaded common controls' version, major << 16 | minor; 0 if unknown.
int32_t comctl_version_here()
{
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    DLLGETVERSIONPROC get = comctl ? reinterpret_cast<DLLGETVERSIONPROC>(
                                         reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")))
                                   : nullptr;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (!get || get(&info) != S_OK)
        return 0;
    return int32_t(info.dwMajorVersion << 16 | info.dwMinorVersion);
}

bool app_themed_here()
{
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    if (!uxtheme)
        return false;
    typedef BOOL(WINAPI * IsAppThemedFn)();
    IsAppThemedFn is_app_themed =
        reinterpret_cast<IsAppThemedFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsAppThemed")));
    bool themed = is_app_themed && is_app_themed();
    FreeLibrary(uxtheme);
    return themed;
}

TEST(Theme, ThemedAndTheInsetFollowTheVersionAndTheAppTheme)
{
    gui_test_start();
    int32_t version = theme_detect();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
    std::printf("%s: version %d.%d, themed %d\n", path, version >> 16, version & 0xFFFF, gadget_themed());
    EXPECT_NE(std::strstr(path, "common-controls_6595b64144ccf1df_6."), nullptr) << "the manifest was not honoured";
    EXPECT_EQ(version, comctl_version_here());
    const bool styles = app_themed_here() && comctl_version_here() >= 0x60000;
    EXPECT_EQ(gadget_themed(), styles ? 1 : 0);

    HWND parent = GuiTestParent::open(0, 0, 300, 200);
    gadget_list_use(parent);
    HBITMAP picture = gui_test_bitmap(100, 100, RGB(255, 0, 0));
    HWND control = reinterpret_cast<HWND>(gadget_image_create(0, 10, 10, 100, 100, picture));
    ASSERT_NE(control, nullptr);
    gui_test_pump(50);
    const int inset = styles ? 4 : 2;
    EXPECT_EQ(gui_test_capture(control).bounds(RGB(255, 0, 0)), (RECT{inset, inset, 100 - inset, 100 - inset}));
    DestroyWindow(parent);
    DeleteObject(picture);
}

}  // namespace
