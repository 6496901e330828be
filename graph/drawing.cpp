// Calls made of other calls: clearing, the solid box it paints, and text in
// pieces. Main thread throughout.
#include "GraphInternal.h"

void Graph_SolidBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    // The fill in force stays as it is, and so does what the attributes report
    // of it (Graph_GetStdFillMask): only the dispatch's state changes, for one box.
    const Graph_ExecutorState kept = Graph_Executor;
    Graph_Executor.stdPatternFlag = true;
    Graph_Executor.stdBrushStyle = Graph_BS_SOLID;
    Graph_Box(x1, y1, x2, y2, colour, fill);
    Graph_Executor = kept;
}

void Graph_ClearScreen(uint32_t mode) {
    // Picture pixels, whatever the origin; the whole picture whatever the
    // clip, unless the clip rectangle is asked for.
    Graph_EnsureBegun();
    const Graph_ExecutorState kept = Graph_Executor;
    Graph_Executor.originX = Graph_Executor.originY = 0;
    Graph_Executor.writeMode = Graph_COPY;
    if (kept.writeMode != Graph_COPY) Graph_SetWriteMode(Graph_COPY);
    if (kept.clipped && mode == Graph_CLEAR_CLIP) {
        Graph_SolidBox(kept.clipX1, kept.clipY1, kept.clipX2, kept.clipY2, Graph_BkColour, true);
    } else {
        if (kept.clipped) Graph_ResetClip();
        Graph_SolidBox(0, 0, Graph_Width - 1, Graph_Depth - 1, Graph_BkColour, true);
        if (kept.clipped) Graph_SetClip(kept.clipX1, kept.clipY1, kept.clipX2, kept.clipY2);
    }
    if (kept.writeMode != Graph_COPY) Graph_SetWriteMode(kept.writeMode);
    Graph_Executor.originX = kept.originX;
    Graph_Executor.originY = kept.originY;
}

void Graph_OutText(uint32_t x, uint32_t y, uint32_t colour, const char* text) {
    if (text == nullptr) return;
    // In pieces of what one request takes, each after the last one's width.
    for (uint32_t n = Graph_TextLength(text, Graph_TextMax); n > 0; n = Graph_TextLength(text, Graph_TextMax)) {
        Graph_RawOutText(x, y, colour, text, n);
        const uint32_t width = Graph_TextWidthOf(text, n);
        x = width > UINT32_MAX - x ? UINT32_MAX : x + width;
        text += n;
    }
}
