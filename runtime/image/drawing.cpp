// Drawing: the DrawingState of the one current drawing target, and text and
// line drawing on its device context. The default pen and brush live from
// start-up to the end of the process.
#include "runtime/image/drawing.h"

#include <cstring>

#include "runtime/core/gdi_scope.h"

namespace {

// Kinds of target that other owners make: kind 5 gives its context back
// through its release operation; kind 7 does too, and can lose its context
// and make a fresh one (drawing_refresh).
const int32_t OUTPUT_OWNER_RELEASED = 5;
const int32_t OUTPUT_REFRESHED = 7;

DrawingState state;

// The context to draw on after a refresh; null while no drawing is going on.
HDC current_context()
{
    drawing_refresh();
    return state.device_context;
}

bool released_by_owner(int32_t kind)
{
    return kind == OUTPUT_IMAGE || kind == OUTPUT_OWNER_RELEASED || kind == OUTPUT_REFRESHED;
}

void apply_mode(int32_t flags)
{
    HDC dc = state.device_context;
    SetROP2(dc, (flags & DRAW_INVERT) ? R2_NOT : R2_COPYPEN);
    SelectObject(dc, (flags & DRAW_OUTLINED) ? GetStockObject(NULL_BRUSH) : state.front_brush);
    SetBkMode(dc, (flags & DRAW_TRANSPARENT) ? TRANSPARENT : OPAQUE);
}

}  // namespace

void drawing_library_start()
{
    if (state.default_brush)
        return;
    memset(&state, 0, sizeof state);
    state.default_brush = CreateSolidBrush(0);
    state.default_pen = CreatePen(PS_SOLID, 0, 0);
}

DrawingState* drawing_state()
{
    return &state;
}

HDC drawing_start(const DrawingOutput* output)
{
    drawing_stop();
    if (!output)
        return nullptr;
    state.output_kind = output->kind;
    state.window = output->window;
    state.release = output->release;
    state.mode = 0;
    state.device_context = output->kind == OUTPUT_WINDOW ? GetDC(output->window) : output->device_context;
    if (output->kind == OUTPUT_REFRESHED)
        memcpy(state.extra_values, output->extra_values, sizeof state.extra_values);
    state.context_state = 1;
    HDC dc = state.device_context;
    if (!dc)
        return nullptr;
    // Text goes at the current position, its top-left corner there, and
    // moves the position to its end.
    SetTextAlign(dc, TA_UPDATECP);
    state.saved_brush = static_cast<HBRUSH>(SelectObject(dc, state.default_brush));
    state.saved_pen = static_cast<HPEN>(SelectObject(dc, state.default_pen));
    state.font = nullptr;
    state.front_colour = 0;
    state.back_colour = 0xFFFFFF;
    state.front_brush = CreateSolidBrush(0);
    SetTextColor(dc, 0);
    return dc;
}

intptr_t drawing_stop()
{
    HDC dc = state.device_context;
    if (!dc)
        return 0;
    SelectObject(dc, state.saved_brush);
    SelectObject(dc, state.saved_pen);
    if (state.front_brush)
        DeleteObject(state.front_brush);
    if (state.front_pen)
        DeleteObject(state.front_pen);
    state.front_brush = nullptr;
    state.front_pen = nullptr;
    intptr_t result;
    if (state.output_kind == OUTPUT_WINDOW)
        result = ReleaseDC(state.window, dc);
    else if (released_by_owner(state.output_kind))
        result = state.release ? state.release() : 0;
    else
        result = DeleteDC(dc);
    state.device_context = nullptr;
    return result;
}

void drawing_set_font(HFONT font)
{
    HDC dc = current_context();
    if (!dc)
        return;
    if (font == DRAWING_SYSTEM_FONT)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    state.font = font;
    // A null handle (a font that failed to load) leaves the context's font.
    SelectObject(dc, font);
}

void drawing_font_detach(HFONT font)
{
    HDC dc = state.device_context;
    if (!dc || !font || GetCurrentObject(dc, OBJ_FONT) != font)
        return;
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    state.font = nullptr;
}

int32_t drawing_text_width(const char* text)
{
    if (!text || !*text)
        return 0;
    HDC dc = current_context();
    if (!dc)
        return 0;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    return size.cx;
}

int32_t draw_text(int32_t x, int32_t y, const char* text, int32_t front, int32_t back)
{
    HDC dc = current_context();
    if (!dc)
        return 0;
    bool other_front = front != state.front_colour;
    if (other_front)
        SetTextColor(dc, static_cast<COLORREF>(front));
    COLORREF old_back = SetBkColor(dc, static_cast<COLORREF>(back));
    MoveToEx(dc, x, y, nullptr);
    // With TA_UPDATECP the coordinates are ignored: the text starts at the
    // current position, which then moves past it.
    if (text && *text)
        TextOutA(dc, 0, 0, text, static_cast<int>(strlen(text)));
    SetBkColor(dc, old_back);
    if (other_front)
        SetTextColor(dc, static_cast<COLORREF>(state.front_colour));
    POINT after = {x, y};
    MoveToEx(dc, 0, 0, &after);
    return after.x;
}

void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour)
{
    HDC dc = current_context();
    if (!dc)
        return;
    // No cache: each coloured line makes its own pen, which is selected out
    // and deleted at the end, in that order.
    bool own_pen = colour != -1 && colour != state.front_colour;
    ScopedGdiObject<HPEN> pen(own_pen ? CreatePen(PS_SOLID, 0, static_cast<COLORREF>(colour)) : nullptr);
    ScopedSelect selected(own_pen ? dc : nullptr, pen.get());
    if (!own_pen)
        colour = state.front_colour;
    POINT saved = {0, 0};
    MoveToEx(dc, x1, y1, &saved);
    // LineTo leaves out the last point; it is set separately.
    LineTo(dc, x2, y2);
    SetPixelV(dc, x2, y2, static_cast<COLORREF>(colour));
    MoveToEx(dc, saved.x, saved.y, nullptr);
}

void drawing_set_mode(int32_t flags)
{
    if (!current_context())
        return;
    state.mode = flags;
    apply_mode(flags);
}

void drawing_refresh()
{
    if (state.output_kind != OUTPUT_REFRESHED || state.context_state != DRAWING_CONTEXT_LOST)
        return;
    state.context_state = 1;
    auto fresh_context = reinterpret_cast<HDC (*)()>(state.extra_values[6]);
    state.device_context = fresh_context ? fresh_context() : nullptr;
    HDC dc = state.device_context;
    if (!dc)
        return;
    SetTextColor(dc, static_cast<COLORREF>(state.front_colour));
    SetTextAlign(dc, TA_UPDATECP);
    SetBkColor(dc, static_cast<COLORREF>(state.back_colour));
    if (state.mode)
        apply_mode(state.mode);
    else
        SelectObject(dc, state.front_brush);
    if (state.front_pen)
        SelectObject(dc, state.front_pen);
    if (state.font)
        SelectObject(dc, state.font);
}
