// Text gadget: a static label whose text and back colours are answered to
// WM_CTLCOLORSTATIC; the back brush comes from the shared brush cache.
#include "runtime/gui/gadget.h"

#include "runtime/gui/brush_cache.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/result.h"

namespace {

// Kind data: back colour, text colour (-1 = default), back brush (owned).
int32_t back_colour(const GadgetRecord* r) { return static_cast<int32_t>(r->kind_data_1); }
int32_t text_colour(const GadgetRecord* r) { return static_cast<int32_t>(r->kind_data_2); }
HBRUSH back_brush(const GadgetRecord* r) { return reinterpret_cast<HBRUSH>(r->kind_data_3); }

LRESULT text_parent_message(GadgetRecord* record, HWND, UINT message, WPARAM wparam, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC)
        return RESULT_UNHANDLED;
    HDC dc = reinterpret_cast<HDC>(wparam);
    if (text_colour(record) != -1) {
        SetTextColor(dc, static_cast<COLORREF>(text_colour(record)));
        if (back_colour(record) == -1) {
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if (back_colour(record) != -1) {
        SetBkColor(dc, static_cast<COLORREF>(back_colour(record)));
        return reinterpret_cast<LRESULT>(back_brush(record));
    }
    return RESULT_UNHANDLED;
}

void text_destroyed(GadgetRecord* record)
{
    brush_release(back_brush(record));
    record->kind_data_3 = 0;
}

void text_set_colour(GadgetRecord* record, int32_t colour_kind, int32_t colour)
{
    if (colour_kind == 1) {
        record->kind_data_2 = colour;
    } else if (colour_kind == 2) {
        brush_release(back_brush(record));
        record->kind_data_3 = reinterpret_cast<intptr_t>(colour == -1 ? nullptr : brush_acquire(colour));
        record->kind_data_1 = colour;
    } else {
        return;
    }
    RedrawWindow(record->handle, nullptr, nullptr, RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

GadgetOps text_ops;
bool text_ops_filled;

void text_fill(GadgetOps* ops)
{
    ops->parent_message = text_parent_message;
    ops->destroyed = text_destroyed;
    ops->set_colour = text_set_colour;
    ops->get_colour = gadget_kind_colour;
}

}  // namespace

intptr_t gadget_text_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const char* text, uint32_t flags)
{
    const GadgetOps* ops = gadget_ops_prepare(&text_ops, &text_ops_filled, GADGET_KIND_TEXT, text_fill);
    // The caller's bit 0x20000 asks for a sunken client edge.
    const uint32_t CLIENT_EDGE_FLAG = 0x20000;
    HWND control = gadget_control_create((flags & CLIENT_EDGE_FLAG) ? WS_EX_CLIENTEDGE : 0, "Static", text ? text : "",
                                         flags | WS_GROUP, x, y, width, height, -1);
    return gadget_create_finish(number, control, ops, -1, -1, 0);
}
