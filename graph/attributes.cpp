// Drawing attributes: background, line style, fill patterns, and their
// defaults. Main thread throughout.
#include "GraphInternal.h"

#include <cstring>

HBITMAP Graph_UserPattern = nullptr;
uint32_t Graph_BkColour = 0;
uint32_t Graph_CurrentPattern = 8;
uint8_t Graph_SavedMask[8] = {};

void Graph_ResetDrawingDefaults() {
    Graph_Executor = Graph_ExecutorState{};
    Graph_FreeObjects();
    if (Graph_UserPattern != nullptr) DeleteObject(Graph_UserPattern);
    Graph_UserPattern = nullptr;

    Graph_PATSYM_HORIZ = HS_HORIZONTAL;
    Graph_PATSYM_VERT = HS_VERTICAL;
    Graph_PATSYM_DIAG2 = HS_FDIAGONAL;
    Graph_PATSYM_DIAG1 = HS_BDIAGONAL;
    Graph_PATSYM_DENSE2 = HS_CROSS;
    Graph_PATSYM_DENSE1 = HS_DIAGCROSS;
    Graph_PATSYM_SOLID = 8;
    Graph_CurrentPattern = Graph_PATSYM_SOLID;
    std::memset(Graph_SavedMask, 0, sizeof Graph_SavedMask);
}

uint32_t Graph_SetBkColor(uint32_t colour) {
    Graph_Request.p.bkColour.colour = colour;
    Graph_Request.op = OP_BK_COLOR;
    Graph_ExecuteOnBoth();
    const uint32_t previous = Graph_BkColour;
    Graph_BkColour = colour;
    return previous;
}

void Graph_SetBkMix(bool opaque) {
    Graph_Request.p.bkMode.mode = opaque ? OPAQUE : TRANSPARENT;
    Graph_Request.op = OP_BK_MODE;
    Graph_ExecuteOnBoth();
}

void Graph_SetLinestyle(uint32_t style) {
    if (style >= Graph_LineStyleCount) return; // the caller's fault: the style stays
    Graph_Request.p.penStyle.style = Graph_LineStyleTable[style];
    Graph_Request.op = OP_PEN_STYLE;
    Graph_ExecuteOnBuffer();
}

void Graph_SetStdFillMask(uint32_t pattern) {
    // Neither a hatch style nor solid: the caller's fault; the fill stays (a
    // brush of an unknown hatch would fail and leave the DC's own brush).
    if (pattern != Graph_PATSYM_SOLID && pattern > Graph_LastHatch) return;
    Graph_Request.p.fillPattern.pattern = pattern;
    Graph_Request.op = OP_FILL_PATTERN;
    Graph_ExecuteOnBuffer();
    Graph_CurrentPattern = pattern;
}

uint32_t Graph_GetStdFillMask() { return Graph_CurrentPattern; }

void Graph_SetFillMask(const uint8_t (&mask)[8]) {
    Graph_StdPatternFlag = false;
    uint8_t saved[8];
    std::memcpy(saved, mask, sizeof saved); // mask may be Graph_SavedMask itself
    std::memcpy(Graph_SavedMask, saved, sizeof saved);
    // One word-aligned scan line per row, bits inverted: the brush paints 0
    // bits in the text colour (the shape's) and 1 bits in the background colour.
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(255 - saved[i]);
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    Graph_DropPatternBrush(); // made from the old bitmap
    if (Graph_UserPattern != nullptr) DeleteObject(Graph_UserPattern);
    Graph_UserPattern = pattern;
    Graph_Executor.hatch = reinterpret_cast<uintptr_t>(pattern);
}
