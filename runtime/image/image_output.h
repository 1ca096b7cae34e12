// The image library's drawing output: an image made the current target of
// the drawing library, one memory context at a time with the image's bitmap
// selected into it.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"
#include "runtime/image/drawing_output.h"

// A DrawingOutput for the image, or null (no such image, an icon, no
// context). An earlier image output is released first, and a drawing going
// on through it is ended.
DrawingOutput* image_output(ObjectNumber number);
// Deletes the image output's context: DeleteDC's result, 0 if there was none.
intptr_t image_output_release();
// Before a picture is deleted or replaced: if the image output draws on it,
// the output is closed (its drawing ends, its context goes), so that the
// picture is selected nowhere. A selected bitmap is not deleted by Windows.
void image_output_detach(HGDIOBJ picture);
