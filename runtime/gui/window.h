// Windows: top-level windows as numbered objects, each with a class of its
// own, a property carrying its number and a Tab/Shift+Tab accelerator table.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

// A coordinate that the caller leaves open (window position) or wants kept
// (gadget geometry).
const int32_t COORD_IGNORE = -65535;
