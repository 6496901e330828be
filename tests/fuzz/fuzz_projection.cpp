// Projection and clipped drawing: any camera the keys can reach, any points,
// the whole 32-bit range.
//
// Properties: every coordinate that reaches Graph lies in [0, INT32_MAX] (Graph
// hands coordinates to GDI as signed ints); Line2 and Rectangle2 make at most
// one call each; and wherever the viewer's 32-bit arithmetic does not
// overflow, ToScherm and the calls equal what that arithmetic gives.
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "FuzzInput.h"
#include "Graph.h"
#include "M3K.h"
#include "clip.h"
#include "controls.h"
#include "scene.h"

namespace {

struct Call {
    bool rectangle;
    uint32_t x1, y1, x2, y2, colour;
    bool fill;
    bool operator==(const Call&) const = default;
};
std::vector<Call> calls;

} // namespace

// Graph's two shapes, recorded in place of the library.
void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour) {
    calls.push_back({false, x1, y1, x2, y2, colour, false});
}
void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    calls.push_back({true, x1, y1, x2, y2, colour, fill});
}
// Colours here are never negative.
void M3K_RangeCheckFailed() { FuzzFail("range check on a non-negative colour", __FILE__, __LINE__); }

namespace {

// ---- the oracle ------------------------------------------------------------
// Deliberately independent of the viewer's 64-bit code: the projection and the
// clipping in the 32-bit steps the viewer's arithmetic is defined by, each
// step checked; nullopt where any step overflows.
using I = std::optional<int32_t>;

I Add(I a, I b) { int32_t r; return a && b && !__builtin_add_overflow(*a, *b, &r) ? I(r) : std::nullopt; }
I Sub(I a, I b) { int32_t r; return a && b && !__builtin_sub_overflow(*a, *b, &r) ? I(r) : std::nullopt; }
I Mul(I a, I b) { int32_t r; return a && b && !__builtin_mul_overflow(*a, *b, &r) ? I(r) : std::nullopt; }
I Div(I a, I b) {
    if (!a || !b || *b == 0 || (*a == INT32_MIN && *b == -1)) return std::nullopt;
    return *a / *b;
}

struct P2 {
    I x, y;
};

P2 Project32(I px, I py, I pz, Point3D cam) {
    const I rx = Sub(px, cam.x), rz = Sub(pz, cam.z);
    I ry = Sub(py, cam.y);
    if (ry == -150) ry = -149;
    const I d = Add(ry, 150);
    const I f = Div(Mul(ry, 300), d);
    return {Add(Div(Mul(Sub(300, f), rx), 300), 400), Sub(600, Add(f, Div(Mul(rz, 150), d)))};
}

// What Line2 hands on: nothing (empty optional inside), a call, or nullopt
// when a step overflows.
using Outcome = std::optional<std::optional<Call>>;
const Outcome kNoCall = std::optional<Call>{};
Outcome LineCall(I x1, I y1, I x2, I y2, uint32_t c) {
    if (!x1 || !y1 || !x2 || !y2) return std::nullopt;
    return std::optional<Call>(Call{false, uint32_t(*x1), uint32_t(*y1), uint32_t(*x2), uint32_t(*y2), c, false});
}

Outcome Line32(P2 p0, P2 p1, uint32_t c) {
    if (!p0.x || !p0.y || !p1.x || !p1.y) return std::nullopt;
    if (*p0.x < 0) {
        if (*p1.x <= 0) return kNoCall;
        const I run = Sub(p0.x, p1.x), dy = Sub(p0.y, p1.y);
        if (!run || !dy) return std::nullopt;
        const long double t = static_cast<long double>(*p0.x) / static_cast<long double>(*run);
        const volatile float single = static_cast<float>(*dy);
        const volatile double product = static_cast<double>(t * static_cast<long double>(single));
        const double truncated = std::trunc(product);
        if (truncated < INT32_MIN || truncated > INT32_MAX) return std::nullopt;
        const I y = Sub(p0.y, static_cast<int32_t>(truncated));
        if (!y) return std::nullopt;
        if (*y <= 0 || *p1.y < 0) return kNoCall;
        return LineCall(0, y, p1.x, p1.y, c);
    }
    if (*p1.x < 0) {
        const I y = Add(p0.y, Div(Mul(Sub(p1.y, p0.y), p0.x), Sub(p0.x, p1.x)));
        if (!y) return std::nullopt;
        if (*p0.y < 0 || *y < 0) return kNoCall;
        return LineCall(p0.x, p0.y, 0, y, c);
    }
    if (*p0.y <= 0 || *p1.y <= 0) return kNoCall;
    return LineCall(p0.x, p0.y, p1.x, p1.y, c);
}

Outcome Rectangle32(P2 p0, P2 p1, uint32_t c, bool fill) {
    if (!p0.x || !p0.y || !p1.x || !p1.y) return std::nullopt;
    if (*p0.y <= 0 || *p1.y <= 0 || (*p0.x < 0 && *p1.x <= 0)) return kNoCall;
    const int32_t x1 = *p0.x < 0 ? 0 : *p0.x, x2 = *p0.x >= 0 && *p1.x < 0 ? 0 : *p1.x;
    return std::optional<Call>(Call{true, uint32_t(x1), uint32_t(*p0.y), uint32_t(x2), uint32_t(*p1.y), c, fill});
}

// ---- checks ------------------------------------------------------------------

std::vector<Call> Take() {
    std::vector<Call> taken;
    taken.swap(calls);
    for (const Call& call : taken) {
        for (uint32_t v : {call.x1, call.y1, call.x2, call.y2}) FUZZ_REQUIRE(v <= uint32_t{INT32_MAX});
    }
    return taken;
}

// One shape's calls against the oracle's outcome.
void Expect(const Outcome& oracle) {
    const std::vector<Call> made = Take();
    FUZZ_REQUIRE(made.size() <= 1);
    if (!oracle) return; // the 32-bit steps overflow: only the bounds hold
    FUZZ_REQUIRE(made.size() == (oracle->has_value() ? 1u : 0u));
    if (oracle->has_value()) FUZZ_REQUIRE(made[0] == **oracle);
}

// Keys move the camera by 25 and stop at the ends of the range, so the
// cameras reachable have each coordinate a multiple of 25 or 25 times a count
// away from INT32_MIN or INT32_MAX. A few keys follow through ApplyKey.
int32_t Reachable(FuzzInput& in) {
    const int32_t raw = in.take<int32_t>();
    const int64_t steps = (raw / 4) / 25;
    switch (raw & 3) {
    case 1: return static_cast<int32_t>(INT32_MAX - 25 * (steps < 0 ? -steps : steps));
    case 2: return static_cast<int32_t>(INT32_MIN + 25 * (steps < 0 ? -steps : steps));
    default: return static_cast<int32_t>((raw / 25) * 25);
    }
}

Point2D TakePoint2(FuzzInput& in) { return {in.take<int32_t>(), in.take<int32_t>()}; }
Point3D TakePoint3(FuzzInput& in) { return {in.take<int32_t>(), in.take<int32_t>(), in.take<int32_t>()}; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    Point3D cam = {Reachable(in), Reachable(in), Reachable(in)};
    for (uint8_t keys = in.take<uint8_t>() % 8; keys > 0; --keys) ApplyKey("ijklou"[in.take<uint8_t>() % 6], cam);
    dp = cam;
    calls.clear();

    // The scene as the frame draws it.
    HorizonLines();
    const std::vector<Call> ground = Take();
    FUZZ_REQUIRE(ground.size() <= 9);
    size_t next = 0;
    for (int32_t i = -400; i <= 400; i += 100) {
        const Outcome oracle =
            Line32(Project32(i, Sub(cam.y, 100), 0, cam), Project32(i, 10000, 0, cam), GroundColour);
        if (!oracle) {
            next = ground.size(); // past an overflowing line the order is not known
            break;
        }
        if (oracle->has_value()) {
            FUZZ_REQUIRE(next < ground.size() && ground[next] == **oracle);
            ++next;
        }
    }
    FUZZ_REQUIRE(next == ground.size());

    // Pillars: the scene's three and one of any shape.
    for (int n = 0; n < 4; ++n) {
        Pillar pillar = Pillars[n % 3];
        int32_t s = PillarSize;
        if (n == 3) {
            pillar = {TakePoint3(in), in.take<int32_t>() & INT32_MAX};
            s = in.take<int32_t>();
        }
        Rect(pillar.top, s, pillar.colour, true);
        const I h = Div(s, 2);
        const Point3D& top = pillar.top;
        Expect(Rectangle32(Project32(Sub(top.x, h), top.y, top.z, cam), Project32(Add(top.x, h), top.y, 0, cam),
                           uint32_t(pillar.colour), true));
    }

    // Any points through the projection and the two clipped shapes.
    while (!in.empty()) {
        const Point3D p = TakePoint3(in);
        const P2 oracle = Project32(p.x, p.y, p.z, cam);
        const Point2D got = ToScherm(p);
        if (oracle.x) FUZZ_REQUIRE(got.x == *oracle.x);
        if (oracle.y) FUZZ_REQUIRE(got.y == *oracle.y);

        const Point2D a = TakePoint2(in), b = TakePoint2(in);
        const uint32_t colour = in.take<uint8_t>();
        Line2(a, b, colour);
        Expect(Line32({a.x, a.y}, {b.x, b.y}, colour));
        Rectangle2(a, b, colour, (colour & 1) != 0);
        Expect(Rectangle32({a.x, a.y}, {b.x, b.y}, colour, (colour & 1) != 0));
    }
    return 0;
}
