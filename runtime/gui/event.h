// The event queue: event_wait, the events that the window procedure reports
// while a message is dispatched, and the deferred events.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/gui/result.h"
#include "runtime/gui/window.h"

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

// Private messages that the window procedure understands.
enum : UINT {
    MSG_ITEM_CLICK = 12501,           // re-posted as MSG_ITEM_CLICK_DEFERRED
    MSG_ITEM_CLICK_DEFERRED = 12502,  // wParam item, lParam a mouse message number
    MSG_GADGET_EVENT = 13103,         // wParam gadget number, lParam event type
    MSG_WINDOW_DATA = 13105,          // lParam an EventDataBlock
    MSG_GADGET_DATA = 13106,          // wParam gadget number, lParam an EventDataBlock
    MSG_GADGET_FORWARD = 13120,       // lParam a gadget's window, handed to its kind
};

// One deferred event (main heap).
struct EventQueueNode {
    EventQueueNode* next;  // null at the tail
    int32_t event_code;
    intptr_t window_number;
};

// The data attached to MSG_WINDOW_DATA and MSG_GADGET_DATA: a main-heap block
// whose sixth word points to a second main-heap block (or is null). The
// poster allocates both; the next event_wait frees both.
struct EventDataBlock {
    uintptr_t header[5];
    void* buffer;
};
static_assert(sizeof(EventDataBlock) == layout_size(24, 48) &&
                  offsetof(EventDataBlock, buffer) == 5 * sizeof(void*),
              "EventDataBlock: the second block's address is the sixth word");

// The window library's event state block.
struct EventState {
    intptr_t event_item;      // gadget, menu item or other item of the last event naming one
    intptr_t event_window;    // library window of the last message or deferred event; -1 when none
    int32_t event_type;       // detail of the last event; -1 at the start of every wait
    int32_t pending_event;    // set by the window procedure during a dispatch; 0 = none
    WPARAM message_wparam;    // of the last raw message returned as an event
    LPARAM message_lparam;
    EventQueueNode* queue_head;  // oldest deferred event
    EventQueueNode* queue_tail;  // newest deferred event
    WindowCallback global_callback;  // for windows without a callback of their own
    EventDataBlock* event_data;      // of the last EVENT_WINDOW_DATA or EVENT_GADGET_DATA; owned
};

// The next event: a deferred one first, else one retrieved and dispatched
// message's event or its raw number. 0 when nothing came within the time-out
// (0 only looks, a negative time-out waits without limit) or when the wait
// ended on input that left no message, such as a message sent from another
// thread.
int32_t event_wait(int32_t timeout);
// The item (gadget number, menu command) of the last event that named one.
intptr_t event_gadget();
// The state block (null before event_state_create).
EventState* event_state();
// The data block of the last EVENT_WINDOW_DATA or EVENT_GADGET_DATA, or null.
EventDataBlock* event_data();
// The hook for every window without a callback of its own; null removes it.
void event_set_global_callback(WindowCallback callback);

// Queues a deferred event for a window, unless the newest queued event is
// the same; an event that cannot be allocated is dropped.
void event_queue_push(int32_t event_code, intptr_t window_number);
// The event of the message being dispatched, as the window procedure reports
// it: the wait that dispatched the message gives it back, with its item and
// type. A data event (EVENT_WINDOW_DATA, EVENT_GADGET_DATA) takes `data`, the
// message's lParam, as its data block, freeing the one before; a block that
// is not from the main heap is not kept.
void event_report(int32_t event_code, intptr_t item, int32_t type, LPARAM data = 0);

// Start-chain step, after the windows: makes the state block; a later call
// does nothing. End-chain step, after the windows are closed: frees the data
// block and the queue.
void event_state_create();
void event_library_end();
