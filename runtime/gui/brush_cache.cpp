// The gadgets' shared brush cache: a list of solid brushes by colour, newest
// first, each with the count of its holders, under the runtime's one lock.
#include "runtime/gui/brush_cache.h"

#include "runtime/core/object.h"

namespace {

// One entry of the brush cache.
struct BrushEntry {
    int32_t colour;
    HBRUSH brush;
    int32_t count;
};

// The one lock of the runtime: the clock's timer thread may release and take
// brushes while the main thread does.
CRITICAL_SECTION brush_lock;
bool started;
ListNode* brushes;

}  // namespace

void brush_cache_start()
{
    if (started)
        return;
    InitializeCriticalSection(&brush_lock);
    started = true;
}

HBRUSH brush_acquire(int32_t colour)
{
    if (!started)
        return nullptr;
    EnterCriticalSection(&brush_lock);
    HBRUSH found = nullptr;
    for (ListNode* node = brushes; node && !found; node = node->next) {
        BrushEntry* entry = static_cast<BrushEntry*>(object_list_payload(node));
        if (entry->colour == colour) {
            entry->count++;
            found = entry->brush;
        }
    }
    if (!found) {
        // Only a brush that exists gets an entry, so a failed CreateSolidBrush
        // leaves nothing behind to be counted.
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colour));
        BrushEntry* entry = brush ? static_cast<BrushEntry*>(object_list_add(&brushes, sizeof(BrushEntry))) : nullptr;
        if (entry) {
            entry->colour = colour;
            entry->brush = brush;
            entry->count = 1;
            found = brush;
        } else if (brush) {
            DeleteObject(brush);
        }
    }
    LeaveCriticalSection(&brush_lock);
    return found;
}

void brush_release(HBRUSH brush)
{
    if (!brush || !started)
        return;
    EnterCriticalSection(&brush_lock);
    for (ListNode* node = brushes; node; node = node->next) {
        BrushEntry* entry = static_cast<BrushEntry*>(object_list_payload(node));
        if (entry->brush == brush) {
            if (--entry->count == 0) {
                DeleteObject(brush);
                object_list_remove(&brushes, entry);
            }
            break;
        }
    }
    LeaveCriticalSection(&brush_lock);
}
