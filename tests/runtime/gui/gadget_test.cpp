// Gadget machinery: numbers, marks and release of controls, the hand-over of
// parent messages, the shared brush cache and visual-style detection.
#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/gui/event.h"
#include "runtime/gui/brush_cache.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/theme.h"
#include "tests/runtime/gui/gadget_fixture.h"

namespace {

// A hook over a gadget's window procedure that looks at the control right
// after the gadget procedure has handled WM_NCDESTROY.
struct DestroyWatch {
    static DestroyWatch* current;
    WNDPROC gadget_procedure = nullptr;
    HWND parent = nullptr;
    const char* sibling_text = nullptr;
    bool destroyed = false;
    LONG_PTR identifier = 0;
    HANDLE property = nullptr;
    LRESULT dispatch = 0;
    HWND sibling = nullptr;  // a control with `sibling_text` that existed then

    static LRESULT CALLBACK hook(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
    {
        DestroyWatch* w = current;
        if (message == WM_NCDESTROY && w->sibling_text)
            w->sibling = FindWindowExA(w->parent, nullptr, nullptr, w->sibling_text);
        LRESULT r = CallWindowProcA(w->gadget_procedure, control, message, wparam, lparam);
        if (message == WM_NCDESTROY) {
            w->destroyed = true;
            w->identifier = GetWindowLongPtrA(control, GWLP_ID);
            w->property = GetPropA(control, "RT_ID");
            HDC dc = GetDC(control);
            w->dispatch = gadget_dispatch(control, w->parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(control));
            ReleaseDC(control, dc);
        }
        return r;
    }
    void watch(HWND control)
    {
        current = this;
        gadget_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));
    }
};
DestroyWatch* DestroyWatch::current;

class GadgetMachinery : public GadgetFixture {
protected:
    GadgetRecord* record(ObjectNumber number)
    {
        return static_cast<GadgetRecord*>(object_table_find(gadget_table(), number));
    }
    LRESULT colour_message(HWND control)
    {
        HDC dc = GetDC(control);
        LRESULT r = gadget_dispatch(control, parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(control));
        ReleaseDC(control, dc);
        return r;
    }
};

TEST_F(GadgetMachinery, TheLibraryStartMakesTableContextAndFont)
{
    ASSERT_NE(gadget_table(), nullptr);
    EXPECT_EQ(gadget_table()->capacity, 50);
    GadgetContext* context = gadget_context();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->font, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_NE(context->words, nullptr);
    EXPECT_EQ(context->count, 0);
    EXPECT_EQ(context->capacity, 10);
    EXPECT_EQ(gadget_list_use(parent), parent);
    EXPECT_EQ(context->parent, parent);
}

TEST_F(GadgetMachinery, AttachMarksTheControlWithItsNumberAndFont)
{
    HWND control = reinterpret_cast<HWND>(gadget_button_create(7, 10, 10, 80, 20, "seven"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), parent);
    EXPECT_EQ(GetWindowLongPtrA(control, GWLP_ID), 7);
    EXPECT_EQ(GetPropA(control, "RT_ID"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetWindowLongPtrA(control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(gadget_subclass_procedure));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_NE(record(7), nullptr);
    EXPECT_EQ(record(7)->handle, control);
    EXPECT_EQ(record(7)->operations->kind, GADGET_KIND_BUTTON);
    EXPECT_EQ(record(7)->operations->size, static_cast<intptr_t>(sizeof(GadgetOps)));
}

TEST_F(GadgetMachinery, CreatingTwiceUnderOneNumberDestroysTheOldControlAfterTheNewExists)
{
    HWND first = reinterpret_cast<HWND>(gadget_button_create(0, 10, 10, 80, 20, "first"));
    ASSERT_NE(first, nullptr);
    DestroyWatch watch;
    watch.parent = parent;
    watch.sibling_text = "second";
    watch.watch(first);
    HWND second = reinterpret_cast<HWND>(gadget_button_create(0, 10, 40, 80, 20, "second"));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_TRUE(watch.destroyed);
    EXPECT_EQ(watch.sibling, second);  // the new control was there when the old one went
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(record(0), nullptr);
    EXPECT_EQ(record(0)->handle, second);
    EXPECT_EQ(GetWindowLongPtrA(second, GWLP_ID), 0);
}

TEST_F(GadgetMachinery, AfterFreeTheIdentifierIsMinusOneAndDispatchNoLongerReachesTheKind)
{
    HWND label = reinterpret_cast<HWND>(gadget_text_create(1, 10, 10, 80, 20, "clock"));
    ASSERT_NE(label, nullptr);
    gadget_set_colour(1, 1, RGB(255, 0, 0));
    EXPECT_EQ(colour_message(label), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    DestroyWatch watch;
    watch.parent = parent;
    watch.watch(label);
    gadget_free(1);
    EXPECT_TRUE(watch.destroyed);
    EXPECT_EQ(watch.identifier, -1);
    EXPECT_EQ(watch.property, nullptr);
    EXPECT_EQ(watch.dispatch, RESULT_UNHANDLED);
    EXPECT_FALSE(IsWindow(label));
    EXPECT_EQ(record(1), nullptr);
    gadget_set_text(1, "ignored");  // a number without a gadget does nothing
    // The destroyed control answers 0 for both its identifier and its mark:
    // it still does not reach a gadget, not even number 0.
    ASSERT_NE(gadget_text_create(0, 10, 40, 80, 20, "zero"), 0);
    gadget_set_colour(0, 2, RGB(0, 0, 255));
    EXPECT_EQ(colour_message(label), RESULT_UNHANDLED);
}

TEST_F(GadgetMachinery, AControlWhoseMarkDiffersFromItsIdentifierIsNotAGadget)
{
    HWND label = reinterpret_cast<HWND>(gadget_text_create(2, 10, 10, 80, 20, "two"));
    gadget_set_colour(2, 2, RGB(0, 0, 255));
    EXPECT_NE(colour_message(label), RESULT_UNHANDLED);
    SetPropA(label, "RT_ID", reinterpret_cast<HANDLE>(3));
    EXPECT_EQ(colour_message(label), RESULT_UNHANDLED);
    SetPropA(label, "RT_ID", reinterpret_cast<HANDLE>(2));
    EXPECT_NE(colour_message(label), RESULT_UNHANDLED);
    // A foreign control that carries gadget 2's marks is not gadget 2 either.
    HWND forged = CreateWindowExA(0, "Static", "forged", WS_CHILD, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(2),
                                  nullptr, nullptr);
    SetPropA(forged, "RT_ID", reinterpret_cast<HANDLE>(2));
    EXPECT_EQ(colour_message(forged), RESULT_UNHANDLED);
    EXPECT_EQ(gadget_dispatch(nullptr, parent, WM_CTLCOLORSTATIC, 0, 0), RESULT_UNHANDLED);
}

TEST_F(GadgetMachinery, ADynamicGadgetIsNamedByItsRecord)
{
    intptr_t number = gadget_text_create(OBJECT_ANY, 10, 10, 80, 20, "any");
    ASSERT_NE(record(number), nullptr);
    EXPECT_EQ(reinterpret_cast<intptr_t>(record(number)), number);
    HWND control = record(number)->handle;
    EXPECT_EQ(GetWindowLongPtrA(control, GWLP_ID), number);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(control, "RT_ID")), number);
    gadget_set_text(number, "changed");
    char text[16] = "";
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, "changed");
    gadget_free(number);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(record(number), nullptr);
}

TEST_F(GadgetMachinery, AControlThatCannotBeMadeLeavesTheOldGadgetOfTheNumber)
{
    HWND old = reinterpret_cast<HWND>(gadget_button_create(4, 10, 10, 80, 20, "old"));
    gadget_list_use(nullptr);  // a child control without a parent cannot be made
    EXPECT_EQ(gadget_button_create(4, 10, 10, 80, 20, "new"), 0);
    EXPECT_EQ(gadget_text_create(5, 10, 10, 80, 20, "new"), 0);
    EXPECT_EQ(record(5), nullptr);
    ASSERT_NE(record(4), nullptr);
    EXPECT_EQ(record(4)->handle, old);
    EXPECT_TRUE(IsWindow(old));
}

TEST_F(GadgetMachinery, DestroyingTheWindowReleasesItsGadgets)
{
    gadget_button_create(8, 10, 10, 80, 20, "b");
    gadget_text_create(9, 10, 40, 80, 20, "t");
    DestroyWindow(parent);
    EXPECT_EQ(record(8), nullptr);
    EXPECT_EQ(record(9), nullptr);
    parent = GadgetParent::open(0, 0, 400, 300);
}

TEST_F(GadgetMachinery, TwoTextGadgetsWithOneBackColourShareOneBrush)
{
    gadget_text_create(1, 10, 10, 80, 20, "a");
    gadget_text_create(2, 10, 40, 80, 20, "b");
    gadget_set_colour(1, 2, RGB(0, 200, 0));
    gadget_set_colour(2, 2, RGB(0, 200, 0));
    HBRUSH brush = reinterpret_cast<HBRUSH>(record(1)->kind_data_3);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(record(2)->kind_data_3), brush);
    EXPECT_EQ(gadget_get_colour(2, 2), static_cast<int32_t>(RGB(0, 200, 0)));
    gadget_free(1);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    gadget_free(2);
    EXPECT_EQ(GetObjectType(brush), 0u);  // deleted with its last holder
}

TEST_F(GadgetMachinery, ChangingTheBackColourGivesTheOldBrushBack)
{
    gadget_text_create(1, 10, 10, 80, 20, "a");
    gadget_set_colour(1, 2, RGB(1, 2, 3));
    HBRUSH first = reinterpret_cast<HBRUSH>(record(1)->kind_data_3);
    gadget_set_colour(1, 2, RGB(4, 5, 6));
    EXPECT_EQ(GetObjectType(first), 0u);
    HBRUSH second = reinterpret_cast<HBRUSH>(record(1)->kind_data_3);
    gadget_set_colour(1, 2, -1);
    EXPECT_EQ(record(1)->kind_data_3, 0);
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(gadget_get_colour(1, 2), -1);
}

TEST(BrushCache, CountsHoldersPerColour)
{
    test_runtime_start("message boxes");
    HBRUSH a = brush_acquire(RGB(10, 20, 30));
    HBRUSH b = brush_acquire(RGB(10, 20, 30));
    HBRUSH c = brush_acquire(RGB(30, 20, 10));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    LOGBRUSH lb;
    ASSERT_EQ(GetObjectA(a, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(10, 20, 30));
    brush_release(a);
    EXPECT_EQ(GetObjectType(a), static_cast<DWORD>(OBJ_BRUSH));
    brush_release(b);
    EXPECT_EQ(GetObjectType(a), 0u);
    HBRUSH d = brush_acquire(RGB(10, 20, 30));  // a fresh entry after the old one went
    EXPECT_EQ(GetObjectType(d), static_cast<DWORD>(OBJ_BRUSH));
    brush_release(d);
    brush_release(c);
    brush_release(c);  // more releases than holders: nothing left to do
    brush_release(nullptr);
    EXPECT_EQ(GetObjectType(c), 0u);
}

TEST_F(GadgetMachinery, TopWindowIsTheNearestLibraryWindowElseTheTopmostAncestor)
{
    HWND inner = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    HWND control = CreateWindowExA(0, "Button", "", WS_CHILD, 0, 0, 10, 10, inner, nullptr, nullptr, nullptr);
    EXPECT_EQ(gadget_top_window(control), parent);
    SetPropA(inner, "RT_WindowID", reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(gadget_top_window(control), inner);
    EXPECT_EQ(gadget_top_window(inner), inner);
}

// Without a manifest a program gets the classic common controls, version 5,
// so visual styles are off whatever the application's theme.
TEST(ThemeDetect, TheClassicCommonControlsGiveNoVisualStyles)
{
    test_runtime_start("message boxes");
    int32_t version = theme_detect();
    std::printf("common controls %d.%d, themed %d\n", version >> 16, version & 0xFFFF, gadget_themed());
    EXPECT_EQ(version >> 16, 5);
    EXPECT_EQ(theme_detect(), version);  // detected once, then cached
    EXPECT_EQ(gadget_themed(), 0);
}

}  // namespace
