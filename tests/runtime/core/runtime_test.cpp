// The start and end chains, observed by what each step leaves behind: before
// every step and after the chain the test looks at each library through its
// own operations and notes what appeared (start) or went (end) since the last
// look. The order of those changes is the order of the libraries, whatever
// the steps are called.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <string>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/core/runtime.h"
#include "runtime/core/text_win.h"
#include "runtime/core/timer.h"
#include "runtime/file/file.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/sizing.h"
#include "runtime/gui/window.h"
#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image.h"
#include "runtime/skin/skin.h"
#include "tests/support/temp_folder.h"

extern "C" const unsigned char asset_skin[];

namespace {

struct Effect {
    const char* what;
    bool (*seen)();
};

// The chain under watch: its effects, which were seen at the last look, and
// per look the effects that changed since the one before, joined by commas.
const Effect* effects;
std::vector<bool> seen;
std::vector<std::string> looks;

void look(const char* = nullptr)
{
    std::string changed;
    for (size_t i = 0; i < seen.size(); ++i) {
        bool now = effects[i].seen();
        if (now != seen[i])
            changed += (changed.empty() ? "" : ", ") + std::string(effects[i].what);
        seen[i] = now;
    }
    looks.push_back(changed);
}

// A look before each step and one after the last.
template <size_t N>
std::vector<std::string> watched(const Effect (&chain_effects)[N], void (*chain)())
{
    effects = chain_effects;
    seen.assign(N, false);
    looks.clear();
    runtime_observe_steps(look);
    chain();
    runtime_observe_steps(nullptr);
    look();
    return looks;
}

// The start chain's effects.

std::string file_path;
int slot_calls;
void count_slot_call() { slot_calls++; }

ImageDecoder unused_decoder;
const int32_t DECODER_SLOTS = 8;

bool com_ready()
{
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(result))
        CoUninitialize();
    return result == S_FALSE;
}

const Effect START_EFFECTS[] = {
    {"main heap", [] { return heap_main() != nullptr; }},
    {"text", [] { return text_heap() != nullptr; }},
    {"list heap", [] { return heap_list() != nullptr; }},
    {"drawing", [] { return drawing_state()->default_pen != nullptr; }},
    {"files", [] {
         bool opened = file_open(9, "NUL") != 0;
         file_close(9);
         return opened;
     }},
    {"fonts", [] {
         bool loaded = font_load(9, "Tahoma", 8) != 0;
         font_free(9);
         return loaded;
     }},
    {"windows", [] { return window_table() != nullptr; }},
    {"events", [] { return event_state() != nullptr; }},
    {"sizing", [] { return sizing_state() != nullptr; }},
    {"gadgets", [] { return gadget_table() != nullptr; }},
    // The list was filled before the chain: only an emptied one takes more.
    // Each later look adds one, fewer than the list holds.
    {"image decoders", [] { return image_decoder_register(&unused_decoder) == 1; }},
    {"images", [] {
         bool made = image_create(9, 1, 1) != 0;
         image_free(9);
         return made;
     }},
    {"message boxes", com_ready},
    {"skin heap", [] { return heap_skin() != nullptr; }},
    // A slot started before the chain no longer calls its procedure.
    {"timers", [] {
         int before = slot_calls;
         timer_dispatch(0, 0, 15, 0, 0);
         return slot_calls == before;
     }},
};

// The end chain's effects: what goes. Tables and state blocks live in the
// main heap, so they are looked at only while it is there.

const void* skin;
HWND window;

// True while the slot runs; the look stops it, so it is started again.
bool clock_running()
{
    if (!timer_stop(15))
        return false;
    timer_start(15, 30000, nullptr);
    return true;
}

// The file's bytes once it is closed (no one else may then write it); empty
// while it is open.
std::string closed_file_bytes()
{
    HANDLE file = CreateFileA(file_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    char bytes[16] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    return std::string(bytes, read);
}

const Effect END_EFFECTS[] = {
    {"timers", [] { return !clock_running(); }},
    {"skin slots", [] { return skin_slot_find(skin) == nullptr; }},
    {"images", [] { return !heap_main() || !image_exists(7); }},
    {"windows", [] { return !IsWindow(window); }},
    {"events", [] { return !heap_main() || !event_state()->queue_head; }},
    {"fonts", [] { return !heap_main() || !font_handle(5); }},
    {"files", [] { return closed_file_bytes() == "kept\r\n"; }},
    {"main heap", [] { return heap_main() == nullptr; }},
};

TEST(RuntimeChains, EachStepDoesItsPartInTheFixedOrder)
{
    TempFolder temp("zorvant_runtime");
    file_path = temp.path("kept.txt");

    for (int32_t i = 0; i < DECODER_SLOTS; ++i)
        ASSERT_EQ(image_decoder_register(&unused_decoder), 1);
    uint32_t before_chain = timer_start(15, 30000, count_slot_call);
    ASSERT_NE(before_chain, 0u);

    // The module step's one effect, the instance handle, is also taken on
    // first use: it shows as no change.
    EXPECT_EQ(watched(START_EFFECTS, runtime_start),
              (std::vector<std::string>{"", "", "main heap", "text", "list heap", "drawing", "files", "fonts",
                                        "windows", "events", "sizing", "gadgets", "image decoders", "images",
                                        "message boxes", "skin heap", "timers"}));
    // The service took over the slot without stopping the platform's timer.
    timeKillEvent(before_chain);

    // What the end chain has to take down.
    ASSERT_NE(timer_start(15, 30000, nullptr), 0u);
    skin = skin_load(asset_skin);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(window_open(0, 0, 0, 200, 100, "chain", WINDOW_INVISIBLE), 0);
    window = window_handle(0);
    ASSERT_NE(image_create(7, 10, 10), 0);
    event_queue_push(EVENT_MOVE_WINDOW, 0);
    ASSERT_NE(font_load(5, "Tahoma", 10), 0);
    ASSERT_NE(file_open(3, file_path.c_str()), 0);
    file_write_line(3, "kept");

    // The painter's shared context shows no change either: it is its own.
    EXPECT_EQ(watched(END_EFFECTS, runtime_end),
              (std::vector<std::string>{"", "timers", "skin slots", "", "images", "windows", "events", "fonts",
                                        "files", "main heap"}));
}

}  // namespace
