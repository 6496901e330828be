// The viewer's scene: the fixed ground lines and pillars, the camera `dp`,
// the perspective projection and the drawing of the scene's elements, cut at
// the window's left edge (clip.h) before they reach Graph.
//
// Plain C++ (no <windows.h>): it builds natively too, where its tests run under
// the sanitizers. Everything here runs on the main thread; `dp` is read and
// written by the main thread only.
#pragma once

#include <cstdint>

// A scene point in scene units: x across, y in depth away from the viewer, z up.
struct Point3D {
    int32_t x, y, z;
};

// A position in the window in pixels, origin top-left, y downwards; may lie
// anywhere, also far outside the window.
struct Point2D {
    int32_t x, y;
};

// The 64-bit working form of a Point2D. The scene's procedures use it
// directly, so that a projected point that does not fit in 32 bits still
// carries its true position to the clipping (clip.h).
struct Pixel64 {
    int64_t x, y;
};

// The camera's reference point; the eye sits 150 units behind it and 300 above.
extern Point3D dp;

// ---- the fixed scene ---------------------------------------------------------

struct Pillar {
    Point3D top; // top centre
    int32_t colour;
};

inline constexpr int32_t PillarSize = 50;
inline constexpr Pillar Pillars[3] = {
    {{0, 200, 200}, 4},    // red
    {{-300, 0, 200}, 1},   // blue
    {{300, 400, 200}, 3},  // cyan
};
inline constexpr uint32_t GroundColour = 7; // light grey

// ---- projection and drawing ----------------------------------------------------

// Projects p for the current camera. A pixel beyond the 32-bit range (a camera
// very far from the scene) saturates at INT32_MIN/INT32_MAX; the drawing
// procedures below do not go through this narrowing.
Point2D ToScherm(Point3D p);

// Projects (px, py, pz) for the current camera with the projection's own
// truncating steps, in 64 bits. Each coordinate must lie within +/-2^33 (any
// sum of two 32-bit values does); every result then lies within +/-2^50.
Pixel64 ProjectWide(int64_t px, int64_t py, int64_t pz);

// The nine ground lines, near end first.
void HorizonLines();

// One pillar: top centre, width s, colour number kleur (never negative: a
// negative colour is a range fault), filled or not.
void Rect(Point3D top, int32_t s, int32_t kleur, bool fill);
