// Keys and the settled cursor for the tests.
#include "tests/support/input.h"

void test_key(WORD key, bool shift)
{
    if (shift)
        input_key(VK_SHIFT, true);
    input_key(key, true);
    input_key(key, false);
    if (shift)
        input_key(VK_SHIFT, false);
}

bool test_mouse_settle(POINT screen, void (*wait)(DWORD ms))
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        input_move(screen);
        wait(60);
        POINT p;
        GetCursorPos(&p);
        if (p.x != screen.x || p.y != screen.y)
            continue;
        wait(60);
        GetCursorPos(&p);
        if (p.x == screen.x && p.y == screen.y) {
            input_move(screen);
            wait(60);
            return true;
        }
    }
    return false;
}
