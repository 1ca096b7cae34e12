// Image saving: converts an image once into 24-bit rows in one buffer from the
// main heap and hands them to the BMP writer or to a registered encoder. The
// library owns the encoder list, which only grows.
#include "runtime/image/image_save.h"

#include <windows.h>

#include "runtime/core/gdi_scope.h"
#include "runtime/core/heap.h"
#include "runtime/file/file.h"
#include "runtime/image/image.h"

namespace {

const ImageEncoder* encoders[ENCODER_LIST_SIZE];
int32_t encoder_count;

// The info header as the conversion leaves it, with room for the colour
// table that its colours-used field may announce.
struct DibHeader {
    BITMAPINFOHEADER info;
    RGBQUAD colours[256];
};

bool write_block(HANDLE file, const void* bytes, DWORD count)
{
    return file_write_direct(file, bytes, static_cast<int32_t>(count)) == static_cast<int32_t>(count);
}

// The file is made anew (file_open would keep what it holds); its bytes go
// out through the file library's writer.
int32_t bmp_write(const char* file_name, DibHeader* header, const unsigned char* pixels, int32_t stride,
                  int32_t height)
{
    HANDLE file = CreateFileA(file_name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD colours = header->info.biClrUsed > 256 ? 256 : header->info.biClrUsed;
    DWORD info_size = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    DWORD pixel_size = static_cast<DWORD>(stride) * static_cast<DWORD>(height);
    BITMAPFILEHEADER file_header = {};
    file_header.bfType = 0x4D42;  // "BM"
    file_header.bfOffBits = sizeof(BITMAPFILEHEADER) + info_size;
    file_header.bfSize = file_header.bfOffBits + pixel_size;
    // The first failed write stops the sequence.
    bool written = write_block(file, &file_header, sizeof file_header) && write_block(file, header, info_size) &&
                   write_block(file, pixels, pixel_size);
    CloseHandle(file);
    return written ? 1 : 0;
}

}  // namespace

intptr_t image_save_ex(ObjectNumber number, const char* file_name, uint32_t encoder, int32_t option)
{
    ImageRecord* record = image_record(number);
    // Icons have no rows to read: refused.
    if (!record || !file_name || GetObjectType(record->handle) != OBJ_BITMAP)
        return 0;
    HBITMAP bitmap = static_cast<HBITMAP>(record->handle);
    BITMAP description = {};
    if (!GetObjectA(bitmap, sizeof description, &description))
        return 0;
    int32_t width = description.bmWidth;
    int32_t height = description.bmHeight;
    if (width <= 0 || height <= 0)
        return 0;
    int32_t stride = image_row_stride(width);
    // The buffer holds one row more than the image.
    uint64_t buffer_size = static_cast<uint64_t>(stride) * (static_cast<uint64_t>(height) + 1);
    if (buffer_size > 0x7FFFFFFF)
        return 0;

    DibHeader header = {};
    header.info.biSize = sizeof(BITMAPINFOHEADER);
    header.info.biWidth = width;
    header.info.biHeight = height;  // positive: bottom row first
    header.info.biPlanes = description.bmPlanes;
    header.info.biBitCount = 24;
    header.info.biCompression = BI_RGB;
    header.info.biSizeImage = static_cast<DWORD>(stride) * static_cast<DWORD>(height);

    // Zeroed, so that the fill bytes never carry stale heap contents.
    auto* pixels = static_cast<unsigned char*>(HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, buffer_size));
    if (!pixels)
        return 0;
    intptr_t result = 0;
    {
        // The context goes before the buffer is freed.
        ScopedDC dc(CreateCompatibleDC(nullptr));
        // The platform converts the bitmap, whatever its depth, to 24 bits.
        if (dc.get() && GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), pixels,
                                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height) {
            if (encoder != ENCODER_BMP)
                result = encoder_run(file_name, pixels, encoder, width, height, stride, option);
            else
                result = bmp_write(file_name, &header, pixels, stride, height);
        }
    }
    HeapFree(heap_main(), 0, pixels);
    return result;
}

intptr_t image_save(ObjectNumber number, const char* file_name, uint32_t encoder)
{
    return image_save_ex(number, file_name, encoder, 7);
}

int32_t encoder_register(const ImageEncoder* entry)
{
    if (!entry || encoder_count >= ENCODER_LIST_SIZE)
        return 0;
    encoders[encoder_count++] = entry;
    return 1;
}

int32_t encoder_run(const char* file_name, const unsigned char* pixels, uint32_t encoder, int32_t width,
                    int32_t height, int32_t stride, int32_t option)
{
    for (int32_t i = 0; i < encoder_count; ++i) {
        if (encoders[i]->identifier == encoder)
            return encoders[i]->encode(file_name, pixels, width, height, stride, option);
    }
    return 0;
}
