// The automatic player: starts the game, plays it with real input as a
// person would, and checks what the program shows on the way.
#pragma once

#include <cstdint>

#include "tools/autoplay/options.h"
#include "tools/autoplay/report.h"

// Plays as the options say and reports every check; gives the number of
// failed checks. The game is ended if it is still running after a failure.
int32_t autoplay_run(const AutoplayOptions& options, Report& report);
