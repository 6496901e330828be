// Graph: one graphics window for a console program, drawn from the program's
// own thread, with an off-screen copy of the picture.
//
// This header is free of <windows.h>: programs that only draw need no Win32
// declarations, and the platform-free parts of a program can be built and
// tested without it.
#pragma once

#include <cstdint>

// ---- lines and rectangles ----
// Inclusive pixel coordinates, corners in any order; colour is a colour number.
void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour);
void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
