// The window procedure of every library window: the window library registers
// each window's class with it; it reports the events of the messages it
// handles to the event library.
#pragma once

#include <windows.h>

// The procedure, and its library part, which gives RESULT_UNHANDLED where
// the default procedure is to run.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT window_procedure_core(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
