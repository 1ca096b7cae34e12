// Skin loader: checks a skin container, unpacks its payload, and keeps each
// loaded skin's region data and screen-compatible picture in a skin slot of
// the skin heap until the end chain frees them all.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One loaded skin. Free when both region_data and bitmap are null.
struct SkinSlot {
    void* region_data;    // the skin's own RGNDATA copy; also the skin handle
    int32_t region_size;  // byte count of region_data
    HBITMAP bitmap;       // picture in the screen's format; null without one
    int32_t width;        // the container's width and height fields
    int32_t height;
};

// The skin handle (the slot's region data), or null on any failure; a
// failed load leaves no heap block behind and its slot free.
void* skin_load(const void* container);

// As skin_load, for a container of `size` bytes: nothing is read outside
// it, and the region data and the picture must lie inside the payload.
void* skin_load_ex(const void* container, size_t size);

// Index of a free slot (the array grows by one when none is), or -1.
int32_t skin_slot_alloc();

// The slot whose region data is the skin handle, or null.
const SkinSlot* skin_slot_find(const void* skin);

// End step: deletes every slot's bitmap and frees its region data, then the
// slot array; loads may start afresh afterwards.
void skin_free_all();
