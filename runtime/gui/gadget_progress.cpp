// Progress bar gadget: the common control's bar, whose state is its position
// and whose attributes are the ends of its range.
#include "runtime/gui/gadget.h"

#include <commctrl.h>

#include "runtime/gui/gadget_kind.h"

namespace {

// Kind data: back colour, bar colour (-1 = default).
const int32_t ATTRIBUTE_MINIMUM = 1;
const int32_t ATTRIBUTE_MAXIMUM = 2;

LRESULT send(GadgetRecord* record, UINT message, WPARAM wparam, LPARAM lparam)
{
    return SendMessageA(record->handle, message, wparam, lparam);
}

intptr_t progress_get_state(GadgetRecord* record) { return send(record, PBM_GETPOS, 0, 0); }

void progress_set_state(GadgetRecord* record, intptr_t value) { send(record, PBM_SETPOS, value, 0); }

// PBM_GETRANGE answers the minimum for wParam TRUE, the maximum for FALSE.
intptr_t progress_get_attribute(GadgetRecord* record, int32_t attribute)
{
    if (attribute != ATTRIBUTE_MINIMUM && attribute != ATTRIBUTE_MAXIMUM)
        return 0;
    return send(record, PBM_GETRANGE, attribute == ATTRIBUTE_MINIMUM, 0);
}

void progress_set_attribute(GadgetRecord* record, int32_t attribute, intptr_t value)
{
    if (attribute == ATTRIBUTE_MINIMUM)
        send(record, PBM_SETRANGE32, value, send(record, PBM_GETRANGE, FALSE, 0));
    else if (attribute == ATTRIBUTE_MAXIMUM)
        send(record, PBM_SETRANGE32, send(record, PBM_GETRANGE, TRUE, 0), value);
}

void progress_set_colour(GadgetRecord* record, int32_t colour_kind, int32_t colour)
{
    LPARAM value = colour == -1 ? static_cast<LPARAM>(CLR_DEFAULT) : static_cast<LPARAM>(colour);
    if (colour_kind == 1) {
        send(record, PBM_SETBARCOLOR, 0, value);
        record->kind_data_2 = colour;
    } else if (colour_kind == 2) {
        send(record, PBM_SETBKCOLOR, 0, value);
        record->kind_data_1 = colour;
    }
}

GadgetOps progress_ops;
bool progress_ops_filled;

void progress_fill(GadgetOps* ops)
{
    ops->get_state = progress_get_state;
    ops->set_state = progress_set_state;
    ops->get_attribute = progress_get_attribute;
    ops->set_attribute = progress_set_attribute;
    ops->set_colour = progress_set_colour;
    ops->get_colour = gadget_kind_colour;
}

}  // namespace

intptr_t gadget_progress_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t minimum, int32_t maximum, uint32_t flags)
{
    const GadgetOps* ops =
        gadget_ops_prepare(&progress_ops, &progress_ops_filled, GADGET_KIND_PROGRESS, progress_fill);
    HWND control = gadget_control_create(0, PROGRESS_CLASSA, nullptr, flags, x, y, width, height, 0);
    if (control)
        SendMessageA(control, PBM_SETRANGE32, minimum, maximum);
    return gadget_create_finish(number, control, ops, -1, -1, 0);
}
