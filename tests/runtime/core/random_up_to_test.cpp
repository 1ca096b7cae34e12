// The process's generator: it seeds itself from the tick count on the first
// draw, and re-seeding gives the reference sequence.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/core/random.h"
#include "runtime/core/random_win.h"

namespace {

// Must run first in this program: the generator is still unseeded.
TEST(RandomUpTo, FirstDrawSeedsFromTheTickCount)
{
    DWORD before = GetTickCount();
    int32_t drawn = random_up_to(INT32_MAX);
    DWORD after = GetTickCount();
    bool matched = false;
    for (DWORD tick = before; tick <= after && !matched; tick++) {
        RandomState state = {};
        random_seed(&state, tick);
        matched = random_draw(&state, INT32_MAX) == drawn;
    }
    EXPECT_TRUE(matched);
}

TEST(RandomUpTo, ReseedGivesTheReferenceSequence)
{
    random_seed(12345);
    EXPECT_EQ(random_up_to(120), 33);
    EXPECT_EQ(random_up_to(120), 85);
    EXPECT_EQ(random_up_to(480), 318);
}

TEST(RandomUpTo, StepsAndDrawsShareOneState)
{
    RandomState twin = {};
    random_seed(&twin, 77);
    random_seed(77);
    EXPECT_EQ(random_step(), random_step(&twin));
    EXPECT_EQ(random_up_to(-1), INT32_MIN);
    random_step(&twin);
    EXPECT_EQ(random_up_to(0), 0);
    random_step(&twin);
    EXPECT_EQ(random_up_to(599), random_draw(&twin, 599));
}

}  // namespace
