#include "controls.h"

#include <limits>

namespace {

struct KeyMove {
    uint8_t key;
    int32_t Point3D::*axis;
    int32_t step;
};

constexpr KeyMove kKeyMoves[] = {
    {'i', &Point3D::y, +CameraStep}, // forwards, into the scene
    {'k', &Point3D::y, -CameraStep}, // backwards
    {'j', &Point3D::x, -CameraStep}, // left
    {'l', &Point3D::x, +CameraStep}, // right
    {'u', &Point3D::z, +CameraStep}, // up
    {'o', &Point3D::z, -CameraStep}, // down
};

int32_t addSaturating(int32_t value, int32_t step) {
    const int64_t sum = int64_t{value} + step;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

} // namespace

void ApplyKey(uint8_t key, Point3D& camera) {
    for (const KeyMove& move : kKeyMoves) {
        if (move.key == key) {
            camera.*move.axis = addSaturating(camera.*move.axis, move.step);
            return;
        }
    }
}
