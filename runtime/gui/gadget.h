// Gadgets: Win32 controls inside a library window, held as numbered objects
// of the gadget table; their create operations and the generic operations on
// any kind. What the kinds share is in gadget_kind.h.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

struct GadgetOps;  // gadget_kind.h

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

// Hands a message for a control to its gadget kind's parent-message
// operation; RESULT_UNHANDLED for a control that is no library gadget.
LRESULT gadget_dispatch(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);

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
