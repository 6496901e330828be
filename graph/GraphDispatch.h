// The way of a request: the dispatch (dispatch.cpp, the one switch on the op
// code, which turns a request into typed operations on a Graph_DC), the state
// it keeps between requests, the targets it runs on and the two runners. Plain
// C++ (no <windows.h>), so that it builds natively for the tests' recorders and
// the fuzz target.
#pragma once

#include <cstdint>

#include "GraphDC.h"
#include "GraphRequest.h"

// Platform values the dispatch hands on (those of <windows.h>).
inline constexpr uint32_t Graph_PS_SOLID = 0;
inline constexpr uint32_t Graph_BS_SOLID = 0, Graph_BS_HOLLOW = 1, Graph_BS_HATCHED = 2, Graph_BS_PATTERN = 3;

// The COLORREF of a colour number: Graph_RGB's colour as it is (0x00BBGGRR),
// any other number PALETTEINDEX(n mod 256).
constexpr uint32_t Graph_PaletteColour(uint32_t colour) {
    return Graph_IsRGB(colour) ? (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16
                               : 0x01000000u | (colour & 0xFF);
}

// Main thread. What the dispatch keeps between requests.
struct Graph_ExecutorState {
    uint32_t outlineStyle = Graph_PS_SOLID;  // pen style of outlined shapes and lines
    bool stdPatternFlag = true;              // fills use the standard pattern, not the user mask
    uint32_t stdBrushStyle = Graph_BS_SOLID; // solid or hatched
    uintptr_t hatch = 0;                     // the hatch style, or the user pattern bitmap
    uint32_t lineWidth = 1;                  // pixels across lines and outlines
    uint32_t linePattern = 0;                // 0x10000 | a user pattern, or 0: the style
    uint32_t writeMode = Graph_COPY;         // of lines, outlines and fills
    int32_t originX = 0, originY = 0;        // device = origin + coordinate
    bool clipped = false;                    // a clip rectangle is in force:
    uint32_t clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0; // picture pixels, inclusive
    bool utf8 = false;                       // text is UTF-8 (Graph_SetTextUTF8)
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

// Where requests go: set by the Win32 build once its DCs exist (dc.cpp), by
// tests to recorders. The lock is the back-buffer lock, held by both runners
// for the whole request, so that a repaint never copies half a shape and never
// shares the window DC with a request; null: none. framed (null: never) says
// that a frame is open (backbuffer.cpp): the window then gets only what a
// request sets, no pixels, so that it draws right once the frame ends.
struct Graph_TargetSet {
    Graph_DC* buffer = nullptr;
    Graph_DC* window = nullptr;
    void (*lock)() = nullptr;
    void (*unlock)() = nullptr;
    bool (*framed)() = nullptr;
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

// Main thread. Graph_Request on the dispatch's state alone (the attributes it
// keeps itself: line style, fill pattern; no DC is touched), or on the back
// buffer and then the window. A missing target (before Graph_Init) is left out.
void Graph_ExecuteOnBuffer();
void Graph_ExecuteOnBoth();

// ---- calls made of requests (calls.cpp) -----------------------------------------

// Main thread. A rectangle, or the single pixel when the corners coincide;
// both targets.
void Graph_Box(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
// Main thread. An image block's request: width x height pixels (0x00RRGGBB,
// top row first, read while it runs) at (x, y), combined by mode; both targets.
void Graph_DrawBlock(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const uint32_t* pixels, uint32_t mode);
