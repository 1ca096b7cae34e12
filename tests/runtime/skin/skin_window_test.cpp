// Shaped windows under Wine and Xvfb, on plain windows made here: tiling
// order and pixels, message forwarding, single subclassing, outlines with
// and without a picture, the desktop showing through cut corners, and
// records dropped with their windows.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/skin/skin.h"
#include "runtime/skin/skin_window.h"
#include "tests/runtime/skin/skin_containers.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/runtime_start.h"
#include "tests/support/window.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

const UINT PROBE_MESSAGE = WM_USER + 7;
const LRESULT PROBE_RESULT = 0x5EED;
const COLORREF BEHIND = RGB(0, 200, 0);

struct Seen {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<Seen> seen;
int own_erases;

// The windows' own procedure: logs the probe, paints its own background
// green, and answers the probe with a result of its own.
LRESULT CALLBACK own_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == PROBE_MESSAGE) {
        seen.push_back({window, message, wparam, lparam});
        return PROBE_RESULT;
    }
    if (message == WM_ERASEBKGND) {
        ++own_erases;
        RECT r;
        GetClientRect(window, &r);
        HBRUSH green = CreateSolidBrush(BEHIND);
        FillRect(reinterpret_cast<HDC>(wparam), &r, green);
        DeleteObject(green);
        return 1;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// A window of a class of its own, as the runtime's windows have, in front of
// every other.
HWND open_window(int x, int y, int width, int height)
{
    return test_window_open(x, y, width, height, own_proc, WS_EX_TOPMOST);
}

// A 32-bit bitmap whose pixel (x, y) is RGB(x * 2, y * 4, 100 + seed).
HBITMAP tile_bitmap(int width, int height, int seed = 0)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    uint32_t* p = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[y * width + x] = uint32_t(x * 2) << 16 | uint32_t(y * 4) << 8 | uint32_t(100 + seed);
    return bitmap;
}

uint32_t tile_colour(int x, int y, int seed = 0)
{
    return uint32_t(x * 2) << 16 | uint32_t(y * 4) << 8 | uint32_t(100 + seed);
}

// Pixels of an area of a window's client area, or of the screen when the
// window is null, as 0x00RRGGBB.
std::vector<uint32_t> capture(HWND window, int x, int y, int width, int height)
{
    RECT area = {x, y, x + width, y + height};
    return test_capture(window, &area).pixels;
}

// The destination rectangles of the bit-block copies that one
// WM_ERASEBKGND makes, in order, recorded through a metafile DC.
std::vector<RECT> erase_copies(HWND window)
{
    HDC metafile_dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    LRESULT erased = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(metafile_dc), 0);
    HENHMETAFILE metafile = CloseEnhMetaFile(metafile_dc);
    std::vector<RECT> out;
    if (erased != 1)
        return out;
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, UINT(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);
    for (size_t at = 0; at + 8 <= bytes.size();) {
        const EMRBITBLT* record = reinterpret_cast<const EMRBITBLT*>(&bytes[at]);
        if (record->emr.iType == EMR_BITBLT || record->emr.iType == EMR_STRETCHBLT)
            out.push_back({record->xDest, record->yDest, record->xDest + record->cxDest,
                           record->yDest + record->cyDest});
        if (record->emr.nSize == 0)
            break;
        at += record->emr.nSize;
    }
    return out;
}

class SkinWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("skin heap");
        seen.clear();
        own_erases = 0;
    }
    void TearDown() override
    {
        for (HWND w : windows)
            DestroyWindow(w);
        test_pump(100);
        for (HBITMAP b : bitmaps)
            DeleteObject(b);
        skin_free_all();
    }
    HWND window(int x, int y, int width, int height)
    {
        windows.push_back(open_window(x, y, width, height));
        return windows.back();
    }
    HBITMAP bitmap(int width, int height, int seed = 0)
    {
        bitmaps.push_back(tile_bitmap(width, height, seed));
        return bitmaps.back();
    }
    std::vector<HWND> windows;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(SkinWindow, TilesNineCopiesColumnByColumn)
{
    HWND w = window(40, 40, 250, 120);
    ASSERT_GT(skin_set_background(w, bitmap(100, 50), 1), 0);
    std::vector<RECT> copies = erase_copies(w);
    const POINT order[] = {{0, 0}, {0, 50}, {0, 100}, {100, 0}, {100, 50}, {100, 100}, {200, 0}, {200, 50}, {200, 100}};
    ASSERT_EQ(copies.size(), 9u);
    for (size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(copies[k].left, order[k].x) << k;
        EXPECT_EQ(copies[k].top, order[k].y) << k;
        EXPECT_EQ(copies[k].right - copies[k].left, 100) << k;
        EXPECT_EQ(copies[k].bottom - copies[k].top, 50) << k;
    }

    test_pump(100);
    std::vector<uint32_t> pixels = capture(w, 0, 0, 250, 120);
    int wrong = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 250; ++x)
            wrong += pixels[y * 250 + x] != tile_colour(x % 100, y % 50);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(own_erases, 1);  // before the background was set, not after
}

TEST_F(SkinWindow, OtherMessagesReachThePreviousProcedureUnchanged)
{
    HWND w = window(40, 40, 120, 80);
    ASSERT_GT(skin_set_background(w, bitmap(10, 10), 0), 0);
    EXPECT_EQ(SendMessageA(w, PROBE_MESSAGE, 0x1234, 0x56789A), PROBE_RESULT);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].window, w);
    EXPECT_EQ(seen[0].wparam, WPARAM(0x1234));
    EXPECT_EQ(seen[0].lparam, LPARAM(0x56789A));
    HDC dc = GetDC(w);
    EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(w, dc);
    EXPECT_EQ(own_erases, 1);
}

TEST_F(SkinWindow, SecondBackgroundSubclassesOnce)
{
    HWND w = window(40, 40, 120, 80);
    int32_t first = skin_set_background(w, bitmap(10, 10), 0);
    int32_t second = skin_set_background(w, bitmap(60, 30, 1), 1);
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, first);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(skin_window_proc));
    EXPECT_EQ(SendMessageA(w, PROBE_MESSAGE, 1, 2), PROBE_RESULT);
    EXPECT_EQ(seen.size(), 1u);
    std::vector<RECT> copies = erase_copies(w);
    ASSERT_EQ(copies.size(), 6u);  // 60 x 30 tiles over 120 x 80
    EXPECT_EQ(copies[1].top, 30);
    EXPECT_EQ(copies[3].left, 60);
    test_pump(100);
    std::vector<uint32_t> pixels = capture(w, 0, 0, 120, 80);
    EXPECT_EQ(pixels[35 * 120 + 70], tile_colour(10, 5, 1));
}

TEST_F(SkinWindow, RefusedArguments)
{
    HWND w = window(40, 40, 50, 50);
    EXPECT_EQ(skin_set_background(nullptr, bitmap(4, 4), 0), 0);
    EXPECT_EQ(skin_set_background(w, nullptr, 0), 0);
    EXPECT_EQ(skin_window_record(nullptr, 1), -1);
    EXPECT_EQ(skin_window_record(w, 0), -1);
    // Not a bitmap: the record stays free and the window unsubclassed.
    EXPECT_EQ(skin_set_background(w, reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH)), 0), 0);
    EXPECT_EQ(skin_window_record(w, 0), -1);
    HBITMAP gone = tile_bitmap(4, 4);
    DeleteObject(gone);
    EXPECT_EQ(skin_set_background(w, gone, 0), 0);
    EXPECT_EQ(skin_window_record(w, 0), -1);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(own_proc));
}

TEST_F(SkinWindow, ApplyingAnUnknownSkinChangesNothing)
{
    HWND w = window(40, 40, 100, 100);
    std::vector<uint8_t> c = plain_container({});
    ASSERT_NE(skin_load_ex(c.data(), c.size()), nullptr);
    EXPECT_EQ(skin_apply(w, c.data()), 0);
    EXPECT_EQ(skin_apply(w, nullptr), 0);
    EXPECT_EQ(skin_apply(nullptr, skin_load(asset_skin)), 0);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, probe), ERROR);
    DeleteObject(probe);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(own_proc));
}

// A window that refuses the region leaves it to us: it is deleted.
TEST_F(SkinWindow, ARegionTheWindowRefusesIsNotLeft)
{
    HWND gone = open_window(40, 40, 60, 60);
    DestroyWindow(gone);
    ContainerLayout layout;
    layout.picture_width = 0;
    std::vector<uint8_t> c = plain_container(layout);
    void* skin = skin_load_ex(c.data(), c.size());
    ASSERT_NE(skin, nullptr);
    GdiCensus before = gdi_census();
    skin_apply(gone, skin);
    EXPECT_EQ(gdi_census(), before);
}

TEST_F(SkinWindow, SkinWithoutPictureGivesOnlyTheOutline)
{
    HWND w = window(40, 40, 100, 100);
    ContainerLayout layout;
    layout.picture_width = 0;
    layout.rects = {{0, 0, 60, 50}, {0, 50, 30, 100}};
    std::vector<uint8_t> c = plain_container(layout);
    void* skin = skin_load_ex(c.data(), c.size());
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin_apply(w, skin), 1);
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, outline), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(outline, 10, 70));
    EXPECT_FALSE(PtInRegion(outline, 50, 70));
    DeleteObject(outline);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(own_proc));
    EXPECT_EQ(GetClassLongPtrA(w, GCLP_HBRBACKGROUND), LONG_PTR(COLOR_BTNFACE + 1));
    EXPECT_EQ(skin_window_record(w, 0), -1);
}

TEST_F(SkinWindow, GameSkinShapesTheWindowAndShowsWhatLiesBehind)
{
    // A green window behind, the skinned game-sized window in front.
    window(0, 0, 1024, 768);
    HWND w = window(100, 40, 600, 620);
    void* skin = skin_load(asset_skin);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin_apply(w, skin), 1);
    EXPECT_EQ(GetClassLongPtrA(w, GCLP_HBRBACKGROUND), 0);

    std::vector<RECT> copies = erase_copies(w);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].left, 0);
    EXPECT_EQ(copies[0].top, 0);
    EXPECT_EQ(copies[0].right, 600);
    EXPECT_EQ(copies[0].bottom, 620);
    // The paints from here on leave nothing behind but the shared context,
    // which the end step deletes.
    skin_windows_end();
    GdiCensus before = gdi_census();

    test_pump(100);
    std::vector<uint32_t> shot = capture(nullptr, 100, 40, 600, 620);
    std::vector<uint32_t> picture = test_bitmap_pixels(skin_slot_find(skin)->bitmap, 600, 620);
    ASSERT_EQ(picture.size(), 600u * 620);
    auto at = [&shot](int x, int y) { return shot[y * 600 + x]; };
    const uint32_t green = 0x00C800;
    EXPECT_EQ(at(0, 0), green);      // corners cut away
    EXPECT_EQ(at(2, 2), green);
    EXPECT_EQ(at(597, 617), green);
    EXPECT_EQ(at(0, 619), green);
    EXPECT_EQ(at(599, 300), green);  // the outline ends at column 599
    for (POINT p : {POINT{300, 300}, POINT{16, 2}, POINT{0, 14}, POINT{598, 605}, POINT{300, 610}})
        EXPECT_EQ(at(p.x, p.y), picture[p.y * 600 + p.x]) << p.x << "," << p.y;
    for (int repaint = 0; repaint < 2; ++repaint) {
        InvalidateRect(w, nullptr, TRUE);
        test_pump(100);
    }
    skin_windows_end();
    EXPECT_EQ(gdi_census(), before);
}

TEST_F(SkinWindow, DestroyedWindowDropsItsRecord)
{
    HWND first = open_window(40, 40, 60, 60);
    int32_t index = skin_set_background(first, bitmap(8, 8), 0);
    ASSERT_GT(index, 0);
    EXPECT_EQ(skin_window_record(first, 0), index - 1);
    DestroyWindow(first);
    EXPECT_EQ(skin_window_record(first, 0), -1);
    // The free record serves the next window.
    HWND second = window(40, 40, 60, 60);
    EXPECT_EQ(skin_set_background(second, bitmap(8, 8), 0), index);
    EXPECT_EQ(SendMessageA(second, PROBE_MESSAGE, 3, 4), PROBE_RESULT);
}

TEST_F(SkinWindow, MemoryDcIsRemadeAfterTheEndStep)
{
    HWND w = window(40, 40, 40, 40);
    ASSERT_GT(skin_set_background(w, bitmap(40, 40), 1), 0);
    skin_windows_end();
    skin_windows_end();  // a second end step does nothing
    InvalidateRect(w, nullptr, TRUE);
    test_pump(100);
    std::vector<uint32_t> pixels = capture(w, 0, 0, 40, 40);
    EXPECT_EQ(pixels[20 * 40 + 30], tile_colour(30, 20));
}

}  // namespace
