// Button gadget: a push button (or, by its flags, a check box) whose state is
// its check state.
#include "runtime/gui/gadget.h"

#include "runtime/gui/gadget_kind.h"

namespace {

intptr_t button_get_state(GadgetRecord* record)
{
    return SendMessageA(record->handle, BM_GETCHECK, 0, 0) & 1;
}

void button_set_state(GadgetRecord* record, intptr_t value)
{
    SendMessageA(record->handle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

GadgetOps button_ops;
bool button_ops_filled;

void button_fill(GadgetOps* ops)
{
    ops->get_state = button_get_state;
    ops->set_state = button_set_state;
}

}  // namespace

intptr_t gadget_button_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                              const char* text, uint32_t flags)
{
    const GadgetOps* ops = gadget_ops_prepare(&button_ops, &button_ops_filled, GADGET_KIND_BUTTON, button_fill);
    HWND control = gadget_control_create(0, "Button", text ? text : "", flags | WS_TABSTOP | WS_GROUP, x, y, width,
                                         height, -1);
    return gadget_create_finish(number, control, ops, 0, 0, 0);
}
