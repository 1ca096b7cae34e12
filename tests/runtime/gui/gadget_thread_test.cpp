// A label set from another thread: the text is sent to the main thread and
// arrives when that thread next handles messages; stopping the sender never
// waits on a sender that is itself waiting for the main thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdio>
#include <string>

#include "runtime/core/timer.h"
#include "runtime/gui/gadget.h"
#include "tests/runtime/gui/support/gadget_fixture.h"

namespace {

// Ends the process when a step that must not block does block, so that a
// deadlock fails the test at once instead of at the ctest time-out.
class Watchdog {
public:
    explicit Watchdog(DWORD ms) : ms_(ms), done_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~Watchdog()
    {
        SetEvent(done_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(done_);
    }

private:
    static DWORD WINAPI run(void* self)
    {
        Watchdog* w = static_cast<Watchdog*>(self);
        if (WaitForSingleObject(w->done_, w->ms_) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "deadlock: a step blocked for %lu ms\n", static_cast<unsigned long>(w->ms_));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return 0;
    }
    DWORD ms_;
    HANDLE done_;
    HANDLE thread_;
};

class LabelFromAnotherThread : public GadgetFixture {
protected:
    void SetUp() override
    {
        GadgetFixture::SetUp();
        label = reinterpret_cast<HWND>(gadget_text_create(1, 0, 50, 200, 20, "start"));
    }
    std::string text()
    {
        char buffer[64] = "?";
        GetWindowTextA(label, buffer, sizeof buffer);
        return buffer;
    }
    HWND label = nullptr;
};

DWORD WINAPI set_label_once(void*)
{
    gadget_set_text(1, "     Время :  1");
    return 0;
}

TEST_F(LabelFromAnotherThread, TheTextArrivesWhenTheMainThreadNextHandlesMessages)
{
    HANDLE sender = CreateThread(nullptr, 0, set_label_once, nullptr, 0, nullptr);
    // A plain wait handles no sent message: the sender stays blocked.
    EXPECT_EQ(WaitForSingleObject(sender, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(text(), "start");
    // Looking for messages delivers it.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(text(), "     Время :  1");
    EXPECT_EQ(WaitForSingleObject(sender, 2000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(sender);
}

// A periodic timer of the timer service that sets the label, as the game's
// clock does; the text lives in storage of the tick's own.
volatile LONG ticks_entered;
volatile LONG ticks_done;
char tick_text[32];

void tick()
{
    LONG n = InterlockedIncrement(&ticks_entered);
    std::snprintf(tick_text, sizeof tick_text, "tick %ld", static_cast<long>(n));
    gadget_set_text(1, tick_text);
    InterlockedIncrement(&ticks_done);
}

// Waits without handling messages until the condition holds or the time is up.
template <typename Condition>
bool wait_without_messages(Condition condition, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(5);
    }
    return true;
}

TEST_F(LabelFromAnotherThread, StoppingATimerWhoseTickWaitsForTheMainThreadDoesNotDeadlock)
{
    const DWORD DEADLINE_MS = 10000;
    timer_service_start();
    ticks_entered = ticks_done = 0;
    ASSERT_NE(timer_start(0, 20, tick), 0u);
    // Without message handling the first tick waits in its text update.
    ASSERT_TRUE(wait_without_messages([] { return ticks_entered > 0; }, DEADLINE_MS));
    EXPECT_EQ(ticks_done, 0);
    EXPECT_EQ(text(), "start");
    // Handling messages lets the ticks through, one text after another.
    ASSERT_TRUE(gui_test_pump_until([] { return ticks_done >= 2; }, DEADLINE_MS));
    EXPECT_EQ(text().compare(0, 5, "tick "), 0);
    // Wait, without handling messages, for a tick that is blocked again, then
    // stop the timer from the main thread.
    ASSERT_TRUE(wait_without_messages([] { return ticks_entered == ticks_done + 1; }, DEADLINE_MS));
    {
        Watchdog watchdog(DEADLINE_MS);
        EXPECT_EQ(timer_stop(0), 1);
    }
    // The blocked tick completes at the next message handling; no other comes.
    ASSERT_TRUE(gui_test_pump_until([] { return ticks_done == ticks_entered; }, DEADLINE_MS));
    LONG stopped_at = ticks_done;
    gui_test_pump(200);
    EXPECT_EQ(ticks_done, stopped_at);
    char expected[32];
    std::snprintf(expected, sizeof expected, "tick %ld", static_cast<long>(stopped_at));
    EXPECT_EQ(text(), expected);
    timer_service_end();
}

}  // namespace
