// Plain windows and screen points for the tests.
#include "tests/support/window.h"

#include <cstdio>

#include "tests/support/pump.h"

HWND test_window_open(int x, int y, int width, int height, WNDPROC procedure, DWORD ex_style)
{
    static int classes;
    char name[32];
    std::snprintf(name, sizeof name, "TestWindow_%d", ++classes);
    WNDCLASSA c = {};
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = name;
    RegisterClassA(&c);
    HWND window = CreateWindowExA(ex_style, name, "test", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                                  nullptr, c.hInstance, nullptr);
    SetForegroundWindow(window);
    test_pump(100);
    return window;
}

POINT test_screen_point(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    return p;
}

RECT test_window_rect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
