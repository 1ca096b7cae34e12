// Image copy and resize: a copy is an independent picture under another
// number; a resize stretches the picture into a new bitmap that replaces the
// old one.
#include "runtime/image/image.h"

#include <cstring>

#include "runtime/core/gdi_scope.h"
#include "runtime/image/image_average.h"
#include "runtime/image/image_output.h"

namespace {

const int32_t MODE_SMOOTH = 0;

// The pixel memory of a DIB section that our own averaging can work on.
bool dib_rows(HBITMAP bitmap, PixelRows* rows, int32_t* bytes_per_pixel)
{
    DIBSECTION section;
    if (GetObjectA(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits)
        return false;
    int32_t depth = section.dsBm.bmBitsPixel;
    if (depth != 24 && depth != 32)
        return false;
    // Every section the library makes is bottom-up (bitmap_create); both
    // sides are read in stored order, so the picture keeps its way up.
    *rows = {static_cast<unsigned char*>(section.dsBm.bmBits), section.dsBm.bmWidth, section.dsBm.bmHeight,
             section.dsBm.bmWidthBytes};
    *bytes_per_pixel = depth / 8;
    return true;
}

// A DIB section of ours copied byte for byte into a new one made the same
// way: the same picture that CopyImage gives, without its trips through
// device contexts. Null when the source is no such section.
HBITMAP section_copy(HGDIOBJ source, const ImageRecord& record)
{
    PixelRows from, to;
    int32_t from_bytes, to_bytes;
    if ((record.flags & IMAGE_DEVICE_BITMAP) || !dib_rows(static_cast<HBITMAP>(source), &from, &from_bytes))
        return nullptr;
    // Made with the source's width, height and depth: its rows are laid
    // out alike.
    ScopedGdiObject<HBITMAP> copy(bitmap_create(from.width, from.height, 0, from_bytes * 8));
    if (!copy.get() || !dib_rows(copy.get(), &to, &to_bytes))
        return nullptr;
    GdiFlush();  // pending drawing must reach the pixel memory first
    std::memcpy(to.pixels, from.pixels, static_cast<size_t>(from.stride) * from.height);
    return copy.keep();
}

// Wine's HALFTONE blends the 2x2 source pixels nearest to each destination
// pixel instead of averaging all it covers, so a large shrink aliases. DIB
// sections of 24 and 32 bits are averaged here instead; other bitmaps go to
// the platform's stretch.
bool stretch_average(HBITMAP destination, HBITMAP source)
{
    PixelRows to, from;
    int32_t to_bytes, from_bytes;
    if (!dib_rows(destination, &to, &to_bytes) || !dib_rows(source, &from, &from_bytes) || to_bytes != from_bytes)
        return false;
    GdiFlush();  // pending drawing must reach the pixel memory first
    image_average_stretch(from, to, to_bytes);
    return true;
}

bool stretch_platform(HBITMAP destination, int32_t width, int32_t height, HBITMAP source, int32_t old_width,
                      int32_t old_height, int32_t mode)
{
    ScopedDC to(CreateCompatibleDC(nullptr));
    ScopedDC from(CreateCompatibleDC(nullptr));
    if (!to.get() || !from.get())
        return false;
    ScopedSelect to_bitmap(to.get(), destination);
    ScopedSelect from_bitmap(from.get(), source);
    if (mode == MODE_SMOOTH) {
        SetStretchBltMode(to.get(), HALFTONE);
        SetBrushOrgEx(to.get(), 0, 0, nullptr);  // HALFTONE needs the origin reset
    } else {
        SetStretchBltMode(to.get(), COLORONCOLOR);
    }
    return StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, old_width, old_height, SRCCOPY) != 0;
}

}  // namespace

intptr_t image_copy(ObjectNumber source, ObjectNumber destination)
{
    ImageRecord* from = image_record(source);
    if (!from)
        return 0;
    UINT type = GetObjectType(from->handle) == OBJ_BITMAP ? IMAGE_BITMAP : IMAGE_ICON;
    ImageRecord* to = image_record_claim(destination);
    if (!to)
        return 0;
    // The claim may have moved the slots, or freed the source itself.
    from = image_record(source);
    if (!from)
        return image_record_abandon(destination, to);
    UINT copy_flags = (from->flags & IMAGE_DEVICE_BITMAP) ? 0 : LR_CREATEDIBSECTION;
    to->handle = type == IMAGE_BITMAP ? section_copy(from->handle, *from) : nullptr;
    if (!to->handle)
        to->handle = CopyImage(from->handle, type, 0, 0, copy_flags);
    if (!to->handle)
        return image_record_abandon(destination, to);
    to->width = from->width;
    to->height = from->height;
    to->depth = from->depth;
    to->flags = from->flags;
    return image_create_result(destination, to);
}

intptr_t image_resize(ObjectNumber number, int32_t width, int32_t height)
{
    return image_resize_ex(number, width, height, MODE_SMOOTH);
}

intptr_t image_resize_ex(ObjectNumber number, int32_t width, int32_t height, int32_t mode)
{
    ImageRecord* record = image_record(number);
    // An icon cannot be selected into a context nor deleted as a bitmap.
    if (!record || GetObjectType(record->handle) != OBJ_BITMAP)
        return 0;
    HBITMAP old_bitmap = static_cast<HBITMAP>(record->handle);
    int32_t old_width = record->width;
    int32_t old_height = record->height;
    if (width == old_width && height == old_height)
        return reinterpret_cast<intptr_t>(old_bitmap);
    ScopedGdiObject<HBITMAP> new_bitmap(bitmap_create(width, height, record->flags, record->depth));
    if (!new_bitmap.get())
        return 0;
    // Selected in the output, the old bitmap could be neither stretched from
    // nor deleted.
    image_output_detach(old_bitmap);
    bool stretched = (mode == MODE_SMOOTH && stretch_average(new_bitmap.get(), old_bitmap)) ||
                     stretch_platform(new_bitmap.get(), width, height, old_bitmap, old_width, old_height, mode);
    DeleteObject(old_bitmap);
    // The old picture is gone either way; unstretched, the new one goes too
    // and the number names no image now.
    if (!stretched)
        return image_record_abandon(number, record);
    record->handle = new_bitmap.keep();
    record->width = static_cast<int16_t>(width);
    record->height = static_cast<int16_t>(height);
    return reinterpret_cast<intptr_t>(record->handle);
}
