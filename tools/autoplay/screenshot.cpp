// Screenshots from the screen's device context.
#include "tools/autoplay/screenshot.h"

#include <cstring>

#include "runtime/core/gdi_scope.h"
#include "tools/pack/file_io.h"

bool screen_capture(const RECT& rect, Picture& picture)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    ScopedWindowDC screen(nullptr);
    ScopedDC memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (bitmap.get()) {
        ScopedSelect selected(memory.get(), bitmap.get());
        ok = BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY) != 0;
        GdiFlush();
    }
    if (ok) {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
        picture.width = width;
        picture.height = height;
        picture.rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int y = 0; y < height; y++) {
            const unsigned char* row = static_cast<const unsigned char*>(bits) + stride * y;
            for (int x = 0; x < width; x++) {
                unsigned char* p = &picture.rgb[(static_cast<size_t>(y) * width + x) * 3];
                p[0] = row[x * 3 + 2];
                p[1] = row[x * 3 + 1];
                p[2] = row[x * 3];
            }
        }
    }
    return ok;
}

bool screen_save(const RECT& rect, const std::string& path)
{
    Picture picture;
    if (!screen_capture(rect, picture))
        return false;
    bool png = path.size() >= 4 && path.compare(path.size() - 4, 4, ".png") == 0;
    return file_write_all(path, png ? png_encode(picture) : bmp_encode(picture));
}

COLORREF screen_pixel(POINT point)
{
    Picture picture;
    RECT rect = {point.x, point.y, point.x + 1, point.y + 1};
    return screen_capture(rect, picture) ? picture_pixel(picture, 0, 0) : CLR_INVALID;
}
