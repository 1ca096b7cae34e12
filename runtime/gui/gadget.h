// Gadget machinery: gadgets are Win32 controls inside a library window, held
// as numbered objects; each kind reaches its own behaviour through a GadgetOps
// table of operations.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

enum : intptr_t {
    GADGET_KIND_BUTTON = 1,
    GADGET_KIND_TEXT = 3,
    GADGET_KIND_PROGRESS = 14,
    GADGET_KIND_IMAGE = 19,
};

struct GadgetOps;

// The object record of the gadget table.
struct GadgetRecord {
    HWND handle;                  // the control; null marks a free slot
    const GadgetOps* operations;  // the kind's table
    WNDPROC previous_procedure;   // the control's procedure before it was subclassed
    intptr_t kind_data_1;         // meaning per kind
    intptr_t kind_data_2;
    intptr_t kind_data_3;
};

// One table per kind, filled on the kind's first creation. A null slot means
// that the kind has none: the caller then does the generic thing or nothing.
struct GadgetOps {
    intptr_t kind;  // GADGET_KIND_*; the repaint rule of gadget_resize reads it
    intptr_t size;  // sizeof(GadgetOps)
    // Message sent to the parent on the gadget's behalf: a result, or RESULT_UNHANDLED.
    LRESULT (*parent_message)(GadgetRecord* record, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
    // The control is being destroyed (WM_NCDESTROY): release what the kind owns.
    void (*destroyed)(GadgetRecord* record);
    intptr_t (*get_state)(GadgetRecord* record);
    void (*set_state)(GadgetRecord* record, intptr_t value);
    void* reserved_6;
    void (*set_text)(GadgetRecord* record, const char* text);
    void* reserved_8_11[4];
    void (*resize)(GadgetRecord* record, int32_t x, int32_t y, int32_t width, int32_t height);
    void* reserved_13_18[6];
    int32_t (*get_x)(GadgetRecord* record);
    int32_t (*get_y)(GadgetRecord* record);
    int32_t (*get_width)(GadgetRecord* record);
    int32_t (*get_height)(GadgetRecord* record);
    void (*set_hidden)(GadgetRecord* record, int32_t hidden);
    void* reserved_24_25[2];
    intptr_t (*get_attribute)(GadgetRecord* record, int32_t attribute);
    void (*set_attribute)(GadgetRecord* record, int32_t attribute, intptr_t value);
    void* reserved_28_29[2];
    // Colour kind 1: front (text or bar); 2: back. -1 is the system default.
    void (*set_colour)(GadgetRecord* record, int32_t colour_kind, int32_t colour);
    int32_t (*get_colour)(GadgetRecord* record, int32_t colour_kind);
    void* reserved_32_36[5];
};
static_assert(sizeof(GadgetOps) == 37 * sizeof(void*), "GadgetOps has 37 slots");

// The gadget table (made by gadget_library_init).
ObjectTable* gadget_table();

// Hands a message for a control to its gadget kind's parent-message
// operation; RESULT_UNHANDLED for a control that is no library gadget.
LRESULT gadget_dispatch(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
