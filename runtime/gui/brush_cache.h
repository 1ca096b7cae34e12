// The gadgets' shared solid brushes: one brush per colour, counted, in a
// list that a lock guards, since the clock's timer thread may give back and
// take brushes while the main thread does.
#pragma once

#include <windows.h>
#include <cstdint>

// Start step of the gadget library: the lock (never deleted). Before it, no
// brush is given out.
void brush_cache_start();
// A shared solid brush of the colour (0x00BBGGRR), counted; null if none can
// be made. Every brush_acquire is matched by one brush_release.
HBRUSH brush_acquire(int32_t colour);
// Counts a holder off; the last one deletes the brush. A brush the cache
// does not hold is left alone.
void brush_release(HBRUSH brush);
