// The pump of the tests of code that waits in the event library: event_wait
// handles the messages, and the events it makes are handed out or dropped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/gui/event.h"
#include "tests/support/pump.h"

// Every event that event_wait(0) hands out now, in order.
std::vector<int32_t> test_events_now();

// Waits (event_wait(50) in a loop) until `event_code` comes (true) or `ms`
// milliseconds pass (false).
bool test_event_expect(int32_t event_code, DWORD ms = TEST_DEADLINE_MS);

// Hands out and drops events until the condition holds (true) or `ms`
// milliseconds pass (false).
template <typename Condition>
bool test_events_until(Condition condition, DWORD ms = TEST_DEADLINE_MS)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= ms)
            return false;
        event_wait(10);
    }
    return true;
}

// Lets the platform deliver what is pending for `ms` milliseconds, then drops
// every event.
void test_events_drop(DWORD ms = 50);
