// Scoped GDI resources for the life of one function: a device context it
// made or borrowed, an object selected into a context, a temporary GDI
// object. Each is released when the scope ends, so an early return cannot
// leak it. Objects that records own (image bitmaps, fonts, skin bitmaps)
// never go in here: their library's free operation releases them. Where
// releases must come in a set order, declare the scopes so that their reverse
// order of declaration is that order, or close a block where one must end.
#pragma once

#include <windows.h>

// A handle this function made, given to `release` at the end unless `keep`
// hands it on to an owner.
template <class Handle, BOOL (*release)(Handle)>
class ScopedHandle {
public:
    explicit ScopedHandle(Handle handle = nullptr) : handle_(handle) {}
    ~ScopedHandle()
    {
        if (handle_)
            release(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    Handle get() const { return handle_; }
    Handle keep()
    {
        Handle kept = handle_;
        handle_ = nullptr;
        return kept;
    }

private:
    Handle handle_;
};

inline BOOL gdi_dc_delete(HDC dc)
{
    return DeleteDC(dc);
}

template <class Handle>
BOOL gdi_object_delete(Handle object)
{
    return DeleteObject(object);
}

// A memory or display context made here:
//     ScopedDC memory(CreateCompatibleDC(nullptr));
using ScopedDC = ScopedHandle<HDC, gdi_dc_delete>;
// A bitmap, region, pen or brush made here.
template <class Handle>
using ScopedGdiObject = ScopedHandle<Handle, gdi_object_delete<Handle>>;

// The device context of a window (the screen for null), released at the end.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a context; the one it replaced is selected back at
// the end. Nothing happens for a null context or a failed selection.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Converts `lines` device-independent rows into the bitmap through a scratch
// memory context. False when no context can be made or the platform converts
// fewer rows: the bitmap then holds no picture worth keeping.
inline bool bitmap_set_rows(HBITMAP bitmap, int lines, const void* rows, const BITMAPINFO* info)
{
    ScopedDC memory(CreateCompatibleDC(nullptr));
    return memory.get() && SetDIBits(memory.get(), bitmap, 0, UINT(lines), rows, info, DIB_RGB_COLORS) == lines;
}
