// The font text is drawn in: the start font Graph_Init selects, and the one
// Graph_SetFont makes. Main thread; the font changes in the DCs under the
// back-buffer lock, since the window thread paints through the window DC.
#include <cmath>

#include "GraphInternal.h"

namespace {

// Main thread. The start font, made by the first Graph_Init and kept for the
// process, so that a window opened again makes none; and the font
// Graph_SetFont made, in force while not null.
HFONT startFont = nullptr;
HFONT madeFont = nullptr;
int32_t angleInForce = 0; // tenths of a degree, [0, 3600)

constexpr uint32_t kStyles = Graph_BOLD | Graph_ITALIC | Graph_UNDERLINE | Graph_SHARP;

// Under the lock: font into every page and the window; the font Graph made
// before goes once no DC holds it.
void putInForce(HFONT font, int32_t angle) {
    Graph_Back.SelectFont(font);
    if (Graph_WindowDC != nullptr) SelectObject(Graph_WindowDC, font);
    if (madeFont != nullptr && madeFont != font) DeleteObject(madeFont);
    madeFont = font == startFont ? nullptr : font;
    angleInForce = angle;
}

// The face dc's font really has is the one asked for (the font mapper
// answers every request with some font).
bool hasFace(HDC dc, HFONT font, const char* face) {
    const HGDIOBJ old = SelectObject(dc, font);
    char got[LF_FACESIZE] = {};
    const bool same = GetTextFaceA(dc, LF_FACESIZE, got) > 0 && lstrcmpiA(got, face) == 0;
    SelectObject(dc, old);
    return same;
}

} // namespace

// Main thread, from Graph_Init once the window DC exists: the start font, as
// high as the window DC's default font.
void Graph_SelectStartFont() {
    Graph_BufferLock lock;
    if (startFont == nullptr && Graph_WindowDC != nullptr) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(Graph_WindowDC, &metrics);
        startFont = CreateFontA(metrics.tmHeight, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH,
                                "Fixedsys");
    }
    // Without the font each DC keeps its own.
    if (startFont != nullptr) putInForce(startFont, 0);
}

int32_t Graph_FontAngle() { return angleInForce; }

bool Graph_SetFont(const char* face, uint32_t height, int32_t angle, uint32_t style) {
    Graph_EnsureBegun();
    Graph_BufferLock lock;
    if (Graph_BufferDC == nullptr) return false;
    if (face == nullptr && height == 0 && angle == 0 && style == 0) {
        if (startFont == nullptr) return false;
        putInForce(startFont, 0);
        return true;
    }
    if (face == nullptr || face[0] == '\0' || lstrlenA(face) >= LF_FACESIZE || height == 0 ||
        height > Graph_FontHeightMax || (style & ~kStyles) != 0) {
        return false;
    }
    const int32_t turn = static_cast<int32_t>(((static_cast<int64_t>(angle) % 3600) + 3600) % 3600);
    // A positive height asks for the cell's height: the line Graph_TextHeight reports.
    const HFONT font =
        CreateFontA(static_cast<int>(height), 0, turn, turn, (style & Graph_BOLD) != 0 ? FW_BOLD : FW_NORMAL,
                    (style & Graph_ITALIC) != 0, (style & Graph_UNDERLINE) != 0, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    (style & Graph_SHARP) != 0 ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY, DEFAULT_PITCH, face);
    if (font == nullptr) return false;
    if (!hasFace(Graph_BufferDC, font, face)) {
        DeleteObject(font);
        return false;
    }
    putInForce(font, turn);
    return true;
}
