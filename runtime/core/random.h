// The runtime's pseudo-random generator, the platform-free half: a lagged
// generator with rotation over 17 pairs of 32-bit words, on a state of the
// caller's own. The process's one generator is in random_win.h.
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

// Refills the state from the seed, runs 31 steps and marks it seeded.
void random_seed(RandomState* state, uint32_t seed);
// Advances the state once; R has the new B word high and the new A word low.
uint64_t random_step(RandomState* state);
// One step scaled to 0..max (both included) as the top 32 bits of R x (max + 1);
// a negative max still steps and gives INT32_MIN. The state must be seeded.
int32_t random_draw(RandomState* state, int32_t max);
