// Shaped windows: cuts a window to a skin's outline and paints the skin's
// picture as its tiled background through a replacement window procedure.
// Owns the background records and the one memory DC that all windows share.
#pragma once

#include <windows.h>

#include <cstdint>

// One window painted with a background bitmap. A record whose window is
// null is free (its set-up failed, or its window was destroyed).
struct BackgroundRecord {
    HWND window;
    WNDPROC previous_procedure;  // before subclassing; null until then
    HBITMAP bitmap;              // belongs to a skin slot, not to the record
    int32_t tile_width;
    int32_t tile_height;
};

// Cuts the window to the skin's outline and sets its picture as background;
// 1 if the skin handle names a loaded skin, else 0 (window unchanged).
int32_t skin_apply(HWND window, const void* skin);

// Makes the bitmap the window's tiled background, subclassing the window
// once; the record's index + 1, or 0. Redraw repaints the window at once.
int32_t skin_set_background(HWND window, HBITMAP bitmap, int32_t redraw);

// Index of the window's record, or -1; with create set, a missing record is
// added (or a free one reused).
int32_t skin_window_record(HWND window, int32_t create);

// The replacement procedure: tiles the bitmap on WM_ERASEBKGND, passes all
// else to the previous procedure, and drops the record on WM_NCDESTROY.
LRESULT CALLBACK skin_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// End step: deletes the shared memory DC.
void skin_windows_end();
