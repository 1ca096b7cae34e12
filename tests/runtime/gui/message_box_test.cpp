// Message boxes: the owner, which windows are disabled while a box is shown
// and enabled after it, and the buttons' results. Each box is found and
// answered from a helper thread, as a player would.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "tests/support/events.h"
#include "tests/support/runtime_start.h"

namespace {

// The visible box of the thread, waited for up to half a minute; null when
// none came up.
HWND thread_box(DWORD thread)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20))
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;)
            if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == thread)
                return w;
    return nullptr;
}

// Finds the box of the main thread, notes what the windows look like while it
// is up, then presses one of its buttons. A box that never comes up ends the
// program: the main thread would otherwise wait in it for ever.
struct BoxAnswer {
    DWORD main_thread = 0;
    int button = IDOK;
    std::vector<HWND> watched;
    // Seen while the box was shown:
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::vector<BOOL> enabled;
    int32_t modal_entries = -1;
    bool button_found = false;

    static DWORD WINAPI run(void* self)
    {
        BoxAnswer* a = static_cast<BoxAnswer*>(self);
        a->box = thread_box(a->main_thread);
        if (!a->box) {
            std::fprintf(stderr, "no message box came up within 30 s: ending the test program\n");
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        a->owner = GetWindow(a->box, GW_OWNER);
        char text[64] = "";
        GetWindowTextA(a->box, text, sizeof text);
        a->caption = text;
        for (HWND w : a->watched)
            a->enabled.push_back(IsWindowEnabled(w));
        a->modal_entries = modal_count();
        // A missing button is noted, and the box is still answered with its
        // first one so that the test goes on.
        HWND button = GetDlgItem(a->box, a->button);
        a->button_found = button != nullptr;
        if (!button)
            button = FindWindowExA(a->box, nullptr, "Button", nullptr);
        SendMessageA(button, BM_CLICK, 0, 0);
        return 0;
    }
};

class MessageBox_ : public ::testing::Test {
protected:
    void SetUp() override { test_runtime_start("message boxes"); }
    void TearDown() override
    {
        for (ObjectNumber n = 0; n < 4; ++n)
            window_close(n);
    }
    HWND open(ObjectNumber number, int x, bool visible = true)
    {
        window_open(number, x, 100, 150, 100, "Zorvant", WS_POPUP | (visible ? 0 : WINDOW_INVISIBLE));
        return window_handle(number);
    }
    void foreground(HWND window)
    {
        SetForegroundWindow(window);
        test_events_drop(100);
    }
    // Shows a box on this thread (`box` calls message_box) while `answer`
    // looks at it and answers it.
    template <typename Box>
    int32_t answered(BoxAnswer& answer, Box box)
    {
        answer.main_thread = GetCurrentThreadId();
        HANDLE helper = CreateThread(nullptr, 0, BoxAnswer::run, &answer, 0, nullptr);
        int32_t result = box();
        WaitForSingleObject(helper, 5000);
        CloseHandle(helper);
        EXPECT_TRUE(answer.button_found);
        return result;
    }
    int32_t show(BoxAnswer& answer, const char* caption, const char* text, uint32_t flags)
    {
        return answered(answer, [=] { return message_box(caption, text, flags); });
    }
};

TEST_F(MessageBox_, TheForegroundWindowOwnsTheBoxAndNothingIsRecorded)
{
    HWND game = open(0, 100);
    foreground(game);
    ASSERT_EQ(GetForegroundWindow(), game);
    EXPECT_EQ(message_box_owner(), game);
    BoxAnswer answer;
    answer.watched = {game};
    // The two-argument form: one OK button.
    EXPECT_EQ(answered(answer, [] { return message_box("Zorvant", "Правила"); }), IDOK);
    ASSERT_NE(answer.box, nullptr);
    EXPECT_EQ(answer.owner, game);
    EXPECT_EQ(answer.caption, "Zorvant");
    EXPECT_EQ(answer.modal_entries, 0);
    EXPECT_TRUE(IsWindowEnabled(game));
    EXPECT_EQ(modal_count(), 0);
}

TEST_F(MessageBox_, AVisibleWindowNotInTheForegroundIsDisabledDuringTheBox)
{
    HWND game = open(0, 100);
    HWND other = open(1, 300);
    foreground(game);
    BoxAnswer answer;
    answer.button = IDYES;
    answer.watched = {other};
    EXPECT_EQ(show(answer, "Результат", "23 cek.\rПопытаться ещё разок?", MB_YESNO), IDYES);
    ASSERT_EQ(answer.enabled.size(), 1u);
    EXPECT_FALSE(answer.enabled[0]);
    EXPECT_EQ(answer.modal_entries, 1);
    EXPECT_EQ(answer.owner, game);
    EXPECT_EQ(answer.caption, "Результат");
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_TRUE(IsWindowEnabled(game));
    EXPECT_EQ(modal_count(), 0);
}

TEST_F(MessageBox_, HiddenAndDisabledWindowsAreLeftAsTheyWere)
{
    HWND game = open(0, 100);
    HWND hidden = open(1, 300, false);
    HWND disabled = open(2, 500);
    EnableWindow(disabled, FALSE);
    foreground(game);
    BoxAnswer answer;
    answer.button = IDNO;
    answer.watched = {hidden, disabled};
    EXPECT_EQ(show(answer, "", "Точно выйти?", MB_YESNO), IDNO);
    ASSERT_EQ(answer.enabled.size(), 2u);
    EXPECT_TRUE(answer.enabled[0]);
    EXPECT_FALSE(answer.enabled[1]);
    EXPECT_EQ(answer.modal_entries, 0);
    EXPECT_TRUE(IsWindowEnabled(hidden));
    EXPECT_FALSE(IsWindowEnabled(disabled));  // not enabled by the box
}

TEST_F(MessageBox_, WithAnotherProcessInTheForegroundTheBoxHasNoOwner)
{
    HWND game = open(0, 100);
    // The desktop window belongs to another process of the session.
    SetForegroundWindow(GetDesktopWindow());
    test_events_drop(100);
    HWND foreground_window = GetForegroundWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(foreground_window, &process);
    if (!foreground_window || process == GetCurrentProcessId())
        GTEST_SKIP() << "no window of another process could be brought to the foreground";
    EXPECT_EQ(message_box_owner(), nullptr);
    BoxAnswer answer;
    answer.watched = {game};
    show(answer, "", "text", 0);
    EXPECT_EQ(answer.owner, nullptr);
    ASSERT_EQ(answer.enabled.size(), 1u);
    EXPECT_FALSE(answer.enabled[0]);
    EXPECT_EQ(answer.modal_entries, 1);
    EXPECT_TRUE(IsWindowEnabled(game));
}

TEST(ModalList, RestoreEnablesOnlyWhatTheThreadRecorded)
{
    test_runtime_start("message boxes");
    window_open(0, 100, 100, 150, 100, "a", WS_POPUP);
    window_open(1, 300, 100, 150, 100, "b", WS_POPUP);
    HWND a = window_handle(0), b = window_handle(1);
    SetForegroundWindow(a);
    test_events_drop(100);
    modal_disable();
    EXPECT_TRUE(IsWindowEnabled(a));  // the foreground window is the box's owner, never recorded
    EXPECT_FALSE(IsWindowEnabled(b));
    EXPECT_EQ(modal_count(), 1);
    modal_restore();
    EXPECT_TRUE(IsWindowEnabled(b));
    EXPECT_EQ(modal_count(), 0);
    modal_restore();  // nothing recorded: nothing happens
    EXPECT_TRUE(IsWindowEnabled(b));
    window_close(0);
    window_close(1);
}

}  // namespace
