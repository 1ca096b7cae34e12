// The drag of the borderless game window by a left-button press anywhere on
// it, the gadgets included.
#pragma once

#include <windows.h>

// Asks the platform to move the window with the mouse after a left-button
// press, once the press turns out to be a drag rather than a click.
void game_window_drag(HWND window);
