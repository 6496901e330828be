// The scene and its projection.
//
// The projection is the viewer's 32-bit arithmetic, carried out in 64 bits:
// where the 32-bit steps fit, each 64-bit step gives the same value (the
// divisions truncate toward zero in both), and where they would overflow (a
// camera thousands of units out) the 64-bit steps keep the true value.
#include <limits>

#include "M3K.h"
#include "clip.h"

Point3D dp = {0, 0, 0};

// Main thread. Bounds, for |px|, |py|, |pz| <= 2^33 and any camera:
// |rx|, |ry|, |rz| < 2^34, so ry * 300 < 2^43 and rz * 150 < 2^42.
// f = (300 * ry) / d with d = ry + 150 is trunc(300 - 45000 / d), and |d| >= 1,
// so |f| <= 45300 and |300 - f| <= 45600: (300 - f) * rx < 2^50.
Pixel64 ProjectWide(int64_t px, int64_t py, int64_t pz) {
    const int64_t rx = px - dp.x;
    int64_t ry = py - dp.y;
    const int64_t rz = pz - dp.z;
    if (ry == -150) ry = -149; // level with the eye: one unit in front of it
    const int64_t d = ry + 150;
    const int64_t f = (ry * 300) / d;
    return {((300 - f) * rx) / 300 + 400, 600 - (f + (rz * 150) / d)};
}

namespace {

int32_t Saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

} // namespace

Point2D ToScherm(Point3D p) {
    const Pixel64 wide = ProjectWide(p.x, p.y, p.z);
    return {Saturate(wide.x), Saturate(wide.y)};
}

// Main thread.
void HorizonLines() {
    for (int32_t i = -400; i <= 400; i += 100) {
        const Pixel64 farEnd = ProjectWide(i, 10000, 0);
        // 100 in front of the camera, 50 in front of the eye: moves with it.
        const Pixel64 nearEnd = ProjectWide(i, int64_t{dp.y} - 100, 0);
        Line2Wide(nearEnd, farEnd, GroundColour);
    }
}

// Main thread.
void Rect(Point3D top, int32_t s, int32_t kleur, bool fill) {
    const uint32_t colour = M3K_ToUnsigned(kleur);
    const int64_t h = s / 2;
    const Pixel64 bottomRight = ProjectWide(top.x + h, top.y, 0);
    const Pixel64 topLeft = ProjectWide(top.x - h, top.y, top.z);
    Rectangle2Wide(topLeft, bottomRight, colour, fill);
}
