// Reading pixels back for the tests.
#include "tests/support/pixels.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/gdi_scope.h"

namespace {

// A 32-bit top-down device-independent layout of the size.
BITMAPINFO top_down_32(int32_t width, int32_t height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The top byte of a 32-bit pixel is no colour.
void drop_top_bytes(std::vector<uint32_t>& pixels)
{
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
}

}  // namespace

std::vector<uint32_t> test_bitmap_pixels(HGDIOBJ bitmap, int32_t width, int32_t height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = top_down_32(width, height);
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (GetDIBits(dc.get(), static_cast<HBITMAP>(bitmap), 0, height, pixels.data(), &info, DIB_RGB_COLORS) != height)
        return {};
    drop_top_bytes(pixels);
    return pixels;
}

COLORREF TestCapture::at(int32_t x, int32_t y) const
{
    uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

RECT TestCapture::bounds(COLORREF colour) const
{
    RECT r = {width, height, 0, 0};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (at(x, y) == colour) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    if (r.right == 0)
        r = RECT{0, 0, 0, 0};
    return r;
}

int32_t TestCapture::count(COLORREF colour) const
{
    int32_t n = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            n += at(x, y) == colour;
    return n;
}

TestCapture test_capture(HWND window, const RECT* area)
{
    RECT client = {};
    if (!area) {
        GetClientRect(window, &client);
        area = &client;
    }
    TestCapture c;
    c.width = area->right - area->left;
    c.height = area->bottom - area->top;
    ScopedWindowDC source(window);
    BITMAPINFO info = top_down_32(c.width, c.height);
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> dib(CreateDIBSection(source.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedDC memory(CreateCompatibleDC(source.get()));
    if (!dib.get() || !memory.get())
        return c;
    {
        ScopedSelect selected(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, c.width, c.height, source.get(), area->left, area->top, SRCCOPY);
        GdiFlush();
    }
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    c.pixels.assign(first, first + static_cast<size_t>(c.width) * c.height);
    drop_top_bytes(c.pixels);
    return c;
}

HBITMAP test_solid_bitmap(int32_t width, int32_t height, COLORREF colour)
{
    ScopedWindowDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    ScopedDC memory(CreateCompatibleDC(screen.get()));
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedSelect selected(memory.get(), bitmap);
    RECT r = {0, 0, width, height};
    FillRect(memory.get(), &r, brush.get());
    return bitmap;
}
