// Non-modal window sizing: SC_SIZE starts it, the captured mouse or the arrow
// keys move an edge or corner, and losing the capture ends it. Owns the
// SizingState block.
#include "runtime/gui/sizing.h"

#include "runtime/core/object.h"

namespace {

const LONG KEY_STEP = 10;  // pixels per arrow key once an edge is chosen

SizingState* state;

// Where an arrow key puts the cursor when it picks an edge or corner.
enum Anchor { AT_CURSOR, AT_LEFT, AT_LEFT_IN, AT_RIGHT_IN, AT_TOP, AT_TOP_IN, AT_BOTTOM_IN };

struct EdgeChoice {
    WPARAM key;
    int32_t from;
    int32_t to;
    Anchor x;
    Anchor y;
    LPCSTR cursor;
};

// From no edge an arrow picks that side; from a side, an arrow across it
// picks the corner between them.
const EdgeChoice EDGE_CHOICES[] = {
    {VK_LEFT, 0, WMSZ_LEFT, AT_LEFT, AT_CURSOR, IDC_SIZEWE},
    {VK_LEFT, WMSZ_TOP, WMSZ_TOPLEFT, AT_LEFT_IN, AT_TOP_IN, IDC_SIZENWSE},
    {VK_LEFT, WMSZ_BOTTOM, WMSZ_BOTTOMLEFT, AT_LEFT, AT_BOTTOM_IN, IDC_SIZENESW},
    {VK_UP, 0, WMSZ_TOP, AT_CURSOR, AT_TOP, IDC_SIZENS},
    {VK_UP, WMSZ_RIGHT, WMSZ_TOPRIGHT, AT_RIGHT_IN, AT_TOP, IDC_SIZENESW},
    {VK_UP, WMSZ_LEFT, WMSZ_TOPLEFT, AT_LEFT_IN, AT_TOP_IN, IDC_SIZENWSE},
    {VK_RIGHT, 0, WMSZ_RIGHT, AT_RIGHT_IN, AT_CURSOR, IDC_SIZEWE},
    {VK_RIGHT, WMSZ_TOP, WMSZ_TOPRIGHT, AT_RIGHT_IN, AT_TOP, IDC_SIZENESW},
    {VK_RIGHT, WMSZ_BOTTOM, WMSZ_BOTTOMRIGHT, AT_RIGHT_IN, AT_BOTTOM_IN, IDC_SIZENWSE},
    {VK_DOWN, 0, WMSZ_BOTTOM, AT_CURSOR, AT_BOTTOM_IN, IDC_SIZENS},
    {VK_DOWN, WMSZ_RIGHT, WMSZ_BOTTOMRIGHT, AT_RIGHT_IN, AT_BOTTOM_IN, IDC_SIZENWSE},
    {VK_DOWN, WMSZ_LEFT, WMSZ_BOTTOMLEFT, AT_LEFT, AT_BOTTOM_IN, IDC_SIZENESW},
};

LONG anchor_at(Anchor anchor, const RECT& r, LONG cursor)
{
    switch (anchor) {
    case AT_LEFT: return r.left;
    case AT_LEFT_IN: return r.left + 2;
    case AT_RIGHT_IN: return r.right - 2;
    case AT_TOP: return r.top;
    case AT_TOP_IN: return r.top + 2;
    case AT_BOTTOM_IN: return r.bottom - 2;
    default: return cursor;
    }
}

void cursor_show(LPCSTR cursor)
{
    SetCursor(static_cast<HCURSOR>(LoadImageA(nullptr, cursor, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE)));
}

bool edge_in(int32_t a, int32_t b, int32_t c)
{
    return state->edge == a || state->edge == b || state->edge == c;
}

// Puts a side at `value` (direction -1 for left or top, 1 for right or
// bottom), keeping the extent to the opposite side within the limits by
// moving that same side.
void side_set(LONG* side, LONG value, LONG opposite, LONG direction, LONG minimum, LONG maximum)
{
    LONG extent = direction * (value - opposite);
    if (extent < minimum)
        extent = minimum;
    else if (extent > maximum)
        extent = maximum;
    *side = opposite + direction * extent;
}

// Moves the chosen edge or corner to the point within the tracking limits.
void rectangle_follow(POINT p)
{
    RECT& r = state->current;
    const POINT& least = state->limits.ptMinTrackSize;
    const POINT& most = state->limits.ptMaxTrackSize;
    LONG inset = state->edge == WMSZ_TOPLEFT ? 2 : 0;
    if (edge_in(WMSZ_LEFT, WMSZ_TOPLEFT, WMSZ_BOTTOMLEFT))
        side_set(&r.left, p.x - inset, r.right, -1, least.x, most.x);
    if (edge_in(WMSZ_RIGHT, WMSZ_TOPRIGHT, WMSZ_BOTTOMRIGHT))
        side_set(&r.right, p.x + 2, r.left, 1, least.x, most.x);
    if (edge_in(WMSZ_TOP, WMSZ_TOPLEFT, WMSZ_TOPRIGHT))
        side_set(&r.top, p.y - inset, r.bottom, -1, least.y, most.y);
    if (edge_in(WMSZ_BOTTOM, WMSZ_BOTTOMLEFT, WMSZ_BOTTOMRIGHT))
        side_set(&r.bottom, p.y + 2, r.top, 1, least.y, most.y);
}

void resize_to(HWND window, POINT p)
{
    rectangle_follow(p);
    SendMessageA(window, WM_SIZING, static_cast<WPARAM>(state->edge), reinterpret_cast<LPARAM>(&state->current));
    RECT r = state->current;
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

POINT point(LONG x, LONG y)
{
    POINT p = {x, y};
    return p;
}

void limits_read(HWND window)
{
    MINMAXINFO& l = state->limits;
    l.ptReserved = point(0, 0);
    l.ptMaxSize = point(GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED));
    if (GetWindowLongPtrA(window, GWL_STYLE) & WS_BORDER)
        l.ptMaxPosition = point(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    else if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_WINDOWEDGE)
        l.ptMaxPosition = point(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    else
        l.ptMaxPosition = point(0, 0);
    l.ptMinTrackSize = point(GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK));
    l.ptMaxTrackSize = point(GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK));
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&l));
}

LRESULT sizing_start(HWND window, WPARAM command)
{
    state->edge = static_cast<int32_t>(command & 0xF);
    state->active = 1;
    GetWindowRect(window, &state->current);
    state->starting = state->current;
    limits_read(window);
    if (!(GetKeyState(VK_LBUTTON) & 0x8000))
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCapture(window);
    PostMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    state->restore_cursor = state->edge == 0;
    if (state->restore_cursor) {
        GetCursorPos(&state->saved_cursor);
        cursor_show(IDC_SIZEALL);
    }
    return 0;
}

void arrow_key(HWND window, WPARAM key)
{
    POINT cursor;
    GetCursorPos(&cursor);
    for (const EdgeChoice& choice : EDGE_CHOICES) {
        if (choice.key == key && choice.from == state->edge) {
            state->edge = choice.to;
            SetCursorPos(anchor_at(choice.x, state->current, cursor.x), anchor_at(choice.y, state->current, cursor.y));
            cursor_show(choice.cursor);
            return;
        }
    }
    if (state->edge == 0)
        return;
    cursor.x += key == VK_LEFT ? -KEY_STEP : key == VK_RIGHT ? KEY_STEP : 0;
    cursor.y += key == VK_UP ? -KEY_STEP : key == VK_DOWN ? KEY_STEP : 0;
    SetCursorPos(cursor.x, cursor.y);
    resize_to(window, cursor);
}

LRESULT sizing_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        state->restore_cursor = 0;
        POINT p = point(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
        MapWindowPoints(window, nullptr, &p, 1);
        resize_to(window, p);
        return 0;
    }
    case WM_KEYDOWN:
        if (wparam == VK_RETURN || wparam == VK_ESCAPE) {
            ReleaseCapture();
            return 0;
        }
        if (wparam == VK_LEFT || wparam == VK_RIGHT || wparam == VK_UP || wparam == VK_DOWN)
            arrow_key(window, wparam);
        return RESULT_UNHANDLED;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        PostMessageA(window, WM_EXITSIZEMOVE, 0, 0);
        state->active = 0;
        if (state->restore_cursor)
            SetCursorPos(state->saved_cursor.x, state->saved_cursor.y);
        return 0;
    default:
        return RESULT_UNHANDLED;
    }
}

bool full_window_dragging()
{
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0) && on;
}

}  // namespace

void sizing_state_create()
{
    if (!state)
        state = static_cast<SizingState*>(library_state_get(library_state_create(sizeof(SizingState), nullptr)));
}

SizingState* sizing_state()
{
    return state;
}

LRESULT sizing_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!state)
        return RESULT_UNHANDLED;
    if (state->active)
        return sizing_message(window, message, wparam, lparam);
    if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_SIZE && full_window_dragging())
        return sizing_start(window, wparam);
    return RESULT_UNHANDLED;
}
