// Visual-style detection for the gadgets: the common-controls version and
// whether visual styles are in use, which decides how the image gadget
// insets its picture.
#pragma once

#include <cstdint>

// The common-controls version (major << 16 | minor), detected once; also
// decides whether visual styles are in use (gadget_themed).
int32_t theme_detect();
// 1 when visual styles are on and the common controls are version 6 or later.
int32_t gadget_themed();
