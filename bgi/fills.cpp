// Fills: the fill style or user pattern and its colour, bars, filled
// polygons, ellipses, pie slices and sectors (each with its outline in the
// drawing colour), and the flood fill.
#include <cstring>
#include <new>
#include <vector>

#include "bgi_state.h"
#include "graph_adapter.h"

void Bgi_ApplyFill() {
    const uint8_t* pattern = Bgi_S.fillStyle == USER_FILL ? Bgi_S.userFill : Bgi_FillPatterns[Bgi_S.fillStyle];
    BgiG_SetFill(pattern, Bgi_Background());
}

namespace {
bool fillColour(uint32_t& colour) {
    if (!Bgi_Ready()) return false;
    return Bgi_GraphColour(Bgi_S.fillColour, colour);
}
bool drawColour(uint32_t& colour) { return Bgi_GraphColour(Bgi_S.colour, colour); }

bool pointsOk(int numpoints, const int* polypoints) {
    if (numpoints < 0 || (numpoints > 0 && polypoints == nullptr)) {
        Bgi_Fail(grError);
        return false;
    }
    return true;
}

int aspectRadius(int r) {
    return static_cast<int>(static_cast<int64_t>(r) * Bgi_S.xAspect / (Bgi_S.yAspect > 0 ? Bgi_S.yAspect : 1));
}

void pie(int x, int y, int stangle, int endangle, int rx, int ry) {
    if (rx < 0 || ry < 0 || rx > Bgi_MaxRadius || ry > Bgi_MaxRadius) return Bgi_Fail(grError);
    uint32_t fill, line;
    if (!fillColour(fill) || !drawColour(line)) return;
    const int sweep = Bgi_ArcSweep(stangle, endangle);
    const Bgi_Point a = Bgi_EllipsePoint(x, y, rx, ry, stangle);
    const Bgi_Point b = Bgi_EllipsePoint(x, y, rx, ry, endangle);
    Bgi_S.arc = arccoordstype{x, y, a.x, a.y, b.x, b.y};
    BgiG_FillPie(x, y, rx, ry, stangle, sweep, fill);
    BgiG_Arc(x, y, rx, ry, stangle, sweep, line);
    if (sweep < 360) {
        BgiG_Line(x, y, a.x, a.y, line);
        BgiG_Line(x, y, b.x, b.y, line);
    }
}
} // namespace

extern "C" {

void setfillstyle(int pattern, int color) {
    // USER_FILL comes only with its pattern (setfillpattern).
    if (pattern < EMPTY_FILL || pattern >= USER_FILL) return Bgi_Fail(grError);
    uint32_t g;
    if (!Bgi_GraphColour(color, g)) return;
    Bgi_S.fillStyle = pattern;
    Bgi_S.fillColour = color;
    if (Bgi_S.graphics) Bgi_ApplyFill();
}

void setfillpattern(const char* upattern, int color) {
    if (upattern == nullptr) return Bgi_Fail(grError);
    uint32_t g;
    if (!Bgi_GraphColour(color, g)) return;
    std::memcpy(Bgi_S.userFill, upattern, 8);
    Bgi_S.fillStyle = USER_FILL;
    Bgi_S.fillColour = color;
    if (Bgi_S.graphics) Bgi_ApplyFill();
}

void getfillsettings(struct fillsettingstype* fillinfo) {
    if (fillinfo == nullptr) return Bgi_Fail(grError);
    *fillinfo = fillsettingstype{Bgi_S.fillStyle, Bgi_S.fillColour};
}

void getfillpattern(char* pattern) {
    if (pattern == nullptr) return Bgi_Fail(grError);
    std::memcpy(pattern, Bgi_S.userFill, 8);
}

void bar(int left, int top, int right, int bottom) {
    uint32_t c;
    if (fillColour(c)) BgiG_Bar(left, top, right, bottom, c);
}

void bar3d(int left, int top, int right, int bottom, int depth, int topflag) {
    uint32_t fill, c;
    if (!fillColour(fill) || !drawColour(c)) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    BgiG_Bar(left, top, right, bottom, fill);
    const int front[] = {left, top, right, top, right, bottom, left, bottom};
    Bgi_Outline(front, 4, true, c);
    if (depth <= 0) return;
    // The back edges at 45 degrees, depth pixels across and up.
    BgiG_Line(right, bottom, right + depth, bottom - depth, c);
    BgiG_Line(right + depth, bottom - depth, right + depth, top - depth, c);
    if (topflag) {
        BgiG_Line(left, top, left + depth, top - depth, c);
        BgiG_Line(right, top, right + depth, top - depth, c);
        BgiG_Line(left + depth, top - depth, right + depth, top - depth, c);
    }
}

void fillpoly(int numpoints, const int* polypoints) {
    if (!pointsOk(numpoints, polypoints)) return;
    uint32_t fill, c;
    if (!fillColour(fill) || !drawColour(c) || numpoints == 0) return;
    // No exception leaves a C call: memory running out is Borland's result.
    try {
        std::vector<Bgi_Point> points(static_cast<size_t>(numpoints));
        for (size_t i = 0; i < points.size(); ++i) points[i] = {polypoints[2 * i], polypoints[2 * i + 1]};
        BgiG_FillPolygon(points.data(), points.size(), fill);
    } catch (const std::bad_alloc&) {
        return Bgi_Fail(grNoScanMem);
    }
    Bgi_Outline(polypoints, numpoints, true, c);
}

void fillellipse(int x, int y, int xradius, int yradius) {
    if (xradius < 0 || yradius < 0 || xradius > Bgi_MaxRadius || yradius > Bgi_MaxRadius) return Bgi_Fail(grError);
    uint32_t fill, c;
    if (!fillColour(fill) || !drawColour(c)) return;
    BgiG_FillEllipse(x, y, xradius, yradius, fill);
    BgiG_Arc(x, y, xradius, yradius, 0, 360, c);
}

void pieslice(int x, int y, int stangle, int endangle, int radius) {
    pie(x, y, stangle, endangle, radius, aspectRadius(radius));
}

void sector(int x, int y, int stangle, int endangle, int xradius, int yradius) {
    pie(x, y, stangle, endangle, xradius, yradius);
}

void floodfill(int x, int y, int border) {
    uint32_t fill, g;
    if (!fillColour(fill) || !Bgi_GraphColour(border, g)) return;
    try {
        BgiG_FloodFill(x, y, fill, BgiG_ColourValue(g));
    } catch (const std::bad_alloc&) {
        Bgi_Fail(grNoFloodMem);
    }
}

} // extern "C"
