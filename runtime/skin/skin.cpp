// Skin loader: container checks and unpacking (skin_container), the slot
// array in the skin heap, and the conversion of the picture into a bitmap
// in the screen's format.
#include "runtime/skin/skin.h"

#include <climits>
#include <cstring>

#include "runtime/core/bounded_bytes.h"
#include "runtime/core/gdi_scope.h"
#include "runtime/core/heap.h"
#include "runtime/skin/skin_array.h"
#include "runtime/skin/skin_container.h"

namespace {

SkinSlot* slots;
int32_t slot_count;

// A bitmap of the screen's format holding the BMP file image of `size` bytes
// at p, whose headers and rows the container check has bounded; null on
// failure.
HBITMAP picture_to_bitmap(const uint8_t* p, size_t size)
{
    BoundedBytes picture = bounded_bytes(p, size);
    int32_t width = int32_t(bytes_u32(picture, 18));
    int32_t height = int32_t(bytes_u32(picture, 22));
    uint32_t pixels = bytes_u32(picture, 10);
    if (picture.failed)
        return nullptr;
    HBITMAP made;
    {
        // The screen's context is released before the conversion starts.
        ScopedWindowDC screen(GetDesktopWindow());
        if (!screen.get())
            return nullptr;
        made = CreateCompatibleBitmap(screen.get(), width, height);
    }
    // A picture the platform will not convert would leave the bitmap black.
    ScopedGdiObject<HBITMAP> bitmap(made);
    if (!bitmap.get() ||
        !bitmap_set_rows(bitmap.get(), height, p + pixels, reinterpret_cast<const BITMAPINFO*>(p + 14)))
        return nullptr;
    return bitmap.keep();
}

// Copies the region data and converts the picture before a slot is taken,
// so that a failure has nothing to give back but its own two objects.
void* keep_skin(const SkinContainerHeader& header, const uint8_t* payload)
{
    if (header.region_size > INT32_MAX)
        return nullptr;
    void* region = heap_alloc_zeroed(int32_t(header.region_size));
    if (!region)
        return nullptr;
    memcpy(region, payload + header.region_offset, header.region_size);
    HBITMAP bitmap = nullptr;
    if (header.bitmap_size != 0 && !(bitmap = picture_to_bitmap(payload + header.bitmap_offset, header.bitmap_size))) {
        heap_free(region);
        return nullptr;
    }
    int32_t index = skin_slot_alloc();
    if (index < 0) {
        if (bitmap)
            DeleteObject(bitmap);
        heap_free(region);
        return nullptr;
    }
    slots[index] = SkinSlot{region, int32_t(header.region_size), bitmap, header.width, header.height};
    return region;
}

}  // namespace

void* skin_load(const void* container)
{
    // No size is known: the header's unpacked-size field bounds a plain
    // payload, and a packed one is bounded by its own block header.
    return skin_load_ex(container, SIZE_MAX);
}

void* skin_load_ex(const void* container, size_t size)
{
    SkinContainerHeader header;
    if (!skin_container_read(container, size, &header))
        return nullptr;
    uint8_t* buffer = nullptr;
    if (header.packed) {
        if (header.unpacked_size > INT32_MAX)
            return nullptr;
        buffer = static_cast<uint8_t*>(heap_alloc_zeroed(int32_t(header.unpacked_size)));
        if (!buffer)
            return nullptr;
    }
    const uint8_t* payload;
    size_t payload_size;
    void* skin = nullptr;
    if (skin_container_payload(container, size, header, buffer, &payload, &payload_size))
        skin = keep_skin(header, payload);
    heap_free(buffer);
    return skin;
}

int32_t skin_slot_alloc()
{
    for (int32_t i = 0; i < slot_count; ++i)
        if (!slots[i].region_data && !slots[i].bitmap)
            return i;
    return skin_array_grow(slots, slot_count);
}

const SkinSlot* skin_slot_find(const void* skin)
{
    if (!skin)
        return nullptr;
    for (int32_t i = 0; i < slot_count; ++i)
        if (slots[i].region_data == skin)
            return &slots[i];
    return nullptr;
}

void skin_free_all()
{
    for (int32_t i = 0; i < slot_count; ++i) {
        if (slots[i].bitmap)
            DeleteObject(slots[i].bitmap);
        heap_free(slots[i].region_data);
    }
    heap_free(slots);
    slots = nullptr;
    slot_count = 0;
}
