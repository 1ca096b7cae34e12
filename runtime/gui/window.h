// Windows: top-level windows as numbered objects, each with a class of its
// own, a property carrying its number and a Tab/Shift+Tab accelerator table.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

// A coordinate that the caller leaves open (window position) or wants kept
// (gadget geometry).
const int32_t COORD_IGNORE = -65535;

// Library flags mixed into the Win32 style word of window_open.
const uint32_t WINDOW_CENTER_SCREEN = 0x00000001;  // wins over WINDOW_CENTER_PARENT
const uint32_t WINDOW_CENTER_PARENT = 0x00000002;  // on the parent, else on the active window
const uint32_t WINDOW_INVISIBLE = 0x10000000;      // not shown by window_open

// Commands of the accelerator table that every window gets.
const WORD COMMAND_FOCUS_NEXT = 1212;      // Tab
const WORD COMMAND_FOCUS_PREVIOUS = 1213;  // Shift+Tab

// The property that marks a library window; its value is the number plus 1.
extern const char WINDOW_ID_PROPERTY[];

// Message hook of a window (or of all windows, event_set_global_callback):
// RESULT_CONTINUE lets the library handle the message, any other value is
// the message's result.
typedef LRESULT (*WindowCallback)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Background painter called on WM_ERASEBKGND; its value is the message's result.
typedef LRESULT (*EraseCallback)(HDC dc, HWND window);

// The object record of the window table.
struct WindowRecord {
    HWND handle;                  // null marks a free slot
    int32_t accelerator_count;    // 2 after window_open
    ACCEL* accelerator_entries;   // main heap, owned
    HACCEL accelerator_table;     // made from the entries
    WindowCallback window_callback;
    int32_t background_colour;    // 0x00BBGGRR, -1 for none
    HBRUSH background_brush;      // paints the client area when set; owned
    HWND mdi_client;              // only for an MDI child; null for window_open's windows
    EraseCallback erase_callback;
};
static_assert(sizeof(WindowRecord) == layout_size(36, 72) && offsetof(WindowRecord, handle) == 0,
              "WindowRecord: the window first");

// Opens a window whose client area is width x height. flags: Win32 styles and
// the WINDOW_* flags; with no style at all the window gets a caption. x or y
// COORD_IGNORE leaves the position to the system. Returns the dynamic handle
// for OBJECT_ANY, else the window handle; 0 on failure. A null title is empty.
intptr_t window_open(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
                     uint32_t flags, HWND parent);
intptr_t window_open(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
                     uint32_t flags);
// Closes the window and unregisters its class; nothing for a free number.
void window_close(ObjectNumber number);
// The platform window, or null.
HWND window_handle(ObjectNumber number);
// hide 1 hides; 0 shows the window in the state it remembers. The result of
// ShowWindow, 0 for a free number.
int32_t window_set_hidden(ObjectNumber number, int32_t hide);

// Hooks read by the window procedure. Each returns 1, or 0 for a free number.
int32_t window_set_callback(ObjectNumber number, WindowCallback callback);
int32_t window_set_erase_callback(ObjectNumber number, EraseCallback callback);
// Paints the client area in the colour (0x00BBGGRR); -1 removes the brush.
int32_t window_set_colour(ObjectNumber number, int32_t colour);

// The window table (null before window_library_init) and the record of a
// number, or null.
ObjectTable* window_table();
WindowRecord* window_record(ObjectNumber number);
// The number that WINDOW_ID_PROPERTY gives the window, or -1 when it carries
// none. A window that window_open made and window_close has not begun to
// close carries it for certain: its number comes from the window table, and
// the property is read (a trip to the server under Wine) only for others.
ObjectNumber window_id_of(HWND window);
// The number of the window that window_open made with that handle and
// window_close has not begun to close, or -1.
ObjectNumber window_number_opened(HWND window);
// The library window that holds `window` (itself or a parent carrying
// WINDOW_ID_PROPERTY): its handle into *found and its number; -1 when none.
ObjectNumber window_number_of(HWND window, HWND* found);

// Library start: window table, class icon and cursor. A second call does
// nothing.
void window_library_init();
// Library end: closes every window.
void window_library_end();
