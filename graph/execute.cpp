// The request executor and its two runners.
#include "GraphInternal.h"

namespace {

// One shape's pen and brush and those they replaced in the DC: valid only
// between Graph_SelectPenBrush and Graph_ReleasePenBrush on one target.
HPEN shapePen = nullptr;
HBRUSH shapeBrush = nullptr;
HGDIOBJ replacedPen = nullptr;
HGDIOBJ replacedBrush = nullptr;

int gdi(uint32_t v) { return static_cast<int>(v); }

// The back-buffer lock is held for the whole request, so a repaint sees a
// shape either not yet drawn or complete, and the window thread's copy never
// uses the window DC while a request draws on it.
struct BufferLock {
    BufferLock() { Graph_LockBackBuffer(); }
    ~BufferLock() { Graph_UnlockBackBuffer(); }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;
};

} // namespace

// Caller's thread.
void Graph_SelectPenBrush(HDC dc, COLORREF colour, bool fill) {
    if (fill) {
        Graph_PenTemplate.lopnStyle = PS_SOLID;
        if (Graph_StdPatternFlag) {
            Graph_BrushTemplate.lbStyle = Graph_StdBrushStyle;
        } else {
            // The pattern's 0 bits paint in the text colour: the shape's.
            SetTextColor(dc, colour);
            Graph_BrushTemplate.lbStyle = BS_PATTERN;
        }
    } else {
        Graph_PenTemplate.lopnStyle = Graph_OutlineStyle;
        Graph_BrushTemplate.lbStyle = BS_HOLLOW;
    }
    Graph_PenTemplate.lopnColor = colour;
    shapePen = CreatePenIndirect(&Graph_PenTemplate);
    replacedPen = SelectObject(dc, shapePen);
    Graph_BrushTemplate.lbColor = colour;
    shapeBrush = CreateBrushIndirect(&Graph_BrushTemplate);
    replacedBrush = SelectObject(dc, shapeBrush);
}

// Caller's thread.
void Graph_ReleasePenBrush(HDC dc) {
    // SelectObject fails on a null DC or object; the shape's objects are
    // deleted whatever happened, so none outlives the request.
    if (replacedBrush != nullptr) SelectObject(dc, replacedBrush);
    if (shapeBrush != nullptr) DeleteObject(shapeBrush);
    if (replacedPen != nullptr) SelectObject(dc, replacedPen);
    if (shapePen != nullptr) DeleteObject(shapePen);
    shapePen = nullptr;
    shapeBrush = nullptr;
    replacedPen = nullptr;
    replacedBrush = nullptr;
}

// Caller's thread.
void Graph_Execute(HDC dc) {
    const auto& p = Graph_Request.p;
    switch (Graph_Request.op) {
    case OP_PEN_STYLE:
        Graph_OutlineStyle = p.penStyle.style;
        break;
    case OP_FILL_PATTERN:
        if (p.fillPattern.pattern == Graph_PATSYM_SOLID) {
            Graph_StdBrushStyle = BS_SOLID;
        } else {
            Graph_BrushTemplate.lbHatch = p.fillPattern.pattern;
            Graph_StdBrushStyle = BS_HATCHED;
        }
        Graph_StdPatternFlag = true;
        break;
    case OP_PALETTE:
        // Each DC owns its palette object, whichever target the request runs on.
        Graph_ApplyPalette(Graph_WindowDC, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        Graph_ApplyPalette(Graph_BufferDC, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        break;
    case OP_BK_COLOR:
        SetBkColor(dc, Graph_PaletteColour(p.bkColour.colour));
        break;
    case OP_BK_MODE:
        SetBkMode(dc, gdi(p.bkMode.mode));
        break;
    case OP_PIXEL:
        SetPixelV(dc, gdi(p.pixel.x), gdi(p.pixel.y), Graph_PaletteColour(p.pixel.colour));
        break;
    case OP_RECTANGLE: {
        const auto& r = p.rectangle;
        Graph_SelectPenBrush(dc, Graph_PaletteColour(r.colour), (r.fill & 0xFF) != 0);
        Rectangle(dc, Graph_GdiCoord(r.x1), Graph_GdiCoord(r.y1), Graph_GdiCoord(r.x2) + 1,
                  Graph_GdiCoord(r.y2) + 1);
        Graph_ReleasePenBrush(dc);
        break;
    }
    case OP_LINE: {
        const auto& l = p.line;
        const COLORREF colour = Graph_PaletteColour(l.colour);
        if (l.x1 != l.x2 || l.y1 != l.y2) {
            Graph_SelectPenBrush(dc, colour, false);
            MoveToEx(dc, gdi(l.x1), gdi(l.y1), nullptr);
            LineTo(dc, gdi(l.x2), gdi(l.y2));
            Graph_ReleasePenBrush(dc);
        }
        // NOTE: LineTo leaves the end point out; it is set solid, whatever the style.
        SetPixelV(dc, gdi(l.x2), gdi(l.y2), colour);
        break;
    }
    case OP_TEXT: {
        const auto& t = p.text;
        SetTextColor(dc, Graph_PaletteColour(t.colour));
        TextOutA(dc, gdi(t.x), gdi(t.y), t.text, static_cast<int>(Graph_TextLength(t.text, Graph_TextMax)));
        break;
    }
    default:
        break;
    }
}

// Caller's thread.
void Graph_ExecuteOnBuffer() {
    BufferLock lock;
    Graph_Execute(Graph_BufferDC);
}

// Caller's thread.
void Graph_ExecuteOnBoth() {
    BufferLock lock;
    Graph_Execute(Graph_BufferDC);
    Graph_Execute(Graph_WindowDC);
}
