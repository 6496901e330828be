// Lines, rectangles, text and clearing. Main thread throughout.
#include "GraphInternal.h"

void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour) {
    Graph_Request.p.line = {x1, y1, x2, y2, colour};
    Graph_Request.op = OP_LINE;
    Graph_ExecuteOnBoth();
}

void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    Graph_Box(x1, y1, x2, y2, colour, fill);
}

void Graph_RawOutText(uint32_t x, uint32_t y, uint32_t colour, const char* text, uint32_t length) {
    auto& t = Graph_Request.p.text;
    t.x = x;
    t.y = y;
    t.colour = colour;
    const uint32_t n = Graph_TextLength(text, length);
    for (uint32_t i = 0; i < n; ++i) t.text[i] = text[i];
    if (n < Graph_TextMax) t.text[n] = '\0';
    Graph_Request.op = OP_TEXT;
    Graph_ExecuteOnBoth();
}

void Graph_Box(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    if (x1 == x2 && y1 == y2) {
        Graph_Request.p.pixel = {x1, y1, colour};
        Graph_Request.op = OP_PIXEL;
    } else {
        Graph_Request.p.rectangle = {Graph_Min(x1, x2), Graph_Min(y1, y2), Graph_Max(x1, x2),
                                     Graph_Max(y1, y2),  colour,           fill ? 1u : 0u};
        Graph_Request.op = OP_RECTANGLE;
    }
    Graph_ExecuteOnBoth();
}

void Graph_SolidBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    const bool standard = Graph_StdPatternFlag;
    const uint32_t pattern = Graph_GetStdFillMask();
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_Box(x1, y1, x2, y2, colour, fill);
    if (standard) {
        Graph_SetStdFillMask(pattern);
    } else {
        Graph_SetFillMask(Graph_SavedMask);
    }
}

void Graph_ClearScreen(uint32_t /*mode*/) {
    Graph_SolidBox(0, 0, Graph_Width - 1, Graph_Depth - 1, Graph_BkColour, true);
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
