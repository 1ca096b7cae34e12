// Helpers for the window and event tests: the window library started on top
// of the common gui start, keys through SendInput, the cursor settled, and
// events collected from event_wait.
#pragma once

#include <windows.h>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/core/module.h"
#include "runtime/gui/event.h"
#include "runtime/gui/sizing.h"
#include "runtime/gui/window.h"
#include "tests/runtime/gui/support/gui_test.h"

inline void gui_test_window_start()
{
    gui_test_start();
    module_instance_take();
    window_library_init();
    event_state_create();
    sizing_state_create();
}

// The ends of the window and event libraries, as the end chain runs them.
inline void gui_test_window_end()
{
    window_library_end();
    event_library_end();
}

// A key pressed and released through real input; Shift held around it.
inline void gui_test_key(WORD key, bool shift = false)
{
    INPUT inputs[4];
    std::memset(inputs, 0, sizeof inputs);
    UINT n = 0;
    auto add = [&](WORD vk, DWORD flags) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = vk;
        inputs[n].ki.dwFlags = flags;
        ++n;
    };
    if (shift)
        add(VK_SHIFT, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift)
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(n, inputs, sizeof(INPUT));
}

// Lets the platform deliver what is pending, then drops every event.
inline void gui_test_events_drop(DWORD ms = 50);

// The cursor settled at a screen point (gui_test_mouse_settle_with), the
// waits handing out and dropping events.
inline bool gui_test_mouse_settle(int32_t x, int32_t y)
{
    return gui_test_mouse_settle_with(x, y, [](DWORD ms) { gui_test_events_drop(ms); });
}

// Every event that event_wait(0) hands out now, in order.
inline std::vector<int32_t> gui_test_events_now()
{
    std::vector<int32_t> events;
    for (int32_t e; (e = event_wait(0)) != 0;)
        events.push_back(e);
    return events;
}

// Waits (event_wait(50) in a loop) until `event_code` comes or `ms` pass: a
// deadline far beyond a healthy run, even emulated on a busy machine.
inline bool gui_test_event_expect(int32_t event_code, DWORD ms = 30000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
        if (event_wait(50) == event_code)
            return true;
    return false;
}

// Hands out and drops events until the condition holds (true) or `ms` pass
// (false), with the same far deadline.
template <typename Condition>
bool gui_test_events_until(Condition condition, DWORD ms = 30000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= ms)
            return false;
        event_wait(10);
    }
    return true;
}

inline void gui_test_events_drop(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
        event_wait(10);
    gui_test_events_now();
}
