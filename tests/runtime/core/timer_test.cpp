// Timer slots on the real multimedia timer: bad slots, start and stop results,
// replacement, silence after a stop, the period, and the service's end.
#include <gtest/gtest.h>

#include <atomic>

#include "runtime/core/timer.h"
#include "tests/support/runtime_start.h"

namespace {

std::atomic<int> first_calls;
std::atomic<int> second_calls;
std::atomic<DWORD> first_call_tick;

void first_procedure()
{
    DWORD zero = 0;
    first_call_tick.compare_exchange_strong(zero, GetTickCount());
    first_calls++;
}

void second_procedure()
{
    second_calls++;
}

// Waits up to a generous limit for the counter to reach a value.
bool wait_for(const std::atomic<int>& counter, int value)
{
    DWORD start = GetTickCount();
    while (counter < value && GetTickCount() - start < 20000)
        Sleep(10);
    return counter >= value;
}

// After a stop the one call that was under way, if any, may still land; a
// timer still running at a 5 ms period would add dozens over the wait.
void expect_silence(const std::atomic<int>& counter)
{
    int stopped_at = counter;
    Sleep(300);
    EXPECT_LE(counter, stopped_at + 1);
}

class Timers : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("timers");
        first_calls = 0;
        second_calls = 0;
        first_call_tick = 0;
    }
    void TearDown() override
    {
        for (uint32_t slot = 0; slot < TIMER_SLOTS; slot++)
            timer_stop(slot);
        Sleep(50);  // ticks under way at the stop land before the next test
    }
};

TEST_F(Timers, BadSlotsStartAndStopNothing)
{
    EXPECT_EQ(timer_start(16, 5, first_procedure), 0u);
    EXPECT_EQ(timer_start(uint32_t(-1), 5, first_procedure), 0u);
    EXPECT_EQ(timer_stop(16), 0);
    EXPECT_EQ(timer_stop(uint32_t(-1)), 0);
    Sleep(100);
    EXPECT_EQ(first_calls, 0);
    EXPECT_NE(timer_start(15, 5, first_procedure), 0u);
    EXPECT_TRUE(wait_for(first_calls, 1));
}

TEST_F(Timers, StopGivesOneForARunningSlotThenZeroAndNoCallsFollow)
{
    EXPECT_EQ(timer_stop(0), 0);
    uint32_t id = timer_start(0, 5, first_procedure);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(wait_for(first_calls, 3));
    EXPECT_EQ(timer_stop(0), 1);
    EXPECT_EQ(timer_stop(0), 0);
    EXPECT_EQ(timeKillEvent(id), MMRESULT(TIMERR_NOCANDO));  // already gone
    expect_silence(first_calls);
}

TEST_F(Timers, SecondStartOnASlotLeavesOneTimerCallingTheNewProcedure)
{
    uint32_t old_id = timer_start(3, 5, first_procedure);
    ASSERT_TRUE(wait_for(first_calls, 2));
    uint32_t new_id = timer_start(3, 5, second_procedure);
    ASSERT_NE(new_id, 0u);
    EXPECT_NE(new_id, old_id);
    EXPECT_EQ(timeKillEvent(old_id), MMRESULT(TIMERR_NOCANDO));
    expect_silence(first_calls);
    EXPECT_TRUE(wait_for(second_calls, second_calls + 5));
    EXPECT_EQ(timer_stop(3), 1);
    EXPECT_EQ(timer_stop(3), 0);
}

// The tick times of a rate run, as performance-counter readings.
const int RATE_TICKS = 21;
LARGE_INTEGER rate_times[RATE_TICKS];
std::atomic<int> rate_calls;

void rate_procedure()
{
    int n = rate_calls++;
    if (n < RATE_TICKS)
        QueryPerformanceCounter(&rate_times[n]);
}

// The average period from the first tick to the last: a tick delivered late
// shifts its own period and the next, not the span. Only a late first or last
// tick moves it, by its lateness over 20 periods (2 s): the bounds allow 600
// ms and 1 s of that, and fail a clock at half or double speed (200 or 50 ms).
TEST_F(Timers, TheAveragePeriodIsThePeriodAsked)
{
    rate_calls = 0;
    ASSERT_NE(timer_start(1, 100, rate_procedure), 0u);
    ASSERT_TRUE(wait_for(rate_calls, RATE_TICKS));
    timer_stop(1);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double span_ms = double(rate_times[RATE_TICKS - 1].QuadPart - rate_times[0].QuadPart) * 1000 / frequency.QuadPart;
    double average_ms = span_ms / (RATE_TICKS - 1);
    EXPECT_GT(average_ms, 70.0);
    EXPECT_LT(average_ms, 150.0);
}

TEST_F(Timers, FirstCallComesOnePeriodAfterStart)
{
    DWORD started = GetTickCount();
    ASSERT_NE(timer_start(2, 300, first_procedure), 0u);
    ASSERT_TRUE(wait_for(first_calls, 1));
    EXPECT_GE(first_call_tick - started, 250u);
}

TEST_F(Timers, BadPeriodsLeaveTheSlotEmpty)
{
    EXPECT_EQ(timer_start(4, 0, first_procedure), 0u);
    EXPECT_EQ(timer_stop(4), 0);
    EXPECT_EQ(timer_start(4, -10, first_procedure), 0u);
    EXPECT_EQ(timer_stop(4), 0);
    // A bad period in a running slot still ends the old timer.
    ASSERT_NE(timer_start(4, 5, first_procedure), 0u);
    EXPECT_EQ(timer_start(4, 0, first_procedure), 0u);
    EXPECT_EQ(timer_stop(4), 0);
    expect_silence(first_calls);
}

TEST_F(Timers, SlotWithoutProcedureTicksHarmlessly)
{
    ASSERT_NE(timer_start(6, 5, nullptr), 0u);
    Sleep(50);
    EXPECT_EQ(timer_stop(6), 1);
}

TEST_F(Timers, DispatchCallsTheProcedureOfTheGivenSlotOnly)
{
    ASSERT_NE(timer_start(7, 1000, first_procedure), 0u);
    timer_dispatch(0, 0, 7, 0, 0);
    timer_dispatch(0, 0, 16, 0, 0);
    timer_dispatch(0, 0, DWORD_PTR(-1), 0, 0);
    EXPECT_EQ(first_calls, 1);
    // The procedure stays after a stop, for a call of the killed timer that
    // is under way.
    timer_stop(7);
    timer_dispatch(0, 0, 7, 0, 0);
    EXPECT_EQ(first_calls, 2);
}

TEST_F(Timers, ServiceEndKillsEveryRunningTimer)
{
    uint32_t a = timer_start(8, 5, first_procedure);
    uint32_t b = timer_start(9, 5, second_procedure);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(wait_for(first_calls, 1) && wait_for(second_calls, 1));
    timer_service_end();
    EXPECT_EQ(timeKillEvent(a), MMRESULT(TIMERR_NOCANDO));
    EXPECT_EQ(timeKillEvent(b), MMRESULT(TIMERR_NOCANDO));
    EXPECT_EQ(timer_stop(8), 0);
    EXPECT_EQ(timer_stop(9), 0);
    expect_silence(first_calls);
    expect_silence(second_calls);
    timer_service_end();  // a second end does nothing
    timer_service_start();
    EXPECT_NE(timer_start(8, 5, first_procedure), 0u);
}

}  // namespace
