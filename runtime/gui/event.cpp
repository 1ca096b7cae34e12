// The event queue: event_wait, the window procedure that turns window
// messages into events, the deferred events and the data blocks of the last
// event. Owns the EventState block.
#include "runtime/gui/event.h"

#include "runtime/core/heap.h"
#include "runtime/gui/focus.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/sizing.h"

namespace {

const char MDI_PROPERTY[] = "RT_MDI_Gadget";
// Every kind of input, including posted messages that a filter would skip.
const DWORD WAKE_MASK = 0x1FF;
// A control with this identifier reports menu events.
const LONG_PTR MENU_CONTROL_ID = -10000;

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

void report(int32_t event_code)
{
    state->pending_event = event_code;
}

void queue_for(int32_t event_code, bool known, ObjectNumber number)
{
    if (known)
        event_queue_push(event_code, number);
}

BOOL CALLBACK send_colour_change(HWND child, LPARAM)
{
    SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

// The mouse messages of MSG_ITEM_CLICK_DEFERRED and their event types.
int32_t item_click_type(LPARAM mouse_message)
{
    switch (mouse_message) {
    case WM_LBUTTONDOWN: return 0;
    case WM_RBUTTONDOWN: return 1;
    case WM_LBUTTONDBLCLK: return 2;
    case WM_RBUTTONDBLCLK: return 3;
    default: return -1;
    }
}

LRESULT erase_background(HWND window, HWND library_window, const WindowRecord* record, HDC dc, bool known,
                         ObjectNumber number)
{
    LRESULT result = RESULT_UNHANDLED;
    if (record && record->background_brush) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, record->background_brush);
        result = 1;
    } else if (record && window == library_window && record->erase_callback) {
        result = record->erase_callback(dc, window);
    }
    queue_for(EVENT_REPAINT, known, number);
    return result;
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

void command(HWND window, WPARAM wparam, LPARAM lparam)
{
    HWND control = reinterpret_cast<HWND>(lparam);
    if (gadget_dispatch(control, window, WM_COMMAND, wparam, lparam) != RESULT_UNHANDLED)
        return;
    if (control) {
        state->event_type = HIWORD(wparam);
        LONG_PTR id = GetWindowLongPtrA(control, GWLP_ID);
        if (id == MENU_CONTROL_ID) {
            state->event_item = LOWORD(wparam);
            report(EVENT_MENU);
        } else {
            state->event_item = id;
            report(EVENT_GADGET);
        }
    } else if (HIWORD(wparam) == 0) {
        state->event_item = static_cast<intptr_t>(wparam);
        report(EVENT_MENU);
    } else if (LOWORD(wparam) == COMMAND_FOCUS_NEXT) {
        focus_step(0);
    } else if (LOWORD(wparam) == COMMAND_FOCUS_PREVIOUS) {
        focus_step(1);
    } else {
        state->event_item = LOWORD(wparam);
        report(EVENT_MENU);
    }
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

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = window_procedure_core(window, message, wparam, lparam);
    // This program makes no MDI frame of a window it opened; only another
    // window may carry its client.
    HWND client = message == WM_SIZE || window_number_opened(window) != -1
                      ? nullptr
                      : static_cast<HWND>(GetPropA(window, MDI_PROPERTY));
    if (client) {
        if (result == RESULT_UNHANDLED || message == WM_SETFOCUS || message == WM_MENUCHAR)
            return DefFrameProcA(window, client, message, wparam, lparam);
        if (message == WM_COMMAND && lparam == 0)
            return DefFrameProcA(window, client, WM_COMMAND, wparam, 0);
        return result;
    }
    return result == RESULT_UNHANDLED ? DefWindowProcA(window, message, wparam, lparam) : result;
}

LRESULT window_procedure_core(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = sizing_procedure(window, message, wparam, lparam);
    if (result != RESULT_UNHANDLED)
        return result;

    HWND library_window;
    ObjectNumber number = window_number_of(window, &library_window);
    bool known = library_window != nullptr;
    WindowRecord* record = known ? window_record(number) : nullptr;

    WindowCallback callback = record && record->window_callback ? record->window_callback : state->global_callback;
    if (callback) {
        result = callback(window, message, wparam, lparam);
        if (result != RESULT_CONTINUE)
            return result;
    }
    state->event_window = number;

    switch (message) {
    case WM_MOVE:
        queue_for(EVENT_MOVE_WINDOW, known, number);
        return 0;
    case WM_SIZE:
        if (window != library_window)
            return 1;
        if (wparam == SIZE_MINIMIZED)
            return RESULT_UNHANDLED;
        event_queue_push(EVENT_SIZE_WINDOW, number);
        return 0;
    case WM_ACTIVATE:
        // Kept from the default procedure, so activation alone never moves
        // the keyboard focus.
        queue_for(EVENT_ACTIVATE_WINDOW, known && LOWORD(wparam) != WA_INACTIVE, number);
        return 1;
    case WM_CLOSE:
        // The program decides whether the window goes.
        queue_for(EVENT_CLOSE_WINDOW, known, number);
        return 0;
    case WM_ERASEBKGND:
        return erase_background(window, library_window, record, reinterpret_cast<HDC>(wparam), known, number);
    case WM_SYSCOLORCHANGE:
        if (record && !record->mdi_client)
            EnumChildWindows(window, send_colour_change, 0);
        return RESULT_UNHANDLED;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        return header ? gadget_dispatch(header->hwndFrom, window, message, wparam, lparam) : RESULT_UNHANDLED;
    }
    case WM_COMMAND:
        command(window, wparam, lparam);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case MSG_GADGET_FORWARD:
        return gadget_dispatch(reinterpret_cast<HWND>(lparam), window, message, wparam, lparam);
    case MSG_ITEM_CLICK:
        PostMessageA(window, MSG_ITEM_CLICK_DEFERRED, wparam, lparam);
        return 0;
    case MSG_ITEM_CLICK_DEFERRED: {
        int32_t type = item_click_type(lparam);
        if (type >= 0) {
            state->event_item = static_cast<intptr_t>(wparam);
            state->event_type = type;
            report(EVENT_ITEM_CLICK);
        }
        return 0;
    }
    case MSG_GADGET_EVENT:
        state->event_item = static_cast<intptr_t>(wparam);
        state->event_type = static_cast<int32_t>(lparam);
        report(EVENT_GADGET);
        return 0;
    case MSG_WINDOW_DATA:
        event_data_attach(lparam);
        report(EVENT_WINDOW_DATA);
        return 0;
    case MSG_GADGET_DATA:
        state->event_item = static_cast<intptr_t>(wparam);
        event_data_attach(lparam);
        report(EVENT_GADGET_DATA);
        return 0;
    default:
        return RESULT_UNHANDLED;
    }
}
