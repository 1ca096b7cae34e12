// The event queue: event_wait, which retrieves and dispatches one message,
// the events that the window procedure reports during that dispatch, the
// deferred events and the data blocks of the last event. Owns the EventState
// block.
#include "runtime/gui/event.h"

#include "runtime/core/heap.h"
#include "runtime/gui/focus.h"

namespace {

// Every kind of input, including posted messages that a filter would skip.
const DWORD WAKE_MASK = 0x1FF;

EventState* state;

// A data block and its buffer are freed only when they are blocks of the
// main heap: the lParam of a posted message may come from anywhere.
bool main_heap_block(const void* block, size_t size)
{
    return block && HeapValidate(heap_main(), 0, block) && HeapSize(heap_main(), 0, block) >= size;
}

void event_data_free()
{
    EventDataBlock* block = state->event_data;
    state->event_data = nullptr;
    if (!block)
        return;
    if (block->buffer && block->buffer != block && HeapValidate(heap_main(), 0, block->buffer))
        HeapFree(heap_main(), 0, block->buffer);
    HeapFree(heap_main(), 0, block);
}

void event_data_attach(LPARAM lparam)
{
    event_data_free();
    EventDataBlock* block = reinterpret_cast<EventDataBlock*>(lparam);
    if (main_heap_block(block, sizeof(EventDataBlock)))
        state->event_data = block;
}

// TranslateAcceleratorA acts on these alone; for any other message the
// active window and its table are not asked for (each is a trip to the
// server under Wine).
bool accelerator_translate(MSG& message)
{
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        break;
    default:
        return false;
    }
    HWND active = GetActiveWindow();
    HACCEL table = accelerator_table_for(active);
    return table && TranslateAcceleratorA(active, table, &message);
}

// One message, retrieved without dispatching; false when none came.
bool message_next(int32_t timeout, MSG* message)
{
    if (timeout < 0)
        return GetMessageA(message, nullptr, 0, 0) != -1;
    if (PeekMessageA(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD))
        return true;
    if (timeout == 0)
        return false;
    // Sleeps until any input arrives; a message sent from another thread is
    // handled inside the next PeekMessageA and leaves nothing to return.
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout), WAKE_MASK) == WAIT_TIMEOUT)
        return false;
    return PeekMessageA(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD);
}

}  // namespace

void event_state_create()
{
    if (!state)
        state = static_cast<EventState*>(library_state_get(library_state_create(sizeof(EventState), nullptr)));
    if (state)
        state->event_window = -1;
}

EventState* event_state()
{
    return state;
}

EventDataBlock* event_data()
{
    return state ? state->event_data : nullptr;
}

void event_set_global_callback(WindowCallback callback)
{
    if (state)
        state->global_callback = callback;
}

void event_library_end()
{
    if (!state)
        return;
    event_data_free();
    while (EventQueueNode* node = state->queue_head) {
        state->queue_head = node->next;
        HeapFree(heap_main(), 0, node);
    }
    state->queue_tail = nullptr;
}

void event_queue_push(int32_t event_code, intptr_t window_number)
{
    if (!state)
        return;
    EventQueueNode* tail = state->queue_tail;
    if (tail && tail->event_code == event_code && tail->window_number == window_number)
        return;
    EventQueueNode* node = static_cast<EventQueueNode*>(HeapAlloc(heap_main(), 0, sizeof(EventQueueNode)));
    if (!node)
        return;
    node->next = nullptr;
    node->event_code = event_code;
    node->window_number = window_number;
    if (tail)
        tail->next = node;
    else
        state->queue_head = node;
    state->queue_tail = node;
}

int32_t event_wait(int32_t timeout)
{
    if (!state)
        return 0;
    event_data_free();
    state->event_type = -1;

    if (EventQueueNode* node = state->queue_head) {
        state->queue_head = node->next;
        if (!node->next)
            state->queue_tail = nullptr;
        int32_t event_code = node->event_code;
        state->event_window = node->window_number;
        state->pending_event = 0;
        HeapFree(heap_main(), 0, node);
        return event_code;
    }

    MSG message;
    if (!message_next(timeout, &message))
        return 0;
    if (!accelerator_translate(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (int32_t event_code = state->pending_event) {
        state->pending_event = 0;
        return event_code;
    }
    state->message_wparam = message.wParam;
    state->message_lparam = message.lParam;
    return static_cast<int32_t>(message.message);
}

intptr_t event_gadget()
{
    return state ? state->event_item : 0;
}

void event_report(int32_t event_code, intptr_t item, int32_t type, LPARAM data)
{
    if (!state)
        return;
    state->event_item = item;
    state->event_type = type;
    if (event_code == EVENT_WINDOW_DATA || event_code == EVENT_GADGET_DATA)
        event_data_attach(data);
    state->pending_event = event_code;
}
