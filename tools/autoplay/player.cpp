// The automatic player: one session from the start of the game to its end.
// Every wait polls for a condition with a generous time-out, because the
// machine it runs on may be shared and slow.
#include "tools/autoplay/player.h"

#include <windows.h>
#include <psapi.h>
#include <cstdlib>
#include <cstring>

#include "tools/autoplay/game_view.h"
#include "tools/autoplay/input.h"
#include "tools/autoplay/score_file.h"
#include "tools/autoplay/screenshot.h"
#include "tools/autoplay/texts.h"
#include "tools/gdi_census/gdi_census.h"
#include "tools/pack/file_io.h"

namespace {

const DWORD WAIT_LONG_MS = 30000;   // a window or a box to appear, the process to end
const DWORD WAIT_CLICK_MS = 20000;  // a click to be counted
const int32_t CLICKS_PER_GAME = 50;
const RECT TARGET_START = {250, 250, 350, 350};
const POINT DRAG_BY = {50, 30};
const uint32_t CARD_ORANGE = 0x007EFF;

struct Session {
    const AutoplayOptions& options;
    Report& report;
    GameView view;
    std::string folder;
    int32_t clicks = 0;         // clicks counted in the current game
    int32_t clock = 0;          // the last seconds read from the label
    int32_t clock_faults = 0;   // labels that were no clock text or ran back
    int32_t jump_faults = 0;    // targets outside the play area or of a wrong size
    DWORD game_start_ms = 0;
};

std::string rect_text(const RECT& r)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%ld,%ld %ldx%ld", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return buffer;
}

std::string score_path(const Session& s)
{
    return s.folder + "\\score.png";
}

bool score_is_folder(const Session& s)
{
    DWORD attributes = GetFileAttributesA(score_path(s).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The game's card and record take about a kilobyte; anything past this is
// no score file of the game's, and is not read.
const uint64_t SCORE_FILE_LIMIT = 1 << 20;

std::vector<uint8_t> score_bytes(const Session& s)
{
    std::vector<uint8_t> bytes;
    file_read_limited(score_path(s), SCORE_FILE_LIMIT, bytes);
    return bytes;
}

bool game_running(const Session& s)
{
    return WaitForSingleObject(s.view.process.hProcess, 0) == WAIT_TIMEOUT;
}

void screenshot(Session& s, const char* moment)
{
    if (s.options.screenshots.empty())
        return;
    std::string path = s.options.screenshots + "-" + moment + (s.options.png ? ".png" : ".bmp");
    RECT rect = screen_rect(s.view.window);
    // The mouse away from the window, so that nothing shows as hovered.
    input_move({rect.right + 20, rect.bottom + 20});
    // The game's window and controls painted (a slow machine may still owe
    // the paint of what the rules box covered), then a moment for the screen.
    const HWND parts[] = {s.view.window, s.view.target, s.view.label, s.view.bar, s.view.exit};
    wait_for([&] {
        for (HWND part : parts)
            if (part && GetUpdateRect(part, nullptr, FALSE))
                return false;
        return true;
    }, WAIT_LONG_MS);
    Sleep(100);
    // A screen pixel just outside the window, to compare the cut corners with.
    COLORREF desktop = screen_pixel({rect.left - 5, rect.top - 5});
    if (report_check(s.report, "screenshot", screen_save(rect, path), "cannot save %s", path.c_str()))
        report_line(s.report, "screenshot %s %s window %s desktop 0x%06lX", moment, path.c_str(),
                    rect_text(rect).c_str(), static_cast<unsigned long>(desktop));
}

// Clicks a button of a message box and waits for the box to go. Under Wine a
// click on a box that has only just come up is now and then lost, so a box
// that stays gets the click again, as a person would give it.
bool box_answer(Session& s, HWND box, int button, const char* name)
{
    HWND control = GetDlgItem(box, button);
    if (!control)
        return report_check(s.report, name, false, "the box has no button %d", button);
    wait_for([&] { return GetForegroundWindow() == box; }, 3000);
    POINT point = click_point(s.view, screen_rect(control));
    auto gone = [&] { return !IsWindow(box) || !IsWindowVisible(box); };
    for (int attempt = 1; attempt <= 5; attempt++) {
        // Never click again what may lie behind a box that went meanwhile.
        if (attempt > 1 && (gone() || WindowFromPoint(point) != control))
            break;
        if (attempt > 1)
            report_line(s.report, "retry %s click %d", name, attempt);
        input_click(point);
        if (wait_for(gone, 3000))
            return report_check(s.report, name, true, "%s", "");
    }
    return report_check(s.report, name, wait_for(gone, WAIT_LONG_MS), "the box stays after the click");
}

HWND box_wait(Session& s, const char* title, const char* text, DWORD timeout_ms)
{
    HWND box = nullptr;
    wait_for([&] { return (box = game_find_box(s.view, title, text)) != nullptr || !game_running(s); }, timeout_ms);
    return box;
}

// Reads the label and checks that it is a clock text that never runs back.
int32_t clock_observe(Session& s)
{
    bool with_suffix = false;
    std::string label = window_text(s.view.label);
    int32_t seconds = clock_label_seconds(label, &with_suffix);
    if (seconds < 0 || seconds < s.clock || (with_suffix && seconds != 0)) {
        if (s.clock_faults++ == 0)
            report_line(s.report, "clock label \"%s\" after %d", report_quote(label).c_str(), s.clock);
        return s.clock;
    }
    s.clock = seconds;
    return seconds;
}

// The state of a fresh game: the label at 0 with "s", the bar empty, the
// target shown at its start place and size.
void game_fresh_check(Session& s, const char* name)
{
    std::string expected = std::string(SHOWN_CLOCK_PREFIX) + "0s";
    std::string label;
    wait_for([&] { return (label = window_text(s.view.label)) == expected; }, 5000);
    int32_t bar = -1;
    wait_for([&] { return (bar = bar_position(s.view)) == 0; }, 5000);
    RECT target = rect_in_window(s.view, s.view.target);
    bool shown = IsWindowVisible(s.view.target) != 0;
    report_check(s.report, name, label == expected && bar == 0 && shown && EqualRect(&target, &TARGET_START),
                 "label \"%s\" bar %d target %s %s", report_quote(label).c_str(), bar, rect_text(target).c_str(),
                 shown ? "shown" : "hidden");
    s.clicks = 0;
    s.clock = 0;
}

void geometry_check(Session& s)
{
    RECT window = screen_rect(s.view.window);
    RECT client = {};
    GetClientRect(s.view.window, &client);
    const int screen_w = GetSystemMetrics(SM_CXSCREEN);
    const int screen_h = GetSystemMetrics(SM_CYSCREEN);
    RECT expected = {(screen_w - 600) / 2, (screen_h - 620) / 2, (screen_w - 600) / 2 + 600, (screen_h - 620) / 2 + 620};
    report_line(s.report, "geometry window %s client %ldx%ld screen %dx%d", rect_text(window).c_str(),
                static_cast<long>(client.right), static_cast<long>(client.bottom), screen_w, screen_h);
    report_check(s.report, "geometry", EqualRect(&window, &expected) && client.right == 600 && client.bottom == 620,
                 "window %s, expected %s", rect_text(window).c_str(), rect_text(expected).c_str());
}

void gadgets_check(Session& s)
{
    struct Place {
        HWND window;
        RECT rect;
    } places[] = {
        {s.view.target, TARGET_START},
        {s.view.label, {0, 600, 100, 620}},
        {s.view.bar, {100, 600, 520, 620}},
        {s.view.exit, {520, 600, 600, 620}},
    };
    bool ok = true;
    std::string found;
    for (const Place& p : places) {
        RECT r = rect_in_window(s.view, p.window);
        ok = ok && EqualRect(&r, &p.rect);
        found += " " + rect_text(r);
    }
    report_check(s.report, "gadgets", ok, "places%s", found.c_str());
}

// From the start of the program to the first game, the rules box answered.
bool session_start(Session& s)
{
    if (!report_check(s.report, "launch", game_launch(s.options.game, s.folder, s.view), "cannot start %s",
                      s.options.game.c_str()))
        return false;
    if (!report_check(s.report, "window",
                      wait_for([&] { return (s.view.window = game_find_window(s.view)) != nullptr; }, WAIT_LONG_MS),
                      "no window \"%s\"", SHOWN_TITLE))
        return false;
    geometry_check(s);
    HWND rules = box_wait(s, SHOWN_RULES_TITLE, nullptr, WAIT_LONG_MS);
    if (!report_check(s.report, "rules", rules && box_text(rules) == SHOWN_RULES, "box %s text \"%s\"",
                      rules ? "found" : "missing", rules ? report_quote(box_text(rules)).c_str() : ""))
        return false;
    if (!report_check(s.report, "gadgets", game_find_gadgets(s.view), "target %p label %p bar %p exit %p",
                      static_cast<void*>(s.view.target), static_cast<void*>(s.view.label),
                      static_cast<void*>(s.view.bar), static_cast<void*>(s.view.exit)))
        return false;
    gadgets_check(s);
    std::string label = window_text(s.view.label);
    report_check(s.report, "label-before-rules", label.empty(), "\"%s\"", report_quote(label).c_str());
    if (!box_answer(s, rules, IDOK, "rules-ok"))
        return false;
    s.game_start_ms = GetTickCount();
    game_fresh_check(s, "start");
    return true;
}

// Waits for a clock tick (the label's seconds change); gives its time.
DWORD tick_wait(Session& s)
{
    int32_t before = clock_observe(s);
    wait_for([&] { return clock_observe(s) != before; }, 2500);
    return GetTickCount();
}

// Some clicks are timed around the clock's ticks, where the tick's label
// update races the click's handling: the 25th right after a tick, the 50th
// just before one.
void click_timing(Session& s, int32_t click)
{
    if (!s.options.tick_aligned)
        return;
    if (click == 25)
        tick_wait(s);
    if (click == CLICKS_PER_GAME) {
        DWORD tick = tick_wait(s);
        DWORD next = tick + 970;
        while (static_cast<int32_t>(next - GetTickCount()) > 0)
            Sleep(1);
    }
}

void jump_observe(Session& s)
{
    RECT r = rect_in_window(s.view, s.view.target);
    LONG w = r.right - r.left;
    LONG h = r.bottom - r.top;
    bool ok = w >= 20 && w <= 140 && h >= 20 && h <= 140 && r.left >= 0 && r.top >= 0 && r.right <= 600 &&
              r.bottom <= 600;
    if (!ok && s.jump_faults++ == 0)
        report_line(s.report, "jump to %s", rect_text(r).c_str());
}

// One click on the target, wherever it is; waits until the game counted it
// (or, for the last click of a game, until the result box is up).
bool target_click(Session& s, HWND* result)
{
    if (!wait_for([&] { return IsWindowVisible(s.view.target) != 0; }, WAIT_LONG_MS))
        return report_check(s.report, "target", false, "the target stays hidden at click %d", s.clicks + 1);
    click_timing(s, s.clicks + 1);
    s.clicks++;
    const bool last = s.clicks == CLICKS_PER_GAME;
    int32_t bar = -1;
    auto landed = [&] {
        if (last)
            return (*result = game_find_box(s.view, SHOWN_RESULT_TITLE, nullptr)) != nullptr;
        return (bar = bar_position(s.view)) >= s.clicks;
    };
    // A click that is lost (see box_answer) is given again, at the target
    // where it still is.
    bool done = false;
    for (int attempt = 1; attempt <= 5 && !done; attempt++) {
        if (attempt > 1)
            report_line(s.report, "retry click %d", s.clicks);
        input_click(click_point(s.view, screen_rect(s.view.target)));
        done = wait_for(landed, attempt < 5 ? 3000 : WAIT_CLICK_MS);
    }
    if (last)
        return report_check(s.report, "result", done, "no result box after click %d", s.clicks);
    if (bar != s.clicks) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        return report_check(s.report, "click", false, "click %d counted as %d; target %s %s, window %s, cursor %ld,%ld",
                            s.clicks, bar, rect_text(screen_rect(s.view.target)).c_str(),
                            IsWindowVisible(s.view.target) ? "shown" : "hidden",
                            rect_text(screen_rect(s.view.window)).c_str(), static_cast<long>(cursor.x),
                            static_cast<long>(cursor.y));
    }
    jump_observe(s);
    clock_observe(s);
    return true;
}

// The game's GDI census once it holds still: a paint in flight (the box
// drawn, the target hidden) has objects of its own out for a moment, which
// are no leak. Still means the same census for a third of a second.
GdiCensus census_settled(const GameView& view)
{
    const DWORD STILL_MS = 300;
    GdiCensus last = gdi_census_of(view.process.hProcess, view.process.hThread);
    if (!last.read)
        return last;
    DWORD since = GetTickCount();
    wait_for([&] {
        GdiCensus now = gdi_census_of(view.process.hProcess, view.process.hThread);
        if (now != last) {
            last = now;
            since = GetTickCount();
        }
        return GetTickCount() - since >= STILL_MS;
    }, WAIT_CLICK_MS);
    return last;
}

void resources_report(Session& s, int32_t game)
{
    if (!s.options.resources)
        return;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(s.view.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine gives no PrivateUsage for another process (0); its PagefileUsage,
    // which Windows keeps equal to PrivateUsage, is filled in.
    SIZE_T committed = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    GdiCensus gdi = census_settled(s.view);
    report_line(s.report, "resources game %d %s private %llu working %llu", game, gdi_census_text(gdi).c_str(),
                static_cast<unsigned long long>(committed), static_cast<unsigned long long>(memory.WorkingSetSize));
}

// What the result box and the stopped game show.
int32_t result_check(Session& s, HWND box, int32_t game)
{
    DWORD elapsed = GetTickCount() - s.game_start_ms;
    std::string text = box_text(box);
    int32_t seconds = result_text_seconds(text);
    report_check(s.report, "result-text", seconds >= 0, "\"%s\"", report_quote(text).c_str());
    int32_t bar = bar_position(s.view);
    report_check(s.report, "result-bar", bar == CLICKS_PER_GAME, "bar %d", bar);
    report_check(s.report, "result-target", !IsWindowVisible(s.view.target), "the target is still shown");
    // A tick that came before the clock stopped may reach the label only now.
    int32_t shown = -1;
    wait_for([&] { return (shown = clock_label_seconds(window_text(s.view.label), nullptr)) == seconds; }, 3000);
    report_check(s.report, "result-label", shown == seconds, "label %d, box %d", shown, seconds);
    // The clock counts whole seconds from the start of the game; ours ran a
    // little longer (we see the box late), and ticks may come late on a busy
    // machine, later still where told so. A clock at double speed fails every
    // game of 2 s or more; one at half speed every game of 7 s or more, or of
    // 13 s or more with a lag of 25 %.
    int32_t wall = static_cast<int32_t>(elapsed / 1000);
    int32_t lag = 3 + wall * s.options.clock_lag_percent / 100;
    report_check(s.report, "result-time", seconds <= wall + 1 && seconds + lag >= wall, "%d s shown, %lu ms measured",
                 seconds, static_cast<unsigned long>(elapsed));
    report_check(s.report, "clock", s.clock_faults == 0, "%d wrong labels", s.clock_faults);
    report_check(s.report, "jumps", s.jump_faults == 0, "%d wrong targets", s.jump_faults);
    s.clock_faults = s.jump_faults = 0;
    report_line(s.report, "game %d seconds %d clicks %d elapsed_ms %lu", game, seconds, s.clicks,
                static_cast<unsigned long>(elapsed));
    return seconds;
}

// The card and record of a finished game, once the game has written them.
void card_check(Session& s, int32_t game, int32_t seconds)
{
    if (score_is_folder(s)) {
        // A folder in the way costs the card and nothing else.
        report_line(s.report, "card %d not written: score.png is a folder", game);
        return;
    }
    ScoreFile score;
    wait_for([&] {
        score = score_file_read(score_bytes(s));
        return score.has_record && score.record.seconds == seconds;
    }, 10000);
    char name[32];
    std::snprintf(name, sizeof name, "card-%d", game);
    const Picture& card = score.card;
    bool frame = picture_pixel(card, 50, 1) == CARD_ORANGE && picture_pixel(card, 98, 50) == CARD_ORANGE &&
                 picture_pixel(card, 50, 98) == CARD_ORANGE && picture_pixel(card, 1, 50) == CARD_ORANGE &&
                 picture_pixel(card, 0, 0) == 0 && picture_pixel(card, 99, 99) == 0;
    report_check(s.report, name, score.has_record && score.record.seconds == seconds && score.has_card &&
                 card.width == 100 && card.height == 100 && frame,
                 "record %s seconds %d (want %d), card %s %dx%d, frame %s", score.has_record ? "found" : "missing",
                 score.record.seconds, seconds, score.has_card ? "found" : "missing", card.width, card.height,
                 frame ? "ok" : "wrong");
}

// The program ends by itself; it must end with exit code 0.
void exit_check(Session& s, const char* name)
{
    DWORD code = 0;
    if (!game_exited(s.view, WAIT_LONG_MS, code)) {
        report_check(s.report, name, false, "still running after %lu ms", static_cast<unsigned long>(WAIT_LONG_MS));
        return;
    }
    report_line(s.report, "exit %lu", static_cast<unsigned long>(code));
    report_check(s.report, name, code == 0, "exit code %lu", static_cast<unsigned long>(code));
}

// One game from its first click to the answer in the result box.
bool game_play(Session& s, int32_t game, bool answer_yes)
{
    HWND result = nullptr;
    while (s.clicks < CLICKS_PER_GAME) {
        if (!target_click(s, &result))
            return false;
        if (game == 1 && s.clicks == 25)
            screenshot(s, "mid");
        if (s.clicks < CLICKS_PER_GAME && s.options.pace_ms > 0)
            Sleep(s.options.pace_ms);
    }
    int32_t seconds = result_check(s, result, game);
    resources_report(s, game);
    if (game == 1)
        screenshot(s, "result");
    if (!box_answer(s, result, answer_yes ? IDYES : IDNO, answer_yes ? "result-yes" : "result-no"))
        return false;
    if (answer_yes) {
        s.game_start_ms = GetTickCount();
        game_fresh_check(s, "restart");
        card_check(s, game, seconds);
    } else {
        exit_check(s, "exit-after-no");
        card_check(s, game, seconds);
    }
    return true;
}

// Presses at from, moves the mouse by by in ten steps, waits until the
// window follows and releases. Gives how far the window went.
POINT drag(Session& s, POINT from, POINT by)
{
    RECT before = screen_rect(s.view.window);
    input_move(from);
    Sleep(30);
    input_button(from, true);
    // Give the game time to see the press before the mouse moves on.
    Sleep(300);
    POINT to = {from.x + by.x, from.y + by.y};
    for (int step = 1; step <= 10; step++) {
        input_move({from.x + by.x * step / 10, from.y + by.y * step / 10});
        Sleep(60);
    }
    // The move may begin after our last step; nudge until it shows.
    wait_for([&] {
        RECT now = screen_rect(s.view.window);
        if (now.left != before.left || now.top != before.top)
            return true;
        input_move({to.x - (by.x > 0 ? 1 : -1), to.y});
        Sleep(100);
        input_move(to);
        Sleep(100);
        return false;
    }, 5000);
    Sleep(100);
    input_button(to, false);
    // Settled: the same place over a quarter of a second.
    RECT after = screen_rect(s.view.window);
    wait_for([&] {
        Sleep(250);
        RECT now = screen_rect(s.view.window);
        bool same = EqualRect(&now, &after) != 0;
        after = now;
        return same;
    }, 5000);
    POINT moved = {after.left - before.left, after.top - before.top};
    report_line(s.report, "drag by %ld,%ld moved %ld,%ld", static_cast<long>(by.x), static_cast<long>(by.y),
                static_cast<long>(moved.x), static_cast<long>(moved.y));
    return moved;
}

// The point pressed stays under the pointer: the window moves exactly as far.
bool drag_exact(POINT moved, POINT by)
{
    return moved.x == by.x && moved.y == by.y;
}

// The screen's pixels of the clock label.
std::vector<uint8_t> label_pixels(Session& s)
{
    Picture picture;
    screen_capture(screen_rect(s.view.label), picture);
    return picture.rgb;
}

// A press held still on the background is no drag yet, and the clock goes
// on showing: the label's pixels change with a tick while the button is down.
void hold_check(Session& s)
{
    RECT rect = screen_rect(s.view.window);
    POINT at = {rect.left + 100, rect.top + 300};
    input_move(at);
    Sleep(30);
    std::vector<uint8_t> shown = label_pixels(s);
    input_button(at, true);
    bool changed = wait_for([&] { return label_pixels(s) != shown; }, 5000);
    input_button(at, false);
    RECT after = screen_rect(s.view.window);
    report_check(s.report, "hold-clock-shows", changed && EqualRect(&rect, &after), "label %s, window %s, then %s",
                 changed ? "changed" : "still", rect_text(rect).c_str(), rect_text(after).c_str());
}

// A drag on the background moves the window; a drag that starts on the
// target moves it too and counts no click; a click on the target counts one
// and moves nothing. The drag from the target goes far enough to end off the
// target, so that a press the game took for a click is released where it
// counts for nothing.
void drag_checks(Session& s)
{
    hold_check(s);
    RECT rect = screen_rect(s.view.window);
    POINT moved = drag(s, {rect.left + 100, rect.top + 300}, DRAG_BY);
    report_check(s.report, "drag-background", drag_exact(moved, DRAG_BY), "moved %ld,%ld",
                 static_cast<long>(moved.x), static_cast<long>(moved.y));

    const POINT off_target = {-(TARGET_START.right - TARGET_START.left) / 2 - 10, DRAG_BY.y};
    moved = drag(s, click_point(s.view, screen_rect(s.view.target)), off_target);
    // A click, if one were counted, shows on the bar in the pass of the loop
    // that took the release. Two ticks shown after the drag: the game has
    // taken its messages since, the release among them, and finished a pass.
    tick_wait(s);
    tick_wait(s);
    int32_t bar = bar_position(s.view);
    report_check(s.report, "drag-target", drag_exact(moved, off_target) && bar == 0, "moved %ld,%ld, bar %d",
                 static_cast<long>(moved.x), static_cast<long>(moved.y), bar);

    const POINT back = {-DRAG_BY.x, -DRAG_BY.y};
    moved = drag(s, click_point(s.view, screen_rect(s.view.exit)), back);
    report_check(s.report, "drag-exit", drag_exact(moved, back) && !game_find_box(s.view, "", nullptr),
                 "moved %ld,%ld", static_cast<long>(moved.x), static_cast<long>(moved.y));

    RECT window = screen_rect(s.view.window);
    HWND none = nullptr;
    bool counted = target_click(s, &none);
    RECT after = screen_rect(s.view.window);
    report_check(s.report, "click-no-move", counted && EqualRect(&window, &after), "window %s, then %s",
                 rect_text(window).c_str(), rect_text(after).c_str());
}

HWND exit_question(Session& s)
{
    input_click(click_point(s.view, screen_rect(s.view.exit)));
    HWND box = box_wait(s, "", SHOWN_EXIT_QUESTION, WAIT_LONG_MS);
    report_check(s.report, "exit-question", box != nullptr, "no box \"%s\"", SHOWN_EXIT_QUESTION);
    return box;
}

// The exit button: No goes on with the game, Yes quits without a card.
void quit_by_button(Session& s)
{
    std::vector<uint8_t> card = score_bytes(s);
    HWND box = exit_question(s);
    if (!box || !box_answer(s, box, IDNO, "exit-no"))
        return;
    HWND none = nullptr;
    report_check(s.report, "exit-no-goes-on", game_running(s) && target_click(s, &none), "the game stopped");
    box = exit_question(s);
    if (!box || !box_answer(s, box, IDYES, "exit-yes"))
        return;
    exit_check(s, "exit-after-yes");
    report_check(s.report, "no-card", score_bytes(s) == card, "score.png changed");
}

// Alt+F4 closes the window: the program quits without a question or a card.
void quit_by_close(Session& s)
{
    std::vector<uint8_t> card = score_bytes(s);
    SetForegroundWindow(s.view.window);
    wait_for([&] { return GetForegroundWindow() == s.view.window; }, 5000);
    input_key(VK_MENU, true);
    input_key(VK_F4, true);
    input_key(VK_F4, false);
    input_key(VK_MENU, false);
    bool asked = false;
    wait_for([&] {
        asked = asked || game_find_box(s.view, "", nullptr) != nullptr;
        return !game_running(s);
    }, WAIT_LONG_MS);
    report_check(s.report, "close-no-question", !asked, "a box came up");
    exit_check(s, "exit-after-close");
    report_check(s.report, "no-card", score_bytes(s) == card, "score.png changed");
}

void session_run(Session& s)
{
    if (!session_start(s))
        return;
    screenshot(s, "start");
    if (s.options.drag)
        drag_checks(s);
    for (int32_t game = 1; game <= s.options.games; game++) {
        bool yes = game < s.options.games || s.options.last_yes;
        if (!game_play(s, game, yes) || !yes)
            return;
    }
    HWND none = nullptr;
    while (s.clicks < s.options.clicks) {
        if (!target_click(s, &none))
            return;
        Sleep(s.options.pace_ms);
    }
    if (s.options.quit == QUIT_BUTTON)
        quit_by_button(s);
    else if (s.options.quit == QUIT_CLOSE)
        quit_by_close(s);
}

}  // namespace

int32_t autoplay_run(const AutoplayOptions& options, Report& report)
{
    Session s = {options, report, GameView(), options.folder};
    if (s.folder.empty()) {
        char here[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof here, here);
        s.folder = here;
    }
    int32_t errors_before = report.errors;
    session_run(s);
    game_release(s.view, options.quit != QUIT_NONE || report.errors != errors_before);
    report_line(report, "done %s", report.errors == errors_before ? "ok" : "errors");
    return report.errors - errors_before;
}
