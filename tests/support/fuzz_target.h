// What every fuzz target shares: a broken property aborts, so that libFuzzer
// keeps the input and the replay test fails; and the heap bytes alive, read
// from the sanitizer's allocator, so that a target can tell that a parser
// left nothing allocated behind.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" size_t __sanitizer_get_current_allocated_bytes();

// The input that a replay is running, named when a property breaks (libFuzzer
// keeps the input itself).
inline const char*& fuzz_input_name()
{
    static const char* name;
    return name;
}

inline void fuzz_require(bool property)
{
    if (property)
        return;
    if (fuzz_input_name())
        fprintf(stderr, "fuzz: a property is broken on the input %s\n", fuzz_input_name());
    abort();
}

inline size_t fuzz_allocated_bytes() { return __sanitizer_get_current_allocated_bytes(); }
