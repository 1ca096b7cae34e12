// The handle table is found and read the way Wine 8 publishes it, in both
// widths: the 64-bit process environment block names it (offset 0xF8), as
// Windows' does. A 32-bit process has a 64-bit thread block beside its own,
// whose address its own block keeps in the GdiBatchCount field (offset
// 0xF70); the 32-bit environment block names no table. Entries are 24 bytes
// in both widths.
#include "tools/gdi_census/gdi_census.h"

#include <winternl.h>
#include <vector>

namespace {

const THREADINFOCLASS THREAD_BASIC_INFORMATION = static_cast<THREADINFOCLASS>(0);
const uint64_t TEB32_TEB64 = 0xF70;
const uint64_t TEB64_PEB = 0x60;
const uint64_t PEB64_HANDLE_TABLE = 0xF8;
const size_t TABLE_ENTRIES = 0x10000;
const size_t ENTRY_SIZE = 24;
// Within an entry: the extended type, whose top bit marks a stock object,
// and the type, 0 in a free entry.
const size_t ENTRY_EXTENDED_TYPE = 12;
const size_t ENTRY_TYPE = 14;
const uint8_t STOCK = 0x80;
const int WINDOW_CONTEXTS_CACHED = 4;

enum : uint8_t {
    TYPE_DC = 0x01,
    TYPE_REGION = 0x04,
    TYPE_BITMAP = 0x09,
    TYPE_FONT = 0x0A,
    TYPE_BRUSH_OR_PEN = 0x10,  // the extended type tells them apart
    EXTENDED_BRUSH = 0x10,
};

struct ThreadBasicInformation {
    NTSTATUS exit_status;
    PVOID teb;
    CLIENT_ID client;
    ULONG_PTR affinity;
    LONG priority;
    LONG base_priority;
};

bool memory_read(HANDLE process, uint64_t address, void* out, size_t size)
{
    SIZE_T done = 0;
    return address && ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<uintptr_t>(address)), out,
                                        size, &done) &&
           done == size;
}

uint64_t table_address(HANDLE process, HANDLE thread)
{
    ThreadBasicInformation basic = {};
    if (NtQueryInformationThread(thread, THREAD_BASIC_INFORMATION, &basic, sizeof basic, nullptr) != 0)
        return 0;
    uint64_t teb = reinterpret_cast<uintptr_t>(basic.teb);
#ifndef _WIN64
    uint32_t teb64 = 0;
    if (!memory_read(process, teb + TEB32_TEB64, &teb64, sizeof teb64))
        return 0;
    teb = teb64;
#endif
    uint64_t peb = 0, table = 0;
    if (!memory_read(process, teb + TEB64_PEB, &peb, sizeof peb) ||
        !memory_read(process, peb + PEB64_HANDLE_TABLE, &table, sizeof table))
        return 0;
    return table;
}

}  // namespace

bool operator==(const GdiCensus& a, const GdiCensus& b)
{
    return a.read && b.read && a.bitmaps == b.bitmaps && a.dcs == b.dcs && a.regions == b.regions &&
           a.fonts == b.fonts && a.brushes == b.brushes && a.pens == b.pens && a.other == b.other;
}

bool operator!=(const GdiCensus& a, const GdiCensus& b)
{
    return !(a == b);
}

std::string gdi_census_text(const GdiCensus& c)
{
    if (!c.read)
        return "not read";
    char text[160];
    snprintf(text, sizeof text, "bitmaps %d dcs %d regions %d fonts %d brushes %d pens %d other %d", c.bitmaps,
             c.dcs, c.regions, c.fonts, c.brushes, c.pens, c.other);
    return text;
}

std::ostream& operator<<(std::ostream& out, const GdiCensus& census)
{
    return out << gdi_census_text(census);
}

GdiCensus gdi_census_of(HANDLE process, HANDLE thread)
{
    GdiCensus census;
    std::vector<uint8_t> table(TABLE_ENTRIES * ENTRY_SIZE);
    if (!memory_read(process, table_address(process, thread), table.data(), table.size()))
        return census;
    int32_t stock = 0;
    for (size_t i = 0; i < TABLE_ENTRIES; ++i) {
        const uint8_t* entry = &table[i * ENTRY_SIZE];
        uint8_t type = entry[ENTRY_TYPE];
        uint8_t extended = entry[ENTRY_EXTENDED_TYPE];
        if (!type)
            continue;
        if (extended & STOCK)
            ++stock;
        else if (type == TYPE_DC)
            ++census.dcs;
        else if (type == TYPE_REGION)
            ++census.regions;
        else if (type == TYPE_BITMAP)
            ++census.bitmaps;
        else if (type == TYPE_FONT)
            ++census.fonts;
        else if (type == TYPE_BRUSH_OR_PEN && extended == EXTENDED_BRUSH)
            ++census.brushes;
        else if (type == TYPE_BRUSH_OR_PEN)
            ++census.pens;
        else
            ++census.other;
    }
    // Every process has the stock objects: without them this was no table.
    census.read = stock > 0;
    return census;
}

GdiCensus gdi_census()
{
    // The platform's first device context brings objects of its own, and the
    // contexts it lends to windows stay in its cache once given back, even
    // after their window is gone: both live as long as the process. They are
    // made before the first count, so that a count taken before the first
    // drawing or window is not off by them. A paint inside another's borrows
    // a few window contexts at once.
    static bool settled;
    if (!settled) {
        DeleteDC(CreateCompatibleDC(nullptr));
        HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        HDC borrowed[WINDOW_CONTEXTS_CACHED];
        for (HDC& dc : borrowed)
            dc = GetDC(window);
        for (HDC dc : borrowed)
            ReleaseDC(window, dc);
        DestroyWindow(window);
    }
    settled = true;
    return gdi_census_of(GetCurrentProcess(), GetCurrentThread());
}
