// The game measured from outside, as a player meets it, beside its bare peer
// (bench/bare_peer) measured the same way in the same run: start-up to the
// painted window and click to repainted target for both; for the game also
// idle processor time, the clock's drift over 60 s and the private memory
// after start-up. Starts each program in a fresh temporary folder, answers its
// rules box, measures, then quits it through the exit button. Prints
// "name value" lines for tools/bench.sh. With the argument "nothing" it only
// exits (Wine's own process start cost); with "clicks" after the two programs
// it measures only start-up and clicks; with "count" it clicks one program
// between markers for tools/click-requests.sh, which counts the wineserver
// requests of each click.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tools/autoplay/game_view.h"
#include "tools/autoplay/input.h"
#include "tools/autoplay/options.h"
#include "tools/autoplay/screenshot.h"
#include "tools/autoplay/texts.h"
#include "bench/bench_clock.h"

namespace {

const DWORD WAIT_LONG_MS = 30000;
const int CLICKS = 25;  // a turn
const int CHILD_STARTS = 5;
const int ROUNDS = 4;  // each program's turns
const DWORD IDLE_MS = 10000;
const double CLOCK_SECONDS = 60.0;
// Window points away from the target, the gadgets row and the rules box
// (which Wine centres on the screen, over the window's middle).
const POINT SAMPLES[] = {{100, 100}, {500, 100}, {100, 480}, {500, 480}, {300, 170}};
const int SAMPLE_COUNT = sizeof SAMPLES / sizeof SAMPLES[0];

double filetime_ms(const FILETIME& t)
{
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
}

// The wall clock in milliseconds since 1601, as precise as the system has it.
// The precise call is looked up at run time: the build targets Windows 7.
double system_ms()
{
    typedef VOID(WINAPI * PreciseTime)(LPFILETIME);
    static PreciseTime precise = reinterpret_cast<PreciseTime>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME t;
    if (precise)
        precise(&t);
    else
        GetSystemTimeAsFileTime(&t);
    return filetime_ms(t);
}

double percentile(std::vector<double> values, int per_cent)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() * per_cent / 100];
}

double median(const std::vector<double>& values)
{
    return percentile(values, 50);
}

double process_cpu_ms(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1;
    return filetime_ms(kernel) + filetime_ms(user);
}

bool alive(const GameView& view)
{
    return WaitForSingleObject(view.process.hProcess, 0) == WAIT_TIMEOUT;
}

// Wine's cost of one process: CreateProcessA of this program with "nothing"
// until it has ended. The median of a few.
double child_start_ms(const char* self)
{
    std::vector<double> runs;
    for (int i = 0; i < CHILD_STARTS; i++) {
        std::string line = std::string("\"") + self + "\" nothing";
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back(0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        double start = now_ms();
        if (!CreateProcessA(self, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
            return -1;
        WaitForSingleObject(child.hProcess, WAIT_LONG_MS);
        runs.push_back(now_ms() - start);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    return median(runs);
}

struct Sample {
    double wall_ms;    // system_ms() when read
    COLORREF pixels[SAMPLE_COUNT];
};

void sample_read(const GameView& view, Sample& sample)
{
    RECT outer = screen_rect(view.window);
    sample.wall_ms = system_ms();
    for (int i = 0; i < SAMPLE_COUNT; i++)
        sample.pixels[i] = screen_pixel({outer.left + SAMPLES[i].x, outer.top + SAMPLES[i].y});
}

struct HiddenSearch {
    DWORD process_id;
    bool found;
};

BOOL CALLBACK hidden_window_seek(HWND window, LPARAM data)
{
    HiddenSearch* search = reinterpret_cast<HiddenSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    if (owner == search->process_id && GetWindowTextA(window, title, sizeof title) &&
        std::strcmp(title, SHOWN_TITLE) == 0)
        search->found = true;
    return !search->found;
}

// The game's window exists, shown or not: the game opens it hidden before the
// skin, so this marks the end of the process's and the runtime's start.
bool window_exists(const GameView& view)
{
    HiddenSearch search = {view.process.dwProcessId, false};
    EnumWindows(hidden_window_seek, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds after the game's process was created.
struct Startup {
    std::vector<double> created;  // the window opened (hidden)
    std::vector<double> visible;  // the window found visible
    std::vector<double> painted;  // and its pixels the skin's
    std::vector<double> wall;     // painted, from just before CreateProcessA
    size_t polls = 0;
};

// The game or its bare peer, and what was measured of it.
struct Program {
    const char* key;  // prefix of its output lines
    std::string exe;
    Startup startup;
    std::vector<double> clicks;  // click to repainted target, every click
    int lost = 0;
};

// From the start to the rules box: polls for the visible window and then its
// pixels. The window counts as painted from the first reading whose sample
// pixels are all those it shows once the rules box is up. Gives the rules box.
HWND startup_measure(GameView& view, double launch_wall_ms, Startup& startup)
{
    std::vector<Sample> samples;
    double created_window_ms = -1;
    double visible_ms = -1;
    HWND rules = nullptr;
    double deadline = now_ms() + WAIT_LONG_MS;
    while (!rules && alive(view) && now_ms() < deadline) {
        if (created_window_ms < 0 && window_exists(view))
            created_window_ms = system_ms();
        if (!view.window) {
            view.window = game_find_window(view);
            if (view.window)
                visible_ms = system_ms();
        }
        if (view.window) {
            samples.push_back(Sample());
            sample_read(view, samples.back());
            rules = game_find_box(view, SHOWN_RULES_TITLE, SHOWN_RULES);
        } else {
            Sleep(1);
        }
    }
    if (!rules)
        return nullptr;
    Sample final_look;
    sample_read(view, final_look);
    double painted_ms = -1;
    for (size_t i = samples.size(); i-- > 0;) {
        if (std::memcmp(samples[i].pixels, final_look.pixels, sizeof final_look.pixels) != 0)
            break;
        painted_ms = samples[i].wall_ms;
    }
    FILETIME created, ended, kernel, user;
    GetProcessTimes(view.process.hProcess, &created, &ended, &kernel, &user);
    double created_ms = filetime_ms(created);
    if (painted_ms < 0)
        return nullptr;
    startup.created.push_back(created_window_ms - created_ms);
    startup.visible.push_back(visible_ms - created_ms);
    startup.painted.push_back(painted_ms - created_ms);
    startup.wall.push_back(painted_ms - launch_wall_ms);
    startup.polls += samples.size();
    return rules;
}

// Clicks a box's button until done holds (polled every millisecond): under
// Wine a click on a box that has only just come up is now and then lost.
bool box_click(const GameView& view, HWND box, int button, const std::function<bool()>& done)
{
    HWND control = GetDlgItem(box, button);
    if (!control)
        return false;
    wait_for([&] { return GetForegroundWindow() == box; }, 3000);
    POINT point = click_point(view, screen_rect(control));
    for (int attempt = 0; attempt < 5; attempt++) {
        if (attempt > 0 && (!IsWindow(box) || WindowFromPoint(point) != control))
            break;
        input_click(point);
        double deadline = now_ms() + 3000;
        while (now_ms() < deadline) {
            if (done())
                return true;
            Sleep(1);
        }
    }
    return done();
}

void memory_report(const GameView& view)
{
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(view.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine gives no PrivateUsage for another process; its PagefileUsage,
    // which Windows keeps equal to it, is filled in.
    SIZE_T committed = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    std::printf("private_bytes %llu\n", static_cast<unsigned long long>(committed));
}

bool label_reads(const GameView& view, int32_t seconds)
{
    return clock_label_seconds(window_text(view.label), nullptr) == seconds;
}

// The time of the moment the label first reads the seconds, polled every
// millisecond; -1 when it does not within the wait.
double label_wait(const GameView& view, int32_t seconds, DWORD timeout_ms)
{
    double deadline = now_ms() + timeout_ms;
    while (now_ms() < deadline) {
        double before = now_ms();
        if (label_reads(view, seconds))
            return before;
        Sleep(1);
    }
    return -1;
}

// One click on the target: from the SendInput of the release (the control
// reports a click on the release) until the target's window has moved and
// at least half the pixels of its new place differ from what the screen
// showed there before the press. -1 when the click is not seen.
double click_measure(const GameView& view)
{
    RECT old_place = screen_rect(view.target);
    RECT outer = screen_rect(view.window);
    Picture before;
    if (!screen_capture(outer, before))
        return -1;
    POINT point = click_point(view, old_place);
    input_move(point);
    Sleep(15);
    input_button(point, true);
    Sleep(15);
    double start = now_ms();
    input_button(point, false);
    while (now_ms() - start < 2000) {
        RECT place = screen_rect(view.target);
        if (EqualRect(&place, &old_place))
            continue;
        Picture now;
        if (!screen_capture(place, now))
            continue;
        int differ = 0;
        for (int y = 0; y < now.height; y++)
            for (int x = 0; x < now.width; x++)
                differ += picture_pixel(now, x, y) !=
                          picture_pixel(before, place.left - outer.left + x, place.top - outer.top + y);
        if (2 * differ >= now.width * now.height)
            return now_ms() - start;
    }
    return -1;
}

// Clicks the target, each click once the bar has counted the one before.
void clicks_measure(const GameView& view, Program& program)
{
    int seen = bar_position(view);
    for (int i = 0; i < CLICKS; i++) {
        double t = click_measure(view);
        if (t < 0)
            program.lost++;
        else
            program.clicks.push_back(t);
        ++seen;
        wait_for([&] { return bar_position(view) >= seen; }, 3000);
        Sleep(60);
    }
}

bool game_quit(GameView& view)
{
    input_click(click_point(view, screen_rect(view.exit)));
    HWND box = nullptr;
    wait_for([&] { return (box = game_find_box(view, "", SHOWN_EXIT_QUESTION)) != nullptr || !alive(view); },
             WAIT_LONG_MS);
    if (!box || !box_click(view, box, IDYES, [&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        return false;
    DWORD code = 1;
    return game_exited(view, WAIT_LONG_MS, code) && code == 0;
}

// The folder the game runs in: new and empty, so that its score file lands
// nowhere else.
std::string folder_make()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    char name[64];
    std::snprintf(name, sizeof name, "zorvant-bench-%lu", static_cast<unsigned long>(GetCurrentProcessId()));
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void folder_remove(const std::string& folder)
{
    DeleteFileA((folder + "\\score.png").c_str());
    RemoveDirectoryA(folder.c_str());
}

// Starts the program, measures its start-up and answers its rules box, after
// which its clock label reads "0s": the moment of that reading, -1 on failure.
double session_start(Program& program, const std::string& folder, GameView& view)
{
    double launch_wall_ms = system_ms();
    if (!game_launch(program.exe, folder, view))
        return -1;
    HWND rules = startup_measure(view, launch_wall_ms, program.startup);
    if (!rules || !game_find_gadgets(view))
        return -1;
    if (std::strcmp(program.key, "game") == 0)
        memory_report(view);
    double game_start = -1;
    box_click(view, rules, IDOK, [&] {
        double before = now_ms();
        if (!label_reads(view, 0))
            return false;
        game_start = before;
        return true;
    });
    return game_start;
}

void program_report(const Program& program)
{
    const Startup& s = program.startup;
    std::printf("%s_start_window_ms %.1f\n", program.key, median(s.created));
    std::printf("%s_start_visible_ms %.1f\n", program.key, median(s.visible));
    std::printf("%s_start_painted_ms %.1f\n", program.key, median(s.painted));
    std::printf("%s_start_wall_ms %.1f\n", program.key, median(s.wall));
    std::printf("%s_start_runs %zu\n", program.key, s.painted.size());
    std::printf("%s_start_polls %zu\n", program.key, s.polls);
    std::printf("%s_click_median_ms %.1f\n", program.key, median(program.clicks));
    std::printf("%s_click_p99_ms %.1f\n", program.key, percentile(program.clicks, 99));
    std::printf("%s_click_count %zu\n", program.key, program.clicks.size());
    std::printf("%s_click_lost %d\n", program.key, program.lost);
}

// The idle processor time, then the clock's drift, of a game whose label
// read "0s" at game_start.
bool idle_and_clock(const GameView& view, Program& game, double game_start)
{
    // Idle: nothing is asked of the game, not even its label.
    double cpu_before = process_cpu_ms(view.process.hProcess);
    double idle_start = now_ms();
    Sleep(IDLE_MS);
    double cpu_after = process_cpu_ms(view.process.hProcess);
    double idle_wall = now_ms() - idle_start;
    // The time spent before shows that the reading works at all.
    std::printf("start_cpu_ms %.1f\n", cpu_before);
    std::printf("idle_cpu_ms %.1f\n", cpu_after - cpu_before);
    std::printf("idle_wall_ms %.1f\n", idle_wall);
    std::printf("idle_percent %.3f\n", 100.0 * (cpu_after - cpu_before) / idle_wall);
    std::fflush(stdout);
    clicks_measure(view, game);
    // The clock: the label is polled from 1.5 s before it should read 60.
    double poll_from = game_start + (CLOCK_SECONDS - 1.5) * 1000.0;
    while (now_ms() < poll_from)
        Sleep(10);
    double sixty = label_wait(view, static_cast<int32_t>(CLOCK_SECONDS), 5000);
    if (sixty < 0) {
        std::printf("error the label did not read %d\n", static_cast<int>(CLOCK_SECONDS));
        return false;
    }
    std::printf("clock_drift_ms %.1f\n", sixty - game_start - CLOCK_SECONDS * 1000.0);
    return true;
}

// The game and its peer take turns, game first in even rounds and peer first
// in odd ones, so that a change of the shared machine's load falls on both
// alike. Each turn is a start-up, the rules box, clicks on the target and the
// exit question; unless only starts and clicks are asked for, the game's last
// turn also measures idle time and the clock.
int measure(const char* self, const std::string& game_exe, const std::string& peer_exe, bool clock)
{
    std::printf("wine_child_start_ms %.1f\n", child_start_ms(self));
    std::fflush(stdout);
    std::string folder = folder_make();
    Program game = {"game", game_exe, {}, {}}, peer = {"peer", peer_exe, {}, {}};
    bool ok = true;
    for (int round = 0; round < ROUNDS && ok; round++) {
        for (int turn = 0; turn < 2 && ok; turn++) {
            Program& program = (round + turn) % 2 == 0 ? game : peer;
            GameView view;
            double game_start = session_start(program, folder, view);
            if (game_start < 0) {
                std::printf("error %s did not start its game\n", program.key);
                game_release(view, true);
                ok = false;
                break;
            }
            if (clock && &program == &game && round == ROUNDS - 1)
                ok = idle_and_clock(view, game, game_start);
            else
                clicks_measure(view, program);
            if (!game_quit(view)) {
                std::printf("error %s did not quit\n", program.key);
                ok = false;
            }
            game_release(view, !ok);
        }
    }
    program_report(game);
    program_report(peer);
    folder_remove(folder);
    return ok ? 0 : 1;
}

// A marker in the wineserver's trace: the open request of an event that
// exists nowhere, named "zorvant-click-<label>-<process id>-<click>-<edge>".
void trace_mark(const char* label, DWORD process_id, int click, const char* edge)
{
    char name[96];
    std::snprintf(name, sizeof name, "zorvant-click-%s-%04lx-%d-%s", label, static_cast<unsigned long>(process_id),
                  click, edge);
    OpenEventA(SYNCHRONIZE, FALSE, name);
}

// Moves the pointer to the point until it stays there: the X side of Wine
// sometimes reports an earlier position once more after a move, and the
// press would then move the pointer again, with the motion events that a
// move brings.
void pointer_settle(POINT point)
{
    for (int attempt = 0; attempt < 10; attempt++) {
        input_move(point);
        Sleep(60);
        POINT now = {};
        GetCursorPos(&now);
        if (now.x != point.x || now.y != point.y)
            continue;
        Sleep(60);
        GetCursorPos(&now);
        if (now.x == point.x && now.y == point.y)
            return;
    }
}

// Clicks on the target of one program, each between two markers: from just
// before the press to a quarter of a second after the release, when the
// program has long gone back to waiting. Each click comes just after a clock
// tick, so that no tick falls between its markers.
int count_clicks(const char* label, const std::string& exe, int clicks)
{
    std::string folder = folder_make();
    Program program = {label, exe, {}, {}};
    GameView view;
    bool ok = session_start(program, folder, view) >= 0;
    int counted = 0;
    for (int i = 0; ok && i < clicks; i++) {
        std::string before = window_text(view.label);
        wait_for([&] { return window_text(view.label) != before; }, 2000);
        // The bar is read (a message the program handles) and the tick's
        // label painted; then the pointer rests on the target.
        int bar = bar_position(view);
        POINT point = click_point(view, screen_rect(view.target));
        pointer_settle(point);
        trace_mark(label, view.process.dwProcessId, i, "begin");
        input_button(point, true);
        Sleep(15);
        input_button(point, false);
        Sleep(250);
        trace_mark(label, view.process.dwProcessId, i, "end");
        counted += bar_position(view) == bar + 1;
    }
    std::printf("%s_count_clicks %d of %d\n", label, counted, clicks);
    ok = ok && counted == clicks && game_quit(view);
    game_release(view, !ok);
    folder_remove(folder);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "nothing") == 0)
        return 0;
    if (argc == 5 && std::strcmp(argv[1], "count") == 0)
        return count_clicks(argv[2], path_from_unix(argv[3]), std::atoi(argv[4]));
    bool clock = argc == 3;
    if (!clock && !(argc == 4 && std::strcmp(argv[3], "clicks") == 0)) {
        std::fprintf(stderr, "usage: game_metrics <zorvant.exe> <bare_peer.exe> [clicks] | count <label> <program.exe>"
                             " <clicks> | nothing (Unix or Windows paths)\n");
        return 2;
    }
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    return measure(self, path_from_unix(argv[1]), path_from_unix(argv[2]), clock);
}
