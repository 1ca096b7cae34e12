// Helpers for the gui tests: the runtime pieces the libraries need, message
// pumping, real mouse input, windows of a thread, and pixels read back from a
// window's own device context.
#pragma once

#include <windows.h>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/message_box.h"

// Rectangles compare and print in test assertions.
inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

// The start steps that the gui libraries rely on; each is safe to repeat.
inline void gui_test_start()
{
    heap_main_create();
    heap_list_create();
    gadget_library_init();
    dialog_library_init();
}

// Handles every message for the calling thread for `ms` milliseconds.
inline void gui_test_pump(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// Handles every message for the calling thread until the condition holds
// (true) or `ms` milliseconds have gone by (false).
template <typename Condition>
bool gui_test_pump_until(Condition condition, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Handles messages until the window has nothing left to paint (true) or `ms`
// milliseconds have gone by (false).
inline bool gui_test_pump_painted(HWND window, DWORD ms = 30000)
{
    return gui_test_pump_until([&] { return !GetUpdateRect(window, nullptr, FALSE); }, ms);
}

// Real mouse input at a screen point: the cursor goes there, then the button.
inline void gui_test_mouse(int x, int y, DWORD button_flags)
{
    SetCursorPos(x, y);
    INPUT input;
    std::memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = button_flags;
    SendInput(1, &input, sizeof input);
}

// The screen position of a point in a window's client area.
inline POINT gui_test_screen_point(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    return p;
}

// The cursor to a screen point as real absolute input, so that the window
// under it or holding the capture gets WM_MOUSEMOVE for exactly that point.
inline void gui_test_mouse_to(int32_t x, int32_t y)
{
    INPUT input;
    std::memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    int32_t width = GetSystemMetrics(SM_CXSCREEN);
    int32_t height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (x * 65536 + width - 1) / width;
    input.mi.dy = (y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// Moves the cursor for real until it stays at the point; `wait(ms)` lets the
// platform deliver what is pending meanwhile. Wine's X11 driver may replay an
// earlier pointer position after a move (the echo of its own pointer warp,
// also from a program before this one), so the move is repeated until it
// holds, and once more so that the last mouse message names the point.
template <typename Wait>
bool gui_test_mouse_settle_with(int32_t x, int32_t y, Wait wait)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        gui_test_mouse_to(x, y);
        wait(60);
        POINT p;
        GetCursorPos(&p);
        if (p.x != x || p.y != y)
            continue;
        wait(60);
        GetCursorPos(&p);
        if (p.x == x && p.y == y) {
            gui_test_mouse_to(x, y);
            wait(60);
            return true;
        }
    }
    return false;
}

struct GuiTestWindowSearch {
    const char* class_name;
    HWND found;
};

// A named callback: a lambda's function pointer would not be WINAPI on i686.
inline BOOL CALLBACK gui_test_window_seek(HWND window, LPARAM lparam)
{
    GuiTestWindowSearch* s = reinterpret_cast<GuiTestWindowSearch*>(lparam);
    char name[64];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) &&
        std::strcmp(name, s->class_name) == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// A window of the thread with that class, waited for up to `ms` milliseconds;
// null when none appeared.
inline HWND gui_test_thread_window(DWORD thread, const char* class_name, DWORD ms)
{
    GuiTestWindowSearch search = {class_name, nullptr};
    DWORD start = GetTickCount();
    do {
        EnumThreadWindows(thread, gui_test_window_seek, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

// The client area of a window as it is on the screen now, read through the
// window's own device context; pixels are 0x00BBGGRR, row by row.
struct GuiTestCapture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    COLORREF at(int x, int y) const
    {
        uint32_t p = pixels[static_cast<size_t>(y) * width + x];  // DIB order: 0x00RRGGBB
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The bounding box of the pixels of one colour; empty when none has it.
    RECT bounds(COLORREF colour) const
    {
        RECT r = {width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) == colour) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x + 1 > r.right ? x + 1 : r.right;
                    r.bottom = y + 1 > r.bottom ? y + 1 : r.bottom;
                }
        if (r.right == 0)
            r = RECT{0, 0, 0, 0};
        return r;
    }
    int count(COLORREF colour) const
    {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                n += at(x, y) == colour;
        return n;
    }
};

inline GuiTestCapture gui_test_capture(HWND window)
{
    GuiTestCapture c;
    RECT client;
    GetClientRect(window, &client);
    c.width = client.right;
    c.height = client.bottom;
    c.pixels.assign(static_cast<size_t>(c.width) * c.height, 0);
    HDC window_dc = GetDC(window);
    HDC memory = CreateCompatibleDC(window_dc);
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, c.width, c.height, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(c.pixels.data(), bits, c.pixels.size() * sizeof(uint32_t));
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, window_dc);
    return c;
}

// A screen-compatible bitmap of one colour, for image gadgets.
inline HBITMAP gui_test_bitmap(int width, int height, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r = {0, 0, width, height};
    FillRect(memory, &r, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A plain top-level window for gadgets, shown at a screen position, whose
// procedure hands control colours to the gadget kinds as a library window's
// does; the last WM_COMMAND it received is kept.
struct GuiTestParent {
    static WPARAM& last_command()
    {
        static WPARAM command;
        return command;
    }
    // Answers WM_QUERYUISTATE with hidden focus cues while set.
    static bool& hide_focus()
    {
        static bool hide;
        return hide;
    }
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == WM_CTLCOLORSTATIC) {
            LRESULT r = gadget_dispatch(reinterpret_cast<HWND>(lparam), window, message, wparam, lparam);
            if (r != RESULT_UNHANDLED)
                return r;
        }
        if (message == WM_COMMAND)
            last_command() = wparam;
        if (message == WM_QUERYUISTATE && hide_focus())
            return UISF_HIDEFOCUS;
        return DefWindowProcA(window, message, wparam, lparam);
    }
    static HWND open(int x, int y, int width, int height)
    {
        WNDCLASSA c;
        std::memset(&c, 0, sizeof c);
        c.lpfnWndProc = procedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        c.lpszClassName = "GuiTestParent";
        RegisterClassA(&c);
        HWND window = CreateWindowExA(0, "GuiTestParent", "test", WS_POPUP | WS_VISIBLE, x, y, width, height,
                                      nullptr, nullptr, c.hInstance, nullptr);
        SetForegroundWindow(window);
        gui_test_pump(50);
        return window;
    }
};
