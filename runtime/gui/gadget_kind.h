// What the gadget kinds share: the GadgetOps table through which the generic
// operations and the window procedure reach a kind's own behaviour, and the
// creation frame that every kind's create operation follows.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/gui/gadget.h"

enum : intptr_t {
    GADGET_KIND_BUTTON = 1,
    GADGET_KIND_TEXT = 3,
    GADGET_KIND_PROGRESS = 14,
    GADGET_KIND_IMAGE = 19,
};

// One table per kind, filled on the kind's first creation; an operation's
// slot number is its place. A null slot means that the kind has none: the
// caller then does the generic thing or nothing. Every operation gets the
// gadget's record first.
struct GadgetOps {
    // 0: GADGET_KIND_*; gadget_resize reads it for its repaint rule.
    intptr_t kind;
    // 1: sizeof(GadgetOps), set with the kind; nothing reads it.
    intptr_t size;
    // 2: a message that the parent window got about the control (WM_COMMAND,
    // WM_NOTIFY, scrolling, WM_CTLCOLOR*, MSG_GADGET_FORWARD) → its result, or
    // RESULT_UNHANDLED for the window's own handling; gadget_dispatch calls it.
    LRESULT (*parent_message)(GadgetRecord* record, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
    // 3: the control is being destroyed: releases what the kind owns;
    // gadget_subclass_procedure calls it on WM_NCDESTROY, before the record goes.
    void (*destroyed)(GadgetRecord* record);
    // 4: → the gadget's state (check state, picture, position); gadget_get_state.
    intptr_t (*get_state)(GadgetRecord* record);
    // 5: sets the state; gadget_set_state.
    void (*set_state)(GadgetRecord* record, intptr_t value);
    void* reserved_6;
    // 7: sets the text (never null) instead of SetWindowTextA; gadget_set_text.
    void (*set_text)(GadgetRecord* record, const char* text);
    void* reserved_8_11[4];
    // 12: moves and sizes the gadget (COORD_IGNORE as the caller gave it)
    // instead of the generic move; gadget_resize.
    void (*resize)(GadgetRecord* record, int32_t x, int32_t y, int32_t width, int32_t height);
    void* reserved_13_18[6];
    // 19 to 22: → the coordinate that stands for a COORD_IGNORE given to
    // gadget_resize, instead of the control's window rectangle.
    int32_t (*get_x)(GadgetRecord* record);
    int32_t (*get_y)(GadgetRecord* record);
    int32_t (*get_width)(GadgetRecord* record);
    int32_t (*get_height)(GadgetRecord* record);
    // 23: hides (1) or shows (0) the gadget instead of ShowWindow; gadget_set_hidden.
    void (*set_hidden)(GadgetRecord* record, int32_t hidden);
    void* reserved_24_25[2];
    // 26: → the attribute's value, 0 for an attribute the kind has not;
    // gadget_get_attribute.
    intptr_t (*get_attribute)(GadgetRecord* record, int32_t attribute);
    // 27: sets the attribute; another one does nothing; gadget_set_attribute.
    void (*set_attribute)(GadgetRecord* record, int32_t attribute, intptr_t value);
    void* reserved_28_29[2];
    // 30: sets colour kind 1 (front: text or bar) or 2 (back) to 0x00BBGGRR,
    // -1 for the system default; gadget_set_colour.
    void (*set_colour)(GadgetRecord* record, int32_t colour_kind, int32_t colour);
    // 31: → the colour of that kind, -1 for the default or another kind;
    // gadget_get_colour.
    int32_t (*get_colour)(GadgetRecord* record, int32_t colour_kind);
    void* reserved_32_36[5];
};
// 37 slots of an address each.
static_assert(sizeof(GadgetOps) == layout_size(148, 296), "GadgetOps has 37 slots");
static_assert(offsetof(GadgetOps, parent_message) == 2 * sizeof(void*) &&
                  offsetof(GadgetOps, set_text) == 7 * sizeof(void*) &&
                  offsetof(GadgetOps, resize) == 12 * sizeof(void*) &&
                  offsetof(GadgetOps, get_x) == 19 * sizeof(void*) &&
                  offsetof(GadgetOps, get_attribute) == 26 * sizeof(void*) &&
                  offsetof(GadgetOps, set_colour) == 30 * sizeof(void*),
              "GadgetOps slots in their places");

// The kind's table, zeroed, given its kind and size and filled by `fill` on
// the first call; the same table after that.
const GadgetOps* gadget_ops_prepare(GadgetOps* ops, bool* filled, intptr_t kind, void (*fill)(GadgetOps* ops));
// The control, in the window that new gadgets go into (WS_CHILD | WS_VISIBLE
// added); null when it cannot be made or the library has not started.
HWND gadget_control_create(DWORD ex_style, const char* class_name, const char* text, DWORD style, int32_t x,
                           int32_t y, int32_t width, int32_t height, intptr_t identifier);
// The creation's tail once the control exists: claims the record (a number
// in use frees its old gadget here), sets the kind data and attaches. 0 for a
// null control; a control whose record cannot be claimed is destroyed.
intptr_t gadget_create_finish(ObjectNumber number, HWND control, const GadgetOps* operations, intptr_t kind_data_1,
                              intptr_t kind_data_2, intptr_t kind_data_3);
// The common tail of every create operation, called once the control exists
// and its record is claimed: subclasses the control, marks it with its number
// (identifier and "RT_ID") and gives it the default font. Returns the dynamic
// handle for OBJECT_ANY, else the control's handle.
intptr_t gadget_attach(ObjectNumber number, GadgetRecord* record, HWND control, const GadgetOps* operations);
// The window procedure of every gadget; releases the record on WM_NCDESTROY.
LRESULT CALLBACK gadget_subclass_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam);

// The get-colour operation of the kinds that keep their back colour in kind
// data 1 and their front colour in kind data 2; -1 for another colour kind.
int32_t gadget_kind_colour(GadgetRecord* record, int32_t colour_kind);
// The nearest ancestor (the window itself included) that is a library
// window ("RT_WindowID"), else the topmost ancestor.
HWND gadget_top_window(HWND window);
