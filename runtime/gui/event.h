// The event queue: event_wait, the window procedure of every library window,
// deferred events, focus movement and non-modal sizing.
#pragma once

#include <windows.h>
#include <cstdint>

// Event codes returned by event_wait (a raw message number otherwise, 0 for a
// time-out).
enum : int32_t {
    EVENT_MOVE_WINDOW = 3,
    EVENT_SIZE_WINDOW = 5,
    EVENT_REPAINT = 15,
    EVENT_CLOSE_WINDOW = 16,
    EVENT_GADGET = 13100,
    EVENT_MENU = 13101,
    EVENT_ITEM_CLICK = 13102,
    EVENT_ACTIVATE_WINDOW = 13104,
    EVENT_WINDOW_DATA = 13105,
    EVENT_GADGET_DATA = 13106,
};

// The two reserved results inside window procedures and callbacks: the
// message was not handled (the default procedure runs), and a callback lets
// the library's own processing run.
const LRESULT RESULT_UNHANDLED = static_cast<LRESULT>(static_cast<int32_t>(0xD0D0D0D1));
const LRESULT RESULT_CONTINUE = static_cast<LRESULT>(static_cast<int32_t>(0xE0E0E0E1));
