// Every call handed to Graph has each coordinate in [0, PixelLimit]: the left-
// edge cases below only pass points with x >= 0 and y >= 0, and HandOnLine and
// HandOnRectangle bring anything beyond PixelLimit back to it. Points that fit
// in 32 bits with no 32-bit step overflowing never exceed PixelLimit, so they
// pass exactly as the 32-bit arithmetic gives them.
#include <algorithm>

#include "clip.h"

#include "Graph.h"
#include "GraphRequest.h"

namespace {

bool FitsInt32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// A coordinate in [0, PixelLimit] as Graph takes it.
uint32_t ToPixel(int64_t v) { return static_cast<uint32_t>(v); }

// a and b have x >= 0 and y >= 0. A segment reaching beyond PixelLimit (a
// camera very far out) is cut where it leaves [0, PixelLimit]^2, which lies far
// outside the window, so the part in the window keeps its place and slope
// (Graph's own cut, at the limit of what Graph takes).
void HandOnLine(Pixel64 a, Pixel64 b, uint32_t colour) {
    int64_t from[2] = {a.x, a.y}, to[2] = {b.x, b.y};
    if (!Graph_CutSegment(from, to, PixelLimit)) return;
    Graph_Line(ToPixel(from[0]), ToPixel(from[1]), ToPixel(to[0]), ToPixel(to[1]), colour);
}

// Coordinates >= 0. An axis-parallel rectangle covers the same pixels of the
// window whether its far side lies at PixelLimit or beyond it.
void HandOnRectangle(Pixel64 a, Pixel64 b, uint32_t colour, bool fill) {
    Graph_Rectangle(ToPixel(std::min(a.x, PixelLimit)), ToPixel(std::min(a.y, PixelLimit)),
                    ToPixel(std::min(b.x, PixelLimit)), ToPixel(std::min(b.y, PixelLimit)), colour, fill);
}

// The drop in height from p0 to the crossing with the left edge, for p0.x < 0 <
// p1.x: the quotient and the product are carried with a 64-bit mantissa (when
// the x87 control word asks for it), the y difference enters in single
// precision, the product is reduced to double and truncated. A y difference
// beyond 32 bits (only far from the scene) enters whole instead: in single
// precision it could move the line by hundreds of pixels. |result| <= |dy|
// (up to single rounding) because the quotient lies in (0, 1).
int64_t CrossingDrop(int64_t x0, int64_t x1, int64_t dy) {
    const long double t = static_cast<long double>(x0) / static_cast<long double>(x0 - x1);
    long double difference;
    if (FitsInt32(dy)) {
        // volatile: the conversion must round to single precision even where
        // the compiler would keep the value in an x87 register (i686).
        const volatile float single = static_cast<float>(dy);
        difference = single;
    } else {
        difference = static_cast<long double>(dy);
    }
    const volatile double product = static_cast<double>(t * difference);
    return static_cast<int64_t>(product);
}

// The crossing height for p0.x >= 0 > p1.x: p0.y + (rise * p0.x) / (p0.x - p1.x),
// truncating. Exact whenever the product fits in 64 bits (always for 32-bit
// inputs); beyond that only far from the scene, where long double is ample.
int64_t CrossingHeight(Pixel64 p0, Pixel64 p1) {
    const int64_t run = p0.x - p1.x; // >= 1
    const int64_t rise = p1.y - p0.y;
    int64_t product;
    if (!__builtin_mul_overflow(rise, p0.x, &product)) return p0.y + product / run;
    const long double step = static_cast<long double>(rise) * static_cast<long double>(p0.x) /
                             static_cast<long double>(run);
    return p0.y + static_cast<int64_t>(step); // |step| <= |rise|
}

} // namespace

// Main thread.
void Line2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour) {
    if (p0.x < 0) {
        if (p1.x <= 0) return;
        const int64_t y = p0.y - CrossingDrop(p0.x, p1.x, p0.y - p1.y);
        // A crossing exactly at y = 0 is dropped, an end at y = 0 is kept.
        if (y <= 0 || p1.y < 0) return;
        HandOnLine({0, y}, p1, colour);
    } else if (p1.x < 0) {
        const int64_t y = CrossingHeight(p0, p1);
        if (p0.y < 0 || y < 0) return;
        HandOnLine(p0, {0, y}, colour);
    } else {
        if (p0.y <= 0 || p1.y <= 0) return;
        HandOnLine(p0, p1, colour);
    }
}

// Main thread. The y coordinates are never cut: a corner on or above the top
// edge drops the rectangle.
void Rectangle2Wide(Pixel64 p0, Pixel64 p1, uint32_t colour, bool fill) {
    if (p0.y <= 0 || p1.y <= 0) return;
    if (p0.x < 0) {
        if (p1.x <= 0) return;
        HandOnRectangle({0, p0.y}, p1, colour, fill);
    } else if (p1.x < 0) {
        HandOnRectangle(p0, {0, p1.y}, colour, fill);
    } else {
        HandOnRectangle(p0, p1, colour, fill);
    }
}

void Line2(Point2D p0, Point2D p1, uint32_t Color) { Line2Wide({p0.x, p0.y}, {p1.x, p1.y}, Color); }

void Rectangle2(Point2D p0, Point2D p1, uint32_t Color, bool Fill) {
    Rectangle2Wide({p0.x, p0.y}, {p1.x, p1.y}, Color, Fill);
}
