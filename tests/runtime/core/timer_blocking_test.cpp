// Timers whose procedures wait for the main thread, as the game's clock does
// when it sets a label's text: stopping, replacing and ending must return at
// once while such a call is blocked, and hundreds of start and stop cycles
// must not deadlock. A watchdog ends the program if anything hangs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

#include "runtime/core/timer.h"
#include "tests/support/pump.h"
#include "tests/support/runtime_start.h"

namespace {

HWND label;
HANDLE entered;
std::atomic<int> calls_under_way;
std::atomic<int> calls_done;

// Sends to the main thread's window: blocks until the main thread next
// handles messages.
void blocking_procedure()
{
    calls_under_way++;
    SetEvent(entered);
    SetWindowTextA(label, "tick");
    SendMessageA(label, WM_NULL, 0, 0);
    calls_done++;
    calls_under_way--;
}

// Handles messages until no call is under way any more.
bool drain()
{
    return test_pump_until([] { return calls_under_way == 0; }, 60000);
}

DWORD WINAPI watchdog(void*)
{
    // Below the test's own time limit, so that a hang is reported as one.
    Sleep(240000);
    fprintf(stderr, "timer_blocking_test: deadlock, ended by the watchdog\n");
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

class BlockedTimers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CloseHandle(CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr));
        test_runtime_start("timers");
        label = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        entered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    void SetUp() override
    {
        ASSERT_NE(label, nullptr);
        ResetEvent(entered);
        calls_done = 0;
    }
    void TearDown() override
    {
        for (uint32_t slot = 0; slot < TIMER_SLOTS; slot++)
            timer_stop(slot);
        EXPECT_TRUE(drain());
    }

    // Waits, without handling messages, until a call is blocked on the main
    // thread.
    void wait_until_blocked()
    {
        ASSERT_EQ(WaitForSingleObject(entered, 5000), WAIT_OBJECT_0);
        Sleep(20);
        ASSERT_EQ(calls_done, 0);
        ASSERT_EQ(calls_under_way, 1);
    }
    void block_a_call(uint32_t slot)
    {
        ASSERT_NE(timer_start(slot, 5, blocking_procedure), 0u);
        wait_until_blocked();
    }
};

TEST_F(BlockedTimers, StopReturnsAtOnceWhileACallWaitsForTheMainThread)
{
    block_a_call(0);
    EXPECT_EQ(timer_stop(0), 1);
    // The call was still blocked when the stop returned: the stop did not wait
    // for it (a stop that did would never return; the watchdog ends that).
    EXPECT_EQ(calls_done, 0);
    EXPECT_EQ(calls_under_way, 1);
    ASSERT_TRUE(drain());
    EXPECT_EQ(calls_done, 1);
    char text[16] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "tick");
}

TEST_F(BlockedTimers, ReplacingABlockedTimerReturnsAtOnce)
{
    block_a_call(2);
    EXPECT_NE(timer_start(2, 5, blocking_procedure), 0u);
    EXPECT_EQ(calls_done, 0);
    EXPECT_EQ(timer_stop(2), 1);
    ASSERT_TRUE(drain());
}

TEST_F(BlockedTimers, ServiceEndReturnsAtOnceWhileACallIsBlocked)
{
    block_a_call(3);
    timer_service_end();
    EXPECT_EQ(calls_done, 0);
    ASSERT_TRUE(drain());
    EXPECT_EQ(timer_stop(3), 0);
    timer_service_start();
}

TEST_F(BlockedTimers, HundredsOfCyclesWithoutHandlingMessagesInBetween)
{
    const int cycles = 400;
    int started = 0;
    int stopped = 0;
    for (int i = 0; i < cycles; i++) {
        uint32_t slot = uint32_t(i % 4);
        started += timer_start(slot, 1, blocking_procedure) != 0;
        // Let some calls begin (and block) now and then; handle messages only
        // in one cycle out of three, and never between start and stop.
        if (i % 5 == 0)
            Sleep(2);
        stopped += timer_stop(slot);
        if (i % 3 == 0)
            test_pump_pending();
    }
    EXPECT_EQ(started, cycles);
    EXPECT_EQ(stopped, cycles);
    ASSERT_TRUE(drain());
    EXPECT_GT(calls_done, 0);
    int after = calls_done;
    Sleep(50);
    test_pump_pending();
    EXPECT_EQ(calls_done, after);
}

}  // namespace
