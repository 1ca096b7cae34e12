// Gadget machinery: the gadget table and context, the creation frame that all
// kinds share, the window procedure on every gadget and the generic
// operations on any kind.
#include "runtime/gui/gadget.h"

#include <commctrl.h>
#include <ole2.h>
#include <cstring>

#include "runtime/core/heap.h"
#include "runtime/core/module.h"
#include "runtime/gui/brush_cache.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/result.h"
#include "runtime/gui/window.h"

namespace {

const char GADGET_PROPERTY[] = "RT_ID";
const char DROP_PROPERTY[] = "RT_DropAccept";
const int32_t GADGET_SLOTS = 50;
const int32_t CONTEXT_WORDS = 10;

ObjectTable* gadgets;
GadgetContext* context;
HFONT default_font;

void context_init(void* block)
{
    GadgetContext* c = static_cast<GadgetContext*>(block);
    c->words = static_cast<int32_t*>(HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, CONTEXT_WORDS * sizeof(int32_t)));
    c->capacity = CONTEXT_WORDS;
    c->font = default_font;
}

// The live record of a gadget number whose control is `control`; a record of
// another control (a stale or forged identifier) does not count.
GadgetRecord* record_of(ObjectNumber number, HWND control)
{
    GadgetRecord* record = static_cast<GadgetRecord*>(object_table_find(gadgets, number));
    return record && record->handle == control ? record : nullptr;
}

GadgetRecord* record_find(ObjectNumber number)
{
    return static_cast<GadgetRecord*>(object_table_find(gadgets, number));
}

// WM_NCDESTROY: the control is gone, so is the gadget.
void gadget_release(HWND control, ObjectNumber number)
{
    GadgetRecord* record = record_of(number, control);
    if (record && record->operations->destroyed)
        record->operations->destroyed(record);
    RemovePropA(control, GADGET_PROPERTY);
    if (RemovePropA(control, DROP_PROPERTY))
        RevokeDragDrop(control);
    SetWindowLongPtrA(control, GWLP_ID, -1);
    if (record)
        object_table_release(gadgets, number);
}

}  // namespace

void gadget_library_init()
{
    static bool started;
    if (started)
        return;
    started = true;
    brush_cache_start();
    default_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    gadgets = object_table_create(sizeof(GadgetRecord), GADGET_SLOTS, gadget_free);
    context = static_cast<GadgetContext*>(library_state_create(sizeof(GadgetContext), context_init));
    INITCOMMONCONTROLSEX controls = {8, ICC_TAB_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
}

ObjectTable* gadget_table() { return gadgets; }

GadgetContext* gadget_context() { return static_cast<GadgetContext*>(library_state_get(context)); }

HWND gadget_list_use(HWND window)
{
    if (context)
        context->parent = window;
    return window;
}

const GadgetOps* gadget_ops_prepare(GadgetOps* ops, bool* filled, intptr_t kind, void (*fill)(GadgetOps* ops))
{
    if (!*filled) {
        std::memset(ops, 0, sizeof *ops);
        ops->kind = kind;
        ops->size = sizeof *ops;
        fill(ops);
        *filled = true;
    }
    return ops;
}

int32_t gadget_kind_colour(GadgetRecord* record, int32_t colour_kind)
{
    if (colour_kind == 1)
        return static_cast<int32_t>(record->kind_data_2);
    return colour_kind == 2 ? static_cast<int32_t>(record->kind_data_1) : -1;
}

HWND gadget_control_create(DWORD ex_style, const char* class_name, const char* text, DWORD style, int32_t x,
                           int32_t y, int32_t width, int32_t height, intptr_t identifier)
{
    if (!gadgets || !context)
        return nullptr;
    return CreateWindowExA(ex_style, class_name, text, style | WS_CHILD | WS_VISIBLE, x, y, width, height,
                           context->parent, reinterpret_cast<HMENU>(identifier), module_instance(), nullptr);
}

intptr_t gadget_create_finish(ObjectNumber number, HWND control, const GadgetOps* operations, intptr_t kind_data_1,
                              intptr_t kind_data_2, intptr_t kind_data_3)
{
    if (!control)
        return 0;
    // A number in use frees its old gadget here, after the new control exists.
    GadgetRecord* record = static_cast<GadgetRecord*>(object_table_claim(gadgets, number));
    if (!record) {
        DestroyWindow(control);
        return 0;
    }
    record->kind_data_1 = kind_data_1;
    record->kind_data_2 = kind_data_2;
    record->kind_data_3 = kind_data_3;
    return gadget_attach(number, record, control, operations);
}

intptr_t gadget_attach(ObjectNumber number, GadgetRecord* record, HWND control, const GadgetOps* operations)
{
    bool dynamic = number == OBJECT_ANY;
    if (dynamic)
        number = reinterpret_cast<ObjectNumber>(record);
    record->handle = control;
    record->operations = operations;
    record->previous_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gadget_subclass_procedure)));
    SetWindowLongPtrA(control, GWLP_ID, number);
    SetPropA(control, GADGET_PROPERTY, reinterpret_cast<HANDLE>(number));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(context->font), TRUE);
    return dynamic ? number : reinterpret_cast<intptr_t>(control);
}

LRESULT CALLBACK gadget_subclass_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
{
    ObjectNumber number = GetWindowLongPtrA(control, GWLP_ID);
    GadgetRecord* record = number == -1 ? nullptr : record_of(number, control);
    if (!record)
        return DefWindowProcA(control, message, wparam, lparam);
    LRESULT result = CallWindowProcA(record->previous_procedure, control, message, wparam, lparam);
    if (message == WM_NCDESTROY)
        gadget_release(control, number);
    return result;
}

LRESULT gadget_dispatch(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!control)
        return RESULT_UNHANDLED;
    ObjectNumber number = GetWindowLongPtrA(control, GWLP_ID);
    // The property is read last: under Wine each read is a trip to the
    // server, and every painting button asks its parent for its colours.
    GadgetRecord* record = record_of(number, control);
    if (!record || !record->operations->parent_message ||
        reinterpret_cast<ObjectNumber>(GetPropA(control, GADGET_PROPERTY)) != number)
        return RESULT_UNHANDLED;
    return record->operations->parent_message(record, parent, message, wparam, lparam);
}

HWND gadget_top_window(HWND window)
{
    // A gadget's control never carries the window property: only the
    // windows above it are asked.
    HWND parent;
    while ((record_of(GetWindowLongPtrA(window, GWLP_ID), window) || window_id_of(window) == -1) &&
           (parent = GetParent(window)))
        window = parent;
    return window;
}

void gadget_resize(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height)
{
    GadgetRecord* record = record_find(number);
    if (!record)
        return;
    const GadgetOps* ops = record->operations;
    if (ops->resize) {
        ops->resize(record, x, y, width, height);
        return;
    }
    HWND control = record->handle;
    if (x == COORD_IGNORE || y == COORD_IGNORE || width == COORD_IGNORE || height == COORD_IGNORE) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        if (x == COORD_IGNORE)
            x = ops->get_x ? ops->get_x(record) : r.left;
        if (y == COORD_IGNORE)
            y = ops->get_y ? ops->get_y(record) : r.top;
        if (width == COORD_IGNORE)
            width = ops->get_width ? ops->get_width(record) : r.right - r.left;
        if (height == COORD_IGNORE)
            height = ops->get_height ? ops->get_height(record) : r.bottom - r.top;
    }
    MoveWindow(control, x, y, width, height, TRUE);
    if (ops->kind == GADGET_KIND_BUTTON)
        RedrawWindow(control, nullptr, nullptr, RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
    else if (ops->kind == GADGET_KIND_TEXT)
        InvalidateRect(control, nullptr, FALSE);
}

void gadget_set_state(ObjectNumber number, intptr_t value)
{
    GadgetRecord* record = record_find(number);
    if (record && record->operations->set_state)
        record->operations->set_state(record, value);
}

intptr_t gadget_get_state(ObjectNumber number)
{
    GadgetRecord* record = record_find(number);
    return record && record->operations->get_state ? record->operations->get_state(record) : 0;
}

intptr_t gadget_get_attribute(ObjectNumber number, int32_t attribute)
{
    GadgetRecord* record = record_find(number);
    return record && record->operations->get_attribute ? record->operations->get_attribute(record, attribute) : 0;
}

void gadget_set_attribute(ObjectNumber number, int32_t attribute, intptr_t value)
{
    GadgetRecord* record = record_find(number);
    if (record && record->operations->set_attribute)
        record->operations->set_attribute(record, attribute, value);
}

void gadget_set_colour(ObjectNumber number, int32_t colour_kind, int32_t colour)
{
    GadgetRecord* record = record_find(number);
    if (record && record->operations->set_colour)
        record->operations->set_colour(record, colour_kind, colour);
}

int32_t gadget_get_colour(ObjectNumber number, int32_t colour_kind)
{
    GadgetRecord* record = record_find(number);
    return record && record->operations->get_colour ? record->operations->get_colour(record, colour_kind) : 0;
}

void gadget_focus(ObjectNumber number)
{
    if (number == -1) {
        SetFocus(nullptr);
        return;
    }
    GadgetRecord* record = record_find(number);
    if (record)
        SetFocus(record->handle);
}

void gadget_set_hidden(ObjectNumber number, int32_t hidden)
{
    GadgetRecord* record = record_find(number);
    if (!record)
        return;
    if (record->operations->set_hidden)
        record->operations->set_hidden(record, hidden);
    else
        ShowWindow(record->handle, hidden ? SW_HIDE : SW_SHOW);
}

void gadget_set_text(ObjectNumber number, const char* text)
{
    GadgetRecord* record = record_find(number);
    if (!record)
        return;
    if (!text)
        text = "";
    if (record->operations->set_text)
        record->operations->set_text(record, text);
    else
        SetWindowTextA(record->handle, text);
}

void gadget_free(ObjectNumber number)
{
    GadgetRecord* record = record_find(number);
    if (record)
        DestroyWindow(record->handle);
}
