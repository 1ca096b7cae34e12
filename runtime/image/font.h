// Fonts: numbered objects that each own one platform font, made from a face
// name, a size in points and style flags. The library owns the font table.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

// Style flags; other bits are ignored.
const int32_t FONT_UNDERLINE = 0x4;
const int32_t FONT_STRIKEOUT = 0x8;
const int32_t FONT_HIGH_QUALITY = 0x10;
const int32_t FONT_BOLD = 0x100;
const int32_t FONT_ITALIC = 0x200;

// The object record of the font table.
struct FontRecord {
    HFONT handle;  // null marks a free slot
};
static_assert(sizeof(FontRecord) == layout_size(4, 8), "FontRecord: the font alone");

// Start step: makes the font table (a second call keeps it). End step: every
// live font is freed.
void font_library_start();
void font_free_all();

// A font of `size` points at the display's resolution: the font handle for a
// table number, the dynamic handle for OBJECT_ANY, 0 on failure. A font under
// the number is freed first, also when the new one fails. The short form has
// no style flags.
intptr_t font_load_ex(ObjectNumber number, const char* face, int32_t size, int32_t style);
intptr_t font_load(ObjectNumber number, const char* face, int32_t size);

// The font handle, or null if the number names no font.
HFONT font_handle(ObjectNumber number);
// Deletes the font and releases the number; nothing for a free number.
void font_free(ObjectNumber number);
