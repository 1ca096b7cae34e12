// The game seen from outside.
#include "tools/autoplay/game_view.h"

#include <commctrl.h>
#include <vector>

#include "runtime/core/gdi_scope.h"
#include "tools/autoplay/texts.h"

namespace {

struct WindowSearch {
    DWORD process_id;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND window, LPARAM data)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process_id && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collect_child(HWND window, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> game_top_windows(const GameView& view)
{
    WindowSearch search = {view.process.dwProcessId, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool class_is(HWND window, const char* name)
{
    char buffer[64] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return lstrcmpiA(buffer, name) == 0;
}

// Texts are read as the system keeps them (UTF-16) and turned into
// Windows-1251 here, not in this process's code page: so a text compares
// equal only when the game's bytes became the right characters. Read in
// another code page, they become other characters, which come out as '?'.
std::string text_1251(const wchar_t* text, int length)
{
    if (length <= 0)
        return std::string();
    int size = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, "?", nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, &out[0], size, "?", nullptr);
    return out;
}

std::string window_title(HWND window)
{
    wchar_t title[128] = L"";
    return text_1251(title, GetWindowTextW(window, title, 128));
}

}  // namespace

bool game_launch(const std::string& exe, const std::string& folder, GameView& view)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + exe + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &view.process) != 0;
}

void game_release(GameView& view, bool end)
{
    if (!view.process.hProcess)
        return;
    if (end && WaitForSingleObject(view.process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(view.process.hProcess, 99);
        WaitForSingleObject(view.process.hProcess, 10000);
    }
    CloseHandle(view.process.hThread);
    CloseHandle(view.process.hProcess);
    view = GameView();
}

bool game_exited(const GameView& view, DWORD wait_ms, DWORD& code)
{
    if (WaitForSingleObject(view.process.hProcess, wait_ms) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(view.process.hProcess, &code);
    return true;
}

HWND game_find_window(const GameView& view)
{
    for (HWND window : game_top_windows(view)) {
        if (window_title(window) == SHOWN_TITLE && !class_is(window, "#32770"))
            return window;
    }
    return nullptr;
}

bool game_find_gadgets(GameView& view)
{
    std::vector<HWND> children;
    EnumChildWindows(view.window, collect_child, reinterpret_cast<LPARAM>(&children));
    view.target = view.label = view.bar = view.exit = nullptr;
    for (HWND child : children) {
        if (class_is(child, "Static")) {
            view.label = child;
        } else if (class_is(child, PROGRESS_CLASSA)) {
            view.bar = child;
        } else if (class_is(child, "Button")) {
            std::string text = window_text(child);
            if (text == SHOWN_EXIT_BUTTON)
                view.exit = child;
            else if (text.empty() && rect_in_window(view, child).top < 600)
                view.target = child;
        }
    }
    return view.target && view.label && view.bar && view.exit;
}

HWND game_find_box(const GameView& view, const char* title, const char* text)
{
    for (HWND window : game_top_windows(view)) {
        if (!class_is(window, "#32770"))
            continue;
        if (window_title(window) == title && (!text || box_text(window) == text))
            return window;
    }
    return nullptr;
}

std::string window_text(HWND window)
{
    wchar_t buffer[512] = L"";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000, &length))
        return "<no answer>";
    return text_1251(buffer, static_cast<int>(length < 512 ? length : 511));
}

std::string box_text(HWND box)
{
    // The message of a message box is the static control 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? window_text(text) : std::string();
}

int32_t bar_position(const GameView& view)
{
    DWORD_PTR position = 0;
    if (!view.bar || !SendMessageTimeoutA(view.bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &position))
        return -1;
    return static_cast<int32_t>(position);
}

RECT screen_rect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT rect_in_window(const GameView& view, HWND child)
{
    RECT outer = screen_rect(view.window);
    RECT rect = screen_rect(child);
    OffsetRect(&rect, -outer.left, -outer.top);
    return rect;
}

POINT click_point(const GameView& view, const RECT& rect)
{
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    RECT outer = screen_rect(view.window);
    ScopedGdiObject<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(view.window, shape.get()) == ERROR)
        return centre;
    // The shape is in window coordinates.
    if (PtInRegion(shape.get(), centre.x - outer.left, centre.y - outer.top))
        return centre;
    POINT best = centre;
    LONG best_distance = -1;
    for (LONG y = rect.top; y < rect.bottom; y++) {
        for (LONG x = rect.left; x < rect.right; x++) {
            if (!PtInRegion(shape.get(), x - outer.left, y - outer.top))
                continue;
            LONG distance = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y);
            if (best_distance < 0 || distance < best_distance) {
                best = {x, y};
                best_distance = distance;
            }
        }
    }
    return best;
}

bool wait_for(const std::function<bool()>& condition, DWORD timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeout_ms)
            return false;
        Sleep(10);
    }
}
