// Real input for the tests, on the automatic player's SendInput helpers
// (input_move, input_button, input_key): a key with or without Shift, and the
// cursor settled at a point before a press.
#pragma once

#include <windows.h>

#include "tools/autoplay/input.h"

// A key pressed and released; Shift held around it.
void test_key(WORD key, bool shift = false);

// Moves the cursor for real until it stays at the screen point; `wait(ms)`
// lets the platform deliver what is pending meanwhile (test_pump, or
// test_events_drop where the event library handles the messages). Wine's X11
// driver may replay an earlier pointer position after a move (the echo of its
// own pointer warp, also from a program before this one), so the move is
// repeated until it holds, and once more so that the last mouse message names
// the point. False when it never held.
bool test_mouse_settle(POINT screen, void (*wait)(DWORD ms));
