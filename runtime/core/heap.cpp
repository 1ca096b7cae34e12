// The runtime's private heaps. Each is made once by its start-chain step; a
// second call keeps the heap that exists, so test programs can make the heaps
// they need without running the whole chain.
#include "runtime/core/heap.h"

namespace {

HANDLE main_heap;
HANDLE list_heap;
HANDLE skin_heap;

void create_once(HANDLE* heap, SIZE_T initial_size)
{
    if (!*heap)
        *heap = HeapCreate(0, initial_size, 0);
}

}  // namespace

HANDLE heap_main() { return main_heap; }
HANDLE heap_list() { return list_heap; }
HANDLE heap_skin() { return skin_heap; }

void heap_main_create() { create_once(&main_heap, 4096); }
void heap_list_create() { create_once(&list_heap, 1024); }
void heap_skin_create() { create_once(&skin_heap, 4096); }

void heap_main_destroy()
{
    if (main_heap)
        HeapDestroy(main_heap);
    main_heap = nullptr;
}

void* heap_alloc_zeroed(int32_t size)
{
    if (size <= 0 || !skin_heap)
        return nullptr;
    return HeapAlloc(skin_heap, HEAP_ZERO_MEMORY, size);
}

void* heap_realloc_zeroed(void* block, int32_t size)
{
    if (!block)
        return heap_alloc_zeroed(size);
    if (size <= 0)
        return nullptr;
    return HeapReAlloc(skin_heap, HEAP_ZERO_MEMORY, block, size);
}

void heap_free(void* block)
{
    if (block)
        HeapFree(skin_heap, 0, block);
}
