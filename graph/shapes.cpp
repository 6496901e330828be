// Pixels, ellipses, arcs, pies, polylines, polygons, flood fills and image
// blocks: each call's request, and what the request asks of a DC. Plain C++:
// main thread, like every request.
#include <cmath>
#include <cstring>
#include <vector>

#include "GraphDC.h"

namespace {

constexpr uint32_t kLimit = Graph_GdiCoordLimit;
constexpr uint64_t kImageLimit = 64u << 20; // bytes of one image block at most

int32_t toInt(uint32_t v) { return static_cast<int32_t>(v); }

void issue(Graph_OpCode op) {
    Graph_Request.op = op;
    Graph_ExecuteOnBoth();
}

void issueEllipse(Graph_OpCode op, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start,
                  int32_t sweep, uint32_t colour, bool fill) {
    Graph_Request.p.ellipse = {Graph_Min(x1, x2), Graph_Min(y1, y2), Graph_Max(x1, x2), Graph_Max(y1, y2),
                               colour, fill ? 1u : 0u, start, sweep};
    issue(op);
}

// A point far out on the ray from the box's centre at `degrees`
// counter-clockwise from the positive x axis (y grows downwards): GDI takes
// arcs' ends as such rays.
void ray(const int32_t* box, int64_t degrees, int32_t* point) {
    constexpr double kReach = 1 << 20, kPi = 3.14159265358979323846;
    const double a = static_cast<double>(((degrees % 360) + 360) % 360) * kPi / 180.0;
    const double cx = (box[0] + static_cast<double>(box[2])) / 2, cy = (box[1] + static_cast<double>(box[3])) / 2;
    point[0] = static_cast<int32_t>(std::lround(cx + kReach * std::cos(a)));
    point[1] = static_cast<int32_t>(std::lround(cy - kReach * std::sin(a)));
}

void setPixel(Graph_DC& dc, Graph_Point point, uint32_t colour) {
    if (point.x > kLimit || point.y > kLimit) return; // far outside the picture
    const int32_t v[] = {toInt(point.x), toInt(point.y), toInt(colour)};
    dc.Shape(OP_PIXEL, v, 3);
}

void drawEllipse(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& e = request.p.ellipse;
    const bool fill = (e.fill & 0xFF) != 0 && request.op != OP_ARC;
    const int64_t sweep = e.sweep;
    if (request.op != OP_ELLIPSE && sweep == 0) return;
    int32_t v[8] = {Graph_GdiCoord(e.x1), Graph_GdiCoord(e.y1), Graph_GdiCoord(e.x2) + 1, Graph_GdiCoord(e.y2) + 1};
    const bool whole = request.op == OP_ELLIPSE || sweep >= 360 || sweep <= -360;
    Graph_SelectPenBrush(dc, state, Graph_PaletteColour(e.colour), fill, whole || request.op == OP_PIE);
    // NOTE: GDI draws no ellipse in a box one pixel wide or high; the
    // ellipse that touches its sides is the box itself.
    if (whole && (e.x1 == e.x2 || e.y1 == e.y2)) {
        if (e.x1 != e.x2 || e.y1 != e.y2) {
            dc.Shape(OP_RECTANGLE, v, 4);
        } else if (e.x1 <= kLimit && e.y1 <= kLimit) {
            setPixel(dc, {e.x1, e.y1}, Graph_PaletteColour(e.colour));
        }
        return;
    }
    if (whole) {
        dc.Shape(OP_ELLIPSE, v, 4);
        return;
    }
    // GDI draws counter-clockwise from the first ray to the second.
    const int64_t from = sweep > 0 ? e.start : static_cast<int64_t>(e.start) + sweep;
    ray(v, from, v + 4);
    ray(v, from + (sweep > 0 ? sweep : -sweep), v + 6);
    dc.Shape(request.op, v, 8);
}

// Polylines in pieces of this many points (each piece starts where the last
// ended); a polygon of more points takes a heap block.
constexpr uint32_t kPiece = 64;

void convert(const Graph_Point* points, uint32_t count, int32_t* out) {
    for (uint32_t i = 0; i < count; ++i) {
        out[2 * i] = Graph_GdiCoord(points[i].x);
        out[2 * i + 1] = Graph_GdiCoord(points[i].y);
    }
}

void drawPoly(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p.poly;
    if (p.count == 0 || p.points == nullptr) return;
    const uint32_t colour = Graph_PaletteColour(p.colour);
    if (p.count > 1) {
        const bool polygon = request.op == OP_POLYGON;
        Graph_SelectPenBrush(dc, state, colour, polygon && (p.fill & 0xFF) != 0, polygon);
        int32_t piece[2 * kPiece];
        if (!polygon) {
            for (uint32_t first = 0; first + 1 < p.count; first += kPiece - 1) {
                const uint32_t n = Graph_Min(kPiece, p.count - first);
                convert(p.points + first, n, piece);
                dc.Shape(OP_POLYLINE, piece, 2 * n);
            }
        } else if (p.count <= kPiece) {
            convert(p.points, p.count, piece);
            dc.Shape(OP_POLYGON, piece, 2 * p.count);
        } else {
            std::vector<int32_t> all(2 * static_cast<size_t>(p.count));
            convert(p.points, p.count, all.data());
            dc.Shape(OP_POLYGON, all.data(), 2 * p.count);
        }
        // NOTE: a polyline leaves its last point out, as LineTo does; a
        // polygon ends where it began. A styled line may leave out any
        // vertex: each is set, solid, as a line's end point is.
        if (polygon && (state.outlineStyle == Graph_PS_SOLID || (p.fill & 0xFF) != 0)) return;
        if (state.outlineStyle != Graph_PS_SOLID) {
            for (uint32_t i = 0; i + 1 < p.count; ++i) setPixel(dc, p.points[i], colour);
        }
    }
    setPixel(dc, p.points[p.count - 1], colour);
}

} // namespace

void Graph_DispatchShape(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p;
    switch (request.op) {
    case OP_ELLIPSE:
    case OP_ARC:
    case OP_PIE:
        drawEllipse(request, state, dc);
        break;
    case OP_POLYLINE:
    case OP_POLYGON:
        drawPoly(request, state, dc);
        break;
    case OP_FLOOD_FILL: {
        const auto& f = p.flood;
        if (f.x >= Graph_Width || f.y >= Graph_Depth) break;
        Graph_SelectPenBrush(dc, state, Graph_PaletteColour(f.colour), true, true);
        const int32_t v[] = {toInt(f.x), toInt(f.y), toInt(Graph_PaletteColour(f.border))};
        dc.Shape(OP_FLOOD_FILL, v, 3);
        break;
    }
    case OP_IMAGE: {
        const auto& i = p.image;
        if (i.pixels == nullptr || i.x >= Graph_Width || i.y >= Graph_Depth || i.mode > Graph_NOT) break;
        dc.Image(toInt(i.x), toInt(i.y), i.width, i.height, i.pixels, i.mode);
        break;
    }
    default:
        break;
    }
}

void Graph_SetPixel(uint32_t x, uint32_t y, uint32_t colour) {
    Graph_Request.p.pixel = {x, y, colour};
    issue(OP_PIXEL);
}

void Graph_Ellipse(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    issueEllipse(OP_ELLIPSE, x1, y1, x2, y2, 0, 0, colour, fill);
}

void Graph_Arc(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour) {
    issueEllipse(OP_ARC, x1, y1, x2, y2, start, sweep, colour, false);
}

void Graph_Pie(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour,
               bool fill) {
    issueEllipse(OP_PIE, x1, y1, x2, y2, start, sweep, colour, fill);
}

void Graph_Polyline(const Graph_Point* points, uint32_t count, uint32_t colour) {
    Graph_Request.p.poly = {points, count, colour, 0};
    issue(OP_POLYLINE);
}

void Graph_Polygon(const Graph_Point* points, uint32_t count, uint32_t colour, bool fill) {
    Graph_Request.p.poly = {points, count, colour, fill ? 1u : 0u};
    issue(OP_POLYGON);
}

void Graph_FloodFill(uint32_t x, uint32_t y, uint32_t colour, uint32_t border) {
    Graph_Request.p.flood = {x, y, colour, border};
    issue(OP_FLOOD_FILL);
}

uint32_t Graph_ImageSize(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    const uint64_t width = static_cast<uint64_t>(Graph_Max(x1, x2)) - Graph_Min(x1, x2) + 1;
    const uint64_t height = static_cast<uint64_t>(Graph_Max(y1, y2)) - Graph_Min(y1, y2) + 1;
    if (width > kImageLimit || height > kImageLimit) return 0;
    const uint64_t size = sizeof(Graph_ImageHeader) + width * height * 4;
    return size <= kImageLimit ? static_cast<uint32_t>(size) : 0;
}

bool Graph_PutImage(uint32_t x, uint32_t y, const void* image, uint32_t size, uint32_t mode) {
    if (image == nullptr || size < sizeof(Graph_ImageHeader) || mode > Graph_NOT) return false;
    Graph_ImageHeader header;
    std::memcpy(&header, image, sizeof header);
    if (header.width == 0 || header.height == 0 ||
        Graph_ImageSize(0, 0, header.width - 1, header.height - 1) != size) {
        return false;
    }
    Graph_Request.p.image = {x, y, header.width, header.height, mode,
                             reinterpret_cast<const uint32_t*>(static_cast<const char*>(image) + sizeof header)};
    issue(OP_IMAGE);
    return true;
}
