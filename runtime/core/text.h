// Texts, the platform-free half: the decimal form of 32-bit values, shared
// by the work buffer (text_win.h) and by code on other threads that builds
// texts in storage of its own.
#pragma once

#include <cstdint>

// Longest decimal form of a 32-bit value with its zero: "-2147483648".
const int TEXT_INT_SIZE = 12;

// The decimal form of value, zero-terminated, in storage of the caller's own;
// gives its length. Safe on any thread.
int text_format_int(char out[TEXT_INT_SIZE], int32_t value);
