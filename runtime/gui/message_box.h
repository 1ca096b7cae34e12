// Message boxes: the platform's message box made modal for the whole program
// (the thread's other windows are disabled while it is shown), and the start
// routine for the common controls and COM.
#pragma once

#include <windows.h>
#include <cstdint>

// Payload of a node of the modal list: a window that a box disabled.
struct ModalEntry {
    DWORD thread_id;  // the thread that disabled it
    HWND window;
};

// Shows a box over the program; the result of MessageBoxA (the button
// pressed, 0 on failure). Leaving out the flags is the two-argument form
// (flags 0, one OK button). Null texts are empty.
int32_t message_box(const char* caption, const char* text, uint32_t flags = 0);
// Disables the calling thread's visible, enabled top-level windows other than
// the foreground window, and records them.
void modal_disable();
// Enables the windows that the calling thread recorded and forgets them.
void modal_restore();
// The foreground window if it belongs to this process, else null.
HWND message_box_owner();
// The number of windows that boxes hold disabled now (all threads).
int32_t modal_count();
// Library start: the common control classes and COM for the runtime.
void dialog_library_init();
