// Sequential files: numbered files opened for reading and writing, each with
// a 4096-byte write buffer, a 64-bit length query and absolute seeking. The
// library owns the file table, the open handles and their buffers.
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/core/object.h"

const int32_t FILE_BUFFER_SIZE = 4096;

// The object record of the file table.
struct FileRecord {
    HANDLE handle;          // the open file; 0 marks a free slot
    unsigned char* buffer;  // FILE_BUFFER_SIZE bytes, or null: written unbuffered
    int32_t buffer_size;    // FILE_BUFFER_SIZE
    int32_t space_left;     // pending bytes: the first buffer_size - space_left
    int32_t buffer_idle;    // 1: nothing to write (after opening and seeking)
};
static_assert(sizeof(FileRecord) == layout_size(20, 32) && offsetof(FileRecord, handle) == 0,
              "FileRecord: the file handle first");

// Start step: makes the file table (a second call keeps it). End step: every
// open file is flushed and closed.
void file_service_start();
void file_service_end();

// Opens or creates the file without truncating it, positioned at its start.
// The platform handle for a table number, the dynamic handle for OBJECT_ANY,
// 0 on failure. A file open under the number is flushed and closed first.
intptr_t file_open(ObjectNumber number, const char* name);
// A write the platform refuses (a full disk) loses nothing while the file is
// open: its bytes stay pending and later writes give 0 until they are out.
//
// Flushes and closes: 1 when every byte written reached the file, 0 when
// pending bytes could not be written (they are lost with the close). 0 and
// nothing done for OBJECT_ANY or a free number.
int32_t file_close(ObjectNumber number);

// Length in bytes with the pending bytes in place; -1 for a free number.
int64_t file_length(ObjectNumber number);
// Flushes, then moves to `position` from the start; the low 32 bits of the
// new position as the platform gives them, 0 for a free number. When the
// pending bytes cannot be written the file stays where it is, and the result
// is INVALID_SET_FILE_POINTER.
uint32_t file_seek(ObjectNumber number, int64_t position);

// The text's bytes and CR LF: the count taken, 0 for a free number.
int32_t file_write_line(ObjectNumber number, const char* text);
// The value's low 8 bits: 1 taken, 0 for a free number.
int32_t file_write_byte(ObjectNumber number, int32_t value);

// Within the library: writes the pending bytes (the count written, 0 when
// idle) and keeps those the platform did not take; puts bytes through the
// buffer (the count taken: 0 when pending bytes block the way).
int32_t file_flush(FileRecord* record);
int32_t file_write_buffered(FileRecord* record, const void* bytes, int32_t count);
// Within the runtime: one WriteFile of `count` bytes to an open platform
// file; the count the platform took. Every write of the runtime goes through
// it: the files' buffers and the image library's BMP writer.
int32_t file_write_direct(HANDLE handle, const void* bytes, int32_t count);
