// The runtime's pseudo-random generator: a lagged generator with rotation over
// 17 pairs of 32-bit words. The generator itself is platform-free; the one
// process-wide instance that the game draws from seeds itself from the clock.
#pragma once

#include <cstdint>

const int RANDOM_ENTRIES = 17;

struct RandomState {
    uint32_t A[RANDOM_ENTRIES];  // first word of each entry
    uint32_t B[RANDOM_ENTRIES];  // second word of each entry
    int32_t p1;                  // entry the next step rewrites
    int32_t p2;                  // lagged entry the next step reads, 10 behind p1
    bool seeded;
};

// The generator on a state of the caller's own (platform-free, random.cpp).
// Refills the state from the seed, runs 31 steps and marks it seeded.
void random_seed(RandomState* state, uint32_t seed);
// Advances the state once; R has the new B word high and the new A word low.
uint64_t random_step(RandomState* state);
// One step scaled to 0..max (both included) as the top 32 bits of R x (max + 1);
// a negative max still steps and gives INT32_MIN. The state must be seeded.
int32_t random_draw(RandomState* state, int32_t max);

// The process's generator (random_win.cpp); main thread only.
// Re-seeds it: the same seed gives the same sequence.
void random_seed(uint32_t seed);
// Advances it once (see random_step above).
uint64_t random_step();
// 0..max, both included; INT32_MIN for a negative max. The first call seeds
// the generator from the millisecond tick count.
int32_t random_up_to(int32_t max);
