// The runtime's start and end: the libraries start in one fixed order before
// the game's first statement and end in another after its last.
#pragma once

#include <cstddef>

// Starts the heaps and every library, in the order of the start chain.
void runtime_start();
// Ends the libraries in the order of the end chain, then destroys the main
// heap. The caller ends the process.
void runtime_end();

// One step of a chain: its name, as the observer below is told it, and what
// it runs.
struct RuntimeStep {
    const char* name;
    void (*run)();
};
// The start chain's steps in order, `count` of them. A test starts the
// libraries up to the one it needs with them; every step may run again.
const RuntimeStep* runtime_start_steps(size_t* count);

// Called with the name of each chain step just before it runs; null stops
// the reports. Lets a test see the order.
typedef void (*RuntimeStepObserver)(const char* step);
void runtime_observe_steps(RuntimeStepObserver observer);
