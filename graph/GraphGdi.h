// The GDI calls that carry out Graph's drawing requests, as an interface, and
// the dispatch on the request record over it. Plain C++ (no <windows.h>): the
// Win32 build hands each call to GDI on one device context (execute.cpp);
// anything else may stand in for GDI and see exactly what it would be asked.
#pragma once

#include <cstdint>

#include "GraphRequest.h"

// One device context's GDI calls. Values are those GDI takes: coordinates as
// signed ints, colours as COLORREF, styles as the platform's PS_*/BS_*/HS_*.
class Graph_Gdi {
public:
    using Object = uintptr_t; // a pen or a brush (HGDIOBJ)

    // The pen (one pixel wide) or brush made from these values. The GDI side
    // makes each once and keeps it (the dispatch never deletes one); when GDI
    // refuses the values, the DC's default pen or brush.
    virtual Object Pen(uint32_t style, uint32_t colour) = 0;
    virtual Object Brush(uint32_t style, uint32_t colour, uintptr_t hatch) = 0;
    // Selected into the DC, where they stay until another replaces them. The
    // GDI side may leave out any call below that would change nothing.
    virtual void SelectPen(Object pen) = 0;
    virtual void SelectBrush(Object brush) = 0;
    virtual void SetBkColor(uint32_t colour) = 0;
    virtual void SetBkMode(int32_t mode) = 0;
    virtual void SetTextColor(uint32_t colour) = 0;
    virtual void SetPixelV(int32_t x, int32_t y, uint32_t colour) = 0;
    virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void MoveToEx(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void TextOutA(int32_t x, int32_t y, const char* text, int32_t length) = 0;
    // The loaded palette (Graph_PaletteBuffer) into the window DC, then into
    // the back-buffer DC, whichever DC this is.
    virtual void ApplyPalettes() = 0;

protected:
    ~Graph_Gdi() = default;
};

// Platform values the dispatch hands on (those of <windows.h>).
inline constexpr uint32_t Graph_PS_SOLID = 0;
inline constexpr uint32_t Graph_BS_SOLID = 0, Graph_BS_HOLLOW = 1, Graph_BS_HATCHED = 2, Graph_BS_PATTERN = 3;

// The palette-relative colour of a colour number: PALETTEINDEX(n mod 256).
constexpr uint32_t Graph_PaletteColour(uint32_t colour) { return 0x01000000u | (colour & 0xFF); }

// Main thread. What the executor keeps between requests.
struct Graph_ExecutorState {
    uint32_t outlineStyle = Graph_PS_SOLID; // pen style of outlined shapes and lines
    bool stdPatternFlag = true;             // fills use the standard pattern, not the user mask
    uint32_t stdBrushStyle = Graph_BS_SOLID; // solid or hatched
    uintptr_t hatch = 0;                    // the hatch style, or the user pattern bitmap
};

// Main thread (any thread for a stand-in GDI). Carries out one request on one
// device context. A code outside the table
// does nothing. Reads only the request's own fields, and no text beyond its
// 257 characters.
void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_Gdi& gdi);
