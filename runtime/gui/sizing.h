// Non-modal window sizing: a replacement for the system's sizing loop that
// lets the event loop run while a window is sized with the mouse or the keys.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/gui/result.h"

// The window library's sizing state block.
struct SizingState {
    int32_t active;          // from SC_SIZE until the capture is lost
    int32_t restore_cursor;  // keyboard sizing untouched by the mouse: the cursor goes back
    POINT saved_cursor;      // screen coordinates
    RECT current;            // the window's rectangle, screen coordinates
    RECT starting;
    int32_t edge;            // WMSZ_ value; 0 until chosen
    MINMAXINFO limits;
};

// Runs ahead of the library's window procedure for every message: starts on
// SC_SIZE when full-window dragging is on and handles the mouse and keys while
// sizing. RESULT_UNHANDLED for every message it leaves alone.
LRESULT sizing_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The state block (null before sizing_state_create).
SizingState* sizing_state();
// Start-chain step: makes the state block; a later call does nothing.
void sizing_state_create();
