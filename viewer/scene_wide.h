// The 64-bit working form of the projection and the clipping. The scene's
// procedures use it directly, so that a projected point that does not fit in
// 32 bits still carries its true position to the clipping.
#pragma once

#include <cstdint>

#include "scene.h"

struct Pixel64 {
    int64_t x, y;
};

// Largest coordinate handed to Graph. Graph passes coordinates on to GDI as
// signed ints, so anything above this would turn negative there.
inline constexpr int64_t PixelLimit = INT32_MAX;

// Projects (px, py, pz) for the current camera with the projection's own
// truncating steps, in 64 bits. Each coordinate must lie within +/-2^33 (any
// sum of two 32-bit values does); every result then lies within +/-2^50.
Pixel64 ProjectWide(int64_t px, int64_t py, int64_t pz);

// Line2 and Rectangle2 on points within +/-2^50 (what ProjectWide returns).
void Line2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour);
void Rectangle2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour, bool fill);
