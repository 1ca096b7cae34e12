// Zorvant: the rules of a game, the event loop and the clock.
// Everything the game does to the screen, the clock and the disk goes through
// the runtime's operations.
#pragma once

#include <atomic>
#include <cstdint>

// Object numbers.
const intptr_t WINDOW_MAIN = 0;
const intptr_t GADGET_TARGET = 0;
const intptr_t GADGET_CLOCK = 1;
const intptr_t GADGET_PROGRESS = 2;
const intptr_t GADGET_EXIT = 5;
const intptr_t IMAGE_TARGET = 3;
const intptr_t IMAGE_TARGET_COPY = 4;
const uint32_t TIMER_CLOCK = 0;

const int32_t CLICKS_PER_GAME = 50;

// Geometry: a 600 x 620 client area whose top 600 x 600 is the play area.
const int32_t WINDOW_WIDTH = 600;
const int32_t WINDOW_HEIGHT = 620;
const int32_t PLAY_AREA_SIZE = 600;
const int32_t TARGET_START_X = 250;
const int32_t TARGET_START_Y = 250;
const int32_t TARGET_START_SIZE = 100;
const int32_t TARGET_MIN_SIZE = 20;
const int32_t TARGET_SIZE_SPREAD = 120;  // sizes run from 20 to 20 + 120

const int32_t EVENT_WAIT_MS = 1000;
const int32_t CLOCK_PERIOD_MS = 1000;

// Window flags: WS_POPUP, WINDOW_INVISIBLE and WINDOW_CENTER_SCREEN.
const uint32_t GAME_WINDOW_FLAGS = 0x90000001;

// The game's texts, Windows-1251 bytes once compiled.
extern const char TEXT_TITLE[];
extern const char TEXT_EXIT_BUTTON[];
extern const char TEXT_RULES_TITLE[];
extern const char TEXT_RULES[];
extern const char TEXT_CLOCK_PREFIX[];
extern const char TEXT_CLOCK_SUFFIX[];
extern const char TEXT_EXIT_QUESTION[];
extern const char TEXT_RESULT_TITLE[];
extern const char TEXT_RESULT_QUESTION[];

struct GameState {
    int32_t quit;
    int32_t last_event;
    void* skin;  // the skin decoded at start-up; used once, to apply it
    int32_t click_count;
    // Written by the clock tick on the timer thread and by game_start while
    // the clock is stopped; read by the main thread after the clock stops.
    std::atomic<int32_t> seconds;
    int32_t target_width;
    int32_t target_height;
    int32_t target_x;
    int32_t target_y;
};

extern GameState game;

// The entry point: runs the program and ends the process with exit code 0.
[[noreturn]] void game_main();
// Everything game_main does before the process ends: start-up, the loop, and
// the runtime's end chain.
void game_run();

void game_start();
void game_tick();
void game_end();
// One pass of the event loop.
void game_loop_pass();
// The target jumps to a random place and size, and the click is counted.
void game_target_jump();
