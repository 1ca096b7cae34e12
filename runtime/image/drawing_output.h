// The descriptor of a drawing target: made by the library that owns the
// target (images make one with image_output), read by the drawing library.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

enum {
    OUTPUT_WINDOW = 1,
    OUTPUT_IMAGE = 2,
};

struct DrawingOutput {
    int32_t kind;
    HWND window;                // OUTPUT_WINDOW only
    HDC device_context;         // every kind but OUTPUT_WINDOW
    intptr_t (*release)();      // gives the device context back at stop
    intptr_t extra_values[8];   // kind 7: the seventh makes a fresh context
};
static_assert(sizeof(DrawingOutput) == layout_size(48, 96) &&
                  offsetof(DrawingOutput, extra_values) == layout_size(16, 32),
              "DrawingOutput: four fields, then eight values");
