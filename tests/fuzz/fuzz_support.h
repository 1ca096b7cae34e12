// What every fuzz target shares: a broken property aborts, so that libFuzzer
// keeps the input and the replay test fails; and the heap bytes alive, read
// from the sanitizer's allocator, so that a target can tell that a parser
// left nothing allocated behind.
#pragma once

#include <cstddef>
#include <cstdlib>

extern "C" size_t __sanitizer_get_current_allocated_bytes();

inline void fuzz_require(bool property)
{
    if (!property)
        abort();
}

inline size_t fuzz_allocated_bytes() { return __sanitizer_get_current_allocated_bytes(); }
