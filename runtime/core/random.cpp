// The platform-free generator: seeding, stepping and scaling a draw to a
// range. Two states seeded alike give identical sequences, bit for bit.
#include "runtime/core/random.h"

namespace {

const uint32_t SEED_MULTIPLIER = 2891336453u;
const int SEED_WARM_UP_STEPS = 31;
const int LAG = 10;

uint32_t rotl(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

int32_t previous_entry(int32_t p)
{
    return p == 0 ? RANDOM_ENTRIES - 1 : p - 1;
}

}  // namespace

void random_seed(RandomState* state, uint32_t seed)
{
    for (int i = 0; i < RANDOM_ENTRIES; i++) {
        seed = seed * SEED_MULTIPLIER + 1;
        state->A[i] = seed;
        seed = seed * SEED_MULTIPLIER + 1;
        state->B[i] = seed;
    }
    state->p1 = 0;
    state->p2 = LAG;
    for (int i = 0; i < SEED_WARM_UP_STEPS; i++)
        random_step(state);
    state->seeded = true;
}

uint64_t random_step(RandomState* state)
{
    uint32_t x = state->A[state->p1];
    uint32_t y = state->B[state->p1];
    uint32_t u = state->A[state->p2];
    uint32_t v = state->B[state->p2];
    uint32_t a = rotl(y, 27) + v;
    uint32_t b = rotl(x, 19) + u;
    state->A[state->p1] = a;
    state->B[state->p1] = b;
    state->p1 = previous_entry(state->p1);
    state->p2 = previous_entry(state->p2);
    return (uint64_t(b) << 32) | a;
}

int32_t random_draw(RandomState* state, int32_t max)
{
    uint64_t r = random_step(state);
    if (max < 0)
        return INT32_MIN;
    // Bits 64 to 95 of the 96-bit product R x n, from two 32 x 32-bit products.
    uint64_t n = uint64_t(max) + 1;
    uint64_t low = (r & 0xFFFFFFFFu) * n;
    uint64_t high = (r >> 32) * n;
    return int32_t((high + (low >> 32)) >> 32);
}
