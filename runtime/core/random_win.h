// The runtime's pseudo-random generator, the Win32 half: the process's one
// generator, as the game draws from it, seeded from the system's millisecond
// tick count on the first draw. Main thread only.
#pragma once

#include <cstdint>

// Re-seeds the generator: the same seed gives the same sequence.
void random_seed(uint32_t seed);
// Advances it once (see random_step in random.h).
uint64_t random_step();
// 0..max, both included; INT32_MIN for a negative max. The first call seeds
// the generator from the millisecond tick count.
int32_t random_up_to(int32_t max);
