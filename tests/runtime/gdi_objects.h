// Live GDI objects of one kind in this process, for tests that prove a
// failure leaves nothing behind: Wine answers GetGuiResources with 0. Wine
// also takes a handle's low word alone as the handle, as 16-bit programs
// pass it, so probing every low word finds every object.
#pragma once

#include <windows.h>

inline int gdi_objects(DWORD type)
{
    int count = 0;
    for (UINT_PTR index = 0; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) == type;
    return count;
}
