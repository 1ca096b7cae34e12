// The start and end chains. The order of the libraries is the architecture:
// heaps and the text buffer first, timers last; at the end timers stop before
// anything they could touch goes, images go before the windows that show them,
// and files close last.
#include "runtime/core/runtime.h"

#include "runtime/core/heap.h"
#include "runtime/core/module.h"
#include "runtime/core/text_win.h"
#include "runtime/core/timer.h"
#include "runtime/file/file.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/sizing.h"
#include "runtime/gui/window.h"
#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image.h"
#include "runtime/skin/skin.h"
#include "runtime/skin/skin_window.h"

namespace {

const RuntimeStep START_CHAIN[] = {
    {"module", module_instance_take},
    {"main heap", heap_main_create},
    {"text", text_library_start},
    {"list heap", heap_list_create},
    {"drawing", drawing_library_start},
    {"files", file_service_start},
    {"fonts", font_library_start},
    {"windows", window_library_init},
    {"events", event_state_create},
    {"sizing", sizing_state_create},
    {"gadgets", gadget_library_init},
    {"image decoders", image_decoders_reset},
    {"images", image_library_start},
    {"message boxes", dialog_library_init},
    {"skin heap", heap_skin_create},
    {"timers", timer_service_start},
};

const RuntimeStep END_CHAIN[] = {
    {"timers", timer_service_end},
    {"skin slots", skin_free_all},
    {"shaped windows", skin_windows_end},
    {"images", image_free_all},
    {"windows", window_library_end},
    {"events", event_library_end},
    {"fonts", font_free_all},
    {"files", file_service_end},
    {"main heap", heap_main_destroy},
};

RuntimeStepObserver observer;

template <size_t N>
void run_chain(const RuntimeStep (&chain)[N])
{
    for (const RuntimeStep& step : chain) {
        if (observer)
            observer(step.name);
        step.run();
    }
}

}  // namespace

void runtime_start()
{
    run_chain(START_CHAIN);
}

void runtime_end()
{
    run_chain(END_CHAIN);
}

const RuntimeStep* runtime_start_steps(size_t* count)
{
    *count = sizeof START_CHAIN / sizeof START_CHAIN[0];
    return START_CHAIN;
}

void runtime_observe_steps(RuntimeStepObserver step_observer)
{
    observer = step_observer;
}
