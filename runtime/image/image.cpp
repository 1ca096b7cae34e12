// The image library: the image table and state block, blank bitmaps, loading
// BMP and icon file images (and whatever a registered decoder accepts) from
// memory, black images, and the queries and free operation.
#include "runtime/image/image.h"

#include <cstring>

#include "runtime/core/bounded_bytes.h"
#include "runtime/core/gdi_scope.h"
#include "runtime/core/heap.h"
#include "runtime/image/dib_check.h"
#include "runtime/image/image_output.h"

namespace {

const int32_t IMAGE_GROW_STEP = 16;
const int32_t MEMORY_IMAGE_SIZE = 10000000;
const int32_t DECODER_CAPACITY = 8;
const int32_t DECODE_32_BITS = 2;
const size_t ICON_DIRECTORY_SIZE = 6;

ObjectTable* image_table;
ImageState* state_block;

// The decoder list: registered decoders in order, the one that accepted the
// data last, and the file it has open.
struct DecoderList {
    int32_t count;
    const ImageDecoder* entries[DECODER_CAPACITY];
    const ImageDecoder* current;
    FILE* open_file;
};
DecoderList decoders;

// Bitmaps are GDI objects; anything else a record holds is an icon.
void picture_destroy(HGDIOBJ picture)
{
    if (GetObjectType(picture) == OBJ_BITMAP)
        DeleteObject(picture);
    else
        DestroyIcon(static_cast<HICON>(picture));
}

bool side_fits(int32_t side) { return side >= 1 && side <= BMP_MAX_SIDE; }

// Fills the record from the picture's description.
void record_fill(ImageRecord* record, HGDIOBJ handle, const BITMAP& bitmap, int32_t flags)
{
    record->handle = handle;
    record->width = static_cast<int16_t>(bitmap.bmWidth);
    record->height = static_cast<int16_t>(bitmap.bmHeight);
    record->depth = static_cast<uint8_t>(bitmap.bmBitsPixel);
    record->flags = static_cast<uint8_t>(flags);
}

HBITMAP bmp_from_memory(const unsigned char* data, int32_t size, int32_t flags)
{
    BmpFileLayout layout;
    if (!bmp_file_check(data, static_cast<size_t>(size), &layout))
        return nullptr;
    ScopedGdiObject<HBITMAP> bitmap(bitmap_create(layout.width, layout.height, flags, 32));
    if (!bitmap.get() || !bitmap_set_rows(bitmap.get(), layout.height, data + layout.pixel_offset,
                                          reinterpret_cast<const BITMAPINFO*>(data + BMP_INFO_OFFSET)))
        return nullptr;
    return bitmap.keep();
}

// A bitmap describes itself. An icon's colour bitmap describes it; a
// monochrome icon has only its mask, twice the icon's height, which then
// stands in at half height and depth 1.
bool picture_describe(HGDIOBJ picture, BITMAP* bitmap)
{
    if (GetObjectType(picture) == OBJ_BITMAP)
        return GetObjectA(picture, sizeof *bitmap, bitmap) != 0;
    ICONINFO info;
    if (!GetIconInfo(static_cast<HICON>(picture), &info))
        return false;
    // The bitmaps that GetIconInfo made for us go at the end, the mask first.
    ScopedGdiObject<HBITMAP> colour_bitmap(info.hbmColor), mask_bitmap(info.hbmMask);
    if (info.hbmColor)
        return GetObjectA(info.hbmColor, sizeof *bitmap, bitmap) != 0;
    bool described = GetObjectA(info.hbmMask, sizeof *bitmap, bitmap) != 0;
    bitmap->bmHeight /= 2;
    bitmap->bmBitsPixel = 1;
    return described;
}

// The icon path, bounded by the size: the directory and first entry must lie
// inside it, and so must the entry's data.
HICON icon_from_sized_memory(const unsigned char* data, int32_t size)
{
    BoundedBytes bytes = bounded_bytes(data, static_cast<size_t>(size));
    uint32_t count = bytes_u16(bytes, 4);
    uint64_t end = static_cast<uint64_t>(bytes_u32(bytes, ICON_DIRECTORY_SIZE + 12)) +
                   bytes_u32(bytes, ICON_DIRECTORY_SIZE + 8);
    if (bytes.failed || count == 0 || end > static_cast<uint64_t>(size))
        return nullptr;
    return icon_from_memory(data);
}

int32_t decoder_find(int32_t size, const void* data)
{
    decoders.open_file = nullptr;
    for (int32_t i = 0; i < decoders.count; ++i) {
        int32_t kind = decoders.entries[i]->accept(nullptr, data, size);
        if (kind) {
            decoders.current = decoders.entries[i];
            return kind;
        }
    }
    return 0;
}

void decoder_close()
{
    if (decoders.open_file)
        fclose(decoders.open_file);
    decoders.open_file = nullptr;
}

// The decoder writes top row first into a block of the main heap, which is
// then converted into a blank bitmap. A DIB section made bottom-up like every
// other keeps the averaging resize right: Wine reports a top-down section's
// height as positive, so its row order could not be told afterwards.
HBITMAP decoder_read(int32_t kind, int32_t flags)
{
    const ImageDecoder* decoder = decoders.current;
    int32_t width = decoder->width();
    int32_t height = decoder->height();
    int32_t bits = kind == DECODE_32_BITS ? 32 : 24;
    int32_t stride = bits == 32 ? width * 4 : width * 3 + (width & 3);
    void* pixels = nullptr;
    if (side_fits(width) && side_fits(height) && static_cast<uint64_t>(stride) * (height + 1) <= INT32_MAX)
        pixels = HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, static_cast<size_t>(stride) * (height + 1));
    if (!pixels) {
        decoder_close();
        return nullptr;
    }
    decoder->read(pixels, stride, 0);
    decoder_close();

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    ScopedGdiObject<HBITMAP> bitmap(bitmap_create(width, height, flags, bits));
    bool converted = bitmap.get() && bitmap_set_rows(bitmap.get(), height, pixels, &info);
    HeapFree(heap_main(), 0, pixels);
    return converted ? bitmap.keep() : nullptr;
}

}  // namespace

void image_decoders_reset()
{
    decoder_close();
    decoders.count = 0;
    decoders.current = nullptr;
}

int32_t image_decoder_register(const ImageDecoder* decoder)
{
    if (!decoder || decoders.count == DECODER_CAPACITY)
        return 0;
    decoders.entries[decoders.count++] = decoder;
    return 1;
}

void image_library_start()
{
    if (!image_table)
        image_table = object_table_create(sizeof(ImageRecord), IMAGE_GROW_STEP, image_free);
    if (!state_block)
        state_block = static_cast<ImageState*>(library_state_create(sizeof(ImageState), nullptr));
}

void image_free_all()
{
    object_table_free_all(image_table);
}

ImageRecord* image_record(ObjectNumber number)
{
    return static_cast<ImageRecord*>(object_table_find(image_table, number));
}

ImageState* image_state()
{
    return static_cast<ImageState*>(library_state_get(state_block));
}

ImageRecord* image_record_claim(ObjectNumber number)
{
    return static_cast<ImageRecord*>(object_table_claim(image_table, number));
}

intptr_t image_record_abandon(ObjectNumber number, ImageRecord* record)
{
    // A dynamic node would stay linked with its zero handle.
    record->handle = nullptr;
    object_table_release(image_table, number == OBJECT_ANY ? reinterpret_cast<ObjectNumber>(record) : number);
    return 0;
}

intptr_t image_create_result(ObjectNumber number, const ImageRecord* record)
{
    if (number == OBJECT_ANY)
        return reinterpret_cast<intptr_t>(record);
    return reinterpret_cast<intptr_t>(record->handle);
}

HBITMAP bitmap_create(int32_t width, int32_t height, int32_t flags, int32_t depth)
{
    // The record keeps sides in 16 bits; nothing larger is worth asking for.
    // A DIB section below 16 bits would need a colour table, which the
    // platform would read past the end of our header.
    bool device = (flags & IMAGE_DEVICE_BITMAP) != 0;
    if (!side_fits(width) || !side_fits(height) || (!device && depth != 16 && depth != 24 && depth != 32))
        return nullptr;
    if (!device) {
        // A section with DIB_RGB_COLORS takes nothing from a device context,
        // so none is opened: the display's cost 0.3 ms on every target jump.
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(depth);
        void* pixels;
        return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    }
    ScopedDC display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (!display.get())
        return nullptr;
    return CreateCompatibleBitmap(display.get(), width, height);
}

HICON icon_from_memory(const void* data)
{
    const unsigned char* directory = static_cast<const unsigned char*>(data);
    // Unsized: the directory's own fields bound the reads.
    BoundedBytes bytes = bounded_bytes(directory, SIZE_MAX);
    if (!directory || bytes_u16(bytes, 0) != 0 || bytes_u16(bytes, 2) != 1)
        return nullptr;
    DWORD size = bytes_u32(bytes, ICON_DIRECTORY_SIZE + 8);
    DWORD offset = bytes_u32(bytes, ICON_DIRECTORY_SIZE + 12);
    // The platform stretches the picture to the header's size, so a header
    // that promises more than its data holds is refused before it gets there.
    if (!icon_image_check(directory + offset, size))
        return nullptr;
    PBYTE copy = static_cast<PBYTE>(GlobalAlloc(GMEM_FIXED, size));
    if (!copy)
        return nullptr;
    std::memcpy(copy, directory + offset, size);
    // The check above has bounded the picture's header.
    BoundedBytes header = bounded_bytes(copy, size);
    int32_t width = static_cast<int32_t>(bytes_u32(header, 4));
    int32_t height = static_cast<int32_t>(bytes_u32(header, 8)) / 2;
    HICON icon = CreateIconFromResourceEx(copy, size, TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
    if (!icon && bytes_u16(header, 14) != 16)
        icon = CreateIconFromResource(copy, size, TRUE, 0x00030000);
    GlobalFree(copy);
    return icon;
}

intptr_t image_from_memory(ObjectNumber number, const void* data)
{
    return image_from_memory_ex(number, data, MEMORY_IMAGE_SIZE, 0);
}

intptr_t image_from_memory_ex(ObjectNumber number, const void* data, int32_t size, int32_t flags)
{
    ImageRecord* record = image_record_claim(number);
    if (!record)
        return 0;
    if (!data || size < 2)
        return image_record_abandon(number, record);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    HGDIOBJ handle;
    if (bytes[0] == 'B' && bytes[1] == 'M') {
        handle = bmp_from_memory(bytes, size, flags);
    } else if (!(handle = icon_from_sized_memory(bytes, size))) {
        int32_t kind = decoder_find(size, data);
        handle = kind ? decoder_read(kind, flags) : nullptr;
    }
    BITMAP bitmap;
    if (!handle)
        return image_record_abandon(number, record);
    if (!picture_describe(handle, &bitmap)) {
        picture_destroy(handle);
        return image_record_abandon(number, record);
    }
    record_fill(record, handle, bitmap, flags);
    return image_create_result(number, record);
}

intptr_t image_create(ObjectNumber number, int32_t width, int32_t height)
{
    return image_create_ex(number, width, height, IMAGE_DEPTH_DEVICE);
}

intptr_t image_create_ex(ObjectNumber number, int32_t width, int32_t height, int32_t depth)
{
    ImageRecord* record = image_record_claim(number);
    if (!record)
        return 0;
    int32_t flags = depth == IMAGE_DEPTH_DEVICE ? IMAGE_DEVICE_BITMAP : 0;
    ScopedGdiObject<HBITMAP> handle(bitmap_create(width, height, flags, depth));
    if (!handle.get())
        return image_record_abandon(number, record);
    bool black;
    {
        // Unselected, then deleted. A device-dependent bitmap starts with
        // whatever the platform leaves in it, so an image that cannot be
        // blackened is no image.
        ScopedDC memory(CreateCompatibleDC(nullptr));
        ScopedSelect selected(memory.get(), handle.get());
        RECT all = {0, 0, width, height};
        black = memory.get() && FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    BITMAP bitmap;
    if (!black || !picture_describe(handle.get(), &bitmap))
        return image_record_abandon(number, record);
    record_fill(record, handle.keep(), bitmap, flags);
    return image_create_result(number, record);
}

intptr_t image_handle(ObjectNumber number)
{
    ImageRecord* record = image_record(number);
    return record ? reinterpret_cast<intptr_t>(record->handle) : 0;
}

intptr_t image_exists(ObjectNumber number)
{
    return object_table_check(image_table, number);
}

void image_free(ObjectNumber number)
{
    if (number == OBJECT_ANY)
        return;
    ImageRecord* record = image_record(number);
    if (!record)
        return;
    image_output_detach(record->handle);
    picture_destroy(record->handle);
    object_table_release(image_table, number);
}
