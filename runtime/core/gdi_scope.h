// Scoped GDI resources for the life of one function: a memory, display or
// window device context, an object selected into a context, a temporary GDI object.
// Each is released when the scope ends, so an early return cannot leak it.
// Objects that records own (image bitmaps, fonts, skin bitmaps) never go in
// here: their library's free operation releases them. Where releases must
// come in a set order, declare the scopes so that their reverse order of
// declaration is that order.
#pragma once

#include <windows.h>

// A memory device context compatible with `like` (the screen when null).
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    ~ScopedMemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// An information context of the display, for making compatible bitmaps and
// reading the screen's resolution.
class ScopedDisplayDC {
public:
    ScopedDisplayDC() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    ~ScopedDisplayDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    ScopedDisplayDC(const ScopedDisplayDC&) = delete;
    ScopedDisplayDC& operator=(const ScopedDisplayDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

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

// A GDI object (bitmap, region, pen, brush) made for one function: deleted at
// the end unless `keep` hands it on to an owner.
template <class Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle object = nullptr) : object_(object) {}
    ~ScopedGdiObject()
    {
        if (object_)
            DeleteObject(object_);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle get() const { return object_; }
    Handle keep()
    {
        Handle kept = object_;
        object_ = nullptr;
        return kept;
    }

private:
    Handle object_;
};
