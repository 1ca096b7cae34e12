// What the game shows, as the player expects to read it (Windows-1251 bytes),
// and readers for the texts that carry a number of seconds.
#pragma once

#include <cstdint>
#include <string>

extern const char SHOWN_TITLE[];
extern const char SHOWN_EXIT_BUTTON[];
extern const char SHOWN_RULES_TITLE[];
extern const char SHOWN_RULES[];
extern const char SHOWN_CLOCK_PREFIX[];
extern const char SHOWN_EXIT_QUESTION[];
extern const char SHOWN_RESULT_TITLE[];
extern const char SHOWN_RESULT_QUESTION[];

// The seconds of a clock label: the prefix, a decimal number and, only in the
// label of a fresh game, "s" (with_suffix tells which). -1 for anything else.
int32_t clock_label_seconds(const std::string& label, bool* with_suffix);

// The seconds of a result box's text: a decimal number and the question.
// -1 for anything else.
int32_t result_text_seconds(const std::string& text);

// A decimal number without sign or leading zeros at pos, up to 2147483647;
// pos moves past it. -1 when there is none.
int32_t decimal_read(const std::string& text, size_t& pos);
