// The message pump of the tests that drive windows themselves: every message
// of the calling thread is handled, for a time or until something holds. A
// deadline lies far beyond a healthy run, even an emulated one on a busy
// machine, so that only a fault reaches it.
#pragma once

#include <windows.h>

const DWORD TEST_DEADLINE_MS = 30000;

// Handles every message queued for the calling thread now.
void test_pump_pending();

// Handles messages until the condition holds (true) or `ms` milliseconds have
// gone by (false); between looks it sleeps until input comes or 10 ms pass.
template <typename Condition>
bool test_pump_until(Condition condition, DWORD ms = TEST_DEADLINE_MS)
{
    DWORD start = GetTickCount();
    for (;;) {
        test_pump_pending();
        if (condition())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Handles every message for `ms` milliseconds.
void test_pump(DWORD ms);

// Handles messages until the window has nothing left to paint (true) or `ms`
// milliseconds have gone by (false).
bool test_pump_painted(HWND window, DWORD ms = TEST_DEADLINE_MS);
