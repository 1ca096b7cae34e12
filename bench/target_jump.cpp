// Measures the game's target jump on a shown window: free the old copy, copy
// the picture, resize it, move and size the gadget, give it the new picture
// (which repaints it at once). Prints the median and the 99th percentile.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "game/assets.h"
#include "game/game.h"
#include "runtime/core/runtime.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"

int main()
{
    const int runs = 1000;
    runtime_start();
    window_open(WINDOW_MAIN, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, TEXT_TITLE, GAME_WINDOW_FLAGS);
    gadget_list_use(window_handle(WINDOW_MAIN));
    window_set_hidden(WINDOW_MAIN, 0);
    image_from_memory(IMAGE_TARGET, game_target_picture());
    gadget_image_create(GADGET_TARGET, TARGET_START_X, TARGET_START_Y, TARGET_START_SIZE, TARGET_START_SIZE,
                        reinterpret_cast<HANDLE>(image_handle(IMAGE_TARGET)));
    while (event_wait(0)) {
    }

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    ms.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QueryPerformanceCounter(&start);
        game_target_jump();
        QueryPerformanceCounter(&end);
        ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
        while (event_wait(0)) {
        }
    }
    std::sort(ms.begin(), ms.end());
    std::printf("target jump: %d runs, median %.3f ms, 99th percentile %.3f ms (goals: 1 ms, 4 ms)\n", runs,
                ms[runs / 2], ms[runs * 99 / 100]);
    runtime_end();
    return 0;
}
