// The viewer's keys: which move the camera, by how much, and that nothing
// else does.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "controls.h"

namespace {

bool operator==(const Point3D& a, const Point3D& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

Point3D after(const char* keys) {
    Point3D camera{0, 0, 0};
    for (const char* k = keys; *k; ++k) ApplyKey(static_cast<uint8_t>(*k), camera);
    return camera;
}

TEST(ViewerKeys, EachLowerCaseKeyMovesOneAxisByOneStep) {
    EXPECT_TRUE(after("i") == (Point3D{0, 25, 0}));
    EXPECT_TRUE(after("k") == (Point3D{0, -25, 0}));
    EXPECT_TRUE(after("j") == (Point3D{-25, 0, 0}));
    EXPECT_TRUE(after("l") == (Point3D{25, 0, 0}));
    EXPECT_TRUE(after("u") == (Point3D{0, 0, 25}));
    EXPECT_TRUE(after("o") == (Point3D{0, 0, -25}));
    EXPECT_TRUE(after("iiiiii") == (Point3D{0, 150, 0}));
    EXPECT_TRUE(after("ikjluo") == (Point3D{0, 0, 0}));
}

TEST(ViewerKeys, EveryOtherByteChangesNothing) {
    for (int key = 0; key < 256; ++key) {
        if (key == 'i' || key == 'k' || key == 'j' || key == 'l' || key == 'u' || key == 'o') continue;
        Point3D camera{7, 8, 9};
        ApplyKey(static_cast<uint8_t>(key), camera);
        EXPECT_TRUE(camera == (Point3D{7, 8, 9})) << "key " << key;
    }
}

TEST(ViewerKeys, CameraStopsAtTheEndsOfTheRangeInsteadOfWrapping) {
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    constexpr int32_t bottom = std::numeric_limits<int32_t>::min();
    Point3D camera{top - 10, bottom + 10, top};
    ApplyKey('l', camera);
    ApplyKey('k', camera);
    ApplyKey('u', camera);
    EXPECT_TRUE(camera == (Point3D{top, bottom, top}));
    ApplyKey('j', camera);
    EXPECT_EQ(camera.x, top - 25);
}

} // namespace
