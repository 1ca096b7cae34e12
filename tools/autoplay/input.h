// Real input for the game, as a person gives it: the mouse and the keyboard
// through SendInput, at screen coordinates.
#pragma once

#include <windows.h>

void input_move(POINT screen);
// Presses or releases the left button with the mouse at the point.
void input_button(POINT screen, bool down);
// Move, press, release, with short pauses between, as a hand would.
void input_click(POINT screen);
void input_key(WORD key, bool down);
