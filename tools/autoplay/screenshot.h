// Screenshots: what the screen shows in a rectangle, read back from the
// screen's device context, as a person would see it.
#pragma once

#include <windows.h>
#include <string>

#include "tools/autoplay/picture.h"

bool screen_capture(const RECT& rect, Picture& picture);
// Captures the rectangle and writes it as a PNG file when the path ends in
// ".png", else as a 24-bit BMP file.
bool screen_save(const RECT& rect, const std::string& path);
// The colour of one screen pixel as 0x00BBGGRR.
COLORREF screen_pixel(POINT point);
