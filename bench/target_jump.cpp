// Measures the game's target jump on a shown window: free the old copy, copy
// the picture, resize it, move and size the gadget, give it the new picture
// (which repaints it at once). Beside it, in the same window and taking turns
// with it, the bare peer's jump: an owner-drawn button moved and sized, and
// repainted at once, the platform scaling the same picture while painting.
// Each target has the keyboard focus before its jump, as the press that
// clicks it leaves it, and loses it in the jump.
// Then the game's jump again, step by step, and the platform calls it is made
// of on their own. Prints medians and 99th percentiles, and "name value"
// lines for tools/bench.sh. With the argument "trace" it only makes three
// jumps, each step announced through OutputDebugStringA.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "game/assets.h"
#include "game/game.h"
#include "runtime/core/random_win.h"
#include "runtime/core/runtime.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "bench/bench_clock.h"
#include "bench/peer_paint.h"

namespace {

const int RUNS = 1000;
const int PEER_ID = 77;

struct Figures {
    const char* key;
    std::vector<double> ms;
};

double percentile(std::vector<double> ms, int per_cent)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() * per_cent / 100];
}

void report(const Figures& f)
{
    std::printf("%-24s median %7.3f ms   99th percentile %7.3f ms\n", f.key, percentile(f.ms, 50),
                percentile(f.ms, 99));
}

void drain()
{
    while (event_wait(0)) {
    }
}

// The picture the peer's button paints, scaled to its face.
HDC peer_picture;

LRESULT CALLBACK peer_parent(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_DRAWITEM && wparam == PEER_ID) {
        peer_target_draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), peer_picture);
        return TRUE;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

const int STEP_COUNT = 7;
const char* const STEP_NAMES[STEP_COUNT] = {"random draws",  "image_free",   "image_copy",      "image_resize",
                                            "gadget_resize", "gadget_focus", "gadget_set_state"};

// The jump of game_target_jump, with the time before each step and after the
// last in t. With marks, each step is also announced to the debugger (under
// WINEDEBUG=+debugstr,+server the platform's requests of each step show).
void jump_in_steps(double* t, bool marks)
{
    int step = 0;
    auto next = [&] {
        t[step] = now_ms();
        if (marks && step < STEP_COUNT)
            OutputDebugStringA(STEP_NAMES[step]);
        ++step;
    };
    next();
    int width = random_up_to(120) + 20, height = random_up_to(120) + 20;
    int x = random_up_to(600 - width), y = random_up_to(600 - height);
    next();
    if (image_exists(IMAGE_TARGET_COPY))
        image_free(IMAGE_TARGET_COPY);
    next();
    image_copy(IMAGE_TARGET, IMAGE_TARGET_COPY);
    next();
    image_resize(IMAGE_TARGET_COPY, width, height);
    next();
    gadget_resize(GADGET_TARGET, x, y, width, height);
    next();
    gadget_focus(-1);
    next();
    gadget_set_state(GADGET_TARGET, image_handle(IMAGE_TARGET_COPY));
    next();
    if (marks)
        OutputDebugStringA("jump done");
}

// Paint messages that the game's jump makes its window and target handle,
// counted by a hook during the jump only.
struct PaintCount {
    HWND window, target;
    int target_paints, target_erases, window_paints, window_erases;
} paints;

void paint_count(HWND window, UINT message)
{
    if (message == WM_PAINT || message == WM_ERASEBKGND) {
        bool paint = message == WM_PAINT;
        if (window == paints.target)
            ++(paint ? paints.target_paints : paints.target_erases);
        else if (window == paints.window)
            ++(paint ? paints.window_paints : paints.window_erases);
    }
}

// Messages sent (UpdateWindow's paint, the erase) and taken from the queue.
LRESULT CALLBACK paint_hook(int code, WPARAM wparam, LPARAM lparam)
{
    const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION)
        paint_count(sent.hwnd, sent.message);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK paint_taken_hook(int code, WPARAM removal, LPARAM lparam)
{
    const MSG& taken = *reinterpret_cast<const MSG*>(lparam);
    if (code == HC_ACTION && removal == PM_REMOVE)
        paint_count(taken.hwnd, taken.message);
    return CallNextHookEx(nullptr, code, removal, lparam);
}

void paints_count(HWND window, HWND target)
{
    const int jumps = 100;
    paints = {window, target, 0, 0, 0, 0};
    for (int i = 0; i < jumps; ++i) {
        SetFocus(target);
        drain();
        HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, paint_hook, nullptr, GetCurrentThreadId());
        HHOOK taken = SetWindowsHookExA(WH_GETMESSAGE, paint_taken_hook, nullptr, GetCurrentThreadId());
        game_target_jump();
        drain();
        UnhookWindowsHookEx(taken);
        UnhookWindowsHookEx(sent);
    }
    std::printf("one jump of a focused target and the messages after it (mean of %d): target WM_PAINT %.2f, "
                "WM_ERASEBKGND %.2f; window WM_PAINT %.2f, WM_ERASEBKGND %.2f\n",
                jumps, paints.target_paints / double(jumps), paints.target_erases / double(jumps),
                paints.window_paints / double(jumps), paints.window_erases / double(jumps));
}

// The median of a platform call (or a few that belong together), for the
// per-step figures' account of where a step's time goes.
template <typename Call>
void platform_cost(const char* what, Call call)
{
    Figures f = {what, {}};
    for (int i = 0; i < RUNS / 4; ++i) {
        double start = now_ms();
        call();
        f.ms.push_back(now_ms() - start);
        drain();
    }
    report(f);
}

void platform_costs(HWND target, HWND peer)
{
    HBITMAP picture = reinterpret_cast<HBITMAP>(image_handle(IMAGE_TARGET));
    std::printf("platform calls on their own:\n");
    platform_cost("CreateDCA+DeleteDC", [] { DeleteDC(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)); });
    platform_cost("CopyImage 100x100", [&] {
        DeleteObject(CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    });
    platform_cost("CreateDIBSection 100x100", [] {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, 100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits;
        DeleteObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    });
    platform_cost("GetDC+ReleaseDC", [&] { ReleaseDC(target, GetDC(target)); });
    platform_cost("MoveWindow, no repaint", [&] {
        int side = 20 + random_up_to(120);
        MoveWindow(peer, random_up_to(600 - side), random_up_to(600 - side), side, side, FALSE);
    });
    platform_cost("MoveWindow, repaint", [&] {
        int side = 20 + random_up_to(120);
        MoveWindow(peer, random_up_to(600 - side), random_up_to(600 - side), side, side, TRUE);
    });
    platform_cost("target repaint", [&] {
        InvalidateRect(target, nullptr, FALSE);
        UpdateWindow(target);
    });
    platform_cost("SetFocus(null)", [] { SetFocus(nullptr); });
}

}  // namespace

int main(int argc, char** argv)
{
    const bool trace = argc > 1 && std::strcmp(argv[1], "trace") == 0;
    runtime_start();
    window_open(WINDOW_MAIN, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, TEXT_TITLE, GAME_WINDOW_FLAGS);
    HWND window = reinterpret_cast<HWND>(window_handle(WINDOW_MAIN));
    gadget_list_use(window);
    window_set_hidden(WINDOW_MAIN, 0);
    image_from_memory(IMAGE_TARGET, game_target_picture());
    HWND target = reinterpret_cast<HWND>(gadget_image_create(GADGET_TARGET, TARGET_START_X, TARGET_START_Y,
                                                             TARGET_START_SIZE, TARGET_START_SIZE,
                                                             reinterpret_cast<HANDLE>(image_handle(IMAGE_TARGET))));
    peer_picture = CreateCompatibleDC(nullptr);
    SelectObject(peer_picture, reinterpret_cast<HBITMAP>(image_handle(IMAGE_TARGET)));
    SetWindowSubclass(window, peer_parent, 1, 0);
    HWND peer = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 100, 100, window,
                                reinterpret_cast<HMENU>(PEER_ID), GetModuleHandleA(nullptr), nullptr);
    drain();
    if (trace) {
        // A few jumps only, for a trace of the platform's work in each step.
        for (int i = 0; i < 3; ++i) {
            double t[STEP_COUNT + 1];
            SetFocus(target);
            drain();
            jump_in_steps(t, true);
            drain();
        }
        runtime_end();
        return 0;
    }

    Figures jump = {"target jump", {}}, bare = {"peer jump", {}};
    for (int i = 0; i < RUNS; ++i) {
        SetFocus(target);
        drain();
        double start = now_ms();
        game_target_jump();
        jump.ms.push_back(now_ms() - start);
        drain();
        int width = random_up_to(120) + 20, height = random_up_to(120) + 20;
        int x = random_up_to(600 - width), y = random_up_to(600 - height);
        SetFocus(peer);
        drain();
        start = now_ms();
        MoveWindow(peer, x, y, width, height, TRUE);
        SetFocus(nullptr);
        UpdateWindow(peer);
        bare.ms.push_back(now_ms() - start);
        drain();
    }

    // The same jump as game_target_jump, each step timed on its own.
    Figures steps[STEP_COUNT];
    for (int s = 0; s < STEP_COUNT; ++s)
        steps[s].key = STEP_NAMES[s];
    for (int i = 0; i < RUNS; ++i) {
        double t[STEP_COUNT + 1];
        SetFocus(target);
        drain();
        jump_in_steps(t, false);
        for (int s = 0; s < STEP_COUNT; ++s)
            steps[s].ms.push_back(t[s + 1] - t[s]);
        drain();
    }

    std::printf("target jump, %d runs each, game and peer taking turns\n", RUNS);
    report(jump);
    report(bare);
    std::printf("the game's jump step by step:\n");
    for (const Figures& f : steps)
        report(f);
    paints_count(window, target);
    platform_costs(target, peer);
    std::printf("jump_median_ms %.3f\njump_p99_ms %.3f\n", percentile(jump.ms, 50), percentile(jump.ms, 99));
    std::printf("peer_median_ms %.3f\npeer_p99_ms %.3f\n", percentile(bare.ms, 50), percentile(bare.ms, 99));
    runtime_end();
    return 0;
}
