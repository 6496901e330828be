// The device contexts Graph draws on, as a seam, and the requests' way to
// them. Plain C++ (no <windows.h>): the Win32 build gives each DC (back buffer,
// window) an object that owns what the DC holds and the pens and brushes kept
// for it (dc.cpp); tests and the fuzz targets put recorders in their place and
// see exactly what GDI would be asked.
#pragma once

#include <cstdint>

#include "GraphRequest.h"

// One device context. Values are those GDI takes: coordinates as signed ints
// (at most Graph_GdiCoordLimit + 1), colours as COLORREF, styles as the
// platform's PS_*/BS_*/HS_*. Each call may leave out a change the DC already
// holds. Main thread, under the back-buffer lock (a recorder: any thread).
class Graph_DC {
public:
    // The kept pen (one pixel wide) or brush for these values, made on first
    // use, selected; the DC's default one when GDI refuses the values.
    virtual void SelectPen(uint32_t style, uint32_t colour) = 0;
    virtual void SelectBrush(uint32_t style, uint32_t colour, uintptr_t hatch) = 0;
    virtual void SetTextColor(uint32_t colour) = 0;
    virtual void SetBkColor(uint32_t colour) = 0;
    virtual void SetBkMode(int32_t mode) = 0;
    // One shape with the selected pen and brush; op names it, values are:
    //   OP_PIXEL       x y colour                      (SetPixelV)
    //   OP_LINE        x1 y1 x2 y2                     (MoveToEx, LineTo)
    //   OP_RECTANGLE,
    //   OP_ELLIPSE     left top right bottom           (right and bottom excluded)
    //   OP_ARC, OP_PIE left top right bottom xs ys xe ye (counter-clockwise)
    //   OP_POLYLINE,
    //   OP_POLYGON     x y pairs
    //   OP_FLOOD_FILL  x y border-colour               (ExtFloodFill, FLOODFILLBORDER)
    // A DC that shows the back buffer (the window) takes a flood fill from the
    // back buffer instead of filling by its own pixels.
    virtual void Shape(uint8_t op, const int32_t* values, uint32_t count) = 0;
    virtual void Text(int32_t x, int32_t y, const char* text, int32_t length) = 0;
    // An image block's pixels at (x, y), combined by mode (Graph_COPY ...);
    // the window takes the block's area from the back buffer.
    virtual void Image(int32_t x, int32_t y, uint32_t width, uint32_t height, const uint32_t* pixels,
                       uint32_t mode) = 0;
    // The loaded palette (Graph_PaletteBuffer) into the window DC, then into
    // the back-buffer DC, whichever DC this is.
    virtual void ApplyPalette() = 0;

protected:
    ~Graph_DC() = default;
};

// Platform values the dispatch hands on (those of <windows.h>).
inline constexpr uint32_t Graph_PS_SOLID = 0;
inline constexpr uint32_t Graph_BS_SOLID = 0, Graph_BS_HOLLOW = 1, Graph_BS_HATCHED = 2, Graph_BS_PATTERN = 3;

// The palette-relative colour of a colour number: PALETTEINDEX(n mod 256).
constexpr uint32_t Graph_PaletteColour(uint32_t colour) { return 0x01000000u | (colour & 0xFF); }

// Main thread. What the dispatch keeps between requests.
struct Graph_ExecutorState {
    uint32_t outlineStyle = Graph_PS_SOLID;  // pen style of outlined shapes and lines
    bool stdPatternFlag = true;              // fills use the standard pattern, not the user mask
    uint32_t stdBrushStyle = Graph_BS_SOLID; // solid or hatched
    uintptr_t hatch = 0;                     // the hatch style, or the user pattern bitmap
};
extern Graph_ExecutorState Graph_Executor;

// Main thread. Puts a shape's pen, and its brush when it fills or frames an
// area (a line needs none), into dc: with fill a solid pen and the fill in
// force, else the outline style and no brush.
void Graph_SelectPenBrush(Graph_DC& dc, const Graph_ExecutorState& state, uint32_t colour, bool fill, bool area);

// Main thread (any thread for recorders). Carries out one request on one DC.
// A code outside the table does nothing. Reads only the request's own fields
// (and the points or pixels they point at), no text beyond 257 characters.
void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_DC& dc);
// The part of it for the shapes of shapes.cpp (ellipses to image blocks).
void Graph_DispatchShape(const Graph_RequestRecord& request, const Graph_ExecutorState& state, Graph_DC& dc);

// Where requests go: set by the Win32 build once its DCs exist, by tests to
// recorders. The lock is the back-buffer lock, held by both runners for the
// whole request, so that a repaint never copies half a shape and never shares
// the window DC with a request; null: none.
struct Graph_TargetSet {
    Graph_DC* buffer = nullptr;
    Graph_DC* window = nullptr;
    void (*lock)() = nullptr;
    void (*unlock)() = nullptr;
    // Set while a frame is open (frames.cpp): requests that draw leave the
    // window out; those that only set state still reach it, so that it
    // draws right once the frame ends.
    bool bufferOnly = false;
    // Requests run on both targets so far, counted under the lock: a frame
    // tells by it whether its copy of the last whole picture is still good.
    uint32_t changes = 0;
};
extern Graph_TargetSet Graph_Targets;

// Whether Graph_BEGIN has run. Every public call starts the module when it
// has not (Graph_EnsureBegun), so that a program that forgot Graph_BEGIN
// still gets the documented behaviour. The Win32 build sets the hook
// (lifecycle.cpp); the platform-free build has no module start.
extern bool Graph_Begun;
extern void (*Graph_BeginHook)();
inline void Graph_EnsureBegun() {
    if (!Graph_Begun && Graph_BeginHook != nullptr) Graph_BeginHook();
}

// Main thread. Graph_Request on the back buffer only (attributes that live in
// the dispatch's state), or on the back buffer and then the window. A missing
// target (before Graph_Init) is left out.
void Graph_ExecuteOnBuffer();
void Graph_ExecuteOnBoth();
