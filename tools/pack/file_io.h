// Whole-file reads and writes for the host tools and the benchmark.
#pragma once

#include <cstdint>
#include <vector>

// Appends the file's bytes to out; false if it cannot be read.
bool file_read_all(const char* path, std::vector<uint8_t>& out);

// Replaces the file with the bytes; false if they were not all written.
bool file_write_all(const char* path, const std::vector<uint8_t>& data);
