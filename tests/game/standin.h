// A scripted stand-in of the runtime for the game's rule tests: it records
// every call the game makes, with its arguments, and answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace standin {

// One step of the script that event_wait plays: an event code (with the
// gadget number that event_gadget then gives), or clock ticks, which fire the
// procedure that the game gave to timer_start before the next event.
struct Step {
    int32_t event;
    intptr_t gadget;
    int ticks;
};

Step event(int32_t code, intptr_t gadget = 0);
Step ticks(int count);

struct Script {
    std::deque<Step> steps;         // played by event_wait; then EVENT_CLOSE_WINDOW
    std::deque<int32_t> answers;    // message box answers; then IDNO
    std::deque<int32_t> randoms;    // random_up_to results; then max itself
};

extern Script script;
extern std::vector<std::string> calls;
extern std::string score_file;      // the bytes written through file 0

void reset();
// Index of the first call equal to `call` at or after `from`; -1 if none.
int find(const std::string& call, int from = 0);
// Number of calls that start with `prefix`.
int count(const std::string& prefix);

}  // namespace standin
