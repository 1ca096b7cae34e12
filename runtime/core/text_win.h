// Texts, the Win32 half: the work buffer in which every temporary text is
// built, the string variables kept in the string heap, and the text
// operations of the game. The buffer, the heap and every function here belong
// to the main thread; text.h formats numbers on any thread.
//
// A string expression is built at the buffer's position and then either
// stored or passed on:
//     int32_t s = text_begin();
//     text_append("Time: "); text_from_int(seconds); text_append("s");
//     gadget_set_text(1, text_argument(s));   // or text_store(&variable, s)
//     text_end(s);
// A pointer into the buffer stays valid only until the buffer next grows;
// offsets (text_offset_of) survive growth.
#pragma once

#include <cstdint>

#include "runtime/core/text.h"

// Start-chain step: makes the string heap and the 16-byte buffer; a later call
// does nothing.
void text_library_start();

// The string heap (a HANDLE), which holds the buffer and the variables' blocks.
void* text_heap();
// The buffer's usable size: it grows to position + n + 16384 when a
// reservation of n would reach capacity - 4.
int32_t text_capacity();

// n bytes at offset `at` (the current position), growing the buffer first if
// needed; the position becomes at + n. Null, and nothing changed, for a bad
// n or at or when the heap has no room for the growth.
char* text_reserve(int32_t n, int32_t at);
// Appends the text at the position and terminates it; a null text only writes
// the zero. The text may lie in the buffer itself.
void text_append(const char* text);
// Copies n bytes (the areas may overlap) and writes a zero behind them.
void text_copy(char* destination, const char* source, int32_t n);
// Moves the position back by n, giving back the spare end of a reservation.
void text_drop(int32_t n);
// Moves the text built since `start` into the variable's own block (length + 5
// bytes, made or re-allocated) and sets the position back to `start`. A
// variable is a char* that is null until its first store.
void text_store(char** variable, int32_t start);
// Frees a variable's block; null is ignored.
void text_free(char* block);
// 1-based offset of a pointer within buffer[0, position] (both ends), else 0.
int32_t text_offset_of(const char* pointer);
// The pointer at a 1-based offset: buffer + offset - 1.
char* text_at_offset(int32_t offset);

// The start of a string expression: the current position.
int32_t text_begin();
// Finishes the expression begun at `start` as an argument: terminates it,
// moves the position past its zero (so that the called operation may use the
// buffer) and gives its start.
char* text_argument(int32_t start);
// Ends the expression begun at `start`: the position goes back there.
void text_end(int32_t start);

// Operations that make a text append it at the position and give its start.
// A null source text counts as empty and may lie in the buffer.
char* text_from_int(int32_t value);
// Bytes before the terminating zero; 0 for null.
int32_t text_length(const char* text);
// Up to count bytes from byte number start (1-based; 1 or less is the first
// byte); empty for a start beyond the end or a count of 0 or less.
char* text_middle(const char* text, int32_t start, int32_t count);
// The first byte, 0 to 255; 0 for an empty or null text.
int32_t text_code(const char* text);
// The one byte value mod 256; empty if that byte is 0.
char* text_from_code(int32_t value);
