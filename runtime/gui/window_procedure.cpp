// The window procedure of every library window: turns window messages into
// events, which it reports to the event library (or queues as deferred
// events), and hands control messages to the gadget kinds.
#include "runtime/gui/window_procedure.h"

#include "runtime/gui/event.h"
#include "runtime/gui/focus.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/sizing.h"
#include "runtime/gui/window.h"

namespace {

const char MDI_PROPERTY[] = "RT_MDI_Gadget";
// A control with this identifier reports menu events.
const LONG_PTR MENU_CONTROL_ID = -10000;

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

void command(HWND window, WPARAM wparam, LPARAM lparam)
{
    HWND control = reinterpret_cast<HWND>(lparam);
    if (gadget_dispatch(control, window, WM_COMMAND, wparam, lparam) != RESULT_UNHANDLED)
        return;
    if (control) {
        LONG_PTR id = GetWindowLongPtrA(control, GWLP_ID);
        if (id == MENU_CONTROL_ID)
            event_report(EVENT_MENU, LOWORD(wparam), HIWORD(wparam));
        else
            event_report(EVENT_GADGET, id, HIWORD(wparam));
    } else if (HIWORD(wparam) == 0) {
        event_report(EVENT_MENU, static_cast<intptr_t>(wparam), -1);
    } else if (LOWORD(wparam) == COMMAND_FOCUS_NEXT) {
        focus_step(0);
    } else if (LOWORD(wparam) == COMMAND_FOCUS_PREVIOUS) {
        focus_step(1);
    } else {
        event_report(EVENT_MENU, LOWORD(wparam), -1);
    }
}

}  // namespace

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

    EventState* events = event_state();
    WindowCallback callback = record && record->window_callback ? record->window_callback : events->global_callback;
    if (callback) {
        result = callback(window, message, wparam, lparam);
        if (result != RESULT_CONTINUE)
            return result;
    }
    events->event_window = number;

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
        if (type >= 0)
            event_report(EVENT_ITEM_CLICK, static_cast<intptr_t>(wparam), type);
        return 0;
    }
    case MSG_GADGET_EVENT:
        event_report(EVENT_GADGET, static_cast<intptr_t>(wparam), static_cast<int32_t>(lparam));
        return 0;
    case MSG_WINDOW_DATA:
        // The item stays that of the last event that named one.
        event_report(EVENT_WINDOW_DATA, event_gadget(), -1, lparam);
        return 0;
    case MSG_GADGET_DATA:
        event_report(EVENT_GADGET_DATA, static_cast<intptr_t>(wparam), -1, lparam);
        return 0;
    default:
        return RESULT_UNHANDLED;
    }
}
