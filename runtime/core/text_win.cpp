// The work buffer, the one growing area in the string heap where temporary
// texts are built, and the string variables' blocks in the same heap. The heap
// is not serialised: everything here runs on the main thread only.
#include "runtime/core/text_win.h"

#include <windows.h>
#include <cstring>

namespace {

const int32_t FIRST_CAPACITY = 16;
// Growth beyond the need, so that building texts rarely re-allocates.
const int32_t GROWTH = 16384;
// Allocations hold 5 bytes beyond a variable's text and beyond a grown
// buffer's capacity, and reservations end below capacity - 4.
const int32_t SPARE = 5;
const int32_t RESERVE_GUARD = 4;
const int32_t INT_RESERVE = 32;

struct WorkBuffer {
    char* buffer;       // moves when the buffer grows
    int32_t capacity;   // usable size
    int32_t position;   // offset of the first free byte
};

HANDLE string_heap;
WorkBuffer work;

// Appends n bytes of source, which may lie in the buffer: it is found again by
// its offset once the reservation may have moved the buffer.
char* append_bytes(const char* source, int32_t n)
{
    int32_t offset = text_offset_of(source);
    char* destination = text_reserve(n, work.position);
    if (!destination)
        return nullptr;
    if (offset)
        source = text_at_offset(offset);
    text_copy(destination, source, n);
    return destination;
}

}  // namespace

void text_library_start()
{
    if (string_heap)
        return;
    string_heap = HeapCreate(HEAP_NO_SERIALIZE, 4096, 0);
    if (!string_heap)
        return;
    work.buffer = static_cast<char*>(HeapAlloc(string_heap, HEAP_NO_SERIALIZE, FIRST_CAPACITY));
    work.capacity = work.buffer ? FIRST_CAPACITY : 0;
    work.position = 0;
}

void* text_heap()
{
    return string_heap;
}

int32_t text_capacity()
{
    return work.capacity;
}

char* text_reserve(int32_t n, int32_t at)
{
    if (!work.buffer || n < 0 || at < 0 || at > work.position)
        return nullptr;
    int64_t end = int64_t(work.position) + n;
    if (end >= work.capacity - RESERVE_GUARD) {
        if (end + GROWTH + SPARE > INT32_MAX)
            return nullptr;
        int32_t capacity = int32_t(end + GROWTH);
        void* grown = HeapReAlloc(string_heap, HEAP_NO_SERIALIZE, work.buffer, capacity + SPARE);
        if (!grown)
            return nullptr;
        work.buffer = static_cast<char*>(grown);
        work.capacity = capacity;
    }
    work.position = at + n;
    return work.buffer + at;
}

void text_append(const char* text)
{
    if (!text) {
        if (work.buffer)
            work.buffer[work.position] = 0;
        return;
    }
    append_bytes(text, text_length(text));
}

void text_copy(char* destination, const char* source, int32_t n)
{
    if (!destination)
        return;
    // Exactly n bytes: the source may be a literal that ends at the edge of
    // readable memory, so it is never read in whole words past its end.
    if (n > 0 && source)
        memmove(destination, source, n);
    destination[n > 0 ? n : 0] = 0;
}

void text_drop(int32_t n)
{
    if (n >= 0 && n <= work.position)
        work.position -= n;
}

void text_store(char** variable, int32_t start)
{
    if (!variable || !work.buffer || start < 0 || start > work.position)
        return;
    int32_t length = work.position - start;
    SIZE_T size = SIZE_T(length) + SPARE;
    void* block = *variable ? HeapReAlloc(string_heap, HEAP_NO_SERIALIZE, *variable, size)
                            : HeapAlloc(string_heap, HEAP_NO_SERIALIZE, size);
    // Without room the variable keeps its old block and text.
    if (block) {
        text_copy(static_cast<char*>(block), work.buffer + start, length);
        *variable = static_cast<char*>(block);
    }
    work.position = start;
}

void text_free(char* block)
{
    if (block && string_heap)
        HeapFree(string_heap, HEAP_NO_SERIALIZE, block);
}

int32_t text_offset_of(const char* pointer)
{
    if (!work.buffer || !pointer)
        return 0;
    uintptr_t p = reinterpret_cast<uintptr_t>(pointer);
    uintptr_t b = reinterpret_cast<uintptr_t>(work.buffer);
    if (p < b || p > b + uintptr_t(work.position))
        return 0;
    return int32_t(p - b) + 1;
}

char* text_at_offset(int32_t offset)
{
    if (!work.buffer || offset < 1 || offset > work.position + 1)
        return nullptr;
    return work.buffer + offset - 1;
}

int32_t text_begin()
{
    return work.position;
}

char* text_argument(int32_t start)
{
    if (!work.buffer || start < 0 || start > work.position)
        return nullptr;
    // Terminated here as well, for an expression to which nothing was appended.
    work.buffer[work.position] = 0;
    text_reserve(1, work.position);
    return work.buffer + start;
}

void text_end(int32_t start)
{
    if (start >= 0 && start <= work.position)
        work.position = start;
}

char* text_from_int(int32_t value)
{
    char* destination = text_reserve(INT_RESERVE, work.position);
    if (!destination)
        return nullptr;
    text_drop(INT_RESERVE - text_format_int(destination, value));
    return destination;
}

int32_t text_length(const char* text)
{
    return text ? int32_t(strlen(text)) : 0;
}

char* text_middle(const char* text, int32_t start, int32_t count)
{
    int32_t length = text_length(text);
    int32_t first = start <= 1 ? 0 : start - 1;
    int32_t n = 0;
    if (first < length && count > 0)
        n = count < length - first ? count : length - first;
    return append_bytes(n ? text + first : nullptr, n);
}

int32_t text_code(const char* text)
{
    return text ? static_cast<unsigned char>(text[0]) : 0;
}

char* text_from_code(int32_t value)
{
    char byte = char(value & 0xFF);
    return append_bytes(&byte, byte ? 1 : 0);
}
