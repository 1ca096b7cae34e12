// The window procedure of every library window: the class of each window is
// registered with it (window library), and the event library defines it.
#pragma once

#include <windows.h>

// The procedure, and its library part, which gives RESULT_UNHANDLED where
// the default procedure is to run.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT window_procedure_core(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
