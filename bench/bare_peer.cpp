// The game's peer for the benchmarks: a bare Win32 program that shows what
// the game shows and does what a player sees it do, with nothing of the
// runtime. The same shaped, painted 600 x 620 window, the same four controls
// and boxes with the same texts; a click on the target moves the owner-drawn
// button to a random place and size and the platform scales the same 100 x 100
// picture into it (StretchBlt, HALFTONE) while painting. Measured beside the
// game by bench/game_metrics, it is the floor the game is compared with.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bench/peer_paint.h"
#include "tools/autoplay/texts.h"

// The skin's payload (region data, then the background as a BMP file image)
// made at build time by the host's make_skin, and the target picture.
extern "C" const unsigned char peer_skin[];
extern "C" const unsigned char peer_target[];

namespace {

const int WIDTH = 600, HEIGHT = 620, PLAY_AREA = 600;
const int TARGET_ID = 1, EXIT_ID = 5;
const int CLICKS_PER_GAME = 50;
const UINT_PTR CLOCK = 1;

struct Peer {
    HWND window, target, label, bar;
    HDC background;  // memory contexts holding the two pictures
    HDC picture;
    int clicks;
    int seconds;
} peer;

uint32_t read_u32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// A memory context holding a DIB section with the BMP file image's pixels.
HDC bmp_context(const unsigned char* file)
{
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(file + 14);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!bitmap || !dc)
        return nullptr;
    BITMAP shape;
    GetObjectA(bitmap, sizeof shape, &shape);
    std::memcpy(bits, file + read_u32(file + 10), static_cast<size_t>(shape.bmWidthBytes) * shape.bmHeight);
    SelectObject(dc, bitmap);
    return dc;
}

void label_show(const char* suffix)
{
    char text[64];
    std::strcpy(text, SHOWN_CLOCK_PREFIX);
    _itoa(peer.seconds, text + std::strlen(text), 10);
    std::strcat(text, suffix);
    SetWindowTextA(peer.label, text);
}

int up_to(int max) { return std::rand() % (max + 1); }

void jump()
{
    int width = up_to(120) + 20, height = up_to(120) + 20;
    int x = up_to(PLAY_AREA - width), y = up_to(PLAY_AREA - height);
    MoveWindow(peer.target, x, y, width, height, TRUE);
    SetFocus(nullptr);
    SendMessageA(peer.bar, PBM_SETPOS, ++peer.clicks < CLICKS_PER_GAME ? peer.clicks : CLICKS_PER_GAME, 0);
}

LRESULT CALLBACK peer_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ERASEBKGND:
        BitBlt(reinterpret_cast<HDC>(wparam), 0, 0, WIDTH, HEIGHT, peer.background, 0, 0, SRCCOPY);
        return 1;
    case WM_DRAWITEM:
        peer_target_draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), peer.picture);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == TARGET_ID)
            jump();
        else if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == EXIT_ID &&
                 MessageBoxA(window, SHOWN_EXIT_QUESTION, "", MB_YESNO) == IDYES)
            DestroyWindow(window);
        return 0;
    case WM_TIMER:
        ++peer.seconds;
        label_show("");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND control(const char* window_class, const char* text, DWORD style, int x, int y, int width, int height, int id)
{
    HWND made = CreateWindowExA(0, window_class, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                peer.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return made;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    std::srand(GetTickCount());
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = peer_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = "ZorvantPeer";
    RegisterClassA(&window_class);
    int x = (GetSystemMetrics(SM_CXSCREEN) - WIDTH) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - HEIGHT) / 2;
    peer.window = CreateWindowExA(0, "ZorvantPeer", SHOWN_TITLE, WS_POPUP, x, y, WIDTH, HEIGHT, nullptr, nullptr,
                                  instance, nullptr);
    const RGNDATA* region = reinterpret_cast<const RGNDATA*>(peer_skin);
    DWORD region_size = sizeof(RGNDATAHEADER) + region->rdh.nCount * sizeof(RECT);
    peer.background = bmp_context(peer_skin + region_size);
    peer.picture = bmp_context(peer_target);
    if (!peer.window || !peer.background || !peer.picture)
        return 1;
    SetWindowRgn(peer.window, ExtCreateRegion(nullptr, region_size, region), FALSE);
    ShowWindow(peer.window, SW_SHOW);
    UpdateWindow(peer.window);
    peer.target = control("BUTTON", "", BS_OWNERDRAW | WS_TABSTOP, 250, 250, 100, 100, TARGET_ID);
    peer.label = control("Static", "", 0, 0, 600, 100, 20, 0);
    peer.bar = control(PROGRESS_CLASSA, "", 0, 100, 600, 420, 20, 0);
    SendMessageA(peer.bar, PBM_SETRANGE32, 0, CLICKS_PER_GAME);
    control("Button", SHOWN_EXIT_BUTTON, WS_TABSTOP, 520, 600, 80, 20, EXIT_ID);
    MessageBoxA(peer.window, SHOWN_RULES, SHOWN_RULES_TITLE, MB_OK);
    label_show("s");
    SetTimer(peer.window, CLOCK, 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
