// The keys of the viewer: six move the camera by one step, `q` ends the
// program. Plain C++; main thread.
#pragma once

#include <cstdint>

#include "scene.h"

inline constexpr int32_t CameraStep = 25;
inline constexpr uint8_t QuitKey = 'q';

// Moves the camera for one of the lower-case keys i, k, j, l, u, o; every other
// key (upper-case letters too) changes nothing. The camera has no bounds of
// its own, but stops at the ends of the 32-bit range instead of wrapping.
void ApplyKey(uint8_t key, Point3D& camera);
