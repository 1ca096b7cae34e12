// Measures one score card as the game makes it: a black 100 x 100 image,
// Tahoma 28 and 6, the centred time, two fans of 50 lines, the centred title,
// the frame, then the PNG save. Prints the median of 100 runs and the size of
// the PNG written, and the thread's own processor time per run (the mean over
// the runs, which other processes on a busy machine do not inflate as much).
// Not a test: the machine is shared, so it only reports.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/image/drawing.h"
#include "runtime/image/font.h"
#include "runtime/image/image.h"
#include "runtime/image/image_output.h"
#include "runtime/image/image_save.h"

namespace {

void centred_text(int y, const char* text, int32_t front)
{
    draw_text(50 - drawing_text_width(text) / 2, y, text, front, 0);
}

void render_and_save(const char* file_name)
{
    image_create(100, 100, 100);
    font_load(100, "Tahoma", 28);
    font_load(101, "Tahoma", 6);
    if (drawing_start(image_output(100))) {
        drawing_set_font(font_handle(100));
        centred_text(30, "23", 0x7EFF);
        for (int i = 1; i <= 50; ++i)
            draw_line(0, 2 * i, 100, 3 * i, 0);
        for (int i = 1; i <= 50; ++i)
            draw_line(2 * i, 0, 4 * i, 100, 0);
        drawing_set_font(font_handle(101));
        centred_text(5, "Zorvant v1.0", 0xFFFFFF);
        draw_line(1, 1, 98, 1, 0x7EFF);
        draw_line(98, 1, 98, 98, 0x7EFF);
        draw_line(98, 98, 1, 98, 0x7EFF);
        draw_line(1, 98, 1, 1, 0x7EFF);
        drawing_stop();
    }
    image_save(100, file_name, ENCODER_PNG);
    image_free(100);
    font_free(100);
    font_free(101);
}

double thread_cpu_ms()
{
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

}  // namespace

int main()
{
    heap_main_create();
    heap_list_create();
    drawing_library_start();
    font_library_start();
    image_library_start();
    png_encoder_register();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string file_name = std::string(temp) + "zorvant_bench_score.png";

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    render_and_save(file_name.c_str());  // warm-up: font mapper, code pages
    std::vector<double> ms;
    double cpu_before = thread_cpu_ms();
    for (int run = 0; run < 100; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        render_and_save(file_name.c_str());
        QueryPerformanceCounter(&end);
        ms.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    double cpu_per_run = (thread_cpu_ms() - cpu_before) / 100;
    std::sort(ms.begin(), ms.end());
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(file_name.c_str(), GetFileExInfoStandard, &data);
    printf("score card render + PNG save: median %.3f ms, min %.3f ms, max %.3f ms over 100 runs; "
           "thread processor time %.3f ms a run; PNG %lu bytes\n",
           ms[50], ms.front(), ms.back(), cpu_per_run, static_cast<unsigned long>(data.nFileSizeLow));
    DeleteFileA(file_name.c_str());
    return 0;
}
