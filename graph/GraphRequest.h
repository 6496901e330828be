// Graph's request record and the platform-free rules behind it: the operation
// codes, the constant tables, unsigned corner ordering and the coordinates
// handed to GDI. Free of <windows.h> so that it builds natively. The record
// and the palette table belong to the main thread; the functions and tables
// keep no state (any thread).
#pragma once

#include <cstdint>

#include "Graph.h"

enum Graph_OpCode : uint8_t {
    OP_PEN_STYLE = 2,
    OP_FILL_PATTERN = 3,
    OP_PALETTE = 4,
    OP_BK_COLOR = 7,
    OP_BK_MODE = 8,
    OP_PIXEL = 9,
    OP_RECTANGLE = 10,
    OP_LINE = 11,
    OP_ELLIPSE = 12,
    OP_ARC = 13,
    OP_PIE = 14,
    OP_POLYLINE = 15,
    OP_POLYGON = 16,
    OP_FLOOD_FILL = 17,
    OP_TEXT = 18,
    OP_IMAGE = 19,
    OP_LINE_WIDTH = 20,
    OP_LINE_PATTERN = 21,
    OP_WRITE_MODE = 22,
    OP_CLIP = 23,
    OP_ORIGIN = 24,
};

constexpr uint32_t Graph_TextMax = 257;
constexpr uint32_t Graph_PaletteMax = 1024;

// One request: the operation code and a union of the parameter lists (all
// begin at the same place). Main thread: overwritten by each request.
struct Graph_RequestRecord {
    uint8_t op;
    union {
        struct { uint32_t style; } penStyle;
        struct { uint32_t pixels; } lineWidth;
        struct { uint32_t pattern; } linePattern; // 0x10000 | the 16 bits
        struct { uint32_t mode; } writeMode;
        // Picture pixels, ordered and inclusive; on == 0: no clip rectangle.
        struct { uint32_t x1, y1, x2, y2, on; } clip;
        struct { int32_t x, y; } origin;
        struct { uint32_t pattern; } fillPattern;
        struct { uint32_t colour; } bkColour;
        struct { uint32_t mode; } bkMode;
        struct { uint32_t x, y, colour; } pixel;
        struct { uint32_t x1, y1, x2, y2, colour, fill; } rectangle;
        struct { uint32_t x1, y1, x2, y2, colour; } line;
        struct { uint32_t x, y, colour; char text[Graph_TextMax]; } text;
        // Ellipses, arcs and pies: the box ordered, angles in whole degrees.
        struct { uint32_t x1, y1, x2, y2, colour, fill; int32_t start, sweep; } ellipse;
        // The caller's points, read while the request runs.
        struct { const Graph_Point* points; uint32_t count, colour, fill; } poly;
        struct { uint32_t x, y, colour, border; } flood;
        // An image block's pixels (0x00RRGGBB, top row first), read while the request runs.
        struct { uint32_t x, y, width, height, mode; const uint32_t* pixels; } image;
    } p;
};

extern Graph_RequestRecord Graph_Request;

// Main thread. The palette last loaded.
struct Graph_PaletteTable {
    uint32_t values[Graph_PaletteMax];
    uint32_t count;
};
extern Graph_PaletteTable Graph_PaletteBuffer;

// Line style number -> platform pen style. Styles 1 and 2 are exchanged
// against the platform's own numbering: 1 is dotted (PS_DOT = 2), 2 dashed.
constexpr uint32_t Graph_LineStyleCount = 6;
extern const uint32_t Graph_LineStyleTable[Graph_LineStyleCount];

// The platform's hatch styles run from 0 to this; Graph_PATSYM_SOLID is apart.
constexpr uint32_t Graph_LastHatch = 5;

// Unsigned comparisons: 4 294 967 295 is larger than every other coordinate.
constexpr uint32_t Graph_Min(uint32_t a, uint32_t b) { return a < b ? a : b; }
constexpr uint32_t Graph_Max(uint32_t a, uint32_t b) { return a > b ? a : b; }

// Rectangle coordinates go to GDI as signed numbers, and its right and bottom
// edges as coordinate + 1. Beyond this limit every coordinate is far outside
// any picture, so capping there paints the same pixels as the unsigned
// coordinate would, where handing it over unchanged would turn 4 294 967 295
// into -1 and paint on the wrong side of the other corner.
constexpr uint32_t Graph_GdiCoordLimit = 1u << 24;
constexpr int32_t Graph_GdiCoord(uint32_t v) {
    return static_cast<int32_t>(Graph_Min(v, Graph_GdiCoordLimit));
}

// A segment from a to b (each coordinate >= 0) cut where it leaves
// [0, limit]^2: the part inside keeps its course, each cut end rounded to the
// nearest point of the segment and kept within [0, limit]. False, and a and b
// as they were, when nothing of it lies inside. Graph cuts at GDI's range
// (Graph_GdiCoordLimit), the viewer at what Graph takes (viewer/clip.cpp).
bool Graph_CutSegment(int64_t (&a)[2], int64_t (&b)[2], int64_t limit);

// A 16-pixel line pattern (bit 0 first, 1 drawn) as the dash lengths a
// user-styled pen takes: on, off, on ... from the first pixel, an even count,
// at most 16, summing to 16 (a run of 0 where the pattern starts or ends
// off). 0 for a pattern of no pixels.
constexpr uint32_t Graph_PatternRunsMax = 16;
uint32_t Graph_PatternRuns(uint16_t pattern, uint32_t (&runs)[Graph_PatternRunsMax]);

// The dash lengths of line styles 1 to 4 (dotted, dashed, dash-dot,
// dash-dot-dot) for pens wider than one pixel, the pixels of the one-pixel
// styles, so that a style keeps its pattern at every width.
struct Graph_StyleRuns {
    uint32_t count;
    uint32_t runs[6];
};
extern const Graph_StyleRuns Graph_WideStyleRuns[5];

// One channel-wise straight-alpha blend of n block pixels (top byte the
// opacity) over the picture's: (s * a + d * (255 - a) + 127) / 255.
void Graph_BlendRow(uint32_t* picture, const uint32_t* block, uint32_t n);

// The number of characters drawn from a text array: up to its first NUL or
// its end, at most Graph_TextMax.
uint32_t Graph_TextLength(const char* text, uint32_t length);

// The colour count for a display of `bits` bits per pixel times `planes`
// planes. 24 bits and more report the 16 777 216 colours of 24-bit colour:
// 1 << 32 does not fit, and a count below 16 would refuse the standard palette.
uint32_t Graph_ColourCountFor(uint32_t bits, uint32_t planes);
