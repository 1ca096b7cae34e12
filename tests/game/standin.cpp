// The recording stand-in of the runtime operations the game calls. Each
// operation appends "name(arguments)" to the call log; the few that answer
// take their answers from the script.
#include "tests/game/standin.h"

#include <windows.h>

#include "game/assets.h"
#include "game/game.h"
#include "game/window_drag.h"
#include "runtime/core/heap.h"
#include "runtime/core/random_win.h"
#include "runtime/core/runtime.h"
#include "runtime/core/text_win.h"
#include "runtime/core/timer.h"
#include "runtime/file/file.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image.h"
#include "runtime/image/image_output.h"
#include "runtime/image/image_save.h"
#include "runtime/skin/skin.h"
#include "runtime/skin/skin_window.h"

namespace standin {

Script script;
std::vector<std::string> calls;
std::string score_file;

namespace {

intptr_t current_gadget;
TimerProcedure clock_procedure;
bool image_4_exists;
bool drawing;

// Handles the game passes around; any distinct non-zero values serve.
HWND const WINDOW_0 = reinterpret_cast<HWND>(0x1000);
const intptr_t BITMAP_3 = 0x3000;
const intptr_t BITMAP_4 = 0x4000;

std::string text_of(const char* text) { return text ? text : "<null>"; }

template <typename... T>
std::string join(const std::string& first, T... rest)
{
    std::string out = first;
    ((out += ",", out += rest), ...);
    return out;
}

std::string num(int64_t value) { return std::to_string(value); }

void log(const std::string& name, const std::string& arguments) { calls.push_back(name + "(" + arguments + ")"); }

}  // namespace

Step event(int32_t code, intptr_t gadget) { return Step{code, gadget, 0}; }
Step ticks(int count) { return Step{0, 0, count}; }

void reset()
{
    script = Script();
    calls.clear();
    score_file.clear();
    current_gadget = -1;
    clock_procedure = nullptr;
    image_4_exists = false;
    drawing = false;
}

int find(const std::string& call, int from)
{
    for (size_t i = static_cast<size_t>(from); i < calls.size(); ++i)
        if (calls[i] == call)
            return static_cast<int>(i);
    return -1;
}

int count(const std::string& prefix)
{
    int n = 0;
    for (const std::string& c : calls)
        n += c.compare(0, prefix.size(), prefix) == 0;
    return n;
}

}  // namespace standin

using namespace standin;

// Start and end: the real heaps and text buffer stand behind the stand-in.
void runtime_start()
{
    heap_main_create();
    text_library_start();
    log("runtime_start", "");
}
void runtime_end() { log("runtime_end", ""); }

// Windows and events.
intptr_t window_open(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h, const char* title, uint32_t flags)
{
    log("window_open", join(num(n), num(x), num(y), num(w), num(h), text_of(title), num(flags)));
    return reinterpret_cast<intptr_t>(WINDOW_0);
}
HWND window_handle(ObjectNumber n) { return n == 0 ? WINDOW_0 : nullptr; }
int32_t window_set_hidden(ObjectNumber n, int32_t hidden)
{
    log("window_set_hidden", join(num(n), num(hidden)));
    return 1;
}

int32_t event_wait(int32_t timeout)
{
    (void)timeout;
    for (;;) {
        if (script.steps.empty())
            return EVENT_CLOSE_WINDOW;
        Step step = script.steps.front();
        script.steps.pop_front();
        if (step.ticks) {
            for (int i = 0; i < step.ticks; ++i)
                if (clock_procedure)
                    clock_procedure();
            continue;
        }
        log("event_wait", num(step.event));
        if (step.event == EVENT_GADGET)
            current_gadget = step.gadget;
        return step.event;
    }
}
intptr_t event_gadget() { return current_gadget; }

void game_window_drag(HWND window) { log("game_window_drag", num(reinterpret_cast<intptr_t>(window))); }

// Gadgets and boxes.
HWND gadget_list_use(HWND window)
{
    log("gadget_list_use", num(reinterpret_cast<intptr_t>(window)));
    return window;
}
intptr_t gadget_image_create(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h, HANDLE picture, uint32_t flags)
{
    log("gadget_image_create",
        join(num(n), num(x), num(y), num(w), num(h), num(reinterpret_cast<intptr_t>(picture)), num(flags)));
    return 1;
}
intptr_t gadget_text_create(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h, const char* text, uint32_t flags)
{
    log("gadget_text_create", join(num(n), num(x), num(y), num(w), num(h), text_of(text), num(flags)));
    return 1;
}
intptr_t gadget_progress_create(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h, int32_t minimum,
                                int32_t maximum, uint32_t flags)
{
    log("gadget_progress_create", join(num(n), num(x), num(y), num(w), num(h), num(minimum), num(maximum), num(flags)));
    return 1;
}
intptr_t gadget_button_create(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h, const char* text, uint32_t flags)
{
    log("gadget_button_create", join(num(n), num(x), num(y), num(w), num(h), text_of(text), num(flags)));
    return 1;
}
void gadget_resize(ObjectNumber n, int32_t x, int32_t y, int32_t w, int32_t h)
{
    log("gadget_resize", join(num(n), num(x), num(y), num(w), num(h)));
}
void gadget_set_state(ObjectNumber n, intptr_t value) { log("gadget_set_state", join(num(n), num(value))); }
void gadget_set_text(ObjectNumber n, const char* text) { log("gadget_set_text", join(num(n), text_of(text))); }
void gadget_set_hidden(ObjectNumber n, int32_t hidden) { log("gadget_set_hidden", join(num(n), num(hidden))); }
void gadget_focus(ObjectNumber n) { log("gadget_focus", num(n)); }

int32_t message_box(const char* caption, const char* text, uint32_t flags)
{
    log("message_box", join(text_of(caption), text_of(text), num(flags)));
    if (script.answers.empty())
        return IDNO;
    int32_t answer = script.answers.front();
    script.answers.pop_front();
    return answer;
}

// Skin and assets.
const void* game_skin_container() { return "skin"; }
uint32_t game_skin_container_size() { return 4; }
const void* game_target_picture() { return "target"; }
void* skin_load_ex(const void* container, size_t size)
{
    log("skin_load", join(text_of(static_cast<const char*>(container)), num(size)));
    return reinterpret_cast<void*>(0x5000);
}
int32_t skin_apply(HWND window, const void* skin)
{
    log("skin_apply", join(num(reinterpret_cast<intptr_t>(window)), num(reinterpret_cast<intptr_t>(skin))));
    return 1;
}

// Images.
intptr_t image_from_memory(ObjectNumber n, const void* data)
{
    log("image_from_memory", join(num(n), text_of(static_cast<const char*>(data))));
    return BITMAP_3;
}
intptr_t image_handle(ObjectNumber n) { return n == 3 ? BITMAP_3 : n == 4 && image_4_exists ? BITMAP_4 : 0; }
intptr_t image_exists(ObjectNumber n) { return n == 4 ? image_4_exists : n == 3; }
void image_free(ObjectNumber n)
{
    log("image_free", num(n));
    if (n == 4)
        image_4_exists = false;
}
intptr_t image_copy(ObjectNumber source, ObjectNumber destination)
{
    log("image_copy", join(num(source), num(destination)));
    image_4_exists = destination == 4;
    return BITMAP_4;
}
intptr_t image_resize(ObjectNumber n, int32_t w, int32_t h)
{
    log("image_resize", join(num(n), num(w), num(h)));
    return BITMAP_4;
}
intptr_t image_create(ObjectNumber n, int32_t w, int32_t h)
{
    log("image_create", join(num(n), num(w), num(h)));
    return 1;
}
void png_encoder_register() { log("png_encoder_register", ""); }
intptr_t image_save(ObjectNumber n, const char* name, uint32_t encoder)
{
    log("image_save", join(num(n), text_of(name), num(encoder)));
    return 1;
}

// Fonts and drawing: each character is 10 pixels wide.
intptr_t font_load(ObjectNumber n, const char* face, int32_t size)
{
    log("font_load", join(num(n), text_of(face), num(size)));
    return 1;
}
HFONT font_handle(ObjectNumber n) { return reinterpret_cast<HFONT>(0x6000 + n); }
void font_free(ObjectNumber n) { log("font_free", num(n)); }
DrawingOutput* image_output(ObjectNumber n)
{
    static DrawingOutput output;
    log("image_output", num(n));
    return &output;
}
HDC drawing_start(const DrawingOutput* output)
{
    log("drawing_start", "");
    drawing = output != nullptr;
    return drawing ? reinterpret_cast<HDC>(0x7000) : nullptr;
}
void drawing_set_font(HFONT font) { log("drawing_set_font", num(reinterpret_cast<intptr_t>(font) - 0x6000)); }
int32_t drawing_text_width(const char* text) { return 10 * static_cast<int32_t>(strlen(text)); }
int32_t draw_text(int32_t x, int32_t y, const char* text, int32_t front, int32_t back)
{
    log("draw_text", join(num(x), num(y), text_of(text), num(front), num(back)));
    return x + drawing_text_width(text);
}
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour)
{
    log("draw_line", join(num(x1), num(y1), num(x2), num(y2), num(colour)));
}
intptr_t drawing_stop()
{
    log("drawing_stop", "");
    drawing = false;
    return 1;
}

// Files: file 0's bytes are kept in score_file, as if the file were empty.
intptr_t file_open(ObjectNumber n, const char* name)
{
    log("file_open", join(num(n), text_of(name)));
    return 1;
}
int64_t file_length(ObjectNumber n)
{
    log("file_length", num(n));
    return 1000;
}
uint32_t file_seek(ObjectNumber n, int64_t position)
{
    log("file_seek", join(num(n), num(position)));
    return static_cast<uint32_t>(position);
}
int32_t file_write_line(ObjectNumber n, const char* text)
{
    log("file_write_line", num(n));
    score_file += text;
    score_file += "\r\n";
    return static_cast<int32_t>(strlen(text) + 2);
}
int32_t file_write_byte(ObjectNumber n, int32_t value)
{
    log("file_write_byte", join(num(n), num(value)));
    score_file += static_cast<char>(value);
    return 1;
}
int32_t file_close(ObjectNumber n)
{
    log("file_close", num(n));
    return 1;
}

// Random numbers and timers.
int32_t random_up_to(int32_t max)
{
    log("random_up_to", num(max));
    if (script.randoms.empty())
        return max;
    int32_t value = script.randoms.front();
    script.randoms.pop_front();
    return value;
}
uint32_t timer_start(uint32_t slot, int32_t period, TimerProcedure procedure)
{
    log("timer_start", join(num(slot), num(period), procedure == game_tick ? "game_tick" : "other"));
    clock_procedure = procedure;
    return 1;
}
int32_t timer_stop(uint32_t slot)
{
    log("timer_stop", num(slot));
    clock_procedure = nullptr;
    return 1;
}
