// Message boxes and modality: the modal list of windows disabled while a box
// is shown, and the start routine for the common controls and COM.
#include "runtime/gui/message_box.h"

#include <commctrl.h>
#include <objbase.h>

#include "runtime/core/object.h"

namespace {

// Newest entry first. Each thread touches only its own entries.
ListNode* modal_list;

BOOL CALLBACK disable_one(HWND window, LPARAM foreground)
{
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return TRUE;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || window == reinterpret_cast<HWND>(foreground))
        return TRUE;
    // Record first: a window that could not be recorded would never be
    // enabled again, so it is left enabled instead.
    ModalEntry* entry = static_cast<ModalEntry*>(object_list_add(&modal_list, sizeof(ModalEntry)));
    if (!entry)
        return TRUE;
    entry->thread_id = GetCurrentThreadId();
    entry->window = window;
    EnableWindow(window, FALSE);
    return TRUE;
}

}  // namespace

void modal_disable()
{
    EnumWindows(disable_one, reinterpret_cast<LPARAM>(GetForegroundWindow()));
}

void modal_restore()
{
    DWORD thread = GetCurrentThreadId();
    ListNode* node = modal_list;
    while (node) {
        ListNode* older = node->next;
        ModalEntry* entry = static_cast<ModalEntry*>(object_list_payload(node));
        if (entry->thread_id == thread) {
            EnableWindow(entry->window, TRUE);
            object_list_remove(&modal_list, entry);
        }
        node = older;
    }
}

int32_t modal_count()
{
    int32_t count = 0;
    for (ListNode* node = modal_list; node; node = node->next)
        count++;
    return count;
}

HWND message_box_owner()
{
    HWND foreground = GetForegroundWindow();
    if (!foreground)
        return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

int32_t message_box(const char* caption, const char* text, uint32_t flags)
{
    modal_disable();
    int32_t result = MessageBoxA(message_box_owner(), text ? text : "", caption ? caption : "", flags);
    modal_restore();
    return result;
}

void dialog_library_init()
{
    InitCommonControls();
    CoInitialize(nullptr);
}
