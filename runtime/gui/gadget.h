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
static_assert(sizeof(GadgetRecord) == layout_size(24, 48) && offsetof(GadgetRecord, handle) == 0,
              "GadgetRecord: six words, the control first");

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
// 37 slots of an address each; an operation's slot number is its place.
static_assert(sizeof(GadgetOps) == layout_size(148, 296), "GadgetOps has 37 slots");
static_assert(offsetof(GadgetOps, parent_message) == 2 * sizeof(void*) &&
                  offsetof(GadgetOps, set_text) == 7 * sizeof(void*) &&
                  offsetof(GadgetOps, resize) == 12 * sizeof(void*) &&
                  offsetof(GadgetOps, get_x) == 19 * sizeof(void*) &&
                  offsetof(GadgetOps, get_attribute) == 26 * sizeof(void*) &&
                  offsetof(GadgetOps, set_colour) == 30 * sizeof(void*),
              "GadgetOps slots in their places");

// Image gadget flags that make a toggle (BS_PUSHLIKE | BS_AUTOCHECKBOX): its
// state is its check state; with any other flags its state is its picture.
const uint32_t IMAGE_GADGET_TOGGLE = 0x1003;

// The gadget library's state block.
struct GadgetContext {
    HWND parent;        // window that new gadgets go into (gadget_list_use)
    HFONT font;         // sent to every new gadget: the stock DEFAULT_GUI_FONT
    int32_t* words;     // ten zeroed words from the main heap; no user yet
    int32_t count;      // 0
    int32_t capacity;   // 10
};

// Library start: brush-cache lock, gadget table (50 slots), context block,
// common control classes. A second call does nothing.
void gadget_library_init();
// New gadgets are created inside `window`; returns it.
HWND gadget_list_use(HWND window);
// The gadget table and the context block (null before gadget_library_init).
ObjectTable* gadget_table();
GadgetContext* gadget_context();

// The common tail of every create operation, called once the control exists
// and its record is claimed: subclasses the control, marks it with its number
// (identifier and "RT_ID") and gives it the default font. Returns the dynamic
// handle for OBJECT_ANY, else the control's handle.
intptr_t gadget_attach(ObjectNumber number, GadgetRecord* record, HWND control, const GadgetOps* operations);
// The window procedure of every gadget; releases the record on WM_NCDESTROY.
LRESULT CALLBACK gadget_subclass_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// Hands a message for a control to its gadget kind's parent-message
// operation; RESULT_UNHANDLED for a control that is no library gadget.
LRESULT gadget_dispatch(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
// The nearest ancestor (the window itself included) that is a library
// window ("RT_WindowID"), else the topmost ancestor.
HWND gadget_top_window(HWND window);

// The common-controls version (major << 16 | minor), detected once; also
// decides whether visual styles are in use (gadget_themed).
int32_t theme_detect();
// 1 when visual styles are on and the common controls are version 6 or later.
int32_t gadget_themed();

// A shared solid brush of the colour (0x00BBGGRR), counted; null if none can
// be made. Every brush_acquire is matched by one brush_release.
HBRUSH brush_acquire(int32_t colour);
void brush_release(HBRUSH brush);

// Create operations: the dynamic handle for OBJECT_ANY, else the control's
// handle; 0 when the control cannot be made (an old gadget of the number then
// stays). The trailing flags are extra Win32 styles; leaving them out is the
// short form (flags 0). A null text is the empty text.
intptr_t gadget_image_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                             HANDLE picture, uint32_t flags = 0);
intptr_t gadget_text_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const char* text, uint32_t flags = 0);
intptr_t gadget_progress_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t minimum, int32_t maximum, uint32_t flags = 0);
intptr_t gadget_button_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                              const char* text, uint32_t flags = 0);

// Generic operations. A number that names no gadget does nothing (and gives 0).
// COORD_IGNORE in any of the four keeps that value.
void gadget_resize(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height);
void gadget_set_state(ObjectNumber number, intptr_t value);
// -1 takes the keyboard focus from every window of the thread.
void gadget_focus(ObjectNumber number);
void gadget_set_hidden(ObjectNumber number, int32_t hidden);
void gadget_set_text(ObjectNumber number, const char* text);
// Destroys the control; its window procedure then releases the record.
void gadget_free(ObjectNumber number);
// Reach the kind's remaining slots; 0 when the kind has no such operation.
intptr_t gadget_get_state(ObjectNumber number);
intptr_t gadget_get_attribute(ObjectNumber number, int32_t attribute);
void gadget_set_attribute(ObjectNumber number, int32_t attribute, intptr_t value);
void gadget_set_colour(ObjectNumber number, int32_t colour_kind, int32_t colour);
int32_t gadget_get_colour(ObjectNumber number, int32_t colour_kind);

// The painting procedure behind every image gadget: the button paints its
// face, then the picture is drawn over it.
LRESULT CALLBACK image_gadget_paint(HWND control, UINT message, WPARAM wparam, LPARAM lparam);

// The get-colour operation of the kinds that keep their back colour in kind
// data 1 and their front colour in kind data 2; -1 for another colour kind.
int32_t gadget_kind_colour(GadgetRecord* record, int32_t colour_kind);

// For the kinds' create operations: the kind's table, zeroed and filled by
// `fill` on the first call; the control in the current parent window
// (WS_CHILD | WS_VISIBLE added); and the creation's tail (claim, kind data,
// gadget_attach), which destroys the control when no record can be claimed.
const GadgetOps* gadget_ops_prepare(GadgetOps* ops, bool* filled, intptr_t kind, void (*fill)(GadgetOps* ops));
HWND gadget_control_create(DWORD ex_style, const char* class_name, const char* text, DWORD style, int32_t x,
                           int32_t y, int32_t width, int32_t height, intptr_t identifier);
intptr_t gadget_create_finish(ObjectNumber number, HWND control, const GadgetOps* operations, intptr_t kind_data_1,
                              intptr_t kind_data_2, intptr_t kind_data_3);
