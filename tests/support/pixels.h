// Pixels read back from the platform, never assumed: a bitmap's through
// GetDIBits, and what a window shows through its own device context. Values
// are 0x00RRGGBB, top row first. And one-colour bitmaps for a test to show.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The bitmap's pixels; empty when the platform reads fewer rows.
std::vector<uint32_t> test_bitmap_pixels(HGDIOBJ bitmap, int32_t width, int32_t height);

// Pixels as they are on the screen now.
struct TestCapture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    // The colour at a point as 0x00BBGGRR, as RGB() makes it.
    COLORREF at(int32_t x, int32_t y) const;
    // The bounding box of the pixels of one colour; empty when none has it.
    RECT bounds(COLORREF colour) const;
    int32_t count(COLORREF colour) const;
};

// An area of the window's client area, all of it when `area` is null; with a
// null window, an area of the screen.
TestCapture test_capture(HWND window, const RECT* area = nullptr);

// A screen-compatible bitmap of one colour; the caller deletes it.
HBITMAP test_solid_bitmap(int32_t width, int32_t height, COLORREF colour);
