// Windows: the window table, one window class per window, placement from the
// flags word, the Tab accelerator table, and the library's start and end.
#include "runtime/gui/window.h"

#include <ole2.h>
#include <cinttypes>
#include <cstdio>

#include "runtime/core/heap.h"
#include "runtime/core/module.h"
#include "runtime/gui/window_procedure.h"

const char WINDOW_ID_PROPERTY[] = "RT_WindowID";

namespace {

const char DROP_PROPERTY[] = "RT_DropAccept";
const int32_t WINDOW_SLOTS = 16;
// Bits that are the library's own; a flags word with no other bit gets a caption.
const uint32_t LIBRARY_FLAGS = WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE;
const uint32_t CENTER_FLAGS = WINDOW_CENTER_SCREEN | WINDOW_CENTER_PARENT;
const int32_t NO_COLOUR = -1;

ObjectTable* windows;
HICON class_icon;
HCURSOR class_cursor;
// The window whose close has taken its property away: its record lives on
// until the end of window_close, but it no longer counts as marked.
HWND closing;

// "WindowClass_%d" with the number as a signed decimal as wide as an address.
struct ClassName {
    char text[40];
    explicit ClassName(ObjectNumber number) { std::snprintf(text, sizeof text, "WindowClass_%" PRIdPTR, number); }
};

bool is_mdi_child(const WindowRecord* record)
{
    return record->mdi_client != nullptr;
}

// Hiding or closing a top-level window hands activation to its owner, so
// that the owner, not some other program, comes forward.
void activate_owner(const WindowRecord* record)
{
    HWND owner = GetWindow(record->handle, GW_OWNER);
    if (owner && !is_mdi_child(record))
        SetActiveWindow(owner);
}

int show_command(bool maximised, bool minimised)
{
    if (maximised)
        return SW_SHOWMAXIMIZED;
    return minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}

// Centred on a reference window, raised to 0 where it would go negative.
int32_t centre_on(LONG start, LONG extent, int32_t outer)
{
    int32_t position = start + (extent - outer) / 2;
    return position < 0 ? 0 : position;
}

// The window's position from its flags; the outer size is cut to the screen
// when centring on it.
void place(uint32_t flags, HWND parent, int32_t* x, int32_t* y, int32_t* outer_width, int32_t* outer_height)
{
    if (flags & WINDOW_CENTER_SCREEN) {
        int32_t screen_width = GetSystemMetrics(SM_CXSCREEN);
        int32_t screen_height = GetSystemMetrics(SM_CYSCREEN);
        if (*outer_width > screen_width)
            *outer_width = screen_width;
        if (*outer_height > screen_height)
            *outer_height = screen_height;
        *x = (screen_width - *outer_width) / 2;
        *y = (screen_height - *outer_height) / 2;
        return;
    }
    if (flags & WINDOW_CENTER_PARENT) {
        HWND reference = parent ? parent : GetActiveWindow();
        RECT r;
        if (reference && GetWindowRect(reference, &r)) {
            *x = centre_on(r.left, r.right - r.left, *outer_width);
            *y = centre_on(r.top, r.bottom - r.top, *outer_height);
            return;
        }
    }
    // An open coordinate that no centring filled in: the system's default
    // position (for x, which makes the system ignore y).
    if (*x == COORD_IGNORE || *y == COORD_IGNORE) {
        *x = static_cast<int32_t>(CW_USEDEFAULT);
        *y = static_cast<int32_t>(CW_USEDEFAULT);
    }
}

void accelerators_make(WindowRecord* record)
{
    ACCEL* entries = static_cast<ACCEL*>(HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, 2 * sizeof(ACCEL)));
    if (!entries)
        return;
    entries[0] = ACCEL{FVIRTKEY | FNOINVERT, VK_TAB, COMMAND_FOCUS_NEXT};
    entries[1] = ACCEL{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, COMMAND_FOCUS_PREVIOUS};
    record->accelerator_count = 2;
    record->accelerator_entries = entries;
    record->accelerator_table = CreateAcceleratorTableA(entries, 2);
}

void brush_drop(WindowRecord* record)
{
    if (record->background_brush)
        DeleteObject(record->background_brush);
    record->background_brush = nullptr;
}

template <typename Hook>
int32_t hook_set(ObjectNumber number, Hook WindowRecord::*field, Hook hook)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    record->*field = hook;
    return 1;
}

}  // namespace

intptr_t window_open(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
                     uint32_t flags, HWND parent)
{
    WindowRecord* record = static_cast<WindowRecord*>(object_table_claim(windows, number));
    if (!record)
        return 0;
    bool dynamic = number == OBJECT_ANY;
    if (dynamic)
        number = reinterpret_cast<ObjectNumber>(record);
    ClassName class_name(number);

    WNDCLASSA window_class = {};
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = module_instance();
    window_class.hIcon = class_icon;
    window_class.hCursor = class_cursor;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name.text;
    RegisterClassA(&window_class);

    if ((flags & ~LIBRARY_FLAGS) == 0)
        flags |= WS_CAPTION;
    bool visible = !(flags & WINDOW_INVISIBLE);
    flags &= ~WINDOW_INVISIBLE;
    DWORD style = flags & ~CENTER_FLAGS;

    RECT outer = {0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    int32_t outer_width = outer.right - outer.left;
    int32_t outer_height = outer.bottom - outer.top;
    place(flags, parent, &x, &y, &outer_width, &outer_height);

    HWND handle = CreateWindowExA(0, class_name.text, title ? title : "", style, x, y, outer_width, outer_height,
                                  parent, nullptr, module_instance(), nullptr);
    if (!handle) {
        UnregisterClassA(class_name.text, module_instance());
        object_table_release(windows, number);
        return 0;
    }
    record->handle = handle;
    SetPropA(handle, WINDOW_ID_PROPERTY, reinterpret_cast<HANDLE>(number + 1));
    if (visible)
        ShowWindow(handle, show_command(style & WS_MAXIMIZE, style & WS_MINIMIZE));
    accelerators_make(record);
    record->background_colour = NO_COLOUR;
    record->mdi_client = nullptr;
    return dynamic ? number : reinterpret_cast<intptr_t>(handle);
}

intptr_t window_open(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
                     uint32_t flags)
{
    return window_open(number, x, y, width, height, title, flags, nullptr);
}

void window_close(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return;
    HWND handle = record->handle;
    activate_owner(record);
    HWND closing_before = closing;
    closing = handle;
    RemovePropA(handle, WINDOW_ID_PROPERTY);
    if (RemovePropA(handle, DROP_PROPERTY))
        RevokeDragDrop(handle);
    if (is_mdi_child(record)) {
        SendMessageA(record->mdi_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle), 0);
    } else {
        DestroyWindow(handle);
        UnregisterClassA(ClassName(number).text, module_instance());
    }
    if (record->accelerator_entries) {
        HeapFree(heap_main(), 0, record->accelerator_entries);
        DestroyAcceleratorTable(record->accelerator_table);
    }
    brush_drop(record);
    object_table_release(windows, number);
    closing = closing_before;
}

HWND window_handle(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    return record ? record->handle : nullptr;
}

int32_t window_set_hidden(ObjectNumber number, int32_t hide)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    if (hide == 1) {
        activate_owner(record);
        return ShowWindow(record->handle, SW_HIDE);
    }
    return ShowWindow(record->handle, show_command(IsZoomed(record->handle), IsIconic(record->handle)));
}

int32_t window_set_callback(ObjectNumber number, WindowCallback callback)
{
    return hook_set(number, &WindowRecord::window_callback, callback);
}

int32_t window_set_erase_callback(ObjectNumber number, EraseCallback callback)
{
    return hook_set(number, &WindowRecord::erase_callback, callback);
}

int32_t window_set_colour(ObjectNumber number, int32_t colour)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    brush_drop(record);
    record->background_colour = colour;
    if (colour != NO_COLOUR)
        record->background_brush = CreateSolidBrush(static_cast<COLORREF>(colour));
    InvalidateRect(record->handle, nullptr, TRUE);
    return 1;
}

ObjectTable* window_table()
{
    return windows;
}

WindowRecord* window_record(ObjectNumber number)
{
    return static_cast<WindowRecord*>(object_table_find(windows, number));
}

ObjectNumber window_number_opened(HWND window)
{
    ObjectNumber number;
    if (!window || window == closing || !object_table_find_handle(windows, window, &number))
        return -1;
    return number;
}

ObjectNumber window_id_of(HWND window)
{
    ObjectNumber number = window_number_opened(window);
    if (number != -1 || !window || window == closing)
        return number;
    return reinterpret_cast<ObjectNumber>(GetPropA(window, WINDOW_ID_PROPERTY)) - 1;
}

ObjectNumber window_number_of(HWND window, HWND* found)
{
    // Climb real parents only: GetParent of a top-level popup is its owner,
    // which is another window's business.
    for (HWND h = window; h; h = (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr) {
        ObjectNumber number = window_id_of(h);
        if (number != -1) {
            *found = h;
            return number;
        }
    }
    *found = nullptr;
    return -1;
}

void window_library_init()
{
    if (windows)
        return;
    windows = object_table_create(sizeof(WindowRecord), WINDOW_SLOTS, window_close);
    class_icon = LoadIconA(module_instance(), MAKEINTRESOURCEA(1));
    class_cursor = LoadCursorA(nullptr, IDC_ARROW);
}

void window_library_end()
{
    object_table_free_all(windows);
}
