// Lines and shapes: the line settings and write mode, lines from and to the
// current position, rectangles, polylines, circles, arcs, ellipses and their
// end points, and single pixels. Every coordinate is relative to the viewport.
#include <cmath>
#include <vector>

#include "bgi_state.h"
#include "graph_adapter.h"

void Bgi_ApplyLine() {
    const Bgi_State& s = Bgi_S;
    BgiG_SetLineWidth(static_cast<uint32_t>(s.thickness));
    BgiG_SetLinePattern(s.lineStyle == USERBIT_LINE ? static_cast<uint16_t>(s.userPattern)
                                                    : Bgi_LinePatterns[s.lineStyle]);
    BgiG_SetWriteMode(s.writeMode == XOR_PUT);
}

namespace {
// The drawing colour as Graph's; false when the graphics are off.
bool drawColour(uint32_t& colour) {
    if (!Bgi_Ready()) return false;
    return Bgi_GraphColour(Bgi_S.colour, colour);
}

// A circle's vertical radius: Borland corrects it by the aspect ratio.
int aspectRadius(int r) {
    return static_cast<int>(static_cast<int64_t>(r) * Bgi_S.xAspect / (Bgi_S.yAspect > 0 ? Bgi_S.yAspect : 1));
}

void noteArc(int x, int y, int stangle, int endangle, int rx, int ry) {
    const Bgi_Point a = Bgi_EllipsePoint(x, y, rx, ry, stangle);
    const Bgi_Point b = Bgi_EllipsePoint(x, y, rx, ry, endangle);
    Bgi_S.arc = arccoordstype{x, y, a.x, a.y, b.x, b.y};
}

bool radiusOk(int rx, int ry) {
    if (rx < 0 || ry < 0 || rx > Bgi_MaxRadius || ry > Bgi_MaxRadius) {
        Bgi_Fail(grError);
        return false;
    }
    return true;
}
} // namespace

void Bgi_Outline(const int* points, int count, bool closed, uint32_t colour) {
    for (int i = 0; i + 1 < count; ++i)
        BgiG_Line(points[2 * i], points[2 * i + 1], points[2 * i + 2], points[2 * i + 3], colour);
    if (closed && count > 2) BgiG_Line(points[2 * count - 2], points[2 * count - 1], points[0], points[1], colour);
}

void Bgi_DrawArc(int x, int y, int stangle, int endangle, int rx, int ry, uint32_t colour) {
    BgiG_Arc(x, y, rx, ry, stangle, Bgi_ArcSweep(stangle, endangle), colour);
}

extern "C" {

void setlinestyle(int linestyle, unsigned upattern, int thickness) {
    if (linestyle < SOLID_LINE || linestyle > USERBIT_LINE || (thickness != NORM_WIDTH && thickness != THICK_WIDTH))
        return Bgi_Fail(grError);
    Bgi_S.lineStyle = linestyle;
    Bgi_S.userPattern = upattern & 0xFFFF;
    Bgi_S.thickness = thickness;
    if (Bgi_S.graphics) Bgi_ApplyLine();
}

void getlinesettings(struct linesettingstype* lineinfo) {
    if (lineinfo == nullptr) return Bgi_Fail(grError);
    *lineinfo = linesettingstype{Bgi_S.lineStyle, Bgi_S.userPattern, Bgi_S.thickness};
}

void setwritemode(int mode) {
    if (mode != COPY_PUT && mode != XOR_PUT) return Bgi_Fail(grError);
    Bgi_S.writeMode = mode;
    if (Bgi_S.graphics) Bgi_ApplyLine();
}

void line(int x1, int y1, int x2, int y2) {
    uint32_t c;
    if (drawColour(c)) BgiG_Line(x1, y1, x2, y2, c);
}

void lineto(int x, int y) {
    uint32_t c;
    if (drawColour(c)) BgiG_Line(Bgi_S.x, Bgi_S.y, x, y, c);
    Bgi_S.x = x, Bgi_S.y = y;
}

void linerel(int dx, int dy) { lineto(Bgi_S.x + dx, Bgi_S.y + dy); }

void rectangle(int left, int top, int right, int bottom) {
    uint32_t c;
    if (!drawColour(c)) return;
    // Four sides that do not share a pixel: XOR mode leaves no corner out.
    BgiG_Line(left, top, right, top, c);
    if (bottom == top) return;
    BgiG_Line(right, top + (bottom > top ? 1 : -1), right, bottom, c);
    if (left != right) BgiG_Line(right + (left < right ? -1 : 1), bottom, left, bottom, c);
    if (bottom - top > 1 || top - bottom > 1) BgiG_Line(left, bottom + (bottom > top ? -1 : 1), left, top + (bottom > top ? 1 : -1), c);
}

void drawpoly(int numpoints, const int* polypoints) {
    if (numpoints < 0 || (numpoints > 0 && polypoints == nullptr)) return Bgi_Fail(grError);
    uint32_t c;
    if (!drawColour(c)) return;
    if (numpoints == 1) return BgiG_Line(polypoints[0], polypoints[1], polypoints[0], polypoints[1], c);
    Bgi_Outline(polypoints, numpoints, false, c);
}

void circle(int x, int y, int radius) {
    uint32_t c;
    if (!drawColour(c) || !radiusOk(radius, radius)) return;
    BgiG_Arc(x, y, radius, aspectRadius(radius), 0, 360, c);
}

void arc(int x, int y, int stangle, int endangle, int radius) {
    uint32_t c;
    if (!drawColour(c) || !radiusOk(radius, radius)) return;
    const int ry = aspectRadius(radius);
    noteArc(x, y, stangle, endangle, radius, ry);
    Bgi_DrawArc(x, y, stangle, endangle, radius, ry, c);
}

void ellipse(int x, int y, int stangle, int endangle, int xradius, int yradius) {
    uint32_t c;
    if (!drawColour(c) || !radiusOk(xradius, yradius)) return;
    noteArc(x, y, stangle, endangle, xradius, yradius);
    Bgi_DrawArc(x, y, stangle, endangle, xradius, yradius, c);
}

void getarccoords(struct arccoordstype* arccoords) {
    if (arccoords == nullptr) return Bgi_Fail(grError);
    *arccoords = Bgi_S.arc;
}

void putpixel(int x, int y, int color) {
    if (!Bgi_Ready()) return;
    uint32_t c;
    if (color >= 0 && color < 16) return BgiG_Pixel(x, y, static_cast<uint32_t>(color));
    if (Bgi_GraphColour(color, c)) BgiG_Pixel(x, y, c);
}

int getpixel(int x, int y) {
    if (!Bgi_Ready()) return 0;
    const uint32_t rgb = BgiG_GetPixel(x, y);
    if (rgb == 0xFFFFFFFF) return BLACK; // off the screen
    return Bgi_ColourNumber(rgb, Bgi_S.shown);
}

} // extern "C"
