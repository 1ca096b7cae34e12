// Growth of the skin library's arrays (skin slots, background records) in
// the skin heap: one element at a time, the added element zero-filled.
#pragma once

#include <cstdint>

#include "runtime/core/heap.h"

// Index of the new last element, or -1 with the array left as it was.
template <class Element>
int32_t skin_array_grow(Element*& array, int32_t& count)
{
    void* grown = heap_realloc_zeroed(array, int32_t(sizeof(Element)) * (count + 1));
    if (!grown)
        return -1;
    array = static_cast<Element*>(grown);
    return count++;
}
