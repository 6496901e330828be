// Far from the scene: no overflow at any camera position, the same results as
// the 32-bit arithmetic wherever that does not overflow, and what lies in view
// still drawn.
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

#include "recording_graph.h"
#include "clip.h"

namespace {

// ---- the straightforward model: each 32-bit step in 64 bits, noting overflow ----

struct Model {
    explicit Model(Point3D camera_ = {0, 0, 0}) : camera(camera_) {}

    Point3D camera;
    bool overflow = false;
    std::vector<GraphCall> calls;

    int64_t I32(int64_t v) {
        if (v < INT32_MIN || v > INT32_MAX) overflow = true;
        return v;
    }

    Pixel64 ToScherm(int64_t px, int64_t py, int64_t pz) {
        const int64_t rx = I32(px - camera.x), rz = I32(pz - camera.z);
        int64_t ry = I32(py - camera.y);
        if (ry == -150) ry = -149;
        const int64_t d = I32(ry + 150);
        const int64_t f = I32(I32(ry * 300) / d);
        return {I32(I32(I32(I32(300 - f) * rx) / 300) + 400), I32(600 - I32(f + I32(I32(rz * 150) / d)))};
    }

    void Line2(Pixel64 p0, Pixel64 p1, uint32_t colour) {
        if (p0.x < 0) {
            if (p1.x <= 0) return;
            const long double t = static_cast<long double>(p0.x) / I32(p0.x - p1.x);
            const volatile float difference = static_cast<float>(I32(p0.y - p1.y));
            const volatile double product = static_cast<double>(t * difference);
            const int64_t y = I32(p0.y - I32(static_cast<int64_t>(product)));
            if (y <= 0 || p1.y < 0) return;
            Line(0, y, p1.x, p1.y, colour);
        } else if (p1.x < 0) {
            const int64_t y = I32(p0.y + I32(I32(I32(p1.y - p0.y) * p0.x) / I32(p0.x - p1.x)));
            if (p0.y < 0 || y < 0) return;
            Line(p0.x, p0.y, 0, y, colour);
        } else {
            if (p0.y <= 0 || p1.y <= 0) return;
            Line(p0.x, p0.y, p1.x, p1.y, colour);
        }
    }

    void Rectangle2(Pixel64 p0, Pixel64 p1, uint32_t colour) {
        if (p0.x < 0) {
            if (p1.x <= 0 || p0.y <= 0 || p1.y <= 0) return;
            Rectangle(0, p0.y, p1.x, p1.y, colour);
        } else if (p1.x < 0) {
            if (p0.y <= 0 || p1.y <= 0) return;
            Rectangle(p0.x, p0.y, 0, p1.y, colour);
        } else {
            if (p0.y <= 0 || p1.y <= 0) return;
            Rectangle(p0.x, p0.y, p1.x, p1.y, colour);
        }
    }

    void Scene() {
        for (int64_t i = -400; i <= 400; i += 100) {
            const Pixel64 farEnd = ToScherm(i, 10000, 0);
            Line2(ToScherm(i, I32(int64_t{camera.y} - 100), 0), farEnd, 7);
        }
        for (const Pillar& pillar : Pillars) {
            const int64_t h = PillarSize / 2;
            const Pixel64 a = ToScherm(I32(pillar.top.x + h), pillar.top.y, 0);
            const Pixel64 b = ToScherm(I32(pillar.top.x - h), pillar.top.y, pillar.top.z);
            Rectangle2(b, a, static_cast<uint32_t>(pillar.colour));
        }
    }

private:
    uint32_t Pixel(int64_t v) {
        if (!overflow && (v < 0 || v > INT32_MAX)) ADD_FAILURE() << "the model handed on " << v;
        return static_cast<uint32_t>(v);
    }
    void Line(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
        calls.push_back(LineCall(Pixel(x1), Pixel(y1), Pixel(x2), Pixel(y2), colour));
    }
    void Rectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
        calls.push_back(RectangleCall(Pixel(x1), Pixel(y1), Pixel(x2), Pixel(y2), colour, true));
    }
};

void DrawScene() {
    HorizonLines();
    for (const Pillar& pillar : Pillars) Rect(pillar.top, PillarSize, pillar.colour, true);
}

// Magnitudes spread evenly over the powers of two up to 2^bits, either sign,
// with the small values of the scene well represented.
class Sampler {
public:
    explicit Sampler(uint32_t seed) : engine_(seed) {}
    int32_t Value(int bits = 31) {
        const int width = std::uniform_int_distribution<int>(0, bits)(engine_);
        const int64_t limit = width == 31 ? INT32_MAX : (int64_t{1} << width);
        const int64_t magnitude = std::uniform_int_distribution<int64_t>(0, limit)(engine_);
        return static_cast<int32_t>(Coin() ? -magnitude : magnitude);
    }
    // A camera the keys can reach: multiples of 25.
    int32_t Step() { return 25 * (Value(26) / 25); }
    bool Coin() { return std::uniform_int_distribution<int>(0, 1)(engine_) == 1; }

private:
    std::mt19937 engine_;
};

using FarFromTheScene = ViewerTest;

TEST_F(FarFromTheScene, ProjectionMatchesThe32BitArithmeticWhereItFits) {
    Sampler sample(1);
    int compared = 0;
    for (int n = 0; n < 200000; ++n) {
        dp = {sample.Value(), sample.Value(), sample.Value()};
        const Point3D p = {sample.Value(), sample.Value(), sample.Value()};
        Model model(dp);
        const Pixel64 expected = model.ToScherm(p.x, p.y, p.z);
        if (model.overflow) continue;
        ++compared;
        const Point2D got = ToScherm(p);
        ASSERT_EQ(got.x, expected.x) << n;
        ASSERT_EQ(got.y, expected.y) << n;
    }
    RecordProperty("compared", compared);
    EXPECT_GT(compared, 20000);
}

TEST_F(FarFromTheScene, ClippingMatchesThe32BitArithmeticWhereItFits) {
    Sampler sample(2);
    int compared = 0;
    for (int n = 0; n < 200000; ++n) {
        const Point2D p0 = {sample.Value(), sample.Value()}, p1 = {sample.Value(), sample.Value()};
        Model model;
        model.Line2({p0.x, p0.y}, {p1.x, p1.y}, 7);
        model.Rectangle2({p0.x, p0.y}, {p1.x, p1.y}, 2);
        if (model.overflow) continue;
        ++compared;
        Line2(p0, p1, 7);
        Rectangle2(p0, p1, 2, true);
        ASSERT_EQ(TakeGraphCalls(), model.calls)
            << n << ": (" << p0.x << ", " << p0.y << ") (" << p1.x << ", " << p1.y << ")";
    }
    RecordProperty("compared", compared);
    EXPECT_GT(compared, 50000);
}

TEST_F(FarFromTheScene, SceneMatchesThe32BitArithmeticWhereItFits) {
    Sampler sample(3);
    int compared = 0, overflowed = 0;
    for (int n = 0; n < 100000; ++n) {
        dp = {sample.Step(), sample.Step(), sample.Step()};
        Model model(dp);
        model.Scene();
        if (model.overflow) {
            ++overflowed;
            DrawScene(); // must still be sound (no sanitizer report, no wild call)
            TakeGraphCalls();
            continue;
        }
        ++compared;
        DrawScene();
        ASSERT_EQ(TakeGraphCalls(), model.calls) << n << ": camera " << dp.x << ", " << dp.y << ", " << dp.z;
    }
    RecordProperty("compared", compared);
    RecordProperty("overflowed", overflowed);
    EXPECT_GT(compared, 20000);
    EXPECT_GT(overflowed, 20000);
}

// A million steps out along every axis and to every corner, and the cameras
// that put a pillar or the far ends level with the eye, where the products are
// largest; the end of the 32-bit range besides.
TEST_F(FarFromTheScene, AnyCameraDrawsOnlyWhatGraphCanTake) {
    const int32_t far = 25 * 1000000;
    std::vector<Point3D> cameras;
    for (int32_t x : {-far, 0, far})
        for (int32_t y : {-far, 0, 150, 10150, far})
            for (int32_t z : {-far, 0, far}) cameras.push_back({x, y, z});
    for (int32_t v : {INT32_MIN, INT32_MAX})
        for (int32_t w : {INT32_MIN, 0, INT32_MAX}) {
            cameras.push_back({v, w, 0});
            cameras.push_back({0, v, w});
            cameras.push_back({w, 0, v});
        }
    int drawn = 0;
    for (const Point3D& camera : cameras) {
        dp = camera;
        DrawScene();
        drawn += static_cast<int>(TakeGraphCalls().size());
    }
    EXPECT_GT(drawn, 0);
    // TearDown checks that no coordinate above INT32_MAX reached Graph.
}

// A million steps back, 300 * ry overflows 32 bits, yet the scene lies in view:
// the ground converges at the horizon and the pillars have shrunk to dots.
TEST_F(FarFromTheScene, AMillionStepsBackTheSceneIsStillDrawn) {
    dp = {0, -25000000, 0};
    DrawScene();
    EXPECT_EQ(TakeGraphCalls(), (std::vector<GraphCall>{
                                    LineCall(0, 601, 399, 301, 7),
                                    LineCall(0, 700, 399, 301, 7),
                                    LineCall(0, 901, 400, 301, 7),
                                    LineCall(100, 1200, 400, 301, 7),
                                    LineCall(400, 1200, 400, 301, 7),
                                    LineCall(700, 1200, 400, 301, 7),
                                    LineCall(1000, 1200, 400, 301, 7),
                                    LineCall(1300, 1200, 401, 301, 7),
                                    LineCall(1600, 1200, 401, 301, 7),
                                    RectangleCall(400, 301, 400, 301, 4, true),
                                    RectangleCall(399, 301, 400, 301, 1, true),
                                    RectangleCall(400, 301, 401, 301, 3, true),
                                }));
}

// Projected points beyond 32 bits: the segment is cut where it leaves
// [0, INT32_MAX]^2 and keeps its course through the window.
TEST_F(FarFromTheScene, SegmentsBeyond32BitsAreCutOnTheirCourse) {
    const int64_t L = PixelLimit, big = int64_t{1} << 40;
    Line2Wide({100, 100}, {100 + big, 100 + big}, 7);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{LineCall(100, 100, L, L, 7)});

    // Slope -1 through (0, 500): the y difference (2^40 + 500) enters whole,
    // in single precision the crossing would land 500 pixels off.
    Line2Wide({-big, big + 500}, {500, 0}, 7);
    std::vector<GraphCall> calls = TakeGraphCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NEAR(calls[0].y1, 500, 1);
    EXPECT_EQ(calls[0], LineCall(0, calls[0].y1, 500, 0, 7));

    // First end in the window, second far right and below: cut on the way out.
    Line2Wide({10, 300}, {10 + big, 300 + 2 * big}, 7);
    calls = TakeGraphCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], LineCall(10, 300, calls[0].x2, L, 7));
    EXPECT_NEAR(calls[0].x2, 10 + (L - 300) / 2, 1);

    // Both ends beyond the limit on one axis, or passing outside the corner.
    Line2Wide({10, L + 1}, {20, L + 5}, 7);
    Line2Wide({L - 5, L + 100}, {L + 100, L - 5}, 7);
    EXPECT_TRUE(TakeGraphCalls().empty());

    Rectangle2Wide({-5, 10}, {big, 2 * big}, 3, true);
    Rectangle2Wide({big, 2 * big}, {-5, 10}, 3, false);
    EXPECT_EQ(TakeGraphCalls(), (std::vector<GraphCall>{RectangleCall(0, 10, L, L, 3, true),
                                                          RectangleCall(L, L, 0, 10, 3, false)}));
}

// Random segments up to 2^50 (what the projection can give): whatever is
// handed on lies on the segment's course within a pixel, and a segment with an
// end well inside the 32-bit square is never lost.
TEST_F(FarFromTheScene, CutSegmentsKeepTheirCourse) {
    std::mt19937_64 engine(4);
    std::uniform_int_distribution<int64_t> coordinate(1, int64_t{1} << 50);
    auto sample = [&] { return coordinate(engine) >> (engine() % 50); };
    int cut = 0;
    for (int n = 0; n < 20000; ++n) {
        const Pixel64 a = {sample(), sample() + 1}, b = {sample(), sample() + 1};
        Line2Wide(a, b, 7);
        const std::vector<GraphCall> calls = TakeGraphCalls();
        const auto inside = [](Pixel64 p) { return std::max(p.x, p.y) < PixelLimit - 1; };
        if (calls.empty()) {
            EXPECT_FALSE(inside(a) || inside(b)) << n;
            continue;
        }
        ASSERT_EQ(calls.size(), 1u);
        if (std::max({a.x, a.y, b.x, b.y}) > PixelLimit) ++cut;
        const long double ax = a.x, ay = a.y, dx = b.x - ax, dy = b.y - ay;
        const long double length = std::sqrt(dx * dx + dy * dy);
        for (const auto& [x, y] : {std::pair{calls[0].x1, calls[0].y1}, std::pair{calls[0].x2, calls[0].y2}}) {
            const long double off = length == 0 ? 0 : std::abs((x - ax) * dy - (y - ay) * dx) / length;
            EXPECT_LE(off, 1.0L) << n;
        }
    }
    EXPECT_GT(cut, 1000);
}

} // namespace
