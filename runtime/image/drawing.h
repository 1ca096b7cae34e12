// Drawing: text and lines on one current drawing target at a time, described
// by a DrawingOutput. The library owns the DrawingState, its default pen and
// brush, and the front brush of the current drawing. The output of an image
// is the image library's (image_output.h).
#pragma once

#include <windows.h>
#include <cstdint>

#include "runtime/image/drawing_output.h"

// Mode flags for drawing_set_mode.
const int32_t DRAW_TRANSPARENT = 1;  // text without its background filled
const int32_t DRAW_INVERT = 2;       // lines invert what lies beneath
const int32_t DRAW_OUTLINED = 4;     // the null brush instead of the front brush

// Kind 7 outputs can lose their context; the owner then sets this state.
const int32_t DRAWING_CONTEXT_LOST = -1;

// For drawing_set_font: the platform's system font.
const HFONT DRAWING_SYSTEM_FONT = reinterpret_cast<HFONT>(static_cast<intptr_t>(-1));

// Colours are 0x00BBGGRR; in draw_line -1 stands for the front colour.
struct DrawingState {
    HDC device_context;     // the current target's context; null when idle
    int32_t front_colour;   // 0 after drawing_start
    int32_t mode;           // DRAW_* flags; 0 after drawing_start
    int32_t context_state;  // 1 after drawing_start, or DRAWING_CONTEXT_LOST
    int32_t back_colour;    // 0xFFFFFF after drawing_start
    HBRUSH front_brush;     // solid brush of the front colour
    HPEN front_pen;
    HFONT font;             // the font last set; null after drawing_start
    HBRUSH default_brush;   // black, made once at start-up
    HPEN default_pen;       // black, one pixel wide, made once at start-up
    HBRUSH saved_brush;     // what the context held before drawing_start
    HPEN saved_pen;
    int32_t output_kind;    // copied from the DrawingOutput
    HWND window;
    intptr_t (*release)();
    intptr_t extra_values[8];
};

// Start step: zeroes the state and makes the default brush and pen (once).
void drawing_library_start();
// The state of the current drawing, for the owners of kind 7 targets.
DrawingState* drawing_state();

// Ends any current drawing, then makes the output current: its device
// context, or 0 (a null output, or no context).
HDC drawing_start(const DrawingOutput* output);
// The release step's result, 0 if nothing was being drawn.
intptr_t drawing_stop();
// Before a font is deleted: if the current drawing has it selected, the
// system font takes its place, so that the font is selected nowhere (Windows
// does not delete a selected font).
void drawing_font_detach(HFONT font);

// Every operation below does nothing (and gives 0) while no drawing is going
// on, and calls drawing_refresh first.
//
// A handle from font_handle, or DRAWING_SYSTEM_FONT.
void drawing_set_font(HFONT font);
// Width in pixels in the current font; 0 for a null or empty text.
int32_t drawing_text_width(const char* text);
// Text with its top-left corner at (x, y): the x just after it. The context's
// colours and its current position (0, 0) are left as they were.
int32_t draw_text(int32_t x, int32_t y, const char* text, int32_t front, int32_t back);
// A one-pixel line, both end points drawn; colour -1 is the front colour.
void draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
void drawing_set_mode(int32_t flags);
// Re-makes a lost kind 7 context and re-applies the state to it.
void drawing_refresh();
