// The window drag of the borderless game window. A press anywhere on the
// window, the target and the exit button included, may start a drag; but the
// platform's move loop takes the mouse capture, and a button that loses the
// capture never reports its click. So the move begins only once the mouse
// leaves the system's drag rectangle with the button still down; a release
// inside it is left in the queue for the control, which then reports a click.
// Deciding costs no time: the decision sleeps until input comes and wakes on
// the release at once.
#include "game/window_drag.h"

namespace {

const DWORD DRAG_HOLD_MS = 25;

POINT point_of(DWORD position)
{
    return {static_cast<SHORT>(LOWORD(position)), static_cast<SHORT>(HIWORD(position))};
}

// Drops the mouse moves waiting in the queue; where the pointer was at the
// last one goes into *at. False if there were none. Sent messages (the
// clock's label) are handled inside PeekMessageA.
bool moves_drop(POINT* at)
{
    MSG msg;
    bool dropped = false;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE | PM_QS_INPUT | PM_QS_SENDMESSAGE) ||
           PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMOUSEMOVE, PM_REMOVE | PM_QS_INPUT | PM_QS_SENDMESSAGE)) {
        *at = msg.pt;
        dropped = true;
    }
    return dropped;
}

// Waits until the press at start, with the pointer now at now, becomes a
// drag (true) or not (false). The release, or any other button, ends it
// without a drag; the messages stay in the queue for whoever has the press.
// While the pointer stays inside the drag rectangle, the wait has no
// time-out: every move comes to this thread (a window holds the capture).
// Once a move has left it, the X side's reports may be stale either way (it
// sometimes repeats an earlier position), so where the platform says the
// pointer is decides, read after each wait of a hold: a drag is the pointer
// outside the rectangle for a whole hold. The wait ends on input already in
// the queue, not only on input newer than the last look, so nothing that
// comes between a look and the wait is missed; what it ends on is taken
// away or ends the decision, so it never spins.
bool press_becomes_drag(POINT start, POINT now)
{
    // The key state of this thread, as its messages have it: a press that
    // no button made (a posted message) has no release to wait for. The
    // platform's asynchronous state sometimes still reads up right after a
    // press sent from another process.
    if (!(GetKeyState(VK_LBUTTON) & 0x8000))
        return false;
    const int dx = GetSystemMetrics(SM_CXDRAG);
    const int dy = GetSystemMetrics(SM_CYDRAG);
    auto away = [&](POINT p) {
        return p.x < start.x - dx || p.x > start.x + dx || p.y < start.y - dy || p.y > start.y + dy;
    };
    bool left = away(now);
    bool outside = false;
    DWORD outside_since = 0;
    for (;;) {
        DWORD queued = HIWORD(GetQueueStatus(QS_MOUSEBUTTON | QS_MOUSEMOVE | QS_PAINT | QS_SENDMESSAGE));
        if (queued & QS_MOUSEBUTTON)
            return false;
        if ((queued & (QS_MOUSEMOVE | QS_SENDMESSAGE)) && moves_drop(&now))
            left = left || away(now);
        // What a sent message leaves to repaint is painted here, so the clock
        // goes on showing while the button is held.
        MSG msg;
        while ((queued & QS_PAINT) && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT))
            DispatchMessageA(&msg);
        DWORD wait = INFINITE;
        if (left) {
            GetCursorPos(&now);
            wait = DRAG_HOLD_MS;
            if (!away(now)) {
                outside = false;
            } else if (!outside) {
                outside = true;
                outside_since = GetTickCount();
            } else {
                DWORD held = GetTickCount() - outside_since;
                if (held >= DRAG_HOLD_MS)
                    return true;
                wait = DRAG_HOLD_MS - held;
            }
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_MOUSE | QS_PAINT | QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

void game_window_drag(HWND window)
{
    // The press point: where the mouse was when the press was retrieved.
    const POINT start = point_of(GetMessagePos());
    // A press on the window's surface leaves the mouse to no window, and a
    // move past the window's edge would go to whatever lies below: the window
    // takes the mouse while deciding, and asks where the pointer went before.
    // A control that was pressed has held it since the press.
    POINT now = start;
    const bool taken = GetCapture() == nullptr;
    if (taken) {
        SetCapture(window);
        GetCursorPos(&now);
    }
    if (!press_becomes_drag(start, now)) {
        if (taken)
            ReleaseCapture();
        return;
    }
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
