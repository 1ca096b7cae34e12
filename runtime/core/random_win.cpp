// The process's one generator, as the game draws from it: seeded from the
// system's millisecond tick count on the first draw.
#include "runtime/core/random_win.h"

#include <windows.h>

#include "runtime/core/random.h"

namespace {
RandomState random_state;
}

void random_seed(uint32_t seed)
{
    random_seed(&random_state, seed);
}

uint64_t random_step()
{
    return random_step(&random_state);
}

int32_t random_up_to(int32_t max)
{
    if (!random_state.seeded)
        random_seed(&random_state, GetTickCount());
    return random_draw(&random_state, max);
}
