// Keyboard focus movement: Tab and Shift+Tab among the tab stops of the
// active window, and the choice of the accelerator table that turns those
// keys into commands.
#include "runtime/gui/focus.h"

#include <richedit.h>
#include <cstring>

#include "runtime/gui/window.h"

namespace {

const char MDI_CHILD_CLASS[] = "MDI_ChildClass";

bool key_down(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

bool is_tab_stop(HWND window)
{
    return IsWindowEnabled(window) && IsWindowVisible(window) && (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP);
}

// A walk over the tab stops in EnumChildWindows order.
struct FocusWalk {
    HWND current;    // the focused tab stop, or null
    HWND first;      // first tab stop seen
    HWND last;       // last tab stop seen
    bool after_current;
    bool done;
};

void give_focus(FocusWalk* walk, HWND window)
{
    SetFocus(window);
    walk->done = true;
}

BOOL CALLBACK step_forward(HWND window, LPARAM data)
{
    FocusWalk* walk = reinterpret_cast<FocusWalk*>(data);
    if (!is_tab_stop(window))
        return TRUE;
    if (!walk->first)
        walk->first = window;
    if (!walk->current || walk->after_current) {
        give_focus(walk, window);
        return FALSE;
    }
    walk->after_current = window == walk->current;
    return TRUE;
}

BOOL CALLBACK step_backward(HWND window, LPARAM data)
{
    FocusWalk* walk = reinterpret_cast<FocusWalk*>(data);
    if (!is_tab_stop(window))
        return TRUE;
    if (window == walk->current && walk->last) {
        give_focus(walk, walk->last);
        return FALSE;
    }
    walk->last = window;
    return TRUE;
}

}  // namespace

void focus_step(int32_t backward)
{
    HWND root = GetActiveWindow();
    HWND focus = GetFocus();
    HWND current = focus && IsChild(root, focus) ? focus : nullptr;
    // Inside an MDI child the tab stops are the child's own.
    for (HWND h = current, top = root; h && h != top; h = GetParent(h)) {
        char class_name[50] = {};
        GetClassNameA(h, class_name, sizeof class_name);
        if (std::strcmp(class_name, MDI_CHILD_CLASS) == 0) {
            root = h;
            if (h == focus)
                current = nullptr;
        }
    }

    FocusWalk walk = {current, nullptr, nullptr, false, false};
    if (backward) {
        EnumChildWindows(root, step_backward, reinterpret_cast<LPARAM>(&walk));
        if (!walk.done && walk.last)
            SetFocus(walk.last);
    } else {
        EnumChildWindows(root, step_forward, reinterpret_cast<LPARAM>(&walk));
        // Past the last tab stop, or from a focus that is no tab stop: the first.
        if (!walk.done && walk.first)
            SetFocus(walk.first);
    }
}

HACCEL accelerator_table_for(HWND active)
{
    if (key_down(VK_TAB) && !key_down(VK_CONTROL) && !key_down(VK_SHIFT) && !key_down(VK_MENU)) {
        // A writable rich edit control takes Tab as text.
        HWND focus = GetFocus();
        char class_name[5] = {};
        if (focus && GetClassNameA(focus, class_name, sizeof class_name) && std::strncmp(class_name, "Rich", 4) == 0 &&
            !(SendMessageA(focus, EM_GETOPTIONS, 0, 0) & ECO_READONLY))
            return nullptr;
    }
    ObjectNumber number = window_id_of(active);
    if (number == -1)
        return nullptr;
    WindowRecord* record = window_record(number);
    return record ? record->accelerator_table : nullptr;
}
