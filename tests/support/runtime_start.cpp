// Starting the runtime up to a named step of its own start chain.
#include "tests/support/runtime_start.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/core/runtime.h"

void test_runtime_start(const char* last_step)
{
    size_t count = 0;
    const RuntimeStep* steps = runtime_start_steps(&count);
    size_t last = 0;
    while (last < count && std::strcmp(steps[last].name, last_step) != 0)
        ++last;
    if (last == count) {
        std::fprintf(stderr, "test_runtime_start: the start chain has no step \"%s\"\n", last_step);
        std::abort();
    }
    for (size_t step = 0; step <= last; ++step)
        steps[step].run();
}
