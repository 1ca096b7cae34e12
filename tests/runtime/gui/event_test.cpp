// The event queue: waiting and its time-out, deferred events and their
// coalescing, the window procedure's message table, real mouse input, the
// private messages and their data blocks, and the callbacks.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "runtime/core/heap.h"
#include "runtime/gui/event.h"
#include "runtime/gui/window.h"
#include "tests/runtime/gui/window_fixture.h"
#include "tests/support/events.h"
#include "tests/support/heap_blocks.h"
#include "tests/support/input.h"
#include "tests/support/pump.h"
#include "tests/support/window.h"

namespace {

using Events = std::vector<int32_t>;

// The busy blocks of the main heap, less the deferred events that waits may
// queue on the way.
int queued_events();
int main_heap_blocks()
{
    return test_heap_blocks(heap_main()) - queued_events();
}

int queued_events()
{
    int n = 0;
    for (EventQueueNode* node = event_state()->queue_head; node; node = node->next)
        ++n;
    return n;
}

// Waits for a left-button press at a client point of the window; presses
// elsewhere (left over from earlier input) are passed over.
bool press_expect(int32_t x, int32_t y)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2000)
        if (event_wait(50) == WM_LBUTTONDOWN && event_state()->message_lparam == MAKELPARAM(x, y))
            return true;
    return false;
}

// A window class of the test's own with that procedure.
void register_class(const char* name, WNDPROC procedure)
{
    WNDCLASSA c = {};
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = name;
    RegisterClassA(&c);
}

EventDataBlock* data_block_make()
{
    EventDataBlock* block =
        static_cast<EventDataBlock*>(HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, sizeof(EventDataBlock)));
    block->buffer = HeapAlloc(heap_main(), 0, 64);
    return block;
}

class EventTest : public WindowFixture {
protected:
    void SetUp() override
    {
        open(100, 100, 300, 200, "events");
        test_events_drop();
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        event_set_global_callback(nullptr);
        test_events_drop(0);
    }
};

// Posts WM_APP to a thread after half a minute unless stopped first: a look
// that waited for input gets it and returns it rather than hanging.
struct LatePost {
    HANDLE stop;
    DWORD thread;
};

DWORD WINAPI post_late(void* parameter)
{
    LatePost* late = static_cast<LatePost*>(parameter);
    if (WaitForSingleObject(late->stop, 30000) == WAIT_TIMEOUT)
        PostThreadMessageA(late->thread, WM_APP, 0, 0);
    return 0;
}

// A look gives zero at once, a wait with a time-out after it.
TEST_F(EventTest, WithNothingQueuedALookGivesZeroAtOnceAndAWaitAfterItsTimeOut)
{
    LatePost late = {CreateEventA(nullptr, TRUE, FALSE, nullptr), GetCurrentThreadId()};
    HANDLE poster = CreateThread(nullptr, 0, post_late, &late, 0, nullptr);
    ASSERT_NE(poster, nullptr);
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(event_state()->event_type, -1);
    SetEvent(late.stop);
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);
    CloseHandle(late.stop);
    DWORD start = GetTickCount();
    EXPECT_EQ(event_wait(200), 0);
    EXPECT_GE(GetTickCount() - start, 150u);
}

TEST_F(EventTest, RepeatedMovesQueueOneEventButInterleavedOnesOrOtherWindowsEach)
{
    SendMessageA(window, WM_MOVE, 0, 0);
    SendMessageA(window, WM_MOVE, 0, 0);
    EXPECT_EQ(test_events_now(), Events({EVENT_MOVE_WINDOW}));
    EXPECT_EQ(event_state()->event_window, 0);

    SendMessageA(window, WM_MOVE, 0, 0);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    SendMessageA(window, WM_MOVE, 0, 0);
    EXPECT_EQ(test_events_now(), Events({EVENT_MOVE_WINDOW, EVENT_SIZE_WINDOW, EVENT_MOVE_WINDOW}));

    // Each window's move is its own event, naming its window.
    ASSERT_NE(window_open(4, 0, 0, 50, 50, "", WS_POPUP | WINDOW_INVISIBLE), 0);
    SendMessageA(window_handle(4), WM_MOVE, 0, 0);
    SendMessageA(window, WM_MOVE, 0, 0);
    EXPECT_EQ(event_wait(0), EVENT_MOVE_WINDOW);
    EXPECT_EQ(event_state()->event_window, 4);
    EXPECT_EQ(event_wait(0), EVENT_MOVE_WINDOW);
    EXPECT_EQ(event_state()->event_window, 0);
}

TEST_F(EventTest, DeferredEventsComeBeforeANewClickAndKeepTheItem)
{
    PostMessageA(window, MSG_GADGET_EVENT, 42, 7);
    EXPECT_EQ(event_wait(0), EVENT_GADGET);
    EXPECT_EQ(event_gadget(), 42);

    POINT p = test_screen_point(window, 20, 20);
    ASSERT_TRUE(test_mouse_settle(p, test_events_drop));
    input_button(p, true);
    // The press waits in the queue before the events come.
    MSG press;
    for (DWORD start = GetTickCount(); !PeekMessageA(&press, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE);
         Sleep(10))
        ASSERT_LT(GetTickCount() - start, 30000u) << "the press never came";
    SendMessageA(window, WM_MOVE, 0, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(event_wait(0), EVENT_MOVE_WINDOW);
    EXPECT_EQ(event_wait(0), EVENT_CLOSE_WINDOW);
    EXPECT_EQ(event_gadget(), 42);
    EXPECT_EQ(event_state()->event_type, -1);
    EXPECT_TRUE(press_expect(20, 20));
    input_button(p, false);
    EXPECT_EQ(event_gadget(), 42);
}

TEST_F(EventTest, APressThatMakesNoEventComesBackAsItsMessage)
{
    POINT p = test_screen_point(window, 30, 40);
    ASSERT_TRUE(test_mouse_settle(p, test_events_drop));
    input_button(p, true);
    ASSERT_TRUE(press_expect(30, 40));
    EXPECT_EQ(event_state()->message_wparam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(event_state()->event_window, 0);
    input_button(p, false);
    EXPECT_TRUE(test_event_expect(WM_LBUTTONUP));
}

TEST_F(EventTest, AButtonClickGivesItsPressThenTheGadgetEvent)
{
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 30, window,
                                  reinterpret_cast<HMENU>(77), nullptr, nullptr);
    test_events_drop();
    POINT p = test_screen_point(window, 40, 20);
    ASSERT_TRUE(test_mouse_settle(p, test_events_drop));
    input_button(p, true);
    ASSERT_TRUE(press_expect(30, 10));
    input_button(p, false);
    ASSERT_TRUE(test_event_expect(EVENT_GADGET));
    EXPECT_EQ(event_gadget(), 77);
    EXPECT_EQ(event_state()->event_type, BN_CLICKED);
    DestroyWindow(button);
}

TEST_F(EventTest, TheCloseBoxGivesCloseWindowAndTheWindowStays)
{
    ASSERT_NE(window_open(1, 200, 150, 300, 200, "close", WS_OVERLAPPEDWINDOW), 0);
    HWND captioned = window_handle(1);
    SetForegroundWindow(captioned);
    test_events_drop();
    RECT r;
    GetWindowRect(captioned, &r);
    // The close box sits at the right end of the caption; look for it.
    POINT box = {0, 0};
    for (LONG x = r.right - 2; x > r.right - 60 && !box.x; --x) {
        LONG y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
        if (SendMessageA(captioned, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
            box = POINT{x - 3, y};
    }
    ASSERT_NE(box.x, 0);
    // Under Wine a click right after the window is made may still be taken
    // for a client click; the cursor goes there first.
    ASSERT_TRUE(test_mouse_settle(box, test_events_drop));
    input_button(box, true);
    input_button(box, false);
    ASSERT_TRUE(test_event_expect(EVENT_CLOSE_WINDOW));
    EXPECT_EQ(event_state()->event_window, 1);
    EXPECT_TRUE(IsWindow(captioned));
    EXPECT_TRUE(IsWindowVisible(captioned));
}

TEST_F(EventTest, MinimisingGivesNoSizeEventButRestoringDoes)
{
    ASSERT_NE(window_open(1, 200, 150, 300, 200, "min", WS_OVERLAPPEDWINDOW), 0);
    test_events_drop();
    ShowWindow(window_handle(1), SW_MINIMIZE);
    test_pump(50);
    Events events = test_events_now();
    EXPECT_TRUE(IsIconic(window_handle(1)));
    for (int32_t e : events)
        EXPECT_NE(e, EVENT_SIZE_WINDOW);
    ShowWindow(window_handle(1), SW_RESTORE);
    EXPECT_TRUE(test_event_expect(EVENT_SIZE_WINDOW));
}

TEST_F(EventTest, MessagesBeforeThePropertyQueueNothing)
{
    // A window's creation sends WM_MOVE and WM_SIZE before it is marked.
    ASSERT_NE(window_open(2, 10, 10, 100, 100, "", WS_POPUP | WINDOW_INVISIBLE), 0);
    EXPECT_EQ(test_events_now(), Events());
    // A window of the library's class that window_open did not make belongs
    // to the window that its property names, and to none without one.
    HWND unmarked = CreateWindowExA(0, "WindowClass_2", "", WS_POPUP, 10, 10, 100, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(unmarked, nullptr);
    SendMessageA(unmarked, WM_MOVE, 0, 0);
    EXPECT_EQ(SendMessageA(unmarked, WM_SIZE, 0, 0), 1);
    SendMessageA(unmarked, WM_CLOSE, 0, 0);
    EXPECT_EQ(event_state()->event_window, -1);
    EXPECT_TRUE(IsWindow(unmarked));
    EXPECT_EQ(test_events_now(), Events());
    SetPropA(unmarked, "RT_WindowID", reinterpret_cast<HANDLE>(3));
    SendMessageA(unmarked, WM_CLOSE, 0, 0);
    EXPECT_EQ(event_state()->event_window, 2);
    EXPECT_EQ(test_events_now(), Events({EVENT_CLOSE_WINDOW}));
    RemovePropA(unmarked, "RT_WindowID");
    DestroyWindow(unmarked);
}

// Messages that window 1 sees during its own close.
int closing_seen;
HWND closing_window;
LRESULT closing_hook(HWND window, UINT, WPARAM, LPARAM)
{
    closing_seen += window == closing_window;
    return RESULT_CONTINUE;
}

// Once window_close has taken the property away, the window's own messages
// (its destruction) no longer reach its callback, though its record lives
// until the close ends.
TEST_F(EventTest, AClosingWindowsMessagesNoLongerBelongToIt)
{
    ASSERT_NE(window_open(1, 10, 10, 100, 100, "", WS_POPUP | WINDOW_INVISIBLE), 0);
    closing_window = window_handle(1);
    window_set_callback(1, closing_hook);
    SendMessageA(closing_window, WM_NULL, 0, 0);
    EXPECT_EQ(closing_seen, 1);
    closing_seen = 0;
    window_close(1);
    EXPECT_FALSE(IsWindow(closing_window));
    EXPECT_EQ(closing_seen, 0);
}

TEST_F(EventTest, AChildWithTheWindowsProcedureBelongsToTheWindow)
{
    // A child of the window's own class: its messages climb to the window.
    HWND child = CreateWindowExA(0, "WindowClass_0", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    test_events_drop();
    EXPECT_EQ(SendMessageA(child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50)), 1);
    SendMessageA(child, WM_MOVE, 0, 0);
    EXPECT_EQ(test_events_now(), Events({EVENT_MOVE_WINDOW}));
    EXPECT_EQ(event_state()->event_window, 0);
    DestroyWindow(child);
}

TEST_F(EventTest, ActivationAndRepaintingAreDeferred)
{
    ASSERT_NE(window_open(1, 200, 150, 100, 100, "", WS_POPUP), 0);
    test_events_drop();
    SetForegroundWindow(window);
    EXPECT_TRUE(test_event_expect(EVENT_ACTIVATE_WINDOW));
    EXPECT_EQ(event_state()->event_window, 0);

    InvalidateRect(window, nullptr, TRUE);
    EXPECT_TRUE(test_event_expect(EVENT_REPAINT));
    EXPECT_EQ(event_state()->event_window, 0);
}

TEST_F(EventTest, AMessageSentFromAnotherThreadEndsTheWaitEarly)
{
    struct Sender {
        HWND window;
        static DWORD WINAPI run(void* p)
        {
            Sleep(200);
            SendMessageA(static_cast<Sender*>(p)->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tick"));
            return 0;
        }
    } sender = {window};
    HANDLE thread = CreateThread(nullptr, 0, Sender::run, &sender, 0, nullptr);
    // A wait that the message did not end would outlast the test's time-out.
    EXPECT_EQ(event_wait(INT32_MAX), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread);
    char text[8] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "tick");
}

// An item click is posted once more and then reported; a gadget event is
// reported at once. Both name their item and type.
TEST_F(EventTest, AnItemClickIsPostedOnceMoreAndThenReportedAGadgetEventAtOnce)
{
    const LPARAM mouse[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK};
    for (int32_t type = 0; type < 4; ++type) {
        PostMessageA(window, MSG_ITEM_CLICK, 30 + type, mouse[type]);
        EXPECT_EQ(event_wait(0), static_cast<int32_t>(MSG_ITEM_CLICK));
        EXPECT_EQ(event_wait(0), EVENT_ITEM_CLICK);
        EXPECT_EQ(event_gadget(), 30 + type);
        EXPECT_EQ(event_state()->event_type, type);
    }
    PostMessageA(window, MSG_ITEM_CLICK_DEFERRED, 99, WM_MOUSEMOVE);
    EXPECT_EQ(event_wait(0), static_cast<int32_t>(MSG_ITEM_CLICK_DEFERRED));
    EXPECT_EQ(event_gadget(), 33);

    PostMessageA(window, MSG_GADGET_EVENT, 9, 4);
    EXPECT_EQ(event_wait(0), EVENT_GADGET);
    EXPECT_EQ(event_gadget(), 9);
    EXPECT_EQ(event_state()->event_type, 4);
}

TEST_F(EventTest, DataBlocksLiveUntilTheNextWait)
{
    int before = main_heap_blocks();
    EventDataBlock* block = data_block_make();
    PostMessageA(window, MSG_WINDOW_DATA, 0, reinterpret_cast<LPARAM>(block));
    EXPECT_EQ(event_wait(0), EVENT_WINDOW_DATA);
    EXPECT_EQ(event_data(), block);
    EXPECT_EQ(main_heap_blocks(), before + 2);
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(event_data(), nullptr);
    EXPECT_EQ(main_heap_blocks(), before);

    block = data_block_make();
    PostMessageA(window, MSG_GADGET_DATA, 11, reinterpret_cast<LPARAM>(block));
    EXPECT_EQ(event_wait(0), EVENT_GADGET_DATA);
    EXPECT_EQ(event_gadget(), 11);
    EXPECT_EQ(event_data(), block);
    // The library end frees the last block as well, with the queue.
    window_close(0);
    int before_end = main_heap_blocks();
    window_library_end();
    event_library_end();
    EXPECT_EQ(event_data(), nullptr);
    EXPECT_EQ(main_heap_blocks(), before_end - 2);
}

TEST_F(EventTest, ASecondDataBlockBeforeTheNextWaitReplacesTheFirst)
{
    // Sent outside a wait (as from a modal loop), both reach the window.
    int before = main_heap_blocks();
    EventDataBlock* first = data_block_make();
    EventDataBlock* second = data_block_make();
    SendMessageA(window, MSG_WINDOW_DATA, 0, reinterpret_cast<LPARAM>(first));
    SendMessageA(window, MSG_WINDOW_DATA, 0, reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(event_data(), second);
    EXPECT_EQ(main_heap_blocks(), before + 2);
    event_state()->pending_event = 0;
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(main_heap_blocks(), before);
}

TEST_F(EventTest, ADataBlockThatIsNoMainHeapBlockIsNotFreed)
{
    EventDataBlock on_stack = {};
    PostMessageA(window, MSG_WINDOW_DATA, 0, reinterpret_cast<LPARAM>(&on_stack));
    EXPECT_EQ(event_wait(0), EVENT_WINDOW_DATA);
    EXPECT_EQ(event_data(), nullptr);

    // A main-heap block pointing at foreign memory: the block goes, the
    // buffer is left alone.
    int before = main_heap_blocks();
    EventDataBlock* block = data_block_make();
    HeapFree(heap_main(), 0, block->buffer);
    static char foreign[64];
    block->buffer = foreign;
    PostMessageA(window, MSG_GADGET_DATA, 1, reinterpret_cast<LPARAM>(block));
    EXPECT_EQ(event_wait(0), EVENT_GADGET_DATA);
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(main_heap_blocks(), before);
}

TEST_F(EventTest, CommandsFromMenusAcceleratorsAndMenuControls)
{
    PostMessageA(window, WM_COMMAND, 500, 0);
    EXPECT_EQ(event_wait(0), EVENT_MENU);
    EXPECT_EQ(event_gadget(), 500);
    EXPECT_EQ(event_state()->event_type, -1);

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(600, 1), 0);
    EXPECT_EQ(event_wait(0), EVENT_MENU);
    EXPECT_EQ(event_gadget(), 600);

    HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window,
                                   reinterpret_cast<HMENU>(static_cast<intptr_t>(-10000)), nullptr, nullptr);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(321, 5), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(event_wait(0), EVENT_MENU);
    EXPECT_EQ(event_gadget(), 321);
    EXPECT_EQ(event_state()->event_type, 5);

    SetWindowLongPtrA(control, GWLP_ID, 55);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(55, 3), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(event_wait(0), EVENT_GADGET);
    EXPECT_EQ(event_gadget(), 55);
    EXPECT_EQ(event_state()->event_type, 3);
    DestroyWindow(control);
}

LRESULT CALLBACK mdi_child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefMDIChildProcA(window, message, wparam, lparam);
}

// A window that carries its MDI client in "RT_MDI_Gadget" is a frame: the
// frame procedure gets the focus (which it passes to the client) and menu
// commands without a control (a child's number activates that child), but
// never a size, which would stretch the client over the window.
TEST_F(EventTest, AFrameWindowHandsFocusAndCommandsToTheFrameProcedureButNotItsSize)
{
    // The frame is a window of the library's class that window_open did not
    // make: this program makes no frame of its own windows.
    HWND frame = CreateWindowExA(0, "WindowClass_0", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(frame, nullptr);
    register_class("EventTestMdiChild", mdi_child_procedure);
    CLIENTCREATESTRUCT client_create = {nullptr, 100};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 150, 100, frame, nullptr,
                                  GetModuleHandleA(nullptr), &client_create);
    ASSERT_NE(client, nullptr);
    MDICREATESTRUCTA child = {"EventTestMdiChild", "child", GetModuleHandleA(nullptr), 0, 0, 50, 50, 0, 0};
    HWND first = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&child)));
    HWND second = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&child)));
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), second);
    SetPropA(frame, "RT_MDI_Gadget", client);

    SendMessageA(frame, WM_COMMAND, 100, 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), first);
    SetFocus(frame);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == client || IsChild(client, focus)) << focus;
    SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    RECT area;
    GetClientRect(client, &area);
    EXPECT_EQ(area.right, 150);
    EXPECT_EQ(area.bottom, 100);

    RemovePropA(frame, "RT_MDI_Gadget");
    DestroyWindow(frame);
    UnregisterClassA("EventTestMdiChild", GetModuleHandleA(nullptr));
}

TEST_F(EventTest, AForwardedMessageForNoGadgetIsLeftToTheDefault)
{
    HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    PostMessageA(window, MSG_GADGET_FORWARD, 0, reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(event_wait(0), static_cast<int32_t>(MSG_GADGET_FORWARD));
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(control)),
              DefWindowProcA(window, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(control)));
    DestroyWindow(control);
}

// Callbacks: a window's own wins over the global one; RESULT_CONTINUE lets
// the library go on, anything else is the message's result.
std::vector<UINT> seen_by_window;
std::vector<UINT> seen_by_global;
LRESULT window_hook(HWND, UINT message, WPARAM, LPARAM)
{
    seen_by_window.push_back(message);
    return message == WM_CLOSE ? 1234 : RESULT_CONTINUE;
}
LRESULT global_hook(HWND, UINT message, WPARAM, LPARAM)
{
    seen_by_global.push_back(message);
    return RESULT_CONTINUE;
}

TEST_F(EventTest, CallbacksSeeMessagesFirst)
{
    seen_by_window.clear();
    seen_by_global.clear();
    event_set_global_callback(global_hook);
    window_set_callback(0, window_hook);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 1234);
    SendMessageA(window, WM_MOVE, 0, 0);
    EXPECT_EQ(test_events_now(), Events({EVENT_MOVE_WINDOW}));
    EXPECT_EQ(seen_by_window, std::vector<UINT>({WM_CLOSE, WM_MOVE}));
    EXPECT_TRUE(seen_by_global.empty());

    window_set_callback(0, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(test_events_now(), Events({EVENT_CLOSE_WINDOW}));
    EXPECT_EQ(seen_by_global, std::vector<UINT>({WM_CLOSE}));
}

// A child that counts the WM_SYSCOLORCHANGE it gets.
int colour_changes;
LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SYSCOLORCHANGE)
        ++colour_changes;
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(EventTest, ASystemColourChangeReachesEveryDescendant)
{
    register_class("ColourCounter", counting_procedure);
    HWND child = CreateWindowExA(0, "ColourCounter", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "ColourCounter", "", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
    colour_changes = 0;
    SendMessageA(window, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(colour_changes, 2);
    DestroyWindow(child);
}

}  // namespace
