// The generator on states of the test's own: reference sequences, the scaling
// of a draw to its range, and reproducibility.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/random.h"

namespace {

std::vector<int32_t> draws(RandomState* state, int32_t max, int count)
{
    std::vector<int32_t> values;
    for (int i = 0; i < count; i++)
        values.push_back(random_draw(state, max));
    return values;
}

// A state whose next step gives R with the given words: the lagged entry's
// words pass through unchanged when the current entry's words are zero.
RandomState state_giving(uint32_t high, uint32_t low)
{
    RandomState state = {};
    state.p1 = 0;
    state.p2 = 10;
    state.A[10] = high;
    state.B[10] = low;
    state.seeded = true;
    return state;
}

TEST(RandomReference, Seeds12345AndZero)
{
    RandomState state = {};
    random_seed(&state, 12345);
    EXPECT_EQ(random_draw(&state, 120), 33);
    EXPECT_EQ(random_draw(&state, 120), 85);
    EXPECT_EQ(random_draw(&state, 480), 318);
    random_seed(&state, 0);
    EXPECT_EQ(draws(&state, 120, 8), (std::vector<int32_t>{65, 94, 79, 45, 28, 75, 77, 50}));
}

TEST(RandomDraw, ZeroMaxGivesZeroAndSteps)
{
    RandomState state = {};
    random_seed(&state, 99);
    RandomState twin = state;
    for (int i = 0; i < 100; i++) {
        EXPECT_EQ(random_draw(&state, 0), 0);
        random_step(&twin);
    }
    EXPECT_EQ(random_step(&state), random_step(&twin));
}

TEST(RandomDraw, NegativeMaxGivesMinimumAndSteps)
{
    RandomState state = {};
    random_seed(&state, 99);
    RandomState twin = state;
    EXPECT_EQ(random_draw(&state, -1), INT32_MIN);
    EXPECT_EQ(random_draw(&state, INT32_MIN), INT32_MIN);
    random_step(&twin);
    random_step(&twin);
    EXPECT_EQ(random_step(&state), random_step(&twin));
}

TEST(RandomDraw, LargestMaxGivesTopBitsOfR)
{
    RandomState state = {};
    random_seed(&state, 4242);
    RandomState twin = state;
    for (int i = 0; i < 100; i++)
        EXPECT_EQ(random_draw(&state, INT32_MAX), int32_t(random_step(&twin) >> 33));
}

TEST(RandomDraw, BoundIsInclusive)
{
    const int32_t maxima[] = {0, 1, 480, 599, INT32_MAX};
    for (int32_t max : maxima) {
        RandomState top = state_giving(0xFFFFFFFFu, 0xFFFFFFFFu);
        EXPECT_EQ(random_draw(&top, max), max) << max;
        RandomState bottom = state_giving(0, 0);
        EXPECT_EQ(random_draw(&bottom, max), 0) << max;
    }
    // The low word's product carries into the result: R x 3 just below and
    // just above 2^64.
    RandomState below = state_giving(0x55555555u, 0x55555555u);
    EXPECT_EQ(random_draw(&below, 2), 0);
    RandomState above = state_giving(0x55555555u, 0x55555556u);
    EXPECT_EQ(random_draw(&above, 2), 1);
}

TEST(RandomDraw, EveryValueOfASmallRangeAppears)
{
    RandomState state = {};
    random_seed(&state, 2024);
    std::vector<int> seen(6);
    for (int32_t v : draws(&state, 5, 600)) {
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 5);
        seen[v]++;
    }
    for (int count : seen)
        EXPECT_GT(count, 0);
}

TEST(RandomSequence, ReseedingRestarts)
{
    RandomState state = {};
    random_seed(&state, 5);
    std::vector<int32_t> once = draws(&state, 1000, 20);
    random_seed(&state, 5);
    EXPECT_EQ(draws(&state, 1000, 20), once);
}

}  // namespace
