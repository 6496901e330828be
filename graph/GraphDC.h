// The device-context seam: the typed operations Graph's dispatch asks of one
// DC. Plain C++ (no <windows.h>): the Win32 build gives each DC (the back
// buffer's pages, the window) an object that turns them into GDI calls
// (dc.cpp); tests and the fuzz target put recorders in their place and see
// exactly what GDI would be asked.
#pragma once

#include <cstdint>

// A point and a rectangle in device coordinates, signed 32-bit as GDI takes
// them (the dispatch keeps every coordinate within
// [-Graph_GdiCoordLimit, Graph_GdiCoordLimit + 1]).
// The point has POINT's layout, so an array of them goes to GDI as it is.
struct Graph_DevicePoint {
    int32_t x, y;
};
// Right and bottom excluded, as GDI's Rectangle and Ellipse take them.
struct Graph_DeviceRect {
    int32_t left, top, right, bottom;
};

// A pen and a brush as GDI makes them. Colours are COLORREFs (a palette index
// today, PALETTEINDEX(n); an RGB value is the same field), styles the
// platform's PS_*/BS_*/HS_*. A pen of width 1 without a pattern is GDI's
// cosmetic pen; any other is a flat-ended geometric one (the dispatch draws its
// lines one pixel further, so that the last point is covered). pattern:
// 0x10000 | a 16-pixel line pattern (bit 0 first), or 0.
struct Graph_Pen {
    uint32_t style, colour;
    uint32_t width = 1;
    uint32_t pattern = 0;
};
struct Graph_Brush {
    uint32_t style, colour;
    uintptr_t hatch; // the hatch style, or a BS_PATTERN brush's bitmap
};

// One device context. Each call may leave out a change the DC already holds.
// Main thread, under the back-buffer lock (a recorder: any thread).
class Graph_DC {
public:
    // The kept pen or brush for these values, made on first use, selected; the
    // DC's default one when GDI refuses the values.
    virtual void SelectPen(const Graph_Pen& pen) = 0;
    virtual void SelectBrush(const Graph_Brush& brush) = 0;
    virtual void SetTextColor(uint32_t colour) = 0;
    virtual void SetBkColor(uint32_t colour) = 0;
    virtual void SetBkMode(int32_t mode) = 0;
    // The loaded palette (Graph_PaletteBuffer) into this DC (the back buffer:
    // into each of its pages).
    virtual void Palette() = 0;
    // Graph_COPY or Graph_XOR for lines, outlines and fills; and the clip
    // rectangle in force (null: none). Both go to every page of the back buffer.
    virtual void SetWriteMode(uint32_t mode) = 0;
    virtual void Clip(const Graph_DeviceRect* box) = 0;

    // Shapes, with the selected pen and brush.
    virtual void Pixel(Graph_DevicePoint at, uint32_t colour) = 0;                 // SetPixelV
    virtual void Line(Graph_DevicePoint from, Graph_DevicePoint to) = 0;           // MoveToEx, LineTo
    virtual void Rectangle(const Graph_DeviceRect& box) = 0;
    virtual void Ellipse(const Graph_DeviceRect& box) = 0;
    // Counter-clockwise from the ray towards start to the ray towards end.
    virtual void Arc(const Graph_DeviceRect& box, Graph_DevicePoint start, Graph_DevicePoint end) = 0;
    virtual void Pie(const Graph_DeviceRect& box, Graph_DevicePoint start, Graph_DevicePoint end) = 0;
    virtual void Polyline(const Graph_DevicePoint* points, uint32_t count) = 0;
    virtual void Polygon(const Graph_DevicePoint* points, uint32_t count) = 0;
    // ExtFloodFill with FLOODFILLBORDER. A DC that shows the back buffer (the
    // window) takes the picture from the back buffer instead.
    virtual void FloodFill(Graph_DevicePoint at, uint32_t border) = 0;
    virtual void Text(Graph_DevicePoint at, const char* text, int32_t length) = 0;
    // UTF-16 text (TextOutW), at as for Text.
    virtual void WideText(Graph_DevicePoint at, const char16_t* text, int32_t length) = 0;
    // An image block's pixels (0x00RRGGBB, top row first) at `at`, combined by
    // mode (Graph_COPY ... Graph_ALPHA); the window takes the block's area from
    // the back buffer.
    virtual void Image(Graph_DevicePoint at, uint32_t width, uint32_t height, const uint32_t* pixels,
                       uint32_t mode) = 0;

protected:
    ~Graph_DC() = default;
};

// A DC that draws nothing: what a request meets where a DC does not exist yet,
// and the base of the recorders, which override what they look at.
class Graph_NullDC : public Graph_DC {
public:
    void SelectPen(const Graph_Pen&) override {}
    void SelectBrush(const Graph_Brush&) override {}
    void SetTextColor(uint32_t) override {}
    void SetBkColor(uint32_t) override {}
    void SetBkMode(int32_t) override {}
    void Palette() override {}
    void SetWriteMode(uint32_t) override {}
    void Clip(const Graph_DeviceRect*) override {}
    void Pixel(Graph_DevicePoint, uint32_t) override {}
    void Line(Graph_DevicePoint, Graph_DevicePoint) override {}
    void Rectangle(const Graph_DeviceRect&) override {}
    void Ellipse(const Graph_DeviceRect&) override {}
    void Arc(const Graph_DeviceRect&, Graph_DevicePoint, Graph_DevicePoint) override {}
    void Pie(const Graph_DeviceRect&, Graph_DevicePoint, Graph_DevicePoint) override {}
    void Polyline(const Graph_DevicePoint*, uint32_t) override {}
    void Polygon(const Graph_DevicePoint*, uint32_t) override {}
    void FloodFill(Graph_DevicePoint, uint32_t) override {}
    void Text(Graph_DevicePoint, const char*, int32_t) override {}
    void WideText(Graph_DevicePoint, const char16_t*, int32_t) override {}
    void Image(Graph_DevicePoint, uint32_t, uint32_t, const uint32_t*, uint32_t) override {}

protected:
    ~Graph_NullDC() = default;
};
