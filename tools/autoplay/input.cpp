// Real input through SendInput.
#include "tools/autoplay/input.h"

namespace {

// Absolute positions run from 0 to 65535 across the primary screen; the
// system turns n back into pixels as n * size / 65536, so round up.
LONG normalised(LONG pixel, int size)
{
    return static_cast<LONG>((static_cast<LONGLONG>(pixel) * 65536 + size - 1) / size);
}

// Every mouse event carries its position. Under Wine a button event without
// one, sent from another process right after an absolute move, now and then
// lands where the mouse was before the move (measured: every other click on
// a jumping target went to its previous place).
void mouse_send(POINT screen, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

}  // namespace

void input_move(POINT screen)
{
    mouse_send(screen, 0);
}

void input_button(POINT screen, bool down)
{
    mouse_send(screen, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void input_click(POINT screen)
{
    input_move(screen);
    Sleep(15);
    input_button(screen, true);
    Sleep(15);
    input_button(screen, false);
}

void input_key(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}
