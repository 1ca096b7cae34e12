// Keyboard focus movement: Tab and Shift+Tab among a window's tab stops, and
// the choice of the accelerator table that turns those keys into commands.
#pragma once

#include <windows.h>
#include <cstdint>

// Tab focus movement among the enabled, visible WS_TABSTOP descendants of the
// active window, wrapping at either end.
void focus_step(int32_t backward);
// The accelerator table for the message being handled, or null: none for a
// window that is no library window, nor for Tab in a writable rich edit.
HACCEL accelerator_table_for(HWND active);
