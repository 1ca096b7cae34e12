// Shaped windows: window regions from skin region data, and the background
// records of subclassed windows (a growable array in the skin heap) with the
// shared memory DC that tiles their bitmaps.
#include "runtime/skin/skin_window.h"

#include "runtime/core/gdi_scope.h"
#include "runtime/skin/skin_array.h"
#include "runtime/skin/skin.h"

namespace {

BackgroundRecord* records;
int32_t record_count;
HDC memory_dc;

// Tiles column by column, each column top to bottom; the DC clips the last
// row and column.
void tile_background(HWND window, HDC target, const BackgroundRecord& record)
{
    if (record.tile_width <= 0 || record.tile_height <= 0)
        return;
    if (!memory_dc)
        memory_dc = CreateCompatibleDC(nullptr);
    RECT client;
    GetClientRect(window, &client);
    ScopedSelect selected(memory_dc, record.bitmap);
    for (LONG x = 0; x < client.right; x += record.tile_width)
        for (LONG y = 0; y < client.bottom; y += record.tile_height)
            BitBlt(target, x, y, record.tile_width, record.tile_height, memory_dc, 0, 0, SRCCOPY);
}

void repaint(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

}  // namespace

int32_t skin_apply(HWND window, const void* skin)
{
    const SkinSlot* slot = window ? skin_slot_find(skin) : nullptr;
    if (!slot)
        return 0;
    ScopedGdiObject<HRGN> region(
        ExtCreateRegion(nullptr, DWORD(slot->region_size), static_cast<const RGNDATA*>(slot->region_data)));
    skin_set_background(window, slot->bitmap, 0);
    // Once set, the window owns the region; a refused one is still ours.
    // Without one, the window keeps the outline it has rather than losing it.
    if (region.get() && SetWindowRgn(window, region.get(), TRUE))
        region.keep();
    repaint(window);
    return 1;
}

int32_t skin_set_background(HWND window, HBITMAP bitmap, int32_t redraw)
{
    if (!window || !bitmap)
        return 0;
    int32_t index = skin_window_record(window, 1);
    if (index < 0)
        return 0;
    // Any other kind of GDI object would describe itself with other fields.
    BITMAP info;
    if (GetObjectType(bitmap) != OBJ_BITMAP || GetObjectA(bitmap, sizeof info, &info) != int(sizeof info))
        return 0;
    BackgroundRecord& record = records[index];
    record.tile_width = info.bmWidth;
    record.tile_height = info.bmHeight;
    record.window = window;
    if (!record.previous_procedure)
        record.previous_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skin_window_proc)));
    // Every runtime window has a class of its own, so this touches no other
    // window. Its brush is a system colour index, which DeleteObject ignores.
    HBRUSH brush = reinterpret_cast<HBRUSH>(SetClassLongPtrA(window, GCLP_HBRBACKGROUND, 0));
    if (brush)
        DeleteObject(brush);
    record.bitmap = bitmap;
    if (redraw)
        repaint(window);
    return index + 1;
}

int32_t skin_window_record(HWND window, int32_t create)
{
    if (!window)
        return -1;
    for (int32_t i = 0; i < record_count; ++i)
        if (records[i].window == window)
            return i;
    if (!create)
        return -1;
    for (int32_t i = 0; i < record_count; ++i)
        if (!records[i].window && !records[i].previous_procedure)
            return i;
    return skin_array_grow(records, record_count);
}

LRESULT CALLBACK skin_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    int32_t index = skin_window_record(window, 0);
    if (index < 0)
        return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_ERASEBKGND) {
        tile_background(window, reinterpret_cast<HDC>(wparam), records[index]);
        return 1;
    }
    WNDPROC previous = records[index].previous_procedure;
    LRESULT result = previous ? CallWindowProcA(previous, window, message, wparam, lparam)
                              : DefWindowProcA(window, message, wparam, lparam);
    // The window is gone: its record is dropped, so that a later window with
    // the same handle is not taken for it. The array may have moved meanwhile.
    if (message == WM_NCDESTROY) {
        index = skin_window_record(window, 0);
        if (index >= 0)
            records[index] = BackgroundRecord{};
    }
    return result;
}

void skin_windows_end()
{
    if (memory_dc)
        DeleteDC(memory_dc);
    memory_dc = nullptr;
}
