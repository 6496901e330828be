// The BGI's drawing on today's Graph (see graph_adapter.h). Each place that a
// Graph call coming later replaces is marked "Graph_<call>:".
#include "graph_adapter.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

#include "Graph.h"
#include "GraphFiles.h"
#include "GraphPictureCodecs.h"
#include "picture.h"

namespace {

// Main thread: all of it.
bool opened = false;
int32_t originX = 0, originY = 0;
Bgi_Rect clip{0, 0, -1, -1};
uint32_t lineWidth = 1;
uint16_t linePattern = 0xFFFF;
bool xorLines = false;

uint8_t fillPattern[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
uint32_t fillBackground = 0;
enum class Loaded { Unknown, Solid, Mask };
Loaded loadedFill = Loaded::Unknown;
uint8_t loadedMask[8];
uint32_t loadedBackground = 0xFFFFFFFF;

// Graph's palette: entries 0..15 the BGI's colour numbers; RGB colours draw
// as Graph_RGB numbers, exact on every display.
constexpr uint32_t kEntries = 16;
uint32_t entries[kEntries];

uint32_t drawnPage = 0, shownPage = 0; // pages in Graph

Bgi_Rect picture();

// Pixels set one by one: after kDirect in a row on a page not shown
// (kDirectShown on the one shown), they go into a copy of the picture, tile by
// tile (each tile read once), and are written back as blocks before any other
// drawing, any read of the picture, a page change, a key or mouse look, the
// program's end, and every 20 ms meanwhile. A whole picture by putpixel then
// costs a few hundred block copies instead of one Graph request a pixel. On
// the page shown only long runs wait: a program that sets a few pixels and
// then stops calling the BGI still sees them.
constexpr uint32_t kTile = 32, kDirect = 32, kDirectShown = 4096;
struct PixelBatch {
    uint32_t width = 0, height = 0, tilesAcross = 0;
    std::vector<uint32_t> pixels;             // the picture's copy, row by row
    std::vector<uint8_t> state;               // per tile: 0 not read, 1 read, 2 changed
    std::vector<uint32_t> read, changed;      // tile numbers
    std::vector<uint32_t> block;              // one tile as an image block
    uint32_t run = 0, sinceCheck = 0;
    bool on = false;
    std::chrono::steady_clock::time_point started;
};
PixelBatch batch;

Bgi_Rect tileBox(uint32_t t) {
    const uint32_t tx = t % batch.tilesAcross * kTile, ty = t / batch.tilesAcross * kTile;
    return Bgi_Rect{static_cast<int32_t>(tx), static_cast<int32_t>(ty),
                    static_cast<int32_t>(std::min(tx + kTile, batch.width) - 1),
                    static_cast<int32_t>(std::min(ty + kTile, batch.height) - 1)};
}

void flushPixels() {
    batch.run = 0;
    if (!batch.on) return;
    for (uint32_t t : batch.changed) {
        const Bgi_Rect b = tileBox(t);
        const uint32_t w = static_cast<uint32_t>(b.right - b.left + 1), h = static_cast<uint32_t>(b.bottom - b.top + 1);
        batch.block.resize(2 + size_t{w} * h);
        batch.block[0] = w, batch.block[1] = h;
        for (uint32_t r = 0; r < h; ++r)
            std::memcpy(&batch.block[2 + size_t{r} * w], &batch.pixels[size_t{b.top + r} * batch.width + b.left], 4 * w);
        Graph_PutImage(static_cast<uint32_t>(b.left), static_cast<uint32_t>(b.top), batch.block.data(),
                       static_cast<uint32_t>(batch.block.size() * 4), Graph_COPY);
    }
    for (uint32_t t : batch.read) batch.state[t] = 0;
    batch.read.clear();
    batch.changed.clear();
    batch.on = false;
}

void batchPixel(uint32_t x, uint32_t y, uint32_t colour) {
    if (batch.width != Graph_Width || batch.height != Graph_Depth) {
        batch.width = Graph_Width, batch.height = Graph_Depth;
        batch.tilesAcross = (batch.width + kTile - 1) / kTile;
        batch.pixels.assign(size_t{batch.width} * batch.height, 0);
        batch.state.assign(size_t{batch.tilesAcross} * ((batch.height + kTile - 1) / kTile), 0);
    }
    if (!batch.on) {
        batch.on = true;
        batch.sinceCheck = 0;
        batch.started = std::chrono::steady_clock::now();
    }
    const uint32_t t = y / kTile * batch.tilesAcross + x / kTile;
    uint8_t& st = batch.state[t];
    if (st == 0) {
        const Bgi_Rect b = tileBox(t);
        const uint32_t w = static_cast<uint32_t>(b.right - b.left + 1), h = static_cast<uint32_t>(b.bottom - b.top + 1);
        batch.block.resize(2 + size_t{w} * h);
        if (!Graph_GetImage(static_cast<uint32_t>(b.left), static_cast<uint32_t>(b.top), static_cast<uint32_t>(b.right),
                            static_cast<uint32_t>(b.bottom), batch.block.data(),
                            static_cast<uint32_t>(batch.block.size() * 4)))
            return Graph_SetPixel(x, y, colour);
        for (uint32_t r = 0; r < h; ++r)
            std::memcpy(&batch.pixels[size_t{b.top + r} * batch.width + b.left], &batch.block[2 + size_t{r} * w], 4 * w);
        st = 1;
        batch.read.push_back(t);
    }
    batch.pixels[size_t{y} * batch.width + x] = BgiG_ColourValue(colour);
    if (st == 1) {
        st = 2;
        batch.changed.push_back(t);
    }
    // Shown as it is drawn: not kept from the window for long.
    if (++batch.sinceCheck == 256) {
        batch.sinceCheck = 0;
        if (drawnPage == shownPage && std::chrono::steady_clock::now() - batch.started > std::chrono::milliseconds(20)) {
            flushPixels();
            batch.run = kDirectShown;
        }
    }
}

Bgi_Rect picture() {
    return Bgi_Rect{0, 0, static_cast<int32_t>(Graph_Width) - 1, static_cast<int32_t>(Graph_Depth) - 1};
}

bool allSet(const uint8_t p[8]) {
    for (int i = 0; i < 8; ++i)
        if (p[i] != 0xFF) return false;
    return true;
}
bool allClear(const uint8_t p[8]) {
    for (int i = 0; i < 8; ++i)
        if (p[i] != 0) return false;
    return true;
}

void loadSolid() {
    if (loadedFill == Loaded::Solid) return;
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    loadedFill = Loaded::Solid;
}
// The fill pattern in force loaded into Graph.
void loadFill() {
    if (allSet(fillPattern)) return loadSolid();
    if (loadedFill == Loaded::Mask && std::memcmp(loadedMask, fillPattern, 8) == 0 &&
        loadedBackground == fillBackground)
        return;
    const uint8_t(&mask)[8] = fillPattern;
    Graph_SetFillMask(mask);
    Graph_SetBkColor(fillBackground);
    std::memcpy(loadedMask, fillPattern, 8);
    loadedBackground = fillBackground;
    loadedFill = Loaded::Mask;
}

// Graph_SetClip, Graph_SetOrigin: a block of the picture read, changed and
// written back, for what crosses the clip edge or needs the picture's pixels.
struct Canvas {
    Bgi_Rect box{0, 0, -1, -1};
    int32_t width = 0, height = 0;
    std::vector<uint32_t> block;
    bool ok = false;

    explicit Canvas(const Bgi_Rect& want) {
        box = Bgi_Intersect(Bgi_Intersect(want, clip), picture());
        if (box.right < box.left || box.bottom < box.top) return;
        width = box.right - box.left + 1;
        height = box.bottom - box.top + 1;
        block.resize(2 + static_cast<size_t>(width) * static_cast<size_t>(height));
        ok = Graph_GetImage(static_cast<uint32_t>(box.left), static_cast<uint32_t>(box.top),
                            static_cast<uint32_t>(box.right), static_cast<uint32_t>(box.bottom), block.data(),
                            bytes());
    }
    uint32_t bytes() const { return static_cast<uint32_t>(block.size() * 4); }
    uint32_t* pixels() { return block.data() + 2; }
    // Device coordinates; null outside the block.
    uint32_t* at(int64_t x, int64_t y) {
        if (!ok || x < box.left || x > box.right || y < box.top || y > box.bottom) return nullptr;
        return pixels() + static_cast<size_t>(y - box.top) * static_cast<size_t>(width) +
               static_cast<size_t>(x - box.left);
    }
    void commit() {
        if (ok)
            Graph_PutImage(static_cast<uint32_t>(box.left), static_cast<uint32_t>(box.top), block.data(), bytes(),
                           Graph_COPY);
    }
};

Bgi_Rect boxOf(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    auto c = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
    return Bgi_Rect{c(std::min(x1, x2)), c(std::min(y1, y2)), c(std::max(x1, x2)), c(std::max(y1, y2))};
}

// Graph_SetClip, Graph_SetOrigin: a shape that crosses the clip rectangle's
// or the picture's edge drawn by Graph itself, inside Graph's clip rectangle,
// its device coordinates (negative ones too) carried by Graph's origin.
// For the one shape only: pages and blocks go on reaching the whole picture.
struct GraphCut {
    static constexpr int64_t kShift = int64_t{1} << 30; // beyond every clamped coordinate
    GraphCut() {
        Graph_SetClip(static_cast<uint32_t>(clip.left), static_cast<uint32_t>(clip.top),
                      static_cast<uint32_t>(clip.right), static_cast<uint32_t>(clip.bottom));
        Graph_SetOrigin(-static_cast<int32_t>(kShift), -static_cast<int32_t>(kShift));
    }
    ~GraphCut() {
        Graph_SetOrigin(0, 0);
        Graph_ResetClip();
    }
    GraphCut(const GraphCut&) = delete;
    GraphCut& operator=(const GraphCut&) = delete;
    // A device coordinate as the shifted unsigned coordinate Graph takes.
    static uint32_t at(int64_t v) {
        return static_cast<uint32_t>(std::clamp<int64_t>(v, -kShift, kShift) + kShift);
    }
};

bool clipEmpty() { return clip.right < clip.left || clip.bottom < clip.top; }

void fillSpans(Canvas& canvas, const std::vector<Bgi_Span>& spans, uint32_t colour) {
    const uint32_t fg = BgiG_ColourValue(colour), bg = BgiG_ColourValue(fillBackground);
    for (const Bgi_Span& s : spans)
        for (int32_t x = s.x1; x <= s.x2; ++x)
            if (uint32_t* p = canvas.at(x, s.y)) *p = Bgi_PatternBit(fillPattern, x, s.y) ? fg : bg;
}

// The device pixels of one stroke of a line with the pattern in force, cut
// to the clip rectangle; the pattern keeps its phase from the line's start.
void strokePixels(int64_t x1, int64_t y1, int64_t x2, int64_t y2, std::vector<Bgi_PatternPixel>& out) {
    const int64_t sx = x1, sy = y1;
    if (!Bgi_ClipLine(clip, x1, y1, x2, y2)) return;
    const unsigned phase = static_cast<unsigned>(std::max(std::llabs(x1 - sx), std::llabs(y1 - sy)) & 15);
    const uint16_t p = static_cast<uint16_t>(phase ? (linePattern << phase) | (linePattern >> (16 - phase)) : linePattern);
    Bgi_LinePixels(static_cast<int32_t>(x1), static_cast<int32_t>(y1), static_cast<int32_t>(x2),
                   static_cast<int32_t>(y2), p, out);
}

void graphLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
    Graph_Line(static_cast<uint32_t>(x1), static_cast<uint32_t>(y1), static_cast<uint32_t>(x2),
               static_cast<uint32_t>(y2), colour);
}

// Graph_Ellipse / Graph_Arc for an outline, inside Graph's clip rectangle
// when it crosses the BGI's.
void arcStroke(int64_t cx, int64_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep, uint32_t colour) {
    if (rx < 0 || ry < 0 || clipEmpty()) return;
    if (cx - rx > clip.right || cx + rx < clip.left || cy - ry > clip.bottom || cy + ry < clip.top) return;
    const bool inside = Bgi_ContainsBox(clip, cx - rx, cy - ry, cx + rx, cy + ry);
    auto at = [&](int64_t v) { return inside ? static_cast<uint32_t>(v) : GraphCut::at(v); };
    std::optional<GraphCut> cut;
    if (!inside) cut.emplace();
    const uint32_t x1 = at(cx - rx), y1 = at(cy - ry), x2 = at(cx + rx), y2 = at(cy + ry);
    if (sweep >= 360) return Graph_Ellipse(x1, y1, x2, y2, colour, false);
    Graph_Arc(x1, y1, x2, y2, stangle, sweep, colour);
    // NOTE: GDI's arc leaves its last pixel out; Borland's arc has both ends.
    const Bgi_Point end = Bgi_EllipsePoint(static_cast<int32_t>(std::clamp<int64_t>(cx, INT32_MIN / 4, INT32_MAX / 4)),
                                           static_cast<int32_t>(std::clamp<int64_t>(cy, INT32_MIN / 4, INT32_MAX / 4)),
                                           rx, ry, static_cast<int32_t>((int64_t{stangle} + sweep) % 360));
    if (Bgi_Contains(clip, end.x, end.y)) Graph_SetPixel(at(end.x), at(end.y), colour);
}

} // namespace

bool BgiG_Open(int32_t x, int32_t y, uint32_t width, uint32_t height, const char* title) {
    Graph_BEGIN();
    if (opened) return true; // the one window
    if (title != nullptr) Graph_SetTitle(title);
    if (!Graph_TryInit(x, y, width, height)) return false;
    opened = true;
    Graph_SetLinestyle(0); // patterns are drawn here, Graph draws solid
    Graph_SetBkMix(true);
    loadedFill = Loaded::Unknown;
    clip = picture();
    return true;
}

bool BgiG_IsOpen() { return opened; }

void BgiG_Close() {
    flushPixels();
    drawnPage = shownPage = 0;
    // The next initgraph or initwindow opens a window again.
    if (opened) Graph_Close();
    opened = false;
}

bool BgiG_CloseRequested() { return opened && Graph_CloseRequested(); }
uint32_t BgiG_Width() { return opened ? Graph_Width : 0; }
uint32_t BgiG_Height() { return opened ? Graph_Depth : 0; }

void BgiG_SetPalette(const uint32_t shown[16]) {
    flushPixels();
    std::memcpy(entries, shown, 16 * sizeof(uint32_t));
    if (opened) Graph_RemapAllPalette(entries, kEntries);
}

uint32_t BgiG_Colour(int colour) {
    if (colour >= 0 && colour < 16) return static_cast<uint32_t>(colour);
    uint32_t rgb = 0;
    const uint32_t none[16] = {};
    if (!Bgi_ColourValue(colour, none, rgb)) return 15;
    return Graph_RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

uint32_t BgiG_ColourValue(uint32_t graphColour) {
    return Graph_IsRGB(graphColour) ? graphColour & 0xFFFFFF : entries[graphColour % kEntries];
}

void BgiG_SetOrigin(int32_t x, int32_t y) { originX = x, originY = y; }
void BgiG_SetClip(const Bgi_Rect& device) { clip = Bgi_Intersect(device, picture()); }
void BgiG_SetLineWidth(uint32_t pixels) { lineWidth = pixels >= 3 ? 3 : 1; }
void BgiG_SetLinePattern(uint16_t pattern) { linePattern = pattern; }
void BgiG_SetWriteMode(bool xorMode) { xorLines = xorMode; }
void BgiG_SetFill(const uint8_t pattern[8], uint32_t background) {
    std::memcpy(fillPattern, pattern, 8);
    fillBackground = background;
}

void BgiG_Pixel(int32_t x, int32_t y, uint32_t colour) {
    const int64_t dx = int64_t{originX} + x, dy = int64_t{originY} + y;
    if (!Bgi_Contains(clip, dx, dy)) return;
    if (batch.run < (drawnPage != shownPage ? kDirect : kDirectShown)) {
        ++batch.run;
        return Graph_SetPixel(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy), colour);
    }
    batchPixel(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy), colour);
}

void BgiG_Flush() { flushPixels(); }

uint32_t BgiG_GetPixel(int32_t x, int32_t y) {
    flushPixels();
    const int64_t dx = int64_t{originX} + x, dy = int64_t{originY} + y;
    if (!opened || !Bgi_Contains(picture(), dx, dy)) return 0xFFFFFFFF;
    return Graph_GetPixel(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy));
}

void BgiG_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    flushPixels();
    int64_t ax = int64_t{originX} + x1, ay = int64_t{originY} + y1;
    int64_t bx = int64_t{originX} + x2, by = int64_t{originY} + y2;
    if (lineWidth == 1 && linePattern == 0xFFFF) {
        // XOR by Graph's write mode: the same pixels as the line drawn plainly.
        if (xorLines) Graph_SetWriteMode(Graph_XOR);
        if (Bgi_Contains(clip, ax, ay) && Bgi_Contains(clip, bx, by)) {
            graphLine(ax, ay, bx, by, colour);
        } else if (Bgi_ClipLine(clip, ax, ay, bx, by)) {
            graphLine(ax, ay, bx, by, colour);
        }
        if (xorLines) Graph_SetWriteMode(Graph_COPY);
        return;
    }
    // Graph_SetLineWidth, Graph_SetLinePattern: Borland's thick line is three
    // strokes side by side along the minor axis (Graph's wide band differs on
    // slopes), and its pattern restarts on each stroke: drawn here, and their
    // XOR pixel by pixel, each pixel once.
    int32_t ox = 0, oy = 0;
    Bgi_ThickOffsets(x2 - x1, y2 - y1, ox, oy);
    std::vector<Bgi_PatternPixel> pixels;
    const int strokes = lineWidth == 3 ? 3 : 1;
    for (int k = 0; k < strokes; ++k) {
        const int64_t d = strokes == 3 ? k - 1 : 0;
        strokePixels(ax + d * ox, ay + d * oy, bx + d * ox, by + d * oy, pixels);
    }
    if (pixels.empty()) return;
    if (!xorLines) {
        // Runs of set pixels as Graph lines: a dash is a piece of the line.
        size_t i = 0;
        while (i < pixels.size()) {
            if (!pixels[i].on) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j + 1 < pixels.size() && pixels[j + 1].on && std::abs(pixels[j + 1].x - pixels[j].x) <= 1 &&
                   std::abs(pixels[j + 1].y - pixels[j].y) <= 1)
                ++j;
            graphLine(pixels[i].x, pixels[i].y, pixels[j].x, pixels[j].y, colour);
            i = j + 1;
        }
        return;
    }
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (const Bgi_PatternPixel& p : pixels)
        l = std::min(l, p.x), t = std::min(t, p.y), r = std::max(r, p.x), b = std::max(b, p.y);
    Canvas canvas(Bgi_Rect{l, t, r, b});
    if (!canvas.ok) return;
    // Each pixel once, even where the strokes of a thick line meet.
    std::vector<uint8_t> done(static_cast<size_t>(canvas.width) * static_cast<size_t>(canvas.height), 0);
    const uint32_t value = BgiG_ColourValue(colour);
    for (const Bgi_PatternPixel& p : pixels) {
        if (!p.on) continue;
        uint32_t* px = canvas.at(p.x, p.y);
        if (px == nullptr) continue;
        uint8_t& d = done[static_cast<size_t>(px - canvas.pixels())];
        if (d) continue;
        d = 1;
        *px = (*px ^ value) & 0xFFFFFF;
    }
    canvas.commit();
}

void BgiG_Bar(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    flushPixels();
    const Bgi_Rect r = Bgi_Intersect(boxOf(int64_t{originX} + left, int64_t{originY} + top,
                                           int64_t{originX} + right, int64_t{originY} + bottom),
                                     clip);
    if (r.right < r.left || r.bottom < r.top) return;
    if (allSet(fillPattern) || allClear(fillPattern)) {
        loadSolid();
        Graph_Rectangle(static_cast<uint32_t>(r.left), static_cast<uint32_t>(r.top), static_cast<uint32_t>(r.right),
                        static_cast<uint32_t>(r.bottom), allSet(fillPattern) ? colour : fillBackground, true);
        return;
    }
    // Graph's filled rectangle has a solid frame: the pattern reaches the
    // edge only through a block.
    Canvas canvas(r);
    std::vector<Bgi_Span> spans;
    for (int32_t y = r.top; y <= r.bottom; ++y) spans.push_back({y, r.left, r.right});
    fillSpans(canvas, spans, colour);
    canvas.commit();
}

void BgiG_Clear(uint32_t colour) {
    flushPixels();
    if (!opened || clip.right < clip.left || clip.bottom < clip.top) return;
    loadSolid();
    Graph_Rectangle(static_cast<uint32_t>(clip.left), static_cast<uint32_t>(clip.top),
                    static_cast<uint32_t>(clip.right), static_cast<uint32_t>(clip.bottom), colour, true);
}

void BgiG_Arc(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep, uint32_t colour) {
    flushPixels();
    if (sweep <= 0) return;
    const int64_t x = int64_t{originX} + cx, y = int64_t{originY} + cy;
    // Graph_SetLineWidth: a thick outline as three, one pixel apart.
    if (lineWidth == 3) {
        for (int d = -1; d <= 1; ++d)
            if (rx + d >= 0 && ry + d >= 0) arcStroke(x, y, rx + d, ry + d, stangle, sweep, colour);
        return;
    }
    arcStroke(x, y, rx, ry, stangle, sweep, colour);
}

void BgiG_FillEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour) {
    flushPixels();
    if (rx < 0 || ry < 0 || clipEmpty()) return;
    const int64_t x = int64_t{originX} + cx, y = int64_t{originY} + cy;
    loadFill();
    if (Bgi_ContainsBox(clip, x - rx, y - ry, x + rx, y + ry)) {
        Graph_Ellipse(static_cast<uint32_t>(x - rx), static_cast<uint32_t>(y - ry), static_cast<uint32_t>(x + rx),
                      static_cast<uint32_t>(y + ry), colour, true);
        return;
    }
    GraphCut cut;
    Graph_Ellipse(GraphCut::at(x - rx), GraphCut::at(y - ry), GraphCut::at(x + rx), GraphCut::at(y + ry), colour, true);
}

void BgiG_FillPie(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep, uint32_t colour) {
    flushPixels();
    if (rx < 0 || ry < 0 || sweep <= 0 || clipEmpty()) return;
    const int64_t x = int64_t{originX} + cx, y = int64_t{originY} + cy;
    loadFill();
    if (Bgi_ContainsBox(clip, x - rx, y - ry, x + rx, y + ry)) {
        Graph_Pie(static_cast<uint32_t>(x - rx), static_cast<uint32_t>(y - ry), static_cast<uint32_t>(x + rx),
                  static_cast<uint32_t>(y + ry), stangle, sweep, colour, true);
        return;
    }
    GraphCut cut;
    Graph_Pie(GraphCut::at(x - rx), GraphCut::at(y - ry), GraphCut::at(x + rx), GraphCut::at(y + ry), stangle, sweep,
              colour, true);
}

void BgiG_FillPolygon(const Bgi_Point* points, size_t count, uint32_t colour) {
    flushPixels();
    if (points == nullptr || count == 0 || clipEmpty()) return;
    int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
    std::vector<int64_t> xy(2 * count);
    for (size_t i = 0; i < count; ++i) {
        const int64_t x = int64_t{originX} + points[i].x, y = int64_t{originY} + points[i].y;
        l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
        xy[2 * i] = x, xy[2 * i + 1] = y;
    }
    const bool inside = Bgi_ContainsBox(clip, l, t, r, b);
    std::vector<Graph_Point> device(count);
    for (size_t i = 0; i < count; ++i) {
        device[i] = inside ? Graph_Point{static_cast<uint32_t>(xy[2 * i]), static_cast<uint32_t>(xy[2 * i + 1])}
                           : Graph_Point{GraphCut::at(xy[2 * i]), GraphCut::at(xy[2 * i + 1])};
    }
    loadFill();
    std::optional<GraphCut> cut;
    if (!inside) cut.emplace();
    Graph_Polygon(device.data(), static_cast<uint32_t>(count), colour, true);
}

void BgiG_FloodFill(int32_t x, int32_t y, uint32_t colour, uint32_t borderValue) {
    flushPixels();
    // Graph_SetClip: Graph's flood fill knows only the picture's edge; the
    // viewport's is kept here, on a block of the clip rectangle.
    const int64_t dx = int64_t{originX} + x, dy = int64_t{originY} + y;
    if (!Bgi_Contains(clip, dx, dy)) return;
    Canvas canvas(clip);
    if (!canvas.ok) return;
    const size_t n = Bgi_FloodFill(canvas.pixels(), canvas.width, canvas.height, canvas.box.left, canvas.box.top,
                                   static_cast<int32_t>(dx - canvas.box.left), static_cast<int32_t>(dy - canvas.box.top),
                                   borderValue & 0xFFFFFF, fillPattern, BgiG_ColourValue(colour),
                                   BgiG_ColourValue(fillBackground));
    if (n > 0) canvas.commit();
}

void BgiG_Bitmap(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* bits, uint32_t colour,
                 BgiG_Blocks* blocks) {
    flushPixels();
    if (bits == nullptr || width <= 0 || height <= 0) return;
    const int64_t dx = int64_t{originX} + x, dy = int64_t{originY} + y;
    const uint32_t value = BgiG_ColourValue(colour);
    if (Bgi_ContainsBox(clip, dx, dy, dx + width - 1, dy + height - 1)) {
        // Two blocks, neither of which needs the picture read: its pixels under
        // the set bits cleared (AND), then painted (OR).
        static BgiG_Blocks scratch;
        BgiG_Blocks& b = blocks != nullptr ? *blocks : scratch;
        const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
        if (b.value != value || b.mask.size() != 2 + n || blocks == nullptr) {
            b.mask.resize(2 + n);
            b.paint.resize(2 + n);
            b.mask[0] = b.paint[0] = static_cast<uint32_t>(width);
            b.mask[1] = b.paint[1] = static_cast<uint32_t>(height);
            for (size_t i = 0; i < n; ++i) {
                b.mask[2 + i] = bits[i] ? 0 : 0xFFFFFF;
                b.paint[2 + i] = bits[i] ? value : 0;
            }
            b.value = value;
        }
        const auto bytes = static_cast<uint32_t>(b.mask.size() * 4);
        const auto x1 = static_cast<uint32_t>(dx), y1 = static_cast<uint32_t>(dy);
        Graph_PutImage(x1, y1, b.mask.data(), bytes, Graph_AND);
        Graph_PutImage(x1, y1, b.paint.data(), bytes, Graph_OR);
        return;
    }
    Canvas canvas(boxOf(dx, dy, dx + width - 1, dy + height - 1));
    if (!canvas.ok) return;
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c)
            if (bits[static_cast<size_t>(r) * static_cast<size_t>(width) + static_cast<size_t>(c)])
                if (uint32_t* p = canvas.at(dx + c, dy + r)) *p = value;
    canvas.commit();
}

namespace {
// Faces that look like Borland's stroked fonts, TRIPLEX_FONT .. BOLD_FONT: the
// Windows face first, then those of the free fonts that stand in for it under
// Wine (Liberation, DejaVu), the first the system has drawing.
struct Face {
    const char* names[4];
    uint32_t style;
};
constexpr Face kFaces[10] = {
    {{"Times New Roman", "Liberation Serif", "DejaVu Serif", nullptr}, 0},                 // triplex
    {{"Small Fonts", "Arial", "Liberation Sans", "DejaVu Sans"}, 0},                       // small
    {{"Arial", "Liberation Sans", "DejaVu Sans", nullptr}, 0},                             // sans serif
    {{"Old English Text MT", "Times New Roman", "Liberation Serif", "DejaVu Serif"}, Graph_BOLD}, // gothic
    {{"Script", "Times New Roman", "Liberation Serif", "DejaVu Serif"}, Graph_ITALIC},      // script
    {{"Arial", "Liberation Sans", "DejaVu Sans", nullptr}, 0},                             // simplex
    {{"Times New Roman", "Liberation Serif", "DejaVu Serif", nullptr}, Graph_ITALIC},      // triplex script
    {{"Times New Roman", "Liberation Serif", "DejaVu Serif", nullptr}, 0},                 // complex
    {{"Century Gothic", "Liberation Sans", "DejaVu Sans", nullptr}, 0},                    // european
    {{"Arial Black", "Arial", "Liberation Sans", "DejaVu Sans"}, Graph_BOLD},              // bold
};
} // namespace

bool BgiG_FaceText(int font, uint32_t height, int direction, int32_t x, int32_t y, const char* text, uint32_t colour,
                   int32_t& width, int32_t& boxHeight, bool measureOnly) {
    width = boxHeight = 0;
    if (font < 1 || font > 10 || height == 0 || text == nullptr) return false;
    flushPixels();
    const Face& face = kFaces[font - 1];
    const int32_t angle = direction == 0 ? 0 : 900; // 0: across (HORIZ_DIR)
    bool set = false;
    for (const char* name : face.names) {
        // Sharp: a BGI picture has 16 colours, and programs read text's pixels back.
        if (name != nullptr && Graph_SetFont(name, height, angle, face.style | Graph_SHARP)) {
            set = true;
            break;
        }
    }
    if (!set) return false;
    width = static_cast<int32_t>(Graph_TextWidth(text));
    boxHeight = static_cast<int32_t>(Graph_TextHeight());
    if (!measureOnly && !clipEmpty()) {
        // (x, y) is the text box's top-left corner; Graph places text by its
        // first cell's top-left before turning, the box's bottom-left once
        // turned up.
        const int64_t left = int64_t{originX} + x, top = int64_t{originY} + y + (direction == 0 ? 0 : width);
        GraphCut cut;
        Graph_SetBkMix(false); // the BGI writes text over the picture
        Graph_OutText(GraphCut::at(left), GraphCut::at(top), colour, text);
        Graph_SetBkMix(true);
    }
    return true;
}

bool BgiG_FaceBits(int font, uint32_t height, const char* text, int32_t& width, int32_t& boxHeight,
                   std::vector<uint8_t>& bits) {
    if (!opened || !BgiG_FaceText(font, height, 0, 0, 0, text, 0, width, boxHeight, true)) return false;
    if (width <= 0 || boxHeight <= 0 || static_cast<uint32_t>(width) > Graph_Width ||
        static_cast<uint32_t>(boxHeight) > Graph_Depth)
        return false;
    // Graph draws faces only onto the picture: the text is drawn in a corner
    // cleared for it, read back, and the corner put back as it was, all in one
    // frame so that the window never shows it.
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(boxHeight);
    std::vector<uint32_t> saved(2 + n), blank(2 + n, 0);
    blank[0] = static_cast<uint32_t>(width), blank[1] = static_cast<uint32_t>(boxHeight);
    const auto bytes = static_cast<uint32_t>(saved.size() * 4);
    const auto right = static_cast<uint32_t>(width - 1), bottom = static_cast<uint32_t>(boxHeight - 1);
    Graph_BeginFrame();
    bool ok = Graph_GetImage(0, 0, right, bottom, saved.data(), bytes);
    if (ok) {
        Graph_PutImage(0, 0, blank.data(), bytes, Graph_COPY);
        Graph_SetBkMix(false);
        Graph_OutText(0, 0, Graph_RGB(255, 255, 255), text);
        Graph_SetBkMix(true);
        ok = Graph_GetImage(0, 0, right, bottom, blank.data(), bytes);
        Graph_PutImage(0, 0, saved.data(), bytes, Graph_COPY);
    }
    Graph_EndFrame();
    if (!ok) return false;
    bits.resize(n);
    for (size_t i = 0; i < n; ++i) bits[i] = (blank[2 + i] & 0xFFFFFF) != 0;
    return true;
}

void BgiG_Recolour(const uint32_t* from, const uint32_t* to, size_t count) {
    flushPixels();
    if (!opened || count == 0) return;
    static std::vector<uint32_t> block;
    block.resize(2 + size_t{Graph_Width} * Graph_Depth);
    const auto bytes = static_cast<uint32_t>(block.size() * 4);
    if (!Graph_GetImage(0, 0, Graph_Width - 1, Graph_Depth - 1, block.data(), bytes)) return;
    bool changed = false;
    for (size_t i = 2; i < block.size(); ++i)
        for (size_t k = 0; k < count; ++k)
            if (block[i] == from[k]) {
                block[i] = to[k];
                changed = true;
                break;
            }
    if (changed) Graph_PutImage(0, 0, block.data(), bytes, Graph_COPY);
}

bool BgiG_GetImage(int32_t left, int32_t top, int32_t right, int32_t bottom, void* image, uint32_t size) {
    flushPixels();
    if (!opened || image == nullptr) return false;
    const Bgi_Rect want = boxOf(int64_t{originX} + left, int64_t{originY} + top, int64_t{originX} + right,
                                int64_t{originY} + bottom);
    if (want.left >= 0 && want.top >= 0)
        return Graph_GetImage(static_cast<uint32_t>(want.left), static_cast<uint32_t>(want.top),
                              static_cast<uint32_t>(want.right), static_cast<uint32_t>(want.bottom), image, size);
    // Corners left of or above the picture: those pixels read 0xFFFFFFFF, as
    // Graph's own do past its right and bottom edges.
    const uint64_t w = uint64_t(int64_t{want.right} - want.left + 1), h = uint64_t(int64_t{want.bottom} - want.top + 1);
    if (w * h > (64u << 20) / 4 || size < 8 + 4 * w * h) return false;
    auto* out = static_cast<uint8_t*>(image);
    const Graph_ImageHeader header{static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
    std::memcpy(out, &header, 8);
    std::memset(out + 8, 0xFF, 4 * w * h);
    const Bgi_Rect seen = Bgi_Intersect(want, picture());
    if (seen.right < seen.left || seen.bottom < seen.top) return true;
    Canvas part(seen);
    if (!part.ok) return true;
    for (int32_t r = 0; r < part.height; ++r)
        std::memcpy(out + 8 + 4 * ((uint64_t(part.box.top - want.top + r)) * w + uint64_t(part.box.left - want.left)),
                    part.pixels() + static_cast<size_t>(r) * static_cast<size_t>(part.width),
                    4 * static_cast<size_t>(part.width));
    return true;
}

void BgiG_PutImage(int32_t x, int32_t y, const void* image, uint32_t size, uint32_t mode) {
    flushPixels();
    if (!opened || image == nullptr || size < 8) return;
    Graph_ImageHeader header;
    std::memcpy(&header, image, 8);
    const int64_t dx = int64_t{originX} + x, dy = int64_t{originY} + y;
    const int64_t w = header.width, h = header.height;
    if (w == 0 || h == 0) return;
    if (Bgi_ContainsBox(clip, dx, dy, dx + w - 1, dy + h - 1)) {
        Graph_PutImage(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy), image, size, mode);
        return;
    }
    const Bgi_Rect seen = Bgi_Intersect(boxOf(dx, dy, dx + w - 1, dy + h - 1), clip);
    if (seen.right < seen.left || seen.bottom < seen.top) return;
    const uint32_t cw = static_cast<uint32_t>(seen.right - seen.left + 1), ch = static_cast<uint32_t>(seen.bottom - seen.top + 1);
    std::vector<uint32_t> part(2 + size_t{cw} * ch);
    part[0] = cw, part[1] = ch;
    const auto* src = static_cast<const uint8_t*>(image) + 8;
    for (uint32_t r = 0; r < ch; ++r)
        std::memcpy(part.data() + 2 + size_t{r} * cw,
                    src + 4 * (uint64_t(seen.top - dy + r) * uint64_t(w) + uint64_t(seen.left - dx)), 4 * size_t{cw});
    Graph_PutImage(static_cast<uint32_t>(seen.left), static_cast<uint32_t>(seen.top), part.data(),
                   static_cast<uint32_t>(part.size() * 4), mode);
}

bool BgiG_SavePicture(const char* path, const Bgi_Rect& device) {
    flushPixels();
    if (!opened || path == nullptr) return false;
    const Bgi_Rect all = picture(), box = Bgi_Intersect(device, all);
    if (box.left == all.left && box.top == all.top && box.right == all.right && box.bottom == all.bottom)
        return Graph_SavePicture(path);
    // A part: read as an image block and written as Graph writes its files.
    if (box.right < box.left || box.bottom < box.top) return false;
    const uint32_t w = static_cast<uint32_t>(box.right - box.left + 1), h = static_cast<uint32_t>(box.bottom - box.top + 1);
    std::vector<uint32_t> block(2 + size_t{w} * h);
    std::vector<uint8_t> file;
    return Graph_GetImage(static_cast<uint32_t>(box.left), static_cast<uint32_t>(box.top),
                          static_cast<uint32_t>(box.right), static_cast<uint32_t>(box.bottom), block.data(),
                          static_cast<uint32_t>(block.size() * 4)) &&
           Graph_EncodeBmp(block.data() + 2, w, h, file) && (!Graph_IsPngPath(path) || Graph_BmpToPng(file)) &&
           Graph_WriteFileWhole(path, file.data(), file.size());
}

bool BgiG_LoadPicture(const char* path, const Bgi_Rect& device) {
    flushPixels();
    if (!opened || path == nullptr) return false;
    const Bgi_Rect r = Bgi_Intersect(device, picture());
    if (r.right < r.left || r.bottom < r.top) return false;
    // Stretched to the box (inside the picture), as WinBGIm's readimagefile does.
    return Graph_LoadPictureBox(path, static_cast<uint32_t>(r.left), static_cast<uint32_t>(r.top),
                                static_cast<uint32_t>(r.right), static_cast<uint32_t>(r.bottom));
}

void BgiG_SetPages(uint32_t active, uint32_t visual) {
    flushPixels();
    if (!opened || active >= Graph_PAGES || visual >= Graph_PAGES) return;
    if (active == drawnPage && visual == shownPage) return;
    // A page Graph makes now is cleared to its background colour: black, as
    // every BGI page starts; the fill's background goes back after.
    const uint32_t background = Graph_SetBkColor(0);
    Graph_SetActivePage(active);
    Graph_SetVisualPage(visual);
    Graph_SetBkColor(background);
    drawnPage = active;
    shownPage = visual;
}

bool BgiG_ReadMouse(BgiG_Mouse& event) {
    if (!opened) return false;
    Graph_MouseEvent e;
    if (!Graph_ReadMouse(&e)) return false;
    event.kind = e.kind == Graph_MOUSE_PRESS ? 0 : e.kind == Graph_MOUSE_RELEASE ? 1 : 2;
    event.button = e.buttons & Graph_BUTTON_RIGHT ? 1 : e.buttons & Graph_BUTTON_MIDDLE ? 2 : 0;
    if (e.kind == Graph_MOUSE_WHEEL) event.kind = 3;
    event.x = static_cast<int>(e.x);
    event.y = static_cast<int>(e.y);
    return true;
}
