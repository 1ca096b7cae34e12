// Windows for the tests: a plain top-level window made here, points and
// rectangles of a window on the screen, and rectangles that compare and print
// in assertions.
#pragma once

#include <windows.h>

#include <ostream>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

// A visible popup at a screen position whose client area is the whole window,
// painted with the button face, in a class of its own with the procedure: a
// change to the class (a skin takes its background brush away) touches no
// other window. It is brought to the foreground and its first messages are
// handled.
HWND test_window_open(int x, int y, int width, int height, WNDPROC procedure = DefWindowProcA,
                      DWORD ex_style = 0);

// The screen position of a point in a window's client area.
POINT test_screen_point(HWND window, int x, int y);

// The window's outer rectangle on the screen.
RECT test_window_rect(HWND window);
