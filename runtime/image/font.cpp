// Fonts: the font table and the platform fonts it owns. Sizes in points turn
// into pixel heights at the display's vertical resolution.
#include "runtime/image/font.h"

#include "runtime/core/gdi_scope.h"
#include "runtime/image/drawing.h"

namespace {

ObjectTable* fonts;

FontRecord* font_record(ObjectNumber number)
{
    return fonts ? static_cast<FontRecord*>(object_table_find(fonts, number)) : nullptr;
}

}  // namespace

void font_library_start()
{
    if (!fonts)
        fonts = object_table_create(sizeof(FontRecord), 16, font_free);
}

void font_free_all()
{
    if (!fonts)
        return;
    object_table_rewind(fonts);
    ObjectNumber number;
    while (object_table_next(fonts, &number))
        font_free(number);
}

namespace {

// Null when there is no display context or the platform refuses the font.
HFONT font_create(const char* face, int32_t size, int32_t style)
{
    int weight = (style & FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    DWORD italic = (style & FONT_ITALIC) ? 1 : 0;
    DWORD underline = (style & FONT_UNDERLINE) ? 1 : 0;
    DWORD strike_out = (style & FONT_STRIKEOUT) ? 1 : 0;
    DWORD quality = (style & FONT_HIGH_QUALITY) ? PROOF_QUALITY : DEFAULT_QUALITY;
    ScopedDC display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    if (!display.get())
        return nullptr;
    // Negative: the character height without internal leading.
    int height = -MulDiv(size, GetDeviceCaps(display.get(), LOGPIXELSY), 72);
    return CreateFontA(height, 0, 0, 0, weight, italic, underline, strike_out, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, 0, face);
}

}  // namespace

intptr_t font_load_ex(ObjectNumber number, const char* face, int32_t size, int32_t style)
{
    if (!fonts)
        return 0;
    FontRecord* record = static_cast<FontRecord*>(object_table_claim(fonts, number));
    if (!record)
        return 0;
    HFONT font = font_create(face, size, style);
    if (!font) {
        // A dynamic record that never held a font is given back at once.
        if (number == OBJECT_ANY)
            object_table_release(fonts, reinterpret_cast<ObjectNumber>(record));
        return 0;
    }
    record->handle = font;
    if (number == OBJECT_ANY)
        return reinterpret_cast<intptr_t>(record);
    return reinterpret_cast<intptr_t>(font);
}

intptr_t font_load(ObjectNumber number, const char* face, int32_t size)
{
    return font_load_ex(number, face, size, 0);
}

HFONT font_handle(ObjectNumber number)
{
    FontRecord* record = font_record(number);
    return record ? record->handle : nullptr;
}

void font_free(ObjectNumber number)
{
    FontRecord* record = font_record(number);
    if (!record)
        return;
    drawing_font_detach(record->handle);
    DeleteObject(record->handle);
    object_table_release(fonts, number);
}
