// The runtime's start and end: the libraries start in one fixed order before
// the game's first statement and end in another after its last.
#pragma once

// Starts the heaps and every library, in the order of the start chain.
void runtime_start();
// Ends the libraries in the order of the end chain, then destroys the main
// heap. The caller ends the process.
void runtime_end();

// Called with the name of each chain step just before it runs; null stops
// the reports. Lets a test see the order.
typedef void (*RuntimeStepObserver)(const char* step);
void runtime_observe_steps(RuntimeStepObserver observer);
