// Whole-file reads and writes for the host tools, the automatic player, the
// end-to-end tests and the benchmarks. Reads take regular files only, and no
// more bytes than the caller allows, so a folder, a device or an oversized
// file anyone hands a tool is refused with its reason, never read for ever.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum FileReadStatus {
    FILE_READ_OK,
    FILE_READ_CANNOT_OPEN,  // missing, or not ours to read
    FILE_READ_FOLDER,
    FILE_READ_NOT_A_FILE,  // a device, a pipe or a socket
    FILE_READ_TOO_LARGE,
    FILE_READ_FAILED,  // an error while reading
};

// A sentence for the status, for people ("is a folder"). For a file that
// cannot be opened it gives the system's reason, so it is asked straight
// after the failed read.
std::string file_read_explain(FileReadStatus status);

// Opens a regular file for reading: its stream and size on FILE_READ_OK,
// else a null stream and the reason.
FileReadStatus file_open_regular(const std::string& path, FILE** file, uint64_t* size);

// Reads a regular file of at most `limit` bytes into out.
FileReadStatus file_read_limited(const std::string& path, uint64_t limit, std::vector<uint8_t>& out);

// Reads a regular file whole into out; false if it cannot.
bool file_read_all(const std::string& path, std::vector<uint8_t>& out);

// Replaces the file with the bytes; false if they were not all written.
bool file_write_all(const std::string& path, const std::vector<uint8_t>& data);
