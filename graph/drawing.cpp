// Calls made of other calls: clearing, the solid box it paints, and text in
// pieces. Main thread throughout.
#include <cmath>

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

namespace {

// Where a piece of UTF-8 text of n bytes, cut where one request's text ends,
// must end so as not to split a character: before the lead byte of the
// sequence text[n] continues (text[n] exists: the piece is all of n bytes).
uint32_t wholeCharacters(const char* text, uint32_t n) {
    for (uint32_t cut = n; cut + 3 >= n && cut > 0; --cut) {
        if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80) return cut;
    }
    return n; // continuation bytes alone: each is one U+FFFD wherever it is cut
}

// Saturated at the picture's coordinate range.
uint32_t moved(uint32_t from, int64_t by) {
    const int64_t to = static_cast<int64_t>(from) + by;
    return to < 0 ? 0 : to > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(to);
}

} // namespace

void Graph_OutText(uint32_t x, uint32_t y, uint32_t colour, const char* text) {
    if (text == nullptr) return;
    // In pieces of what one request takes, each after the last one's width,
    // along the font's direction.
    const double turn = Graph_FontAngle() * 3.14159265358979323846 / 1800;
    for (uint32_t n = Graph_TextLength(text, Graph_TextMax); n > 0; n = Graph_TextLength(text, Graph_TextMax)) {
        if (Graph_Executor.utf8 && n == Graph_TextMax) n = wholeCharacters(text, n);
        Graph_RawOutText(x, y, colour, text, n);
        if (text[n] == '\0') break; // the last piece: nothing follows it to place
        const uint32_t width = Graph_TextWidthOf(text, n);
        if (Graph_FontAngle() == 0) {
            x = moved(x, width);
        } else {
            x = moved(x, std::llround(width * std::cos(turn)));
            y = moved(y, -std::llround(width * std::sin(turn)));
        }
        text += n;
    }
}
