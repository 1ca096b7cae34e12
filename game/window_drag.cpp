// The window drag of the borderless game window. A press anywhere on the
// window, the target and the exit button included, may start a drag; but the
// platform's move loop takes the mouse capture, and a button that loses the
// capture never reports its click. So the move begins only once the mouse
// leaves the system's drag rectangle with the button still down; a release
// inside it is left in the queue for the control, which then reports a click.
#include "game/game.h"

namespace {

POINT point_of(DWORD position)
{
    return {static_cast<SHORT>(LOWORD(position)), static_cast<SHORT>(HIWORD(position))};
}

bool left_button_down()
{
    // The key state of this thread, as its messages have it: the platform's
    // asynchronous state sometimes still reads up right after a press sent
    // from another process.
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// Waits until the press at start becomes a drag (true) or a release (false).
// A drag is the cursor staying outside the drag rectangle with the button
// down for a moment: the X side of the platform sometimes reports one stale
// pointer position, which must not turn a click into a drag.
bool press_becomes_drag(POINT start)
{
    const int dx = GetSystemMetrics(SM_CXDRAG);
    const int dy = GetSystemMetrics(SM_CYDRAG);
    const DWORD DRAG_HOLD_MS = 25;
    DWORD outside_since = 0;
    bool outside = false;
    for (;;) {
        MSG msg;
        // Look, without taking: the release belongs to whoever has the press.
        if (PeekMessageA(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE))
            return false;
        // Mouse moves are ours to drop; sent messages (the clock's label) are
        // handled inside PeekMessageA, and what they leave to repaint is
        // painted here, so the clock goes on showing while the button is held.
        while (PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageA(&msg);
        if (!left_button_down())
            return false;
        POINT now;
        GetCursorPos(&now);
        bool away = now.x < start.x - dx || now.x > start.x + dx || now.y < start.y - dy || now.y > start.y + dy;
        if (!away) {
            outside = false;
        } else if (!outside) {
            outside = true;
            outside_since = GetTickCount();
        } else if (GetTickCount() - outside_since >= DRAG_HOLD_MS) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_MOUSE | QS_SENDMESSAGE | QS_PAINT);
    }
}

}  // namespace

void game_window_drag(HWND window)
{
    // The press point: where the mouse was when the press was retrieved.
    const POINT start = point_of(GetMessagePos());
    if (!press_becomes_drag(start))
        return;
    // A control that holds the press gives it up without a click.
    ReleaseCapture();
    // The move loop anchors at the position of the last mouse message taken
    // from the queue, and everything the pointer travelled before that would
    // be lost: the window first goes that far itself, so the point pressed
    // stays under the pointer from the first move on.
    const POINT anchor = point_of(GetMessagePos());
    RECT rect;
    GetWindowRect(window, &rect);
    SetWindowPos(window, nullptr, rect.left + anchor.x - start.x, rect.top + anchor.y - start.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}
