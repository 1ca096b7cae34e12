// The start and end chains: the libraries start and end in their fixed order,
// everything the chain makes exists afterwards, and files left open at the
// end reach the disk.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/core/runtime.h"
#include "runtime/core/text.h"
#include "runtime/file/file.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"

namespace {

std::vector<std::string> steps;

void record_step(const char* step) { steps.push_back(step); }

TEST(RuntimeChains, StartAndEndInTheirFixedOrder)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "zorvant_runtime_test.txt";
    DeleteFileA(path.c_str());

    runtime_observe_steps(record_step);
    runtime_start();
    EXPECT_EQ(steps, (std::vector<std::string>{"module", "main heap", "text", "list heap", "drawing", "files",
                                               "fonts", "windows", "events", "sizing", "gadgets", "image decoders",
                                               "images", "message boxes", "skin heap", "timers"}));

    // What the chain made is there: the heaps, the work buffer, the tables.
    EXPECT_NE(heap_main(), nullptr);
    EXPECT_NE(heap_list(), nullptr);
    EXPECT_NE(heap_skin(), nullptr);
    EXPECT_NE(text_heap(), nullptr);
    EXPECT_NE(gadget_table(), nullptr);
    EXPECT_NE(window_table(), nullptr);
    EXPECT_NE(image_state(), nullptr);

    // Objects left alive for the end chain to free.
    ASSERT_NE(window_open(0, 0, 0, 200, 100, "chain", WINDOW_INVISIBLE), 0);
    ASSERT_NE(image_create(7, 10, 10), 0);
    ASSERT_NE(file_open(3, path.c_str()), 0);
    file_write_line(3, "kept");

    steps.clear();
    runtime_end();
    runtime_observe_steps(nullptr);
    EXPECT_EQ(steps, (std::vector<std::string>{"timers", "skin slots", "shaped windows", "images", "windows",
                                               "events", "fonts", "files", "main heap"}));
    EXPECT_EQ(heap_main(), nullptr);

    // The file still open at the end was flushed and closed.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char bytes[16] = {};
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    EXPECT_EQ(std::string(bytes, read), "kept\r\n");
}

}  // namespace
