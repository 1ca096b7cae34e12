// The runtime's private heaps: the main heap (object tables, state blocks,
// file buffers; destroyed at exit), the list heap (list nodes) and the skin
// heap (skin slots and their data). The string heap belongs to the text
// library. All are serialised heaps.
#pragma once

#include <windows.h>
#include <cstdint>

HANDLE heap_main();
HANDLE heap_list();
HANDLE heap_skin();

// Start-chain steps that create each heap, and the end step for the main heap.
void heap_main_create();
void heap_list_create();
void heap_skin_create();
void heap_main_destroy();

// Skin heap blocks: zero-filled; null for a size of 0 or less or on failure.
void* heap_alloc_zeroed(int32_t size);
// Re-allocates with the added part zeroed; a null block is allocated fresh.
void* heap_realloc_zeroed(void* block, int32_t size);
void heap_free(void* block);
