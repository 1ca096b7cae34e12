// The image part of the target's jump, as the game does it on every click:
// free image 4, copy image 3 (the target picture) into 4, resize 4 to a
// random size from 20 to 140 a side. Prints the median and the 99th
// percentile of 1,000 jumps, in all and step by step. With the argument
// "plain" the resize is the platform's plain stretch, for comparison.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "bench/bench_clock.h"
#include "runtime/core/heap.h"
#include "runtime/image/image.h"

extern "C" const unsigned char target_bmp[];

namespace {

const int JUMPS = 1000;

double now_us() { return now_ms() * 1000.0; }

void print(const char* what, std::vector<double> micros)
{
    std::sort(micros.begin(), micros.end());
    std::printf("%-28s median %8.1f us   99th percentile %8.1f us\n", what, micros[micros.size() / 2],
                micros[micros.size() * 99 / 100]);
}

}  // namespace

int main(int argc, char** argv)
{
    const int32_t mode = argc > 1 && std::strcmp(argv[1], "plain") == 0 ? 1 : 0;
    heap_main_create();
    heap_list_create();
    image_decoders_reset();
    image_library_start();
    if (!image_from_memory(3, target_bmp)) {
        std::printf("image_jump_bench: the target picture did not load\n");
        return 1;
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> side(20, 140);
    std::vector<double> total, free_step, copy_step, resize_step;
    int failures = 0;
    for (int i = 0; i < JUMPS; ++i) {
        int width = side(random), height = side(random);
        double start = now_us();
        if (image_exists(4))
            image_free(4);
        double freed = now_us();
        if (!image_copy(3, 4))
            ++failures;
        double copied = now_us();
        if (!image_resize_ex(4, width, height, mode))
            ++failures;
        double resized = now_us();
        total.push_back(resized - start);
        free_step.push_back(freed - start);
        copy_step.push_back(copied - freed);
        resize_step.push_back(resized - copied);
    }
    std::printf("image jump, %d runs (free 4, copy 3 to 4, resize 4 to 20..140, mode %d), failures %d\n", JUMPS,
                mode, failures);
    print("whole jump", total);
    print("image_free (4)", free_step);
    print("image_copy (3, 4)", copy_step);
    print("image_resize_ex (4, w, h)", resize_step);
    image_free_all();
    return failures ? 1 : 0;
}
