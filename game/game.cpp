// The rules of a game: start-up, the event loop, the target jump, the clock
// tick and the end of a game.
#include "game/game.h"

#include <cstring>

#include "runtime/core/random_win.h"
#include "runtime/core/runtime.h"
#include "runtime/core/text_win.h"
#include "runtime/core/timer.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "runtime/image/image_save.h"
#include "runtime/skin/skin.h"
#include "runtime/skin/skin_window.h"
#include "game/assets.h"
#include "game/score_card.h"
#include "game/window_drag.h"

const char TEXT_TITLE[] = "Zorvant";
const char TEXT_EXIT_BUTTON[] = "Выход";
const char TEXT_RULES_TITLE[] = "Правила";
const char TEXT_RULES[] = "Нажимаем OK и погнали давить батоны.";
const char TEXT_CLOCK_PREFIX[] = "     Время :  ";
const char TEXT_CLOCK_SUFFIX[] = "s";
const char TEXT_EXIT_QUESTION[] = "Точно выйти?";
const char TEXT_RESULT_TITLE[] = "Результат";
const char TEXT_RESULT_QUESTION[] = " cek.\rПопытаться ещё разок?";

GameState game;

namespace {

void game_state_clear()
{
    game.quit = 0;
    game.last_event = 0;
    game.skin = nullptr;
    game.click_count = 0;
    game.seconds = 0;
    game.target_width = 0;
    game.target_height = 0;
    game.target_x = 0;
    game.target_y = 0;
}

void game_build_window()
{
    window_open(WINDOW_MAIN, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, TEXT_TITLE, GAME_WINDOW_FLAGS);
    gadget_list_use(window_handle(WINDOW_MAIN));
    game.skin = skin_load_ex(game_skin_container(), game_skin_container_size());
    skin_apply(window_handle(WINDOW_MAIN), game.skin);
    window_set_hidden(WINDOW_MAIN, 0);
    image_from_memory(IMAGE_TARGET, game_target_picture());
    gadget_image_create(GADGET_TARGET, TARGET_START_X, TARGET_START_Y, TARGET_START_SIZE, TARGET_START_SIZE,
                        reinterpret_cast<HANDLE>(image_handle(IMAGE_TARGET)));
    gadget_text_create(GADGET_CLOCK, 0, 600, 100, 20, "");
    gadget_progress_create(GADGET_PROGRESS, 100, 600, 420, 20, 0, CLICKS_PER_GAME);
    gadget_button_create(GADGET_EXIT, 520, 600, 80, 20, TEXT_EXIT_BUTTON);
    png_encoder_register();
}

}  // namespace

void game_run()
{
    runtime_start();
    game_state_clear();
    game_build_window();
    message_box(TEXT_RULES_TITLE, TEXT_RULES, MB_OK);
    game_start();
    while (!game.quit)
        game_loop_pass();
    runtime_end();
}

void game_main()
{
    game_run();
    ExitProcess(0);
}

void game_start()
{
    game.seconds = 0;
    int32_t s = text_begin();
    text_append(TEXT_CLOCK_PREFIX);
    text_from_int(game.seconds);
    text_append(TEXT_CLOCK_SUFFIX);
    gadget_set_text(GADGET_CLOCK, text_argument(s));
    text_end(s);
    game.click_count = 0;
    gadget_set_state(GADGET_PROGRESS, 0);
    gadget_set_hidden(GADGET_TARGET, 0);
    gadget_resize(GADGET_TARGET, TARGET_START_X, TARGET_START_Y, TARGET_START_SIZE, TARGET_START_SIZE);
    gadget_focus(-1);
    timer_start(TIMER_CLOCK, CLOCK_PERIOD_MS, game_tick);
}

void game_tick()
{
    // The timer thread must not touch the main thread's work buffer: the
    // label is built here, in storage of the tick's own.
    int32_t seconds = ++game.seconds;
    char label[sizeof TEXT_CLOCK_PREFIX + 12];
    std::memcpy(label, TEXT_CLOCK_PREFIX, sizeof TEXT_CLOCK_PREFIX - 1);
    text_format_int(label + sizeof TEXT_CLOCK_PREFIX - 1, seconds);
    gadget_set_text(GADGET_CLOCK, label);
}

void game_target_jump()
{
    game.target_width = random_up_to(TARGET_SIZE_SPREAD) + TARGET_MIN_SIZE;
    game.target_height = random_up_to(TARGET_SIZE_SPREAD) + TARGET_MIN_SIZE;
    game.target_x = random_up_to(PLAY_AREA_SIZE - game.target_width);
    game.target_y = random_up_to(PLAY_AREA_SIZE - game.target_height);
    if (image_exists(IMAGE_TARGET_COPY))
        image_free(IMAGE_TARGET_COPY);
    // Always from the untouched picture, so repeated jumps do not degrade it.
    image_copy(IMAGE_TARGET, IMAGE_TARGET_COPY);
    image_resize(IMAGE_TARGET_COPY, game.target_width, game.target_height);
    gadget_resize(GADGET_TARGET, game.target_x, game.target_y, game.target_width, game.target_height);
    // The focus goes before the new picture is painted: the target, which
    // the press gave the focus, then paints once, already without its focus
    // frame, instead of painting again for the focus it loses.
    gadget_focus(-1);
    gadget_set_state(GADGET_TARGET, image_handle(IMAGE_TARGET_COPY));
    game.click_count = game.click_count + 1;
}

void game_end()
{
    gadget_set_hidden(GADGET_TARGET, 1);
    game.click_count = 0;
    timer_stop(TIMER_CLOCK);
    int32_t finished = game.seconds;

    int32_t s = text_begin();
    text_from_int(finished);
    text_append(TEXT_RESULT_QUESTION);
    int32_t answer = message_box(TEXT_RESULT_TITLE, text_argument(s), MB_YESNO);
    text_end(s);

    if (answer == IDYES)
        game_start();
    else
        game.quit = 1;
    score_card_write(finished);
}

void game_loop_pass()
{
    game.last_event = event_wait(EVENT_WAIT_MS);
    if (game.last_event == EVENT_GADGET) {
        if (event_gadget() == GADGET_TARGET)
            game_target_jump();
        if (event_gadget() == GADGET_EXIT && message_box("", TEXT_EXIT_QUESTION, MB_YESNO) == IDYES)
            game.quit = 1;
    }
    gadget_set_state(GADGET_PROGRESS, game.click_count);
    if (game.click_count >= CLICKS_PER_GAME)
        game_end();
    if (game.last_event == WM_LBUTTONDOWN)
        game_window_drag(window_handle(WINDOW_MAIN));
    if (game.last_event == EVENT_CLOSE_WINDOW)
        game.quit = 1;
}
