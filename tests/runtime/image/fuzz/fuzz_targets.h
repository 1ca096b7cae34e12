// Fuzz targets of the bitmap checks that stand before the platform's
// conversions. Each returns 0 and aborts on a broken property; libFuzzer
// drives them through tools/fuzz.sh, and a host test replays the committed
// inputs through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

// The BMP file check on any bytes: it keeps nothing allocated, and whatever
// passes has its headers, colour table and every declared pixel row inside
// the bytes given and the file's own size field.
int fuzz_bmp_file(const uint8_t* data, size_t size);

// The icon image check on any bytes: it keeps nothing allocated, and
// whatever passes has its header, colour table, colour rows and mask rows
// inside the bytes given.
int fuzz_icon_image(const uint8_t* data, size_t size);
