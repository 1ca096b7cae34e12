// The window drag's decision on real input: a release that comes while the
// decision looks at the queue ends it at once, and a press on the window's
// surface that leaves the window becomes a drag. The decision waits without
// a time-out, so a missed wake would hang: a watchdog clicks the window after
// half a minute (a loaded machine is slow) to end it, and the test fails when
// the watchdog had to.
#include <gtest/gtest.h>

#include "game/window_drag.h"
#include "tests/support/input.h"
#include "tests/support/pump.h"
#include "tests/support/runtime_start.h"
#include "tests/support/window.h"

namespace {

// Once started, clicks at `point` every second from half a minute on, until
// it ends; end() tells whether it had to.
struct Watchdog {
    POINT point;
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    volatile LONG fired = 0;

    explicit Watchdog(POINT at) : point(at) { thread = CreateThread(nullptr, 0, run, this, 0, nullptr); }
    static DWORD WINAPI run(void* parameter)
    {
        Watchdog* dog = static_cast<Watchdog*>(parameter);
        for (DWORD wait = 30000; WaitForSingleObject(dog->stop, wait) == WAIT_TIMEOUT; wait = 1000) {
            InterlockedExchange(&dog->fired, 1);
            input_click(dog->point);
        }
        return 0;
    }
    bool end()
    {
        SetEvent(stop);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(stop);
        return fired != 0;
    }
};

// The release, given once, when the decision takes a mouse move from the
// queue; the pointer stays where it is.
bool released;
LRESULT CALLBACK release_on_move(int code, WPARAM removal, LPARAM lparam)
{
    const MSG& msg = *reinterpret_cast<const MSG*>(lparam);
    if (code == HC_ACTION && removal == PM_REMOVE && msg.message == WM_MOUSEMOVE && !released) {
        released = true;
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &input, sizeof input);
    }
    return CallNextHookEx(nullptr, code, removal, lparam);
}

// Once the decision holds the mouse in the window's thread, the helper moves
// the pointer to `out`; once the system's move loop runs there, it releases
// the button.
struct DragHelper {
    DWORD thread;
    POINT out;
};

void thread_wait(DWORD thread, bool (*holds)(const GUITHREADINFO&))
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    for (int i = 0; i < 3000 && !(GetGUIThreadInfo(thread, &info) && holds(info)); i++)
        Sleep(10);
}

bool deciding(const GUITHREADINFO& info) { return info.hwndCapture != nullptr; }
bool moving(const GUITHREADINFO& info) { return (info.flags & GUI_INMOVESIZE) != 0; }

DWORD WINAPI drag_out(void* parameter)
{
    const DragHelper* helper = static_cast<const DragHelper*>(parameter);
    thread_wait(helper->thread, deciding);
    input_move(helper->out);
    thread_wait(helper->thread, moving);
    input_button(helper->out, false);
    return 0;
}

class WindowDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("message boxes");
        window = test_window_open(300, 200, 200, 150);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        test_pump(50);
    }
    // A real press at a client point, taken from the queue as the game's
    // loop takes it; the pointer stays there.
    bool press(int x, int y)
    {
        POINT p = test_screen_point(window, x, y);
        if (!test_mouse_settle(p, test_pump))
            return false;
        input_button(p, true);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
                if (msg.message == WM_LBUTTONDOWN)
                    return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return false;
    }
    HWND window = nullptr;
};

TEST_F(WindowDrag, AReleaseThatComesWhileTheQueueIsLookedAtEndsTheDecisionAtOnce)
{
    ASSERT_TRUE(press(100, 75));
    // A move within the drag rectangle waits in the queue; the release comes
    // just as the decision takes that move.
    input_move(test_screen_point(window, 101, 75));
    RECT before = test_window_rect(window);
    Watchdog dog(test_screen_point(window, 100, 75));
    released = false;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, release_on_move, nullptr, GetCurrentThreadId());
    game_window_drag(window);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(dog.end()) << "the release did not end the wait";
    EXPECT_TRUE(released);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) << "the release is left queued";
    EXPECT_EQ(test_window_rect(window), before);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowDrag, APressOnTheSurfaceThatLeavesTheWindowBecomesADrag)
{
    // Two pixels from the right edge, then 40 to the right, past the window.
    ASSERT_TRUE(press(198, 75));
    RECT before = test_window_rect(window);
    Watchdog dog(test_screen_point(window, 100, 75));
    DragHelper helper = {GetCurrentThreadId(), test_screen_point(window, 238, 75)};
    HANDLE thread = CreateThread(nullptr, 0, drag_out, &helper, 0, nullptr);
    game_window_drag(window);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_FALSE(dog.end()) << "the move past the edge was not seen";
    EXPECT_EQ(test_window_rect(window).left - before.left, 40);
    EXPECT_EQ(test_window_rect(window).top, before.top);
}

}  // namespace
