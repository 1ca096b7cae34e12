// The automatic player's command line.
#include "tools/autoplay/options.h"

#include <cstdlib>
#include <cstring>

namespace {

bool number_parse(const char* text, int32_t low, int32_t high, int32_t& value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (*end || v < low || v > high)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool answer_parse(const char* text, bool& yes)
{
    if (std::strcmp(text, "yes") == 0 || std::strcmp(text, "no") == 0) {
        yes = text[0] == 'y';
        return true;
    }
    return false;
}

bool quit_parse(const char* text, QuitMethod& quit)
{
    static const char* const names[] = {"button", "close", "none"};
    for (int32_t i = 0; i < 3; i++) {
        if (std::strcmp(text, names[i]) == 0) {
            quit = static_cast<QuitMethod>(i);
            return true;
        }
    }
    return false;
}

// One option that takes a value; false when the name is not one of these.
bool value_option(const std::string& name, const char* value, AutoplayOptions& o, bool& ok)
{
    ok = true;
    if (name == "--game")
        o.game = path_from_unix(value);
    else if (name == "--folder")
        o.folder = path_from_unix(value);
    else if (name == "--report")
        o.report = path_from_unix(value);
    else if (name == "--screenshots")
        o.screenshots = path_from_unix(value);
    else if (name == "--games")
        ok = number_parse(value, 0, 100000, o.games);
    else if (name == "--last")
        ok = answer_parse(value, o.last_yes);
    else if (name == "--clicks")
        ok = number_parse(value, 0, 48, o.clicks);
    else if (name == "--quit")
        ok = quit_parse(value, o.quit);
    else if (name == "--pace")
        ok = number_parse(value, 0, 60000, o.pace_ms);
    else if (name == "--clock-lag")
        ok = number_parse(value, 0, 100, o.clock_lag_percent);
    else
        return false;
    return true;
}

// One option without a value; false when the name is not one of these.
bool flag_option(const std::string& name, AutoplayOptions& o)
{
    if (name == "--drag")
        o.drag = true;
    else if (name == "--tick-aligned")
        o.tick_aligned = true;
    else if (name == "--resources")
        o.resources = true;
    else if (name == "--png")
        o.png = true;
    else
        return false;
    return true;
}

}  // namespace

bool options_parse(int argc, const char* const* argv, AutoplayOptions& options, std::string& error)
{
    options = AutoplayOptions();
    for (int i = 0; i < argc; i++) {
        std::string name = argv[i];
        if (flag_option(name, options))
            continue;
        bool ok = false;
        if (i + 1 >= argc || !value_option(name, argv[i + 1], options, ok)) {
            error = "unknown option or missing value: " + name;
            return false;
        }
        if (!ok) {
            error = "bad value for " + name + ": " + argv[i + 1];
            return false;
        }
        i++;
    }
    if (options.game.empty()) {
        error = "no --game given";
        return false;
    }
    return true;
}

const char* options_usage()
{
    return "autoplay --game ZORVANT.EXE [--folder DIR] [--report FILE] [--games N] [--last yes|no]\n"
           "         [--clicks K] [--quit button|close|none] [--pace MS] [--drag] [--tick-aligned]\n"
           "         [--resources] [--screenshots PREFIX] [--png] [--clock-lag PERCENT]\n"
           "Plays N games to the end (Yes to every result box but the last), then K clicks of a\n"
           "further game if the program still runs, then quits it as told. Writes one line per\n"
           "finding to the report; the exit code is 0 when no check failed. The game's clock may\n"
           "fall behind ours by 3 s and PERCENT of the game (0).\n";
}

std::string path_from_unix(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string windows = "Z:" + path;
    for (char& c : windows) {
        if (c == '/')
            c = '\\';
    }
    return windows;
}
