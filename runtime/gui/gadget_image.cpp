// Image gadget: a push button whose face is overpainted with a picture (a
// bitmap or an icon that an image object owns), centred and clipped inside a
// border; with IMAGE_GADGET_TOGGLE it is a toggle with a pressed picture.
#include "runtime/gui/gadget.h"

#include "runtime/core/gdi_scope.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/theme.h"

namespace {

const int32_t ATTRIBUTE_PICTURE = 1;
const int32_t ATTRIBUTE_PRESSED_PICTURE = 2;

// The "BUTTON" class procedure under the painting procedure; the same for
// every image gadget.
WNDPROC button_procedure;

// Kind data: picture, pressed picture (0 = none), the caller's flags.
bool is_toggle(const GadgetRecord* record) { return record->kind_data_3 == IMAGE_GADGET_TOGGLE; }

void repaint(HWND control)
{
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
}

intptr_t image_get_state(GadgetRecord* record)
{
    if (is_toggle(record))
        return SendMessageA(record->handle, BM_GETCHECK, 0, 0) & 1;
    return record->kind_data_1;
}

void image_set_state(GadgetRecord* record, intptr_t value)
{
    if (is_toggle(record)) {
        SendMessageA(record->handle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    record->kind_data_1 = value;
    repaint(record->handle);
}

intptr_t image_get_attribute(GadgetRecord* record, int32_t attribute)
{
    if (attribute == ATTRIBUTE_PICTURE)
        return record->kind_data_1;
    return attribute == ATTRIBUTE_PRESSED_PICTURE ? record->kind_data_2 : 0;
}

void image_set_attribute(GadgetRecord* record, int32_t attribute, intptr_t value)
{
    if (attribute == ATTRIBUTE_PICTURE)
        record->kind_data_1 = value;
    else if (attribute == ATTRIBUTE_PRESSED_PICTURE)
        record->kind_data_2 = value;
    else
        return;
    repaint(record->handle);
}

GadgetOps image_ops;
bool image_ops_filled;

void image_fill(GadgetOps* ops)
{
    ops->get_state = image_get_state;
    ops->set_state = image_set_state;
    ops->get_attribute = image_get_attribute;
    ops->set_attribute = image_set_attribute;
}

// The picture's size and DrawStateA kind; false for a handle that is neither
// a bitmap nor an icon, which is then not drawn at all.
bool picture_measure(HANDLE picture, SIZE* size, UINT* draw_kind)
{
    if (GetObjectType(picture) == OBJ_BITMAP) {
        BITMAP bitmap;
        if (!GetObjectA(picture, sizeof bitmap, &bitmap))
            return false;
        size->cx = bitmap.bmWidth;
        size->cy = bitmap.bmHeight;
        *draw_kind = DST_BITMAP;
        return true;
    }
    ICONINFO info;
    if (!GetIconInfo(static_cast<HICON>(picture), &info))
        return false;
    // The bitmaps that GetIconInfo made for us go at the end, the mask first.
    ScopedGdiObject<HBITMAP> colour_bitmap(info.hbmColor), mask_bitmap(info.hbmMask);
    BITMAP mask = {};
    bool measured = GetObjectA(info.hbmMask, sizeof mask, &mask) != 0;
    size->cx = mask.bmWidth;
    // A monochrome icon keeps its AND and XOR masks stacked in one bitmap.
    size->cy = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    *draw_kind = DST_ICON;
    return measured;
}

void picture_draw(HWND control, HDC dc, HANDLE picture, const RECT& client, int32_t inset, LRESULT button_state)
{
    SIZE size;
    UINT draw_kind;
    if (!picture || !picture_measure(picture, &size, &draw_kind))
        return;
    // The picture alone is clipped: the focus rectangle drawn after it takes
    // the whole face. The region goes at the end.
    ScopedGdiObject<HRGN> clip(CreateRectRgn(inset, inset, client.right - inset, client.bottom - inset));
    if (!clip.get())
        return;
    SelectClipRgn(dc, clip.get());
    if (!IsWindowEnabled(control))
        draw_kind |= DSS_DISABLED;
    int32_t offset = (button_state & BST_PUSHED) ? 1 : 0;
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, (client.right - size.cx) / 2 + offset,
               (client.bottom - size.cy) / 2 + offset, 0, 0, draw_kind);
    SelectClipRgn(dc, nullptr);
}

// The button keeps its own focus state, which spares asking the platform
// (GetFocus is a trip to the server under Wine) on every paint.
void focus_draw(HWND control, HDC dc, RECT client, bool themed, LRESULT button_state)
{
    if (!(button_state & BST_FOCUS))
        return;
    if (SendMessageA(gadget_top_window(control), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)
        return;
    InflateRect(&client, -3, -3);
    if (!themed)
        FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawFocusRect(dc, &client);
}

bool is_painting_message(UINT message)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_ENABLE:
    case WM_PAINT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
    case WM_PRINT:
        return true;
    default:
        return false;
    }
}

// The picture and the focus rectangle over the face that the button painted.
void face_overpaint(HWND control, const GadgetRecord& record, HDC dc)
{
    if (!dc)
        return;
    bool themed = gadget_themed() != 0;
    RECT client;
    GetClientRect(control, &client);
    HANDLE picture = reinterpret_cast<HANDLE>(record.kind_data_1);
    LRESULT button_state = SendMessageA(control, BM_GETSTATE, 0, 0);
    if (record.kind_data_2 &&
        ((SendMessageA(control, BM_GETCHECK, 0, 0) & BST_CHECKED) || (button_state & BST_PUSHED)))
        picture = reinterpret_cast<HANDLE>(record.kind_data_2);
    picture_draw(control, dc, picture, client, themed ? 4 : 2, button_state);
    focus_draw(control, dc, client, themed, button_state);
}

// The painting procedure behind every image gadget: the button paints its
// face, then the picture is drawn over it.
LRESULT CALLBACK image_gadget_paint(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = CallWindowProcA(button_procedure, control, message, wparam, lparam);
    if (!is_painting_message(message))
        return result;
    // The record is reached through the gadget number that the control carries.
    GadgetRecord* record =
        static_cast<GadgetRecord*>(object_table_find(gadget_table(), GetWindowLongPtrA(control, GWLP_ID)));
    if (!record || record->handle != control)
        return result;
    // WM_PRINT hands in a context of its caller's; any other paint borrows
    // the control's and gives it back.
    if (message == WM_PRINT) {
        face_overpaint(control, *record, reinterpret_cast<HDC>(wparam));
    } else {
        ScopedWindowDC dc(control);
        face_overpaint(control, *record, dc.get());
    }
    return result;
}

}  // namespace

intptr_t gadget_image_create(ObjectNumber number, int32_t x, int32_t y, int32_t width, int32_t height,
                             HANDLE picture, uint32_t flags)
{
    if (!image_ops_filled)
        theme_detect();
    const GadgetOps* ops = gadget_ops_prepare(&image_ops, &image_ops_filled, GADGET_KIND_IMAGE, image_fill);
    HWND control = gadget_control_create(0, "BUTTON", nullptr, flags | WS_TABSTOP, x, y, width, height, -1);
    if (!control)
        return 0;
    button_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(image_gadget_paint)));
    return gadget_create_finish(number, control, ops, reinterpret_cast<intptr_t>(picture), 0, flags);
}
