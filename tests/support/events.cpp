// Waiting through the event library in tests.
#include "tests/support/events.h"

std::vector<int32_t> test_events_now()
{
    std::vector<int32_t> events;
    for (int32_t e; (e = event_wait(0)) != 0;)
        events.push_back(e);
    return events;
}

bool test_event_expect(int32_t event_code, DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
        if (event_wait(50) == event_code)
            return true;
    return false;
}

void test_events_drop(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
        event_wait(10);
    test_events_now();
}
