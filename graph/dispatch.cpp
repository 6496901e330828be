// The request dispatch over the DC seam, and the two runners.
#include <algorithm>

#include "Graph.h"
#include "GraphDC.h"

Graph_ExecutorState Graph_Executor = {};
Graph_TargetSet Graph_Targets = {};
bool Graph_Begun = false;
void (*Graph_BeginHook)() = nullptr;

namespace {

int32_t toInt(uint32_t v) { return static_cast<int32_t>(v); }

constexpr int64_t kLimit = Graph_GdiCoordLimit;

bool withinGdi(uint32_t x, uint32_t y) { return x <= kLimit && y <= kLimit; }

// A coordinate on the segment at parameter u in [0, 1], rounded, kept in
// [0, kLimit] (rounding may step a hair outside).
int64_t along(int64_t from, int64_t to, long double u) {
    long double v = static_cast<long double>(from) + u * static_cast<long double>(to - from);
    if (v < 0) v = 0;
    if (v > kLimit) v = kLimit;
    return static_cast<int64_t>(v + 0.5L);
}

// NOTE: GDI on Windows keeps device coordinates in 28.4 fixed point: a line
// to beyond about 2^27 is not drawn at all. A segment reaching beyond kLimit
// is cut where it leaves [0, kLimit]^2, far outside any picture, so the part
// in the picture keeps its course. False when nothing of it is left.
bool cutLine(int64_t (&a)[2], int64_t (&b)[2]) {
    if (a[0] <= kLimit && a[1] <= kLimit && b[0] <= kLimit && b[1] <= kLimit) return true;
    long double u0 = 0.0L, u1 = 1.0L;
    for (int axis = 0; axis < 2; ++axis) {
        const int64_t from = a[axis], to = b[axis];
        if (from > kLimit && to > kLimit) return false;
        if (from > kLimit) {
            u0 = std::max(u0, static_cast<long double>(from - kLimit) / static_cast<long double>(from - to));
        } else if (to > kLimit) {
            u1 = std::min(u1, static_cast<long double>(kLimit - from) / static_cast<long double>(to - from));
        }
    }
    if (u0 > u1) return false;
    const int64_t cutA[2] = {along(a[0], b[0], u0), along(a[1], b[1], u0)};
    const int64_t cutB[2] = {along(a[0], b[0], u1), along(a[1], b[1], u1)};
    for (int axis = 0; axis < 2; ++axis) {
        a[axis] = cutA[axis];
        b[axis] = cutB[axis];
    }
    return true;
}

// What a request meets where a DC does not exist yet: nothing is drawn, the
// dispatch's own state still changes.
class NoDC final : public Graph_DC {
public:
    void SelectPen(uint32_t, uint32_t) override {}
    void SelectBrush(uint32_t, uint32_t, uintptr_t) override {}
    void SetTextColor(uint32_t) override {}
    void SetBkColor(uint32_t) override {}
    void SetBkMode(int32_t) override {}
    void Shape(uint8_t, const int32_t*, uint32_t) override {}
    void Text(int32_t, int32_t, const char*, int32_t) override {}
    void Image(int32_t, int32_t, uint32_t, uint32_t, const uint32_t*, uint32_t) override {}
    void ApplyPalette() override {}
};
NoDC noDC;

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

// Requests that change only what a DC holds, not its pixels.
bool setsStateOnly(uint8_t op) {
    return op == OP_PEN_STYLE || op == OP_FILL_PATTERN || op == OP_PALETTE || op == OP_BK_COLOR ||
           op == OP_BK_MODE;
}

} // namespace

void Graph_SelectPenBrush(Graph_DC& dc, const Graph_ExecutorState& state, uint32_t colour, bool fill, bool area) {
    uint32_t penStyle = state.outlineStyle;
    uint32_t brushStyle = Graph_BS_HOLLOW;
    if (fill) {
        penStyle = Graph_PS_SOLID;
        if (state.stdPatternFlag) {
            brushStyle = state.stdBrushStyle;
        } else {
            // The pattern's 0 bits paint in the text colour: the shape's.
            dc.SetTextColor(colour);
            brushStyle = Graph_BS_PATTERN;
        }
    }
    dc.SelectPen(penStyle, colour);
    if (area) dc.SelectBrush(brushStyle, colour, state.hatch);
}

void Graph_ExecuteOnBuffer() {
    Graph_EnsureBegun();
    TargetLock lock;
    Graph_Dispatch(Graph_Request, Graph_Executor, orNoDC(Graph_Targets.buffer));
}

void Graph_ExecuteOnBoth() {
    Graph_EnsureBegun();
    TargetLock lock;
    ++Graph_Targets.changes;
    Graph_Dispatch(Graph_Request, Graph_Executor, orNoDC(Graph_Targets.buffer));
    if (!Graph_Targets.bufferOnly || setsStateOnly(Graph_Request.op)) {
        Graph_Dispatch(Graph_Request, Graph_Executor, orNoDC(Graph_Targets.window));
    }
}

void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_DC& dc) {
    const auto& p = request.p;
    switch (request.op) {
    case OP_PEN_STYLE:
        state.outlineStyle = p.penStyle.style;
        break;
    case OP_FILL_PATTERN:
        if (p.fillPattern.pattern == Graph_PATSYM_SOLID) {
            state.stdBrushStyle = Graph_BS_SOLID;
        } else {
            state.hatch = p.fillPattern.pattern;
            state.stdBrushStyle = Graph_BS_HATCHED;
        }
        state.stdPatternFlag = true;
        break;
    case OP_PALETTE:
        dc.ApplyPalette();
        break;
    case OP_BK_COLOR:
        dc.SetBkColor(Graph_PaletteColour(p.bkColour.colour));
        break;
    case OP_BK_MODE:
        dc.SetBkMode(toInt(p.bkMode.mode));
        break;
    case OP_PIXEL:
        // Beyond GDI's range a pixel lies far outside the picture.
        if (withinGdi(p.pixel.x, p.pixel.y)) {
            const int32_t v[] = {toInt(p.pixel.x), toInt(p.pixel.y), toInt(Graph_PaletteColour(p.pixel.colour))};
            dc.Shape(OP_PIXEL, v, 3);
        }
        break;
    case OP_RECTANGLE: {
        const auto& r = p.rectangle;
        Graph_SelectPenBrush(dc, state, Graph_PaletteColour(r.colour), (r.fill & 0xFF) != 0, true);
        const int32_t v[] = {Graph_GdiCoord(r.x1), Graph_GdiCoord(r.y1), Graph_GdiCoord(r.x2) + 1,
                             Graph_GdiCoord(r.y2) + 1};
        dc.Shape(OP_RECTANGLE, v, 4);
        break;
    }
    case OP_LINE: {
        const auto& l = p.line;
        const uint32_t colour = Graph_PaletteColour(l.colour);
        int64_t from[2] = {l.x1, l.y1}, to[2] = {l.x2, l.y2};
        if ((l.x1 != l.x2 || l.y1 != l.y2) && cutLine(from, to)) {
            Graph_SelectPenBrush(dc, state, colour, false, false);
            const int32_t v[] = {static_cast<int32_t>(from[0]), static_cast<int32_t>(from[1]),
                                 static_cast<int32_t>(to[0]), static_cast<int32_t>(to[1])};
            dc.Shape(OP_LINE, v, 4);
        }
        // NOTE: LineTo leaves the end point out; it is set solid, whatever the style.
        if (withinGdi(l.x2, l.y2)) {
            const int32_t v[] = {toInt(l.x2), toInt(l.y2), toInt(colour)};
            dc.Shape(OP_PIXEL, v, 3);
        }
        break;
    }
    case OP_TEXT: {
        const auto& t = p.text;
        if (!withinGdi(t.x, t.y)) break; // starts far right of or below the picture
        dc.SetTextColor(Graph_PaletteColour(t.colour));
        dc.Text(toInt(t.x), toInt(t.y), t.text, static_cast<int32_t>(Graph_TextLength(t.text, Graph_TextMax)));
        break;
    }
    default:
        Graph_DispatchShape(request, state, dc); // the shapes of shapes.cpp; ignores other codes
        break;
    }
}
