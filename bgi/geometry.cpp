// Viewports, clipping, line pixels, arcs, polygon spans and text placement:
// the arithmetic of the BGI's coordinates, free of any drawing.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "bgi_logic.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}

bool Bgi_Contains(const Bgi_Rect& r, int64_t x, int64_t y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

bool Bgi_ContainsBox(const Bgi_Rect& r, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    return Bgi_Contains(r, std::min(x1, x2), std::min(y1, y2)) && Bgi_Contains(r, std::max(x1, x2), std::max(y1, y2));
}

Bgi_Rect Bgi_Intersect(const Bgi_Rect& a, const Bgi_Rect& b) {
    return Bgi_Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
}

bool Bgi_ValidViewport(int left, int top, int right, int bottom, int width, int height) {
    return left >= 0 && top >= 0 && right < width && bottom < height && left <= right && top <= bottom;
}

namespace {
enum : unsigned { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
unsigned outcode(const Bgi_Rect& r, int64_t x, int64_t y) {
    unsigned c = 0;
    if (x < r.left) c |= kLeft;
    else if (x > r.right) c |= kRight;
    if (y < r.top) c |= kTop;
    else if (y > r.bottom) c |= kBottom;
    return c;
}
// a + (b - a) * num / den, rounded to the nearest (den > 0 or < 0).
int64_t lerp(int64_t a, int64_t b, int64_t num, int64_t den) {
    if (den < 0) num = -num, den = -den;
    const int64_t p = (b - a) * num; // |b - a| < 2^33, |num| < 2^33: fits
    const int64_t q = (p >= 0 ? p + den / 2 : p - den / 2) / den;
    return a + q;
}
} // namespace

bool Bgi_ClipLine(const Bgi_Rect& clip, int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
    if (clip.right < clip.left || clip.bottom < clip.top) return false;
    const int64_t ax = x1, ay = y1, bx = x2, by = y2;
    unsigned c1 = outcode(clip, x1, y1), c2 = outcode(clip, x2, y2);
    for (int guard = 0; guard < 8; ++guard) {
        if ((c1 | c2) == 0) return true;
        if (c1 & c2) return false;
        const unsigned c = c1 ? c1 : c2;
        int64_t x, y;
        // Each new point lies on the original line, so rounding never drifts.
        if (c & kTop) y = clip.top, x = lerp(ax, bx, y - ay, by - ay);
        else if (c & kBottom) y = clip.bottom, x = lerp(ax, bx, y - ay, by - ay);
        else if (c & kLeft) x = clip.left, y = lerp(ay, by, x - ax, bx - ax);
        else x = clip.right, y = lerp(ay, by, x - ax, bx - ax);
        if (c == c1) x1 = x, y1 = y, c1 = outcode(clip, x, y);
        else x2 = x, y2 = y, c2 = outcode(clip, x, y);
    }
    return (c1 | c2) == 0;
}

void Bgi_LinePixels(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t pattern,
                    std::vector<Bgi_PatternPixel>& out) {
    int64_t x = x1, y = y1;
    const int64_t dx = std::llabs(int64_t{x2} - x1), dy = -std::llabs(int64_t{y2} - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int64_t err = dx + dy;
    for (unsigned i = 0;; ++i) {
        out.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), ((pattern >> (15 - (i & 15))) & 1) != 0});
        if (x == x2 && y == y2) break;
        const int64_t e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}

void Bgi_ThickOffsets(int32_t dx, int32_t dy, int32_t& ox, int32_t& oy) {
    if (std::llabs(int64_t{dx}) >= std::llabs(int64_t{dy})) ox = 0, oy = 1;
    else ox = 1, oy = 0;
}

int32_t Bgi_ArcSweep(int32_t stangle, int32_t endangle) {
    const int64_t d = int64_t{endangle} - stangle;
    if (d >= 360 || d <= -360) return 360;
    const int64_t s = ((d % 360) + 360) % 360;
    return static_cast<int32_t>(s == 0 && d != 0 ? 360 : s);
}

Bgi_Point Bgi_EllipsePoint(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t angle) {
    const double a = static_cast<double>(angle % 360) * (kPi / 180.0);
    return Bgi_Point{cx + static_cast<int32_t>(std::lround(rx * std::cos(a))),
                     cy - static_cast<int32_t>(std::lround(ry * std::sin(a)))};
}

void Bgi_ArcOutline(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep,
                    std::vector<Bgi_Point>& out) {
    rx = std::clamp(rx, 0, Bgi_MaxRadius);
    ry = std::clamp(ry, 0, Bgi_MaxRadius);
    sweep = std::clamp(sweep, 0, 360);
    const double r = std::max(1, std::max(rx, ry));
    const double from = static_cast<double>(stangle % 360) * (kPi / 180.0);
    const double span = sweep * (kPi / 180.0);
    // Steps of under a pixel along the longer radius: neighbours touch.
    const int64_t steps = std::max<int64_t>(1, static_cast<int64_t>(std::ceil(span * r * 1.5)));
    for (int64_t i = 0; i <= steps; ++i) {
        const double a = from + span * static_cast<double>(i) / static_cast<double>(steps);
        const Bgi_Point p{cx + static_cast<int32_t>(std::lround(rx * std::cos(a))),
                          cy - static_cast<int32_t>(std::lround(ry * std::sin(a)))};
        if (!out.empty() && out.back().x == p.x && out.back().y == p.y) continue;
        if (sweep == 360 && i == steps && out.size() > 1 && out.front().x == p.x && out.front().y == p.y) continue;
        out.push_back(p);
    }
}

void Bgi_PolygonSpans(const Bgi_Point* points, size_t count, const Bgi_Rect& clip, std::vector<Bgi_Span>& out) {
    if (points == nullptr || count < 2 || clip.right < clip.left || clip.bottom < clip.top) return;
    struct Edge {
        double x0, y0, x1, y1;
    };
    std::vector<Edge> edges;
    edges.reserve(count);
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (size_t i = 0; i < count; ++i) {
        const Bgi_Point& a = points[i];
        const Bgi_Point& b = points[(i + 1) % count];
        top = std::min<int64_t>(top, a.y);
        bottom = std::max<int64_t>(bottom, a.y);
        if (a.y == b.y) continue;
        if (a.y < b.y) edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y)});
        else edges.push_back({double(b.x), double(b.y), double(a.x), double(a.y)});
    }
    top = std::max<int64_t>(top, clip.top);
    bottom = std::min<int64_t>(bottom, clip.bottom);
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    std::vector<const Edge*> active;
    std::vector<double> xs;
    size_t next = 0;
    for (int64_t y = top; y <= bottom; ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        while (next < edges.size() && edges[next].y0 <= yc) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->y1 <= yc; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active)
            if (e->y0 <= yc) xs.push_back(e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0));
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const double l = std::ceil(xs[i] - 0.5), r = std::floor(xs[i + 1] - 0.5);
            if (r < l || r < clip.left || l > clip.right) continue;
            Bgi_Span s{static_cast<int32_t>(y), static_cast<int32_t>(std::max<double>(l, clip.left)),
                       static_cast<int32_t>(std::min<double>(r, clip.right))};
            out.push_back(s);
        }
    }
}

void Bgi_Justify(int horiz, int vert, int direction, int32_t width, int32_t height, int32_t& dx, int32_t& dy) {
    // The box across and down the screen.
    const int32_t across = direction == 1 ? height : width;
    const int32_t down = direction == 1 ? width : height;
    dx = horiz == 1 ? -across / 2 : horiz == 2 ? -across : 0;
    dy = vert == 1 ? -down / 2 : vert == 2 ? 0 : -down;
}

size_t Bgi_FloodFill(uint32_t* pixels, int32_t width, int32_t height, int32_t left, int32_t top, int32_t x,
                     int32_t y, uint32_t border, const uint8_t pattern[8], uint32_t foreground, uint32_t background) {
    if (pixels == nullptr || width <= 0 || height <= 0 || x < 0 || y < 0 || x >= width || y >= height) return 0;
    const size_t w = static_cast<size_t>(width);
    if (pixels[static_cast<size_t>(y) * w + static_cast<size_t>(x)] == border) return 0;
    // Visited marks, not the colours, end the fill: the pattern may paint a
    // pixel in the border's own value.
    std::vector<uint8_t> seen(w * static_cast<size_t>(height), 0);
    std::vector<Bgi_Point> stack{{x, y}};
    size_t filled = 0;
    while (!stack.empty()) {
        const Bgi_Point p = stack.back();
        stack.pop_back();
        const size_t row = static_cast<size_t>(p.y) * w;
        auto open = [&](int32_t cx) {
            const size_t i = row + static_cast<size_t>(cx);
            return !seen[i] && pixels[i] != border;
        };
        if (!open(p.x)) continue;
        int32_t l = p.x, r = p.x;
        while (l > 0 && open(l - 1)) --l;
        while (r + 1 < width && open(r + 1)) ++r;
        for (int32_t cx = l; cx <= r; ++cx) {
            const size_t i = row + static_cast<size_t>(cx);
            seen[i] = 1;
            pixels[i] = Bgi_PatternBit(pattern, left + cx, top + p.y) ? foreground : background;
            ++filled;
        }
        for (int32_t ny : {p.y - 1, p.y + 1}) {
            if (ny < 0 || ny >= height) continue;
            const size_t nrow = static_cast<size_t>(ny) * w;
            bool run = false;
            for (int32_t cx = l; cx <= r; ++cx) {
                const size_t i = nrow + static_cast<size_t>(cx);
                const bool o = !seen[i] && pixels[i] != border;
                if (o && !run) stack.push_back({cx, ny});
                run = o;
            }
        }
    }
    return filled;
}
