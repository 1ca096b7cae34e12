// The live GDI objects of a process, counted by kind from the handle table
// that the platform keeps in the process's own memory. The tests take it in
// their own process; the automatic player takes it in the game's, from
// outside. GetGuiResources cannot stand in: under Wine it always answers 0.
#pragma once

#include <windows.h>
#include <cstdint>
#include <ostream>
#include <string>

struct GdiCensus {
    bool read = false;  // false: no handle table was found
    int32_t bitmaps = 0;
    int32_t dcs = 0;
    int32_t regions = 0;
    int32_t fonts = 0;
    int32_t brushes = 0;
    int32_t pens = 0;
    int32_t other = 0;  // palettes, metafiles and the platform's own objects
};

// Equal when every kind has the same count. A census that was not read
// equals nothing, so a table that cannot be found fails every comparison
// instead of passing it.
bool operator==(const GdiCensus& a, const GdiCensus& b);
bool operator!=(const GdiCensus& a, const GdiCensus& b);

// "bitmaps 6 dcs 2 regions 0 fonts 1 brushes 3 pens 1 other 2", or "not read".
std::string gdi_census_text(const GdiCensus& census);
std::ostream& operator<<(std::ostream& out, const GdiCensus& census);

// The census of the process that runs the thread (a thread of it is the way
// to its table); both handles need query and read rights. Stock objects are
// not counted: they live as long as the process.
GdiCensus gdi_census_of(HANDLE process, HANDLE thread);
// The census of this process. The first one first makes a device context and
// borrows a few of a window's: the platform keeps what they bring.
GdiCensus gdi_census();
