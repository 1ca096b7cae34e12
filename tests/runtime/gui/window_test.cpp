// Windows: placement and size from the flags word, numbers and their
// property and class, showing and hiding, the accelerator table, the
// background hooks, failure and the library end.
#include <gtest/gtest.h>

#include <ole2.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/support/events.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/runtime_start.h"
#include "tests/support/window.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

const uint32_t GAME_FLAGS = 0x90000001;  // WS_POPUP | WINDOW_INVISIBLE | WINDOW_CENTER_SCREEN

bool class_registered(const std::string& name)
{
    WNDCLASSA c;
    return GetClassInfoA(GetModuleHandleA(nullptr), name.c_str(), &c) != 0;
}

std::string class_name(ObjectNumber number)
{
    char text[40];
    std::snprintf(text, sizeof text, "WindowClass_%" PRIdPTR, number);
    return text;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("message boxes");
        screen_width = GetSystemMetrics(SM_CXSCREEN);
        screen_height = GetSystemMetrics(SM_CYSCREEN);
    }
    void TearDown() override
    {
        window_library_end();
        event_library_end();
        test_events_drop(0);
    }
    int32_t screen_width = 0;
    int32_t screen_height = 0;
};

TEST_F(WindowTest, GameWindowIsAFramelessCentredPopupHiddenUntilShown)
{
    intptr_t handle = window_open(0, 0, 0, 600, 620, "Zorvant", GAME_FLAGS);
    HWND window = window_handle(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(handle, reinterpret_cast<intptr_t>(window));

    RECT r = test_window_rect(window);
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 620);
    EXPECT_EQ(r.left, (screen_width - 600) / 2);
    EXPECT_EQ(r.top, (screen_height - 620) / 2);
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(IsWindowVisible(window));

    char title[16] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Zorvant");

    window_set_hidden(0, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    window_set_hidden(0, 1);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(WindowTest, NoStyleAtAllAddsACaptionAndTheFrameToTheOuterSize)
{
    ASSERT_NE(window_open(1, 10, 20, 300, 200, nullptr, WINDOW_INVISIBLE), 0);
    HWND window = window_handle(1);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

    RECT expected = {0, 0, 300, 200};
    AdjustWindowRect(&expected, WS_CAPTION, FALSE);
    RECT r = test_window_rect(window);
    EXPECT_EQ(r.right - r.left, expected.right - expected.left);
    EXPECT_EQ(r.bottom - r.top, expected.bottom - expected.top);
    EXPECT_GT(r.bottom - r.top, 200);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);

    char title[4] = {'x', 0};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "");
}

TEST_F(WindowTest, AWindowLargerThanTheScreenIsCutToItAndPlacedAtTheCorner)
{
    ASSERT_NE(window_open(0, 0, 0, screen_width + 500, screen_height + 300, "big", GAME_FLAGS), 0);
    RECT r = test_window_rect(window_handle(0));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, screen_width);
    EXPECT_EQ(r.bottom, screen_height);
}

// The system's default position is for overlapped windows only; a pop-up
// given it for x, which stands for y too, goes to 0,0. So neither the open
// value nor the coordinate given beside it is used.
TEST_F(WindowTest, AnOpenCoordinateGivesTheSystemDefaultPositionForBoth)
{
    ASSERT_NE(window_open(0, COORD_IGNORE, 333, 200, 100, "open x", WS_POPUP | WINDOW_INVISIBLE), 0);
    ASSERT_NE(window_open(1, 40, COORD_IGNORE, 200, 100, "open y", WS_POPUP | WINDOW_INVISIBLE), 0);
    for (ObjectNumber n : {0, 1}) {
        RECT r = test_window_rect(window_handle(n));
        EXPECT_EQ(r.left, 0) << n;
        EXPECT_EQ(r.top, 0) << n;
    }
}

TEST_F(WindowTest, CentringOnAParentRaisesNegativePositionsToZeroAndCentringOnTheScreenWins)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 200, 100, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_open(0, 5, 5, 200, 100, "child", WS_POPUP | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE, parent), 0);
    RECT r = test_window_rect(window_handle(0));
    EXPECT_EQ(r.left, 200 + (600 - 200) / 2);
    EXPECT_EQ(r.top, 100 + (400 - 100) / 2);

    MoveWindow(parent, 10, 10, 100, 80, FALSE);
    ASSERT_NE(window_open(1, 5, 5, 400, 300, "child", WS_POPUP | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE, parent), 0);
    r = test_window_rect(window_handle(1));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);

    // Centring on the screen wins.
    ASSERT_NE(window_open(2, 0, 0, 200, 100, "", GAME_FLAGS | WINDOW_CENTER_PARENT, parent), 0);
    r = test_window_rect(window_handle(2));
    EXPECT_EQ(r.left, (screen_width - 200) / 2);
    EXPECT_EQ(r.top, (screen_height - 100) / 2);
    for (ObjectNumber n : {0, 1, 2})
        window_close(n);
    DestroyWindow(parent);
}

TEST_F(WindowTest, CentringOnNothingKeepsTheGivenPosition)
{
    SetActiveWindow(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    ASSERT_NE(window_open(0, 30, 40, 200, 100, "", WS_POPUP | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE), 0);
    RECT r = test_window_rect(window_handle(0));
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);

    // An open coordinate that nothing centres on is left to the system,
    // not taken as a position far off the screen.
    ASSERT_NE(window_open(1, COORD_IGNORE, 40, 200, 100, "", WS_POPUP | WINDOW_CENTER_PARENT | WINDOW_INVISIBLE), 0);
    r = test_window_rect(window_handle(1));
    EXPECT_GE(r.left, 0);
    EXPECT_LT(r.left, screen_width);
}

// Watches the creation of a window: whether an earlier window still existed.
HWND watched_window;
int watched_alive = -1;
LRESULT watch_creation(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_NCCREATE && watched_alive < 0)
        watched_alive = IsWindow(watched_window) ? 1 : 0;
    return RESULT_CONTINUE;
}

TEST_F(WindowTest, ReopeningANumberClosesTheOldWindowFirst)
{
    ASSERT_NE(window_open(0, 0, 0, 100, 100, "first", GAME_FLAGS), 0);
    HWND first = window_handle(0);
    EXPECT_TRUE(class_registered("WindowClass_0"));
    char name[40] = {};
    GetClassNameA(first, name, sizeof name);
    EXPECT_STREQ(name, "WindowClass_0");

    watched_window = first;
    watched_alive = -1;
    event_set_global_callback(watch_creation);
    ASSERT_NE(window_open(0, 0, 0, 100, 100, "second", GAME_FLAGS), 0);
    event_set_global_callback(nullptr);
    EXPECT_EQ(watched_alive, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_NE(window_handle(0), first);
    EXPECT_TRUE(IsWindow(window_handle(0)));

    window_close(0);
    EXPECT_FALSE(class_registered("WindowClass_0"));
    EXPECT_EQ(window_handle(0), nullptr);
}

TEST_F(WindowTest, ThePropertyCarriesTheNumberPlusOne)
{
    ASSERT_NE(window_open(0, 0, 0, 100, 100, "", GAME_FLAGS), 0);
    ASSERT_NE(window_open(7, 0, 0, 100, 100, "", GAME_FLAGS), 0);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(window_handle(0), "RT_WindowID")), 1);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(window_handle(7), "RT_WindowID")), 8);
    HWND seven = window_handle(7);
    window_close(7);
    EXPECT_FALSE(IsWindow(seven));
}

TEST_F(WindowTest, ADynamicWindowIsNamedByItsHandle)
{
    intptr_t number = window_open(OBJECT_ANY, 0, 0, 100, 100, "", GAME_FLAGS);
    ASSERT_NE(number, 0);
    HWND window = window_handle(number);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(reinterpret_cast<intptr_t>(window), number);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(window, "RT_WindowID")), number + 1);
    char name[40] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_EQ(class_name(number), name);

    window_close(number);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(class_registered(class_name(number)));
    EXPECT_EQ(window_handle(number), nullptr);
}

TEST_F(WindowTest, ANumberWithoutAWindowDoesNothing)
{
    window_close(3);
    window_close(OBJECT_ANY);
    window_close(12345);
    EXPECT_EQ(window_handle(3), nullptr);
    EXPECT_EQ(window_handle(-7), nullptr);
    EXPECT_EQ(window_set_hidden(3, 0), 0);
    EXPECT_EQ(window_set_callback(3, nullptr), 0);
    EXPECT_EQ(window_set_colour(3, 0), 0);
}

TEST_F(WindowTest, FailedCreationFreesTheNumberAndTheClass)
{
    // A child style with a parent that is no window cannot be created.
    HWND bogus = reinterpret_cast<HWND>(static_cast<intptr_t>(0x7654321));
    EXPECT_EQ(window_open(2, 0, 0, 100, 100, "", WS_CHILD | WINDOW_INVISIBLE, bogus), 0);
    EXPECT_EQ(window_handle(2), nullptr);
    EXPECT_FALSE(class_registered("WindowClass_2"));
    EXPECT_EQ(window_open(OBJECT_ANY, 0, 0, 100, 100, "", WS_CHILD | WINDOW_INVISIBLE, bogus), 0);
}

TEST_F(WindowTest, TheAcceleratorTableMapsTabAndShiftTab)
{
    ASSERT_NE(window_open(0, 0, 0, 100, 100, "", GAME_FLAGS), 0);
    WindowRecord* record = window_record(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->accelerator_count, 2);
    EXPECT_EQ(record->background_colour, -1);
    EXPECT_EQ(record->mdi_client, nullptr);
    EXPECT_EQ(record->window_callback, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(record->accelerator_table, entries, 4), 2);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[0].key, VK_TAB);
    EXPECT_EQ(entries[0].cmd, 1212);
    EXPECT_EQ(entries[1].fVirt, FVIRTKEY | FNOINVERT | FSHIFT);
    EXPECT_EQ(entries[1].key, VK_TAB);
    EXPECT_EQ(entries[1].cmd, 1213);
}

TEST_F(WindowTest, ShowingFollowsTheStyleAndTheRememberedState)
{
    ASSERT_NE(window_open(0, 0, 0, 200, 100, "", WS_OVERLAPPEDWINDOW | WS_MAXIMIZE), 0);
    HWND window = window_handle(0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsZoomed(window));
    window_set_hidden(0, 1);
    EXPECT_FALSE(IsWindowVisible(window));
    window_set_hidden(0, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsZoomed(window));

    ASSERT_NE(window_open(1, 0, 0, 200, 100, "", WS_OVERLAPPEDWINDOW | WS_MINIMIZE), 0);
    EXPECT_TRUE(IsIconic(window_handle(1)));
    ASSERT_NE(window_open(2, 0, 0, 200, 100, "", WS_OVERLAPPEDWINDOW), 0);
    EXPECT_TRUE(IsWindowVisible(window_handle(2)));
    EXPECT_FALSE(IsZoomed(window_handle(2)));
    EXPECT_FALSE(IsIconic(window_handle(2)));
}

TEST_F(WindowTest, HidingAnOwnedWindowActivatesItsOwner)
{
    ASSERT_NE(window_open(0, 0, 0, 200, 100, "owner", WS_OVERLAPPEDWINDOW), 0);
    ASSERT_NE(window_open(1, 50, 50, 100, 50, "owned", WS_POPUP | WS_BORDER, window_handle(0)), 0);
    SetActiveWindow(window_handle(1));
    ASSERT_EQ(GetActiveWindow(), window_handle(1));
    window_set_hidden(1, 1);
    EXPECT_EQ(GetActiveWindow(), window_handle(0));
    window_set_hidden(1, 0);
    SetActiveWindow(window_handle(1));
    window_close(1);
    EXPECT_EQ(GetActiveWindow(), window_handle(0));
}

HWND erased_window;
HDC erased_dc;
LRESULT erase_green(HDC dc, HWND window)
{
    erased_window = window;
    erased_dc = dc;
    RECT r;
    GetClientRect(window, &r);
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    return 1;
}

TEST_F(WindowTest, TheBackgroundColourAndTheEraseCallbackPaintTheClientArea)
{
    GdiCensus before = gdi_census();
    ASSERT_NE(window_open(0, 100, 100, 120, 80, "", WS_POPUP), 0);
    HWND window = window_handle(0);
    window_set_colour(0, RGB(255, 0, 0));
    UpdateWindow(window);
    test_pump(50);
    TestCapture red = test_capture(window);
    EXPECT_EQ(red.count(RGB(255, 0, 0)), 120 * 80);
    EXPECT_EQ(window_record(0)->background_colour, RGB(255, 0, 0));

    // The brush wins over the callback; without it the callback paints.
    window_set_erase_callback(0, erase_green);
    window_set_colour(0, -1);
    EXPECT_EQ(window_record(0)->background_brush, nullptr);
    UpdateWindow(window);
    test_pump(50);
    EXPECT_EQ(erased_window, window);
    EXPECT_NE(erased_dc, nullptr);
    EXPECT_EQ(test_capture(window).count(RGB(0, 255, 0)), 120 * 80);
    window_set_colour(0, RGB(0, 0, 255));
    window_close(0);
    EXPECT_EQ(gdi_census(), before);  // nor the last brush
}

// A drop target of the test's own that counts its references.
const IID IID_UNKNOWN = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_DROP_TARGET = {0x00000122, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct CountedDropTarget : IDropTarget {
    LONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_UNKNOWN) || IsEqualIID(iid, IID_DROP_TARGET)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references); }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return E_NOTIMPL; }
};

// A window or gadget that accepts drops ("RT_DropAccept") gives its drop
// target back when it goes: the platform holds no reference any more.
TEST_F(WindowTest, AWindowOrGadgetThatAcceptsDropsRevokesItsTargetWhenItGoes)
{
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    ASSERT_NE(window_open(2, 0, 0, 200, 100, "drops", WS_POPUP), 0);
    gadget_list_use(window_handle(2));
    HWND control = reinterpret_cast<HWND>(gadget_button_create(1, 0, 0, 50, 20, "drop"));
    ASSERT_NE(control, nullptr);
    CountedDropTarget window_target, gadget_target;
    ASSERT_EQ(RegisterDragDrop(window_handle(2), &window_target), S_OK);
    ASSERT_EQ(RegisterDragDrop(control, &gadget_target), S_OK);
    ASSERT_GT(window_target.references, 1);
    ASSERT_GT(gadget_target.references, 1);
    SetPropA(window_handle(2), "RT_DropAccept", reinterpret_cast<HANDLE>(1));
    SetPropA(control, "RT_DropAccept", reinterpret_cast<HANDLE>(1));
    window_close(2);
    EXPECT_EQ(window_target.references, 1);
    EXPECT_EQ(gadget_target.references, 1);
    OleUninitialize();
}

TEST_F(WindowTest, TheLibraryEndClosesEveryWindow)
{
    ASSERT_NE(window_open(0, 0, 0, 100, 100, "", GAME_FLAGS), 0);
    ASSERT_NE(window_open(20, 0, 0, 100, 100, "", GAME_FLAGS), 0);
    intptr_t dynamic = window_open(OBJECT_ANY, 0, 0, 100, 100, "", GAME_FLAGS);
    ASSERT_NE(dynamic, 0);
    HWND windows[] = {window_handle(0), window_handle(20), window_handle(dynamic)};
    window_library_end();
    for (HWND w : windows)
        EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(window_handle(0), nullptr);
    EXPECT_EQ(window_handle(dynamic), nullptr);
    EXPECT_FALSE(class_registered("WindowClass_20"));
    // The library stays usable for a later start.
    EXPECT_NE(window_open(0, 0, 0, 100, 100, "", GAME_FLAGS), 0);
}

}  // namespace
