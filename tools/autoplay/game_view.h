// The game as the player sees it from outside: its process, its window and
// the child windows of its gadgets, its message boxes, and what they show.
#pragma once

#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>

struct GameView {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;  // "Zorvant"
    HWND target = nullptr;  // the image gadget: a button without text in the play area
    HWND label = nullptr;   // the clock: a static control
    HWND bar = nullptr;     // the progress bar
    HWND exit = nullptr;    // the button "Выход"
};

// Starts the game with the folder as its working directory.
bool game_launch(const std::string& exe, const std::string& folder, GameView& view);
// Closes the process handles; with end, first ends a game that still runs
// (after a failed run).
void game_release(GameView& view, bool end);
// True once the process has ended within the wait; code gets its exit code.
bool game_exited(const GameView& view, DWORD wait_ms, DWORD& code);

// The visible top-level window titled "Zorvant" of the game's process.
HWND game_find_window(const GameView& view);
// Finds the gadgets' child windows; true when all four are there.
bool game_find_gadgets(GameView& view);
// A visible dialog box of the game's process with this title and, unless
// text is null, this message text.
HWND game_find_box(const GameView& view, const char* title, const char* text);

// The text of a window of the game (WM_GETTEXT, with a time-out), as
// Windows-1251 bytes whatever this process's code page; a character outside
// that code page reads as '?'.
std::string window_text(HWND window);
// The message text of a message box.
std::string box_text(HWND box);
// The progress bar's position (PBM_GETPOS); -1 when it cannot be read.
int32_t bar_position(const GameView& view);
// A window's rectangle on the screen.
RECT screen_rect(HWND window);
// A child's rectangle relative to the game window's top-left corner.
RECT rect_in_window(const GameView& view, HWND child);
// A point of the screen rectangle that the game window's shape does not cut
// away, as near to the rectangle's centre as possible.
POINT click_point(const GameView& view, const RECT& rect);

// Polls the condition every 10 ms until it holds (true) or the time is up.
bool wait_for(const std::function<bool()>& condition, DWORD timeout_ms);
