// The busy blocks of a private heap, walked under its lock: a test counts
// them before and after an operation to see that nothing was left behind.
#pragma once

#include <windows.h>

inline int test_heap_blocks(HANDLE heap)
{
    PROCESS_HEAP_ENTRY entry = {};
    int count = 0;
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        count += (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
    HeapUnlock(heap);
    return count;
}
