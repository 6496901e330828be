// The request dispatch: Graph_Dispatch, the one switch on the op code, and the
// rules of each request (what it asks of a DC, in device coordinates); the
// runners that take it to the targets. Plain C++: main thread, like every
// request (any thread for recorders).
#include <cmath>
#include <vector>

#include "GraphDispatch.h"
#include "utf8.h"

Graph_ExecutorState Graph_Executor = {};
Graph_TargetSet Graph_Targets = {};
bool Graph_Begun = false;
void (*Graph_BeginHook)() = nullptr;

namespace {

// ---- coordinates --------------------------------------------------------------

constexpr uint32_t kLimit = Graph_GdiCoordLimit;

bool withinGdi(uint32_t x, uint32_t y) { return x <= kLimit && y <= kLimit; }

Graph_DevicePoint pointOf(uint32_t x, uint32_t y) { return {Graph_GdiCoord(x), Graph_GdiCoord(y)}; }

// An ordered box's pixels, both corners included: GDI leaves right and bottom out.
Graph_DeviceRect boxOf(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    return {Graph_GdiCoord(x1), Graph_GdiCoord(y1), Graph_GdiCoord(x2) + 1, Graph_GdiCoord(y2) + 1};
}

// A pixel beyond GDI's range lies far outside the picture: left out.
void setPixel(Graph_DC& dc, uint32_t x, uint32_t y, uint32_t colour) {
    if (withinGdi(x, y)) dc.Pixel(pointOf(x, y), colour);
}

// A point far out on the ray from the box's centre at `degrees`
// counter-clockwise from the positive x axis (y grows downwards): GDI takes
// arcs' ends as such rays.
Graph_DevicePoint rayOf(const Graph_DeviceRect& box, int64_t degrees) {
    constexpr double kReach = 1 << 20, kPi = 3.14159265358979323846;
    const double a = static_cast<double>(((degrees % 360) + 360) % 360) * kPi / 180.0;
    const double cx = (box.left + static_cast<double>(box.right)) / 2;
    const double cy = (box.top + static_cast<double>(box.bottom)) / 2;
    return {static_cast<int32_t>(std::lround(cx + kReach * std::cos(a))),
            static_cast<int32_t>(std::lround(cy - kReach * std::sin(a)))};
}

// ---- the rules of each request ------------------------------------------------

void drawRectangle(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& r = request.p.rectangle;
    Graph_SelectPenBrush(dc, state, Graph_PaletteColour(r.colour), (r.fill & 0xFF) != 0, true);
    dc.Rectangle(boxOf(r.x1, r.y1, r.x2, r.y2));
}

// NOTE: GDI on Windows keeps device coordinates in 28.4 fixed point: a line
// to beyond about 2^27 is not drawn at all. A segment reaching beyond kLimit
// is cut where it leaves [0, kLimit]^2, far outside any picture, so the part
// in the picture keeps its course.
void drawLine(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& l = request.p.line;
    const uint32_t colour = Graph_PaletteColour(l.colour);
    int64_t from[2] = {l.x1, l.y1}, to[2] = {l.x2, l.y2};
    if ((l.x1 != l.x2 || l.y1 != l.y2) && Graph_CutSegment(from, to, kLimit)) {
        Graph_SelectPenBrush(dc, state, colour, false, false);
        dc.Line({static_cast<int32_t>(from[0]), static_cast<int32_t>(from[1])},
                {static_cast<int32_t>(to[0]), static_cast<int32_t>(to[1])});
    }
    // NOTE: LineTo leaves the end point out; it is set solid, whatever the style.
    setPixel(dc, l.x2, l.y2, colour);
}

void drawText(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& t = request.p.text;
    if (!withinGdi(t.x, t.y)) return; // starts far right of or below the picture
    dc.SetTextColor(Graph_PaletteColour(t.colour));
    const uint32_t length = Graph_TextLength(t.text, Graph_TextMax);
    if (!state.utf8) {
        dc.Text(pointOf(t.x, t.y), t.text, static_cast<int32_t>(length));
        return;
    }
    char16_t wide[Graph_TextMax]; // never more units than bytes
    const size_t units = Graph_Utf8ToUtf16(t.text, length, wide);
    dc.WideText(pointOf(t.x, t.y), wide, static_cast<int32_t>(units));
}

// Ellipses, arcs and pies.
void drawEllipse(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& e = request.p.ellipse;
    const bool fill = (e.fill & 0xFF) != 0 && request.op != OP_ARC;
    const int64_t sweep = e.sweep;
    if (request.op != OP_ELLIPSE && sweep == 0) return;
    const Graph_DeviceRect box = boxOf(e.x1, e.y1, e.x2, e.y2);
    const uint32_t colour = Graph_PaletteColour(e.colour);
    const bool whole = request.op == OP_ELLIPSE || sweep >= 360 || sweep <= -360;
    Graph_SelectPenBrush(dc, state, colour, fill, whole || request.op == OP_PIE);
    // NOTE: GDI draws no ellipse in a box one pixel wide or high; the
    // ellipse that touches its sides is the box itself.
    if (whole && (e.x1 == e.x2 || e.y1 == e.y2)) {
        if (e.x1 != e.x2 || e.y1 != e.y2) {
            dc.Rectangle(box);
        } else {
            setPixel(dc, e.x1, e.y1, colour);
        }
        return;
    }
    if (whole) {
        dc.Ellipse(box);
        return;
    }
    // GDI draws counter-clockwise from the first ray to the second.
    const int64_t from = sweep > 0 ? e.start : static_cast<int64_t>(e.start) + sweep;
    const Graph_DevicePoint start = rayOf(box, from), end = rayOf(box, from + (sweep > 0 ? sweep : -sweep));
    if (request.op == OP_PIE) {
        dc.Pie(box, start, end);
    } else {
        dc.Arc(box, start, end);
    }
}

// Polylines in pieces of this many points (each piece starts where the last
// ended); a polygon of more points takes a heap block.
constexpr uint32_t kPiece = 64;

void convert(const Graph_Point* points, uint32_t count, Graph_DevicePoint* out) {
    for (uint32_t i = 0; i < count; ++i) out[i] = pointOf(points[i].x, points[i].y);
}

// Polylines and polygons.
void drawPoly(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p.poly;
    if (p.count == 0 || p.points == nullptr) return;
    const uint32_t colour = Graph_PaletteColour(p.colour);
    const Graph_Point& last = p.points[p.count - 1];
    if (p.count == 1) {
        setPixel(dc, last.x, last.y, colour);
        return;
    }
    const bool polygon = request.op == OP_POLYGON;
    Graph_SelectPenBrush(dc, state, colour, polygon && (p.fill & 0xFF) != 0, polygon);
    Graph_DevicePoint piece[kPiece];
    if (!polygon) {
        for (uint32_t first = 0; first + 1 < p.count; first += kPiece - 1) {
            const uint32_t n = Graph_Min(kPiece, p.count - first);
            convert(p.points + first, n, piece);
            dc.Polyline(piece, n);
        }
    } else if (p.count <= kPiece) {
        convert(p.points, p.count, piece);
        dc.Polygon(piece, p.count);
    } else {
        std::vector<Graph_DevicePoint> all(p.count);
        convert(p.points, p.count, all.data());
        dc.Polygon(all.data(), p.count);
    }
    // NOTE: a polyline leaves its last point out, as LineTo does; a
    // polygon ends where it began. A styled line may leave out any
    // vertex: each is set, solid, as a line's end point is.
    if (polygon && (state.outlineStyle == Graph_PS_SOLID || (p.fill & 0xFF) != 0)) return;
    if (state.outlineStyle != Graph_PS_SOLID) {
        for (uint32_t i = 0; i + 1 < p.count; ++i) setPixel(dc, p.points[i].x, p.points[i].y, colour);
    }
    setPixel(dc, last.x, last.y, colour);
}

void drawFloodFill(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& f = request.p.flood;
    if (f.x >= Graph_Width || f.y >= Graph_Depth) return;
    Graph_SelectPenBrush(dc, state, Graph_PaletteColour(f.colour), true, true);
    dc.FloodFill(pointOf(f.x, f.y), Graph_PaletteColour(f.border));
}

void drawImage(const Graph_RequestRecord& request, Graph_DC& dc) {
    const auto& i = request.p.image;
    if (i.pixels == nullptr || i.x >= Graph_Width || i.y >= Graph_Depth || i.mode > Graph_NOT) return;
    dc.Image(pointOf(i.x, i.y), i.width, i.height, i.pixels, i.mode);
}

void setFillPattern(const Graph_RequestRecord& request, Graph_ExecutorState& state) {
    const uint32_t pattern = request.p.fillPattern.pattern;
    if (pattern == Graph_PATSYM_SOLID) {
        state.stdBrushStyle = Graph_BS_SOLID;
    } else {
        state.hatch = pattern;
        state.stdBrushStyle = Graph_BS_HATCHED;
    }
    state.stdPatternFlag = true;
}

// ---- the runners --------------------------------------------------------------

// What a request meets where a DC does not exist yet: nothing is drawn, the
// dispatch's own state still changes.
class NoDC final : public Graph_NullDC {};
NoDC noDC;

// The window while a frame is open: what only its own request sets
// (background, palette) reaches it; pixels do not, nor what each shape selects
// for itself (pen, brush, text colour: the next shape drawn there selects them).
// NOTE: forwarding each shape's pen to the window (a SelectObject there per
// shape) made a frame of 10,000 lines about 1.2 times slower (graph_bench).
class SettingsOnly final : public Graph_NullDC {
public:
    explicit SettingsOnly(Graph_DC& dc) : dc_(dc) {}
    void SetBkColor(uint32_t colour) override { dc_.SetBkColor(colour); }
    void SetBkMode(int32_t mode) override { dc_.SetBkMode(mode); }
    void Palette() override { dc_.Palette(); }

private:
    Graph_DC& dc_;
};

struct TargetLock {
    TargetLock() {
        if (Graph_Targets.lock != nullptr) Graph_Targets.lock();
    }
    ~TargetLock() {
        if (Graph_Targets.unlock != nullptr) Graph_Targets.unlock();
    }
    TargetLock(const TargetLock&) = delete;
    TargetLock& operator=(const TargetLock&) = delete;
};

Graph_DC& orNoDC(Graph_DC* dc) { return dc != nullptr ? *dc : noDC; }

} // namespace

void Graph_SelectPenBrush(Graph_DC& dc, const Graph_ExecutorState& state, uint32_t colour, bool fill, bool area) {
    Graph_Pen pen{state.outlineStyle, colour};
    Graph_Brush brush{Graph_BS_HOLLOW, colour, state.hatch};
    if (fill) {
        pen.style = Graph_PS_SOLID;
        if (state.stdPatternFlag) {
            brush.style = state.stdBrushStyle;
        } else {
            // The pattern's 0 bits paint in the text colour: the shape's.
            dc.SetTextColor(colour);
            brush.style = Graph_BS_PATTERN;
        }
    }
    dc.SelectPen(pen);
    if (area) dc.SelectBrush(brush);
}

void Graph_ExecuteOnBuffer() {
    Graph_EnsureBegun();
    TargetLock lock;
    Graph_Dispatch(Graph_Request, Graph_Executor, orNoDC(Graph_Targets.buffer));
}

void Graph_ExecuteOnBoth() {
    Graph_EnsureBegun();
    TargetLock lock;
    Graph_Dispatch(Graph_Request, Graph_Executor, orNoDC(Graph_Targets.buffer));
    Graph_DC& window = orNoDC(Graph_Targets.window);
    if (Graph_Targets.framed != nullptr && Graph_Targets.framed()) {
        SettingsOnly settings(window);
        Graph_Dispatch(Graph_Request, Graph_Executor, settings);
    } else {
        Graph_Dispatch(Graph_Request, Graph_Executor, window);
    }
}

void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p;
    switch (request.op) {
    case OP_PEN_STYLE: state.outlineStyle = p.penStyle.style; break;
    case OP_FILL_PATTERN: setFillPattern(request, state); break;
    case OP_PALETTE: dc.Palette(); break;
    case OP_BK_COLOR: dc.SetBkColor(Graph_PaletteColour(p.bkColour.colour)); break;
    case OP_BK_MODE: dc.SetBkMode(static_cast<int32_t>(p.bkMode.mode)); break;
    case OP_PIXEL: setPixel(dc, p.pixel.x, p.pixel.y, Graph_PaletteColour(p.pixel.colour)); break;
    case OP_RECTANGLE: drawRectangle(request, state, dc); break;
    case OP_LINE: drawLine(request, state, dc); break;
    case OP_ELLIPSE:
    case OP_ARC:
    case OP_PIE: drawEllipse(request, state, dc); break;
    case OP_POLYLINE:
    case OP_POLYGON: drawPoly(request, state, dc); break;
    case OP_FLOOD_FILL: drawFloodFill(request, state, dc); break;
    case OP_TEXT: drawText(request, state, dc); break;
    case OP_IMAGE: drawImage(request, dc); break;
    default: break; // outside the table: nothing
    }
}
