// The two reserved results inside window procedures and callbacks, shared by
// every part of the window library: the message was not handled (the default
// procedure runs), and a callback lets the library's own processing run.
#pragma once

#include <windows.h>
#include <cstdint>

const LRESULT RESULT_UNHANDLED = static_cast<LRESULT>(static_cast<int32_t>(0xD0D0D0D1));
const LRESULT RESULT_CONTINUE = static_cast<LRESULT>(static_cast<int32_t>(0xE0E0E0E1));
