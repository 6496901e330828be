// Cutting lines and rectangles at the window's left edge before they go to
// Graph, which takes unsigned coordinates. Plain C++; main thread.
#pragma once

#include <cstdint>

#include "scene.h"

// A segment cut at the window's left edge; nothing when it cannot be drawn with
// non-negative coordinates.
void Line2(Point2D p0, Point2D p1, uint32_t Color);

// A rectangle cut at the left edge; its corners are passed on in the order given.
void Rectangle2(Point2D p0, Point2D p1, uint32_t Color, bool Fill);

// ---- the 64-bit working form (Pixel64) ---------------------------------------

// Largest coordinate handed to Graph. Graph passes coordinates on to GDI as
// signed ints, so anything above this would turn negative there.
inline constexpr int64_t PixelLimit = INT32_MAX;

// Line2 and Rectangle2 on points within +/-2^50 (what the scene's projection
// gives).
void Line2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour);
void Rectangle2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour, bool fill);
