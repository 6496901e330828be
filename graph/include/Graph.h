// Graph: one graphics window for a console program, drawn from the program's
// own thread, with an off-screen copy of the picture.
//
// This header is free of <windows.h>: programs that only draw need no Win32
// declarations, and the platform-free parts of a program can be built and
// tested without it.
//
// Main thread: every procedure here runs on the program's own thread (the
// one that called Graph_BEGIN); requests from two threads at once are not
// supported.
#pragma once

#include <cstdint>

// ---- module start and the window ----
// Module initialiser: runs once; the console input handle module first, then
// the back-buffer mutex, the display's colour count and the drawing defaults.
void Graph_BEGIN();

// Opens the window at (x, y) with a drawing area of width x depth pixels and
// resets palette, attributes and picture. Comes with the window code.
bool Graph_Init(int32_t x, int32_t y, uint32_t width, uint32_t depth);

extern uint32_t Graph_Width;     // picture width in pixels (set by Graph_Init)
extern uint32_t Graph_Depth;     // picture height in pixels (set by Graph_Init)
extern uint32_t Graph_NumPColor; // colours the display shows (set by Graph_Init)

// ---- lines and rectangles ----
// Inclusive pixel coordinates, corners in any order; colour is a colour number.
void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour);
void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);

// ---- text and clearing ----
// Draws text[0..] up to its first NUL or its end, at most 257 characters, with
// the top-left corner of the first character cell at (x, y).
void Graph_RawOutText(uint32_t x, uint32_t y, uint32_t colour, const char* text, uint32_t length);
// Paints the whole picture in the background colour, solid whatever fill
// pattern is in force (which stays in force). Mode 0 is the whole picture.
void Graph_ClearScreen(uint32_t mode);

// ---- colours and drawing attributes ----
// A colour number draws with palette entry (number mod 256); a colour value
// is 0x00RRGGBB.
extern const uint32_t Graph_StdPalette[16];

void Graph_InitStdPalette();
// Loads the first min(count, 1024) colour values; -1 (and no change) when
// count is above Graph_NumPColor, else 0.
int32_t Graph_RemapAllPalette(const uint32_t* table, uint32_t count);
uint32_t Graph_SetBkColor(uint32_t colour); // returns the previous colour number
void Graph_SetBkMix(bool opaque);
// 0 solid, 1 dotted, 2 dashed, 3 dash-dot, 4 dash-dot-dot, 5 invisible;
// other numbers are ignored.
void Graph_SetLinestyle(uint32_t style);
// One of the Graph_PATSYM_* values; other values are ignored.
void Graph_SetStdFillMask(uint32_t pattern);
uint32_t Graph_GetStdFillMask();
// An 8 x 8 user fill: byte i is row i from the top, most significant bit
// leftmost; 1 bits paint the shape's colour, 0 bits the background colour.
void Graph_SetFillMask(const uint8_t (&mask)[8]);

extern uint32_t Graph_PATSYM_HORIZ;  // 0, horizontal lines
extern uint32_t Graph_PATSYM_VERT;   // 1, vertical lines
extern uint32_t Graph_PATSYM_DIAG2;  // 2, lines falling left to right
extern uint32_t Graph_PATSYM_DIAG1;  // 3, lines rising left to right
extern uint32_t Graph_PATSYM_DENSE2; // 4, horizontal and vertical cross-hatch
extern uint32_t Graph_PATSYM_DENSE1; // 5, diagonal cross-hatch
extern uint32_t Graph_PATSYM_SOLID;  // 8, solid
