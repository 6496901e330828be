// The request dispatch: Graph_Dispatch, the one switch on the op code, and the
// rules of each request (what it asks of a DC, in device coordinates); the
// runners that take it to the targets. Plain C++: main thread, like every
// request (any thread for recorders).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "GraphDispatch.h"
#include "utf8.h"

Graph_ExecutorState Graph_Executor = {};
Graph_TargetSet Graph_Targets = {};
bool Graph_Begun = false;
void (*Graph_BeginHook)() = nullptr;

namespace {

// ---- coordinates --------------------------------------------------------------

// NOTE: GDI on Windows keeps device coordinates in 28.4 fixed point: a line
// to beyond about 2^27 is not drawn at all. Every device coordinate is kept
// within [-kLimit, kLimit], far outside any picture, so what reaches the
// picture is drawn as it would be without the cap.
constexpr int64_t kLimit = Graph_GdiCoordLimit;

int64_t deviceOf(uint32_t v, int32_t origin) { return static_cast<int64_t>(origin) + v; }
int32_t capped(int64_t d) { return static_cast<int32_t>(d < -kLimit ? -kLimit : d > kLimit ? kLimit : d); }

bool withinGdi(const Graph_ExecutorState& s, uint32_t x, uint32_t y) {
    const int64_t dx = deviceOf(x, s.originX), dy = deviceOf(y, s.originY);
    return dx >= -kLimit && dx <= kLimit && dy >= -kLimit && dy <= kLimit;
}

Graph_DevicePoint pointOf(const Graph_ExecutorState& s, uint32_t x, uint32_t y) {
    return {capped(deviceOf(x, s.originX)), capped(deviceOf(y, s.originY))};
}

// An ordered box's pixels, both corners included: GDI leaves right and bottom out.
Graph_DeviceRect boxOf(const Graph_ExecutorState& s, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    const Graph_DevicePoint a = pointOf(s, x1, y1), b = pointOf(s, x2, y2);
    return {a.x, a.y, b.x + 1, b.y + 1};
}

// A pixel beyond GDI's range lies far outside the picture: left out.
void setPixel(Graph_DC& dc, const Graph_ExecutorState& s, uint32_t x, uint32_t y, uint32_t colour) {
    if (withinGdi(s, x, y)) dc.Pixel(pointOf(s, x, y), colour);
}

// Lines drawn with a geometric pen (wide or patterned): flat ends, the last
// point covered by drawing one pixel further; no end pixel is set apart.
bool geometric(const Graph_ExecutorState& s) { return s.lineWidth > 1 || s.linePattern != 0; }

// The one-pixel step along the segment from a to b.
void stepOf(const int64_t (&a)[2], const int64_t (&b)[2], int64_t (&step)[2]) {
    const double dx = static_cast<double>(b[0] - a[0]), dy = static_cast<double>(b[1] - a[1]);
    const double length = std::hypot(dx, dy);
    step[0] = length == 0 ? 1 : std::lround(dx / length);
    step[1] = length == 0 ? 0 : std::lround(dy / length);
}

// A segment one pixel longer, so that both ends are covered. NOTE: a
// geometric pen one pixel wide draws as a one-pixel line does (from a up to,
// not including, b): the pixel more goes past b. A wider one fills a band
// from its lower coordinate up to, not including, its higher one: the pixel
// more goes on the higher side along the segment's main axis, past b going
// right or down, before a going left or up (the pattern still starts at a).
// Whether a segment runs left or up along its main axis (step: stepOf's).
bool runsBack(const int64_t (&a)[2], const int64_t (&b)[2], const int64_t (&step)[2]) {
    const bool xMain = std::abs(b[0] - a[0]) >= std::abs(b[1] - a[1]);
    return (xMain ? step[0] : step[1]) < 0;
}

void extend(int64_t (&a)[2], int64_t (&b)[2], bool band) {
    int64_t step[2];
    stepOf(a, b, step);
    if (band && runsBack(a, b, step)) {
        a[0] -= step[0];
        a[1] -= step[1];
    } else {
        b[0] += step[0];
        b[1] += step[1];
    }
}

// A line's last point, solid whatever the style: SetPixelV, or in XOR a line
// one pixel long (SetPixelV ignores the write mode), with the selected pen.
void endPixel(Graph_DC& dc, const Graph_ExecutorState& s, uint32_t x, uint32_t y, uint32_t colour) {
    if (s.writeMode != Graph_XOR) {
        setPixel(dc, s, x, y, colour);
    } else if (withinGdi(s, x, y)) {
        const Graph_DevicePoint p = pointOf(s, x, y);
        dc.Line(p, {p.x + 1, p.y});
    }
}

// A segment between device points cut where it leaves [-kLimit, kLimit]^2.
// Graph_CutSegment cuts above a limit only: shifted so every coordinate is
// positive it cuts the upper side, then mirrored the lower one.
bool cutToGdi(int64_t (&a)[2], int64_t (&b)[2]) {
    constexpr int64_t kShift = int64_t{1} << 32; // above minus any origin
    bool inside = true;
    for (int i = 0; i < 2; ++i) inside = inside && a[i] >= -kLimit && a[i] <= kLimit && b[i] >= -kLimit && b[i] <= kLimit;
    if (inside) return true;
    for (int i = 0; i < 2; ++i) {
        a[i] += kShift;
        b[i] += kShift;
    }
    if (!Graph_CutSegment(a, b, kShift + kLimit)) return false;
    for (int i = 0; i < 2; ++i) {
        a[i] = kShift + kLimit - a[i];
        b[i] = kShift + kLimit - b[i];
    }
    if (!Graph_CutSegment(a, b, 2 * kLimit)) return false;
    for (int i = 0; i < 2; ++i) {
        a[i] = kLimit - a[i];
        b[i] = kLimit - b[i];
    }
    return true;
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
    dc.Rectangle(boxOf(state, r.x1, r.y1, r.x2, r.y2));
}

void drawLine(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& l = request.p.line;
    const uint32_t colour = Graph_PaletteColour(l.colour);
    const bool wide = geometric(state);
    int64_t from[2] = {deviceOf(l.x1, state.originX), deviceOf(l.y1, state.originY)};
    int64_t to[2] = {deviceOf(l.x2, state.originX), deviceOf(l.y2, state.originY)};
    if (wide) extend(from, to, state.lineWidth > 1);
    const bool segment = wide || l.x1 != l.x2 || l.y1 != l.y2;
    if (segment || state.writeMode == Graph_XOR) Graph_SelectPenBrush(dc, state, colour, false, false);
    if (segment && cutToGdi(from, to)) {
        dc.Line({static_cast<int32_t>(from[0]), static_cast<int32_t>(from[1])},
                {static_cast<int32_t>(to[0]), static_cast<int32_t>(to[1])});
    }
    // NOTE: LineTo leaves the end point out; it is set solid, whatever the style.
    if (!wide) endPixel(dc, state, l.x2, l.y2, colour);
}

void drawText(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& t = request.p.text;
    if (!withinGdi(state, t.x, t.y)) return; // starts far outside the picture
    dc.SetTextColor(Graph_PaletteColour(t.colour));
    const uint32_t length = Graph_TextLength(t.text, Graph_TextMax);
    if (!state.utf8) {
        dc.Text(pointOf(state, t.x, t.y), t.text, static_cast<int32_t>(length));
        return;
    }
    char16_t wide[Graph_TextMax]; // never more units than bytes
    const size_t units = Graph_Utf8ToUtf16(t.text, length, wide);
    dc.WideText(pointOf(state, t.x, t.y), wide, static_cast<int32_t>(units));
}

// WINE: Ellipse, Arc and Pie in a box of a million pixels across crash Wine's
// GDI (a page fault writing its scan lines; 100,000 are drawn). A box wider or
// higher than this is drawn as the chain of its outline's points, at most
// 0.3 pixels from the curve: a polyline, or a polygon when it fills or is a pie.
constexpr int64_t kCurveLimit = 1 << 17;
constexpr uint32_t kCurvePoints = 8192; // a whole turn

void drawHugeCurve(const Graph_DeviceRect& box, int64_t from, int64_t sweep, bool closed, bool pie, Graph_DC& dc) {
    constexpr double kPi = 3.14159265358979323846;
    const double cx = (box.left + static_cast<double>(box.right - 1)) / 2, rx = (box.right - 1 - box.left) / 2.0;
    const double cy = (box.top + static_cast<double>(box.bottom - 1)) / 2, ry = (box.bottom - 1 - box.top) / 2.0;
    const uint32_t n = static_cast<uint32_t>(std::max<int64_t>(2, kCurvePoints * sweep / 360));
    std::vector<Graph_DevicePoint> points;
    points.reserve(n + 2);
    for (uint32_t i = 0; i <= n; ++i) {
        const double a = (static_cast<double>(from) + static_cast<double>(sweep) * i / n) * kPi / 180.0;
        points.push_back({capped(std::lround(cx + rx * std::cos(a))), capped(std::lround(cy - ry * std::sin(a)))});
    }
    if (pie) points.push_back({capped(std::lround(cx)), capped(std::lround(cy))});
    if (closed) {
        dc.Polygon(points.data(), static_cast<uint32_t>(points.size()));
    } else {
        dc.Polyline(points.data(), static_cast<uint32_t>(points.size()));
    }
}

// Ellipses, arcs and pies.
void drawEllipse(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& e = request.p.ellipse;
    const bool fill = (e.fill & 0xFF) != 0 && request.op != OP_ARC;
    const int64_t sweep = e.sweep;
    if (request.op != OP_ELLIPSE && sweep == 0) return;
    const Graph_DeviceRect box = boxOf(state, e.x1, e.y1, e.x2, e.y2);
    const uint32_t colour = Graph_PaletteColour(e.colour);
    const bool whole = request.op == OP_ELLIPSE || sweep >= 360 || sweep <= -360;
    Graph_SelectPenBrush(dc, state, colour, fill, whole || request.op == OP_PIE);
    // NOTE: GDI draws no ellipse in a box one pixel wide or high; the
    // ellipse that touches its sides is the box itself.
    if (whole && (e.x1 == e.x2 || e.y1 == e.y2)) {
        if (e.x1 != e.x2 || e.y1 != e.y2) {
            dc.Rectangle(box);
        } else {
            setPixel(dc, state, e.x1, e.y1, colour);
        }
        return;
    }
    // GDI draws counter-clockwise from the first ray to the second.
    const int64_t from = whole ? 0 : sweep > 0 ? e.start : static_cast<int64_t>(e.start) + sweep;
    if (int64_t{box.right} - box.left > kCurveLimit || int64_t{box.bottom} - box.top > kCurveLimit) {
        const bool pie = !whole && request.op == OP_PIE;
        drawHugeCurve(box, from, whole ? 360 : sweep > 0 ? sweep : -sweep, whole || pie, pie, dc);
        return;
    }
    if (whole) {
        dc.Ellipse(box);
        return;
    }
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

void convert(const Graph_ExecutorState& s, const Graph_Point* points, uint32_t count, Graph_DevicePoint* out) {
    for (uint32_t i = 0; i < count; ++i) out[i] = pointOf(s, points[i].x, points[i].y);
}

// A polyline of a geometric pen in one piece (its corners joined), its last
// point covered by one pixel more.
void drawWidePolyline(const Graph_Point* points, uint32_t count, const Graph_ExecutorState& state, Graph_DC& dc) {
    std::vector<Graph_DevicePoint> all(count);
    convert(state, points, count, all.data());
    // Its ends as extend covers a line's: the first segment's start and the
    // last one's end, each on the side its band leaves out.
    const bool band = state.lineWidth > 1;
    const int64_t a[2] = {all[0].x, all[0].y}, b[2] = {all[1].x, all[1].y};
    const int64_t c[2] = {all[count - 2].x, all[count - 2].y}, d[2] = {all[count - 1].x, all[count - 1].y};
    int64_t first[2], last[2];
    stepOf(a, b, first);
    stepOf(c, d, last);
    if (band && runsBack(a, b, first)) all[0] = {capped(a[0] - first[0]), capped(a[1] - first[1])};
    if (!band || !runsBack(c, d, last)) all[count - 1] = {capped(d[0] + last[0]), capped(d[1] + last[1])};
    dc.Polyline(all.data(), count);
}

// Polylines and polygons.
void drawPoly(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p.poly;
    if (p.count == 0 || p.points == nullptr) return;
    const uint32_t colour = Graph_PaletteColour(p.colour);
    const Graph_Point& last = p.points[p.count - 1];
    if (p.count == 1) {
        setPixel(dc, state, last.x, last.y, colour);
        return;
    }
    const bool polygon = request.op == OP_POLYGON;
    const bool filled = polygon && (p.fill & 0xFF) != 0;
    Graph_SelectPenBrush(dc, state, colour, filled, polygon);
    Graph_DevicePoint piece[kPiece];
    const bool wide = geometric(state) && !filled;
    if (!polygon && wide) {
        drawWidePolyline(p.points, p.count, state, dc);
        return;
    }
    if (!polygon) {
        for (uint32_t first = 0; first + 1 < p.count; first += kPiece - 1) {
            const uint32_t n = Graph_Min(kPiece, p.count - first);
            convert(state, p.points + first, n, piece);
            dc.Polyline(piece, n);
        }
    } else if (p.count <= kPiece) {
        convert(state, p.points, p.count, piece);
        dc.Polygon(piece, p.count);
    } else {
        std::vector<Graph_DevicePoint> all(p.count);
        convert(state, p.points, p.count, all.data());
        dc.Polygon(all.data(), p.count);
    }
    // NOTE: a polyline leaves its last point out, as LineTo does; a
    // polygon ends where it began. A styled line may leave out any
    // vertex: each is set, solid, as a line's end point is.
    // In XOR a vertex drawn twice would be taken away again: none is set.
    if (polygon && (state.outlineStyle == Graph_PS_SOLID || filled || wide || state.writeMode == Graph_XOR)) return;
    if (state.outlineStyle != Graph_PS_SOLID && state.writeMode != Graph_XOR) {
        for (uint32_t i = 0; i + 1 < p.count; ++i) setPixel(dc, state, p.points[i].x, p.points[i].y, colour);
    }
    endPixel(dc, state, last.x, last.y, colour);
}

void drawFloodFill(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& f = request.p.flood;
    const int64_t x = deviceOf(f.x, state.originX), y = deviceOf(f.y, state.originY);
    if (x < 0 || y < 0 || x >= Graph_Width || y >= Graph_Depth) return;
    Graph_SelectPenBrush(dc, state, Graph_PaletteColour(f.colour), true, true);
    dc.FloodFill(pointOf(state, f.x, f.y), Graph_PaletteColour(f.border));
}

void drawImage(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& i = request.p.image;
    const int64_t x = deviceOf(i.x, state.originX), y = deviceOf(i.y, state.originY);
    if (i.pixels == nullptr || i.mode > Graph_ALPHA || x >= Graph_Width || y >= Graph_Depth ||
        x + i.width <= 0 || y + i.height <= 0) {
        return; // nothing of it reaches the picture
    }
    dc.Image(pointOf(state, i.x, i.y), i.width, i.height, i.pixels, i.mode);
}

void setClip(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& c = request.p.clip;
    state.clipped = c.on != 0;
    state.clipX1 = c.x1;
    state.clipY1 = c.y1;
    state.clipX2 = c.x2;
    state.clipY2 = c.y2;
    // Picture pixels: the origin does not move the clip rectangle.
    // Corners in any order, as every box of a request.
    const Graph_DeviceRect box{Graph_GdiCoord(std::min(c.x1, c.x2)), Graph_GdiCoord(std::min(c.y1, c.y2)),
                               Graph_GdiCoord(std::max(c.x1, c.x2)) + 1, Graph_GdiCoord(std::max(c.y1, c.y2)) + 1};
    dc.Clip(state.clipped ? &box : nullptr);
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

// The buffer and the window as one DC, so that a request is worked out once.
// Each call goes to the buffer first (the window takes flood fills and image
// blocks from it), then to the window. While a frame is open the window gets
// only what outlasts the request (background, palette, write mode, clip):
// not the pixels, nor what each shape selects for itself (pen, brush, text
// colour: the next shape drawn there selects them).
// NOTE: forwarding each shape's pen to the window during a frame (a
// SelectObject there per shape) made a frame of 10,000 lines about 1.2 times
// slower (graph_bench); working each request out a second time for the
// window, about 1.1 times.
class BothDCs final : public Graph_DC {
public:
    BothDCs(Graph_DC& buffer, Graph_DC& window, bool framed)
        : buffer_(buffer), window_(window), shapes_(framed ? static_cast<Graph_DC&>(noDC) : window) {}

    using P = Graph_DevicePoint;
    using R = Graph_DeviceRect;
    void SelectPen(const Graph_Pen& pen) override { shape(&Graph_DC::SelectPen, pen); }
    void SelectBrush(const Graph_Brush& brush) override { shape(&Graph_DC::SelectBrush, brush); }
    void SetTextColor(uint32_t colour) override { shape(&Graph_DC::SetTextColor, colour); }
    void SetBkColor(uint32_t colour) override { setting(&Graph_DC::SetBkColor, colour); }
    void SetBkMode(int32_t mode) override { setting(&Graph_DC::SetBkMode, mode); }
    void Palette() override { setting(&Graph_DC::Palette); }
    void SetWriteMode(uint32_t mode) override { setting(&Graph_DC::SetWriteMode, mode); }
    void Clip(const R* box) override { setting(&Graph_DC::Clip, box); }
    void Pixel(P at, uint32_t colour) override { shape(&Graph_DC::Pixel, at, colour); }
    void Line(P from, P to) override { shape(&Graph_DC::Line, from, to); }
    void Rectangle(const R& box) override { shape(&Graph_DC::Rectangle, box); }
    void Ellipse(const R& box) override { shape(&Graph_DC::Ellipse, box); }
    void Arc(const R& box, P start, P end) override { shape(&Graph_DC::Arc, box, start, end); }
    void Pie(const R& box, P start, P end) override { shape(&Graph_DC::Pie, box, start, end); }
    void Polyline(const P* points, uint32_t count) override { shape(&Graph_DC::Polyline, points, count); }
    void Polygon(const P* points, uint32_t count) override { shape(&Graph_DC::Polygon, points, count); }
    void FloodFill(P at, uint32_t border) override { shape(&Graph_DC::FloodFill, at, border); }
    void Text(P at, const char* text, int32_t length) override { shape(&Graph_DC::Text, at, text, length); }
    void WideText(P at, const char16_t* text, int32_t length) override {
        shape(&Graph_DC::WideText, at, text, length);
    }
    void Image(P at, uint32_t width, uint32_t height, const uint32_t* pixels, uint32_t mode) override {
        shape(&Graph_DC::Image, at, width, height, pixels, mode);
    }

private:
    // What outlasts the request reaches both DCs; a shape's part the window
    // only outside a frame.
    template <typename... Declared, typename... Given>
    void setting(void (Graph_DC::*call)(Declared...), Given... values) {
        (buffer_.*call)(values...);
        (window_.*call)(values...);
    }
    template <typename... Declared, typename... Given>
    void shape(void (Graph_DC::*call)(Declared...), Given... values) {
        (buffer_.*call)(values...);
        (shapes_.*call)(values...);
    }

    Graph_DC& buffer_;
    Graph_DC& window_;
    Graph_DC& shapes_; // the window, or no DC while a frame is open
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
    Graph_Pen pen{state.outlineStyle, colour, state.lineWidth, state.linePattern};
    Graph_Brush brush{Graph_BS_HOLLOW, colour, state.hatch};
    if (fill) {
        pen = Graph_Pen{Graph_PS_SOLID, colour};
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
    BothDCs both(orNoDC(Graph_Targets.buffer), orNoDC(Graph_Targets.window),
                 Graph_Targets.framed != nullptr && Graph_Targets.framed());
    Graph_Dispatch(Graph_Request, Graph_Executor, both);
}

void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p;
    switch (request.op) {
    case OP_PEN_STYLE:
        state.outlineStyle = p.penStyle.style;
        state.linePattern = 0;
        break;
    case OP_LINE_WIDTH: state.lineWidth = p.lineWidth.pixels; break;
    case OP_LINE_PATTERN: state.linePattern = p.linePattern.pattern; break;
    case OP_WRITE_MODE: // any other number copies, as the DC takes it
        state.writeMode = p.writeMode.mode == Graph_XOR ? Graph_XOR : Graph_COPY;
        dc.SetWriteMode(state.writeMode);
        break;
    case OP_CLIP: setClip(request, state, dc); break;
    case OP_ORIGIN:
        state.originX = p.origin.x;
        state.originY = p.origin.y;
        break;
    case OP_FILL_PATTERN: setFillPattern(request, state); break;
    case OP_PALETTE: dc.Palette(); break;
    case OP_BK_COLOR: dc.SetBkColor(Graph_PaletteColour(p.bkColour.colour)); break;
    case OP_BK_MODE: dc.SetBkMode(static_cast<int32_t>(p.bkMode.mode)); break;
    case OP_PIXEL: setPixel(dc, state, p.pixel.x, p.pixel.y, Graph_PaletteColour(p.pixel.colour)); break;
    case OP_RECTANGLE: drawRectangle(request, state, dc); break;
    case OP_LINE: drawLine(request, state, dc); break;
    case OP_ELLIPSE:
    case OP_ARC:
    case OP_PIE: drawEllipse(request, state, dc); break;
    case OP_POLYLINE:
    case OP_POLYGON: drawPoly(request, state, dc); break;
    case OP_FLOOD_FILL: drawFloodFill(request, state, dc); break;
    case OP_TEXT: drawText(request, state, dc); break;
    case OP_IMAGE: drawImage(request, state, dc); break;
    default: break; // outside the table: nothing
    }
}
