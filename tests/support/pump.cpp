// The tests' message pump.
#include "tests/support/pump.h"

void test_pump_pending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void test_pump(DWORD ms)
{
    test_pump_until([] { return false; }, ms);
}

bool test_pump_painted(HWND window, DWORD ms)
{
    return test_pump_until([window] { return !GetUpdateRect(window, nullptr, FALSE); }, ms);
}
