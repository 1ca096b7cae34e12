// Starts the runtime for a test as the program starts it, but only so far:
// the start chain's steps in order, up to and including the named one, so
// that a library has what it relies on and the libraries after it stay out.
#pragma once

// `last_step` is a step's name in the chain ("list heap", "files", "images",
// "message boxes", "skin heap", "timers", ...). Steps already run run again,
// which changes nothing. A name that is no step is a mistake in the test: it
// ends the program, naming the step.
void test_runtime_start(const char* last_step);
