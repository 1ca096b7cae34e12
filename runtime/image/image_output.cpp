// The image library's drawing output: one memory context at a time, with the
// image's bitmap selected into it, described by the DrawingOutput of the
// image state block.
#include "runtime/image/image_output.h"

#include "runtime/core/gdi_scope.h"
#include "runtime/image/drawing.h"
#include "runtime/image/image.h"

intptr_t image_output_release()
{
    ImageState* images = image_state();
    if (!images || !images->device_context)
        return 0;
    intptr_t result = DeleteDC(images->device_context);
    images->device_context = nullptr;
    // The descriptor given out goes dead with it: a drawing started on it
    // again gets no context rather than a deleted one.
    images->output.device_context = nullptr;
    return result;
}

namespace {

// The context about to be deleted may be the current drawing's: that drawing
// ends first, so the drawing library never holds a dead context.
void output_close(ImageState* images)
{
    if (images->device_context && drawing_state()->device_context == images->device_context)
        drawing_stop();
    image_output_release();
}

}  // namespace

void image_output_detach(HGDIOBJ picture)
{
    ImageState* images = image_state();
    if (images && images->device_context && GetCurrentObject(images->device_context, OBJ_BITMAP) == picture)
        output_close(images);
}

DrawingOutput* image_output(ObjectNumber number)
{
    ImageState* images = image_state();
    if (!images)
        return nullptr;
    output_close(images);
    ImageRecord* record = image_record(number);
    if (!record || GetObjectType(record->handle) != OBJ_BITMAP)
        return nullptr;
    ScopedDC made(CreateCompatibleDC(nullptr));
    // Refused for a bitmap selected into another context.
    if (!made.get() || !SelectObject(made.get(), record->handle))
        return nullptr;
    HDC dc = made.keep();
    images->device_context = dc;
    images->output = DrawingOutput{};
    images->output.kind = OUTPUT_IMAGE;
    images->output.device_context = dc;
    images->output.release = image_output_release;
    return &images->output;
}
