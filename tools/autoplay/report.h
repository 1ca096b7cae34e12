// The player's report: one line per finding, kept in memory for a caller in
// the same process and written through to a file (a program started under
// Wine inherits its parent's standard handles, so a file is what a caller
// reads reliably).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Report {
    FILE* file = nullptr;  // flushed after every line, so a hang loses nothing
    std::vector<std::string> lines;
    int32_t errors = 0;
};

// Adds a line made as by printf.
void report_line(Report& report, const char* format, ...) __attribute__((format(printf, 2, 3)));

// "check <name> ok" when ok; otherwise "error <name>: <detail>" (made as by
// printf) and one more error. Gives ok back.
bool report_check(Report& report, const char* name, bool ok, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// A text for a report line: bytes below 0x20 as \r, \n or \xNN, the rest kept.
std::string report_quote(const std::string& text);
