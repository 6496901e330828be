// The drawing calls: each writes its request into Graph_Request and runs it on
// both targets (dispatch.cpp carries it out). Plain C++: main thread, like
// every request.
#include <cstring>

#include "GraphDispatch.h"

namespace {

constexpr uint64_t kImageLimit = 64u << 20; // bytes of one image block at most

void issue(Graph_OpCode op) {
    Graph_Request.op = op;
    Graph_ExecuteOnBoth();
}

void issueEllipse(Graph_OpCode op, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start,
                  int32_t sweep, uint32_t colour, bool fill) {
    Graph_Request.p.ellipse = {Graph_Min(x1, x2), Graph_Min(y1, y2), Graph_Max(x1, x2), Graph_Max(y1, y2),
                               colour, fill ? 1u : 0u, start, sweep};
    issue(op);
}

} // namespace

void Graph_SetPixel(uint32_t x, uint32_t y, uint32_t colour) {
    Graph_Request.p.pixel = {x, y, colour};
    issue(OP_PIXEL);
}

void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour) {
    Graph_Request.p.line = {x1, y1, x2, y2, colour};
    issue(OP_LINE);
}

void Graph_Box(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    if (x1 == x2 && y1 == y2) {
        Graph_SetPixel(x1, y1, colour);
        return;
    }
    Graph_Request.p.rectangle = {Graph_Min(x1, x2), Graph_Min(y1, y2), Graph_Max(x1, x2),
                                 Graph_Max(y1, y2),  colour,           fill ? 1u : 0u};
    issue(OP_RECTANGLE);
}

void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    Graph_Box(x1, y1, x2, y2, colour, fill);
}

void Graph_Ellipse(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    issueEllipse(OP_ELLIPSE, x1, y1, x2, y2, 0, 0, colour, fill);
}

void Graph_Arc(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour) {
    issueEllipse(OP_ARC, x1, y1, x2, y2, start, sweep, colour, false);
}

void Graph_Pie(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour,
               bool fill) {
    issueEllipse(OP_PIE, x1, y1, x2, y2, start, sweep, colour, fill);
}

void Graph_Polyline(const Graph_Point* points, uint32_t count, uint32_t colour) {
    Graph_Request.p.poly = {points, count, colour, 0};
    issue(OP_POLYLINE);
}

void Graph_Polygon(const Graph_Point* points, uint32_t count, uint32_t colour, bool fill) {
    Graph_Request.p.poly = {points, count, colour, fill ? 1u : 0u};
    issue(OP_POLYGON);
}

void Graph_FloodFill(uint32_t x, uint32_t y, uint32_t colour, uint32_t border) {
    Graph_Request.p.flood = {x, y, colour, border};
    issue(OP_FLOOD_FILL);
}

void Graph_RawOutText(uint32_t x, uint32_t y, uint32_t colour, const char* text, uint32_t length) {
    auto& t = Graph_Request.p.text;
    t.x = x;
    t.y = y;
    t.colour = colour;
    const uint32_t n = Graph_TextLength(text, length);
    for (uint32_t i = 0; i < n; ++i) t.text[i] = text[i];
    if (n < Graph_TextMax) t.text[n] = '\0';
    issue(OP_TEXT);
}

void Graph_SetTextUTF8(bool on) {
    Graph_EnsureBegun();
    Graph_Executor.utf8 = on;
}

uint32_t Graph_ImageSize(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    const uint64_t width = static_cast<uint64_t>(Graph_Max(x1, x2)) - Graph_Min(x1, x2) + 1;
    const uint64_t height = static_cast<uint64_t>(Graph_Max(y1, y2)) - Graph_Min(y1, y2) + 1;
    if (width > kImageLimit || height > kImageLimit) return 0;
    const uint64_t size = sizeof(Graph_ImageHeader) + width * height * 4;
    return size <= kImageLimit ? static_cast<uint32_t>(size) : 0;
}

bool Graph_PutImage(uint32_t x, uint32_t y, const void* image, uint32_t size, uint32_t mode) {
    if (image == nullptr || size < sizeof(Graph_ImageHeader) || mode > Graph_ALPHA) return false;
    Graph_ImageHeader header;
    std::memcpy(&header, image, sizeof header);
    if (header.width == 0 || header.height == 0 ||
        Graph_ImageSize(0, 0, header.width - 1, header.height - 1) != size) {
        return false;
    }
    Graph_DrawBlock(x, y, header.width, header.height,
                    reinterpret_cast<const uint32_t*>(static_cast<const char*>(image) + sizeof header), mode);
    return true;
}

void Graph_DrawBlock(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const uint32_t* pixels, uint32_t mode) {
    Graph_Request.p.image = {x, y, width, height, mode, pixels};
    issue(OP_IMAGE);
}

// ---- line, write mode, clip and origin attributes --------------------------------

void Graph_SetLineWidth(uint32_t pixels) {
    Graph_Request.p.lineWidth.pixels = pixels == 0 ? 1 : Graph_Min(pixels, Graph_LineWidthMax);
    Graph_Request.op = OP_LINE_WIDTH;
    Graph_ExecuteOnBuffer();
}

void Graph_SetLinePattern(uint16_t pattern) {
    Graph_Request.p.linePattern.pattern = 0x10000u | pattern;
    Graph_Request.op = OP_LINE_PATTERN;
    Graph_ExecuteOnBuffer();
}

void Graph_SetWriteMode(uint32_t mode) {
    if (mode != Graph_COPY && mode != Graph_XOR) return; // the caller's fault: the mode stays
    Graph_Request.p.writeMode.mode = mode;
    issue(OP_WRITE_MODE);
}

void Graph_SetClip(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    Graph_Request.p.clip = {Graph_Min(x1, x2), Graph_Min(y1, y2), Graph_Max(x1, x2), Graph_Max(y1, y2), 1};
    issue(OP_CLIP);
}

void Graph_ResetClip() {
    Graph_Request.p.clip = {0, 0, 0, 0, 0};
    issue(OP_CLIP);
}

void Graph_SetOrigin(int32_t x, int32_t y) {
    Graph_Request.p.origin = {x, y};
    Graph_Request.op = OP_ORIGIN;
    Graph_ExecuteOnBuffer();
}
