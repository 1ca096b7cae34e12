// Sequential files: the file table, buffered writes and their flush rule,
// length and seeking. Small writes gather in each file's 4096-byte buffer and
// reach the platform in one WriteFile when the buffer would fill.
#include "runtime/file/file.h"

#include <cstring>

#include "runtime/core/heap.h"

namespace {

ObjectTable* files;

FileRecord* file_record(ObjectNumber number)
{
    return files ? static_cast<FileRecord*>(object_table_find(files, number)) : nullptr;
}

// Buffered when the record has a buffer, else one WriteFile.
int32_t write_bytes(FileRecord* record, const void* bytes, int32_t count)
{
    if (record->buffer)
        return file_write_buffered(record, bytes, count);
    return file_write_direct(record->handle, bytes, count);
}

int32_t pending_bytes(const FileRecord* record)
{
    if (!record->buffer || record->buffer_idle)
        return 0;
    return record->buffer_size - record->space_left;
}

int64_t platform_position(HANDLE handle)
{
    LONG high = 0;
    DWORD low = SetFilePointer(handle, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return 0;
    return (static_cast<int64_t>(high) << 32) | low;
}

// The table's free operation: closing, whatever became of the bytes.
void file_free(ObjectNumber number)
{
    file_close(number);
}

}  // namespace

void file_service_start()
{
    if (!files)
        files = object_table_create(sizeof(FileRecord), 16, file_free);
}

void file_service_end()
{
    if (files)
        object_table_free_all(files);
}

intptr_t file_open(ObjectNumber number, const char* name)
{
    if (!files)
        return 0;
    FileRecord* record = static_cast<FileRecord*>(object_table_claim(files, number));
    if (!record)
        return 0;
    HANDLE handle = name ? CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                         : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE || !handle) {
        if (number == OBJECT_ANY)
            object_table_release(files, reinterpret_cast<ObjectNumber>(record));
        return 0;
    }
    record->handle = handle;
    record->buffer = static_cast<unsigned char*>(HeapAlloc(heap_main(), 0, FILE_BUFFER_SIZE));
    record->buffer_size = FILE_BUFFER_SIZE;
    record->space_left = 0;
    record->buffer_idle = 1;
    if (number == OBJECT_ANY)
        return reinterpret_cast<intptr_t>(record);
    return reinterpret_cast<intptr_t>(handle);
}

int32_t file_close(ObjectNumber number)
{
    if (number == OBJECT_ANY)
        return 0;
    FileRecord* record = file_record(number);
    if (!record)
        return 0;
    bool all_written = true;
    if (record->buffer) {
        file_flush(record);
        all_written = pending_bytes(record) == 0;
        HeapFree(heap_main(), 0, record->buffer);
    }
    CloseHandle(record->handle);
    object_table_release(files, number);
    return all_written ? 1 : 0;
}

int32_t file_flush(FileRecord* record)
{
    if (record->buffer_idle)
        return 0;
    int32_t pending = record->buffer_size - record->space_left;
    int32_t written = file_write_direct(record->handle, record->buffer, pending);
    // What the platform did not take (a full disk) stays pending at the
    // front of the buffer: nothing is dropped while the file is open, and
    // close can tell.
    memmove(record->buffer, record->buffer + written, pending - written);
    record->space_left = record->buffer_size - (pending - written);
    return written;
}

int32_t file_write_direct(HANDLE handle, const void* bytes, int32_t count)
{
    DWORD written = 0;
    WriteFile(handle, bytes, static_cast<DWORD>(count), &written, nullptr);
    return static_cast<int32_t>(written);
}

int32_t file_write_buffered(FileRecord* record, const void* bytes, int32_t count)
{
    if (record->buffer_idle) {
        record->buffer_idle = 0;
        record->space_left = record->buffer_size;
    }
    // A write that would fill the buffer exactly flushes first, so the buffer
    // is never completely full.
    if (record->space_left <= count) {
        file_flush(record);
        // Bytes still pending go first, so nothing may pass them.
        bool empty = record->space_left == record->buffer_size;
        if (count >= record->buffer_size)
            return empty ? file_write_direct(record->handle, bytes, count) : 0;
        if (record->space_left <= count)
            return 0;
    }
    memcpy(record->buffer + (record->buffer_size - record->space_left), bytes, count);
    record->space_left -= count;
    return count;
}

int64_t file_length(ObjectNumber number)
{
    FileRecord* record = file_record(number);
    if (!record)
        return -1;
    DWORD high = 0;
    DWORD low = GetFileSize(record->handle, &high);
    int64_t on_disk = (static_cast<int64_t>(high) << 32) | low;
    int32_t pending = pending_bytes(record);
    if (!pending)
        return on_disk;
    // Pending bytes land at the file position, which is not always the end:
    // a file opened on existing data is written from its start.
    int64_t end_of_pending = platform_position(record->handle) + pending;
    return end_of_pending > on_disk ? end_of_pending : on_disk;
}

uint32_t file_seek(ObjectNumber number, int64_t position)
{
    FileRecord* record = file_record(number);
    if (!record)
        return 0;
    if (record->buffer) {
        // Bytes that cannot be written keep their place: the file stays put.
        file_flush(record);
        if (pending_bytes(record))
            return INVALID_SET_FILE_POINTER;
        record->space_left = 0;
        record->buffer_idle = 1;
    }
    LONG high = static_cast<LONG>(position >> 32);
    return SetFilePointer(record->handle, static_cast<LONG>(position & 0xFFFFFFFF), &high, FILE_BEGIN);
}

int32_t file_write_line(ObjectNumber number, const char* text)
{
    FileRecord* record = file_record(number);
    if (!record)
        return 0;
    int32_t written = 0;
    if (text && *text)
        written = write_bytes(record, text, static_cast<int32_t>(strlen(text)));
    static const char line_end[2] = {'\r', '\n'};
    return written + write_bytes(record, line_end, 2);
}

int32_t file_write_byte(ObjectNumber number, int32_t value)
{
    FileRecord* record = file_record(number);
    if (!record)
        return 0;
    unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    return write_bytes(record, &byte, 1);
}
