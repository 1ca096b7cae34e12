// Fuzz target of the score-record reader. It returns 0 and aborts on a broken
// property; libFuzzer drives it through tools/fuzz.sh, and a host test
// replays the committed inputs through the same function.
#pragma once

#include <cstddef>
#include <cstdint>

// The reader on any bytes: it reads only inside them and keeps nothing
// allocated. And the bytes followed by the record that the game makes for the
// time in their first four bytes, read back as that time.
int fuzz_score_record(const uint8_t* data, size_t size);
