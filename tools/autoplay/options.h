// The automatic player's command line: which game to start, where it runs,
// how many games to play and how, and where the report goes.
#pragma once

#include <cstdint>
#include <string>

// How the player ends a program that is still running after its games.
enum QuitMethod : int32_t {
    QUIT_BUTTON,  // the exit button: No to the question first, then Yes
    QUIT_CLOSE,   // Alt+F4
    QUIT_NONE,    // leave it running
};

struct AutoplayOptions {
    std::string game;         // zorvant.exe
    std::string folder;       // the game's working directory; empty: ours
    std::string report;       // report file; empty: none
    std::string screenshots;  // prefix of the screenshot files; empty: none
    bool png = false;         // screenshots as PNG files rather than BMP
    int32_t games = 1;        // games played to the end
    bool last_yes = false;    // the answer to the last result box
    int32_t clicks = 0;       // clicks of an unfinished game before quitting (the
                              // exit button check gives one more; 50 would end it)
    QuitMethod quit = QUIT_BUTTON;
    int32_t pace_ms = 40;     // between two clicks
    bool drag = false;        // the drag and hold checks, at the start of game 1
    bool tick_aligned = false;  // the 25th click right after a clock tick, the 50th just before one
    bool resources = false;   // the game's GDI objects and memory per game
    int32_t clock_lag_percent = 0;  // how far, beyond 3 s, the game's clock may fall
                                    // behind ours, as a share of the game
};

// Fills options from the arguments (argv[0] excluded). On failure, error says
// which argument was wrong.
bool options_parse(int argc, const char* const* argv, AutoplayOptions& options, std::string& error);

// The usage text.
const char* options_usage();

// A Windows path for a path given in Unix form ("/a/b" becomes "Z:\a\b", the
// drive Wine maps to the root); other paths are kept.
std::string path_from_unix(const std::string& path);
