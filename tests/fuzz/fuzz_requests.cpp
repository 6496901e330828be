// Graph's drawing request record: any operation code, any fields, any order.
//
// Properties: a code outside the table makes no GDI call and changes no
// executor state; no request reads outside its record (the record is a heap
// block of its exact size, under AddressSanitizer, and text goes to GDI only
// from the record's own text field, at most 257 characters, and points only
// from the caller's array, never beyond its count); a shape reaches its DC as
// its own call; box corners reach GDI within [0, 2^24 + 1].
#include <vector>

#include "FuzzInput.h"
#include "Graph.h"
#include "GraphDispatch.h"

namespace {

// Stands in for one device context and checks each call as it comes.
class RecordingDC final : public Graph_DC {
public:
    explicit RecordingDC(const Graph_RequestRecord& record) : record_(record) {}

    void SelectPen(const Graph_Pen&) override { ++calls; }
    void SelectBrush(const Graph_Brush&) override { ++calls; }
    void SetBkColor(uint32_t) override { ++calls; }
    void SetBkMode(int32_t) override { ++calls; }
    void SetTextColor(uint32_t) override { ++calls; }
    void Palette() override { shape(OP_PALETTE); }
    void SetWriteMode(uint32_t mode) override {
        ++calls;
        FUZZ_REQUIRE(mode == Graph_COPY || mode == Graph_XOR);
    }
    // A clip rectangle lies within the picture's coordinates, never inside out.
    void Clip(const Graph_DeviceRect* box) override {
        ++calls;
        if (box != nullptr) FUZZ_REQUIRE(box->left <= box->right && box->top <= box->bottom);
    }
    void Pixel(Graph_DevicePoint, uint32_t) override { shape(OP_PIXEL); }
    void Line(Graph_DevicePoint, Graph_DevicePoint) override { shape(OP_LINE); }
    void Rectangle(const Graph_DeviceRect& box) override { shape(OP_RECTANGLE, &box); }
    void Ellipse(const Graph_DeviceRect& box) override { shape(OP_ELLIPSE, &box); }
    void Arc(const Graph_DeviceRect& box, Graph_DevicePoint, Graph_DevicePoint) override { shape(OP_ARC, &box); }
    void Pie(const Graph_DeviceRect& box, Graph_DevicePoint, Graph_DevicePoint) override { shape(OP_PIE, &box); }
    void Polyline(const Graph_DevicePoint* points, uint32_t count) override { poly(OP_POLYLINE, points, count); }
    void Polygon(const Graph_DevicePoint* points, uint32_t count) override { poly(OP_POLYGON, points, count); }
    void FloodFill(Graph_DevicePoint, uint32_t) override { shape(OP_FLOOD_FILL); }
    void Text(Graph_DevicePoint, const char* text, int32_t length) override {
        shape(OP_TEXT);
        FUZZ_REQUIRE(text == record_.p.text.text);
        FUZZ_REQUIRE(length >= 0 && length <= static_cast<int32_t>(Graph_TextMax));
        volatile char last = 0;
        for (int32_t i = 0; i < length; ++i) last = text[i]; // as GDI reads them
        (void)last;
    }
    // UTF-8 text decodes to no more units than its bytes.
    void WideText(Graph_DevicePoint, const char16_t* text, int32_t length) override {
        shape(OP_TEXT);
        FUZZ_REQUIRE(length >= 0 && length <= static_cast<int32_t>(Graph_TextMax));
        volatile char16_t last = 0;
        for (int32_t i = 0; i < length; ++i) last = text[i];
        (void)last;
    }
    void Image(Graph_DevicePoint, uint32_t, uint32_t, const uint32_t*, uint32_t) override { shape(OP_IMAGE); }

    int calls = 0;

private:
    // A shape reaches the DC as its own operation; whole arcs and pies are
    // ellipses, an ellipse in a box one pixel high or wide is that box.
    // Box corners (the origin may be negative): left and top within
    // [-2^24, 2^24], right and bottom one beyond.
    void shape(uint8_t op, const Graph_DeviceRect* box = nullptr) {
        ++calls;
        const bool ellipse = record_.op == OP_ELLIPSE || record_.op == OP_ARC || record_.op == OP_PIE;
        // A huge box's curve is a chain of its points; in XOR a line's end
        // pixel is a one-pixel line.
        const bool curve = op == OP_ELLIPSE || op == OP_RECTANGLE || op == OP_POLYLINE || op == OP_POLYGON;
        FUZZ_REQUIRE(op == record_.op || op == OP_PIXEL || op == OP_LINE || (ellipse && curve));
        if (box == nullptr) return;
        for (int32_t c : {box->left, box->top}) FUZZ_REQUIRE(c >= -(1 << 24) && c <= (1 << 24));
        for (int32_t c : {box->right, box->bottom}) FUZZ_REQUIRE(c >= -(1 << 24) + 1 && c <= (1 << 24) + 1);
    }
    void poly(uint8_t op, const Graph_DevicePoint* points, uint32_t count) {
        shape(op);
        const bool own = record_.op == OP_POLYLINE || record_.op == OP_POLYGON; // else a huge curve's points
        FUZZ_REQUIRE(count >= 2 && (!own || count <= record_.p.poly.count));
        volatile int32_t last = 0;
        for (uint32_t i = 0; i < count; ++i) {
            last = points[i].x; // as GDI reads them
            last = points[i].y;
        }
        (void)last;
    }

    const Graph_RequestRecord& record_;
};

bool KnownCode(uint8_t op) {
    switch (op) {
    case OP_PEN_STYLE: case OP_FILL_PATTERN: case OP_PALETTE: case OP_BK_COLOR: case OP_BK_MODE:
    case OP_PIXEL: case OP_RECTANGLE: case OP_LINE: case OP_TEXT: case OP_ELLIPSE: case OP_ARC: case OP_PIE:
    case OP_POLYLINE: case OP_POLYGON: case OP_FLOOD_FILL: case OP_IMAGE: case OP_LINE_WIDTH: case OP_LINE_PATTERN:
    case OP_WRITE_MODE: case OP_CLIP: case OP_ORIGIN: return true;
    default: return false;
    }
}

bool Same(const Graph_ExecutorState& a, const Graph_ExecutorState& b) {
    return a.outlineStyle == b.outlineStyle && a.stdPatternFlag == b.stdPatternFlag &&
           a.stdBrushStyle == b.stdBrushStyle && a.hatch == b.hatch && a.utf8 == b.utf8 &&
           a.lineWidth == b.lineWidth && a.linePattern == b.linePattern && a.writeMode == b.writeMode &&
           a.originX == b.originX && a.originY == b.originY && a.clipped == b.clipped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Graph_PATSYM_SOLID = 8;
    FuzzInput in(data, size);
    Graph_Width = in.take<uint16_t>();
    Graph_Depth = in.take<uint16_t>();
    // One record for all requests, as in the library: a request writes only
    // its own fields, the rest keeps what earlier ones left.
    auto* record = new Graph_RequestRecord{};
    Graph_ExecutorState state;
    state.stdPatternFlag = (in.take<uint8_t>() & 1) != 0; // a user pattern may be in force
    state.hatch = in.take<uint8_t>();
    state.utf8 = (in.take<uint8_t>() & 1) != 0;
    while (!in.empty()) {
        record->op = in.take<uint8_t>();
        auto* fields = reinterpret_cast<uint8_t*>(&record->p);
        for (size_t n = in.take<uint8_t>() % (sizeof record->p + 1), i = 0; i < n; ++i) {
            fields[i] = in.take<uint8_t>();
        }
        // A request's points and pixels are the caller's: arrays of the sizes it gives.
        std::vector<Graph_Point> points;
        std::vector<uint32_t> pixels;
        if (record->op == OP_POLYLINE || record->op == OP_POLYGON) {
            auto& poly = record->p.poly;
            poly.count %= 300;
            for (uint32_t i = 0; i < poly.count; ++i) points.push_back({in.take<uint32_t>(), in.take<uint32_t>()});
            poly.points = points.empty() ? nullptr : points.data();
        }
        if (record->op == OP_IMAGE) {
            auto& image = record->p.image;
            image.width %= 17;
            image.height %= 17;
            pixels.resize(static_cast<size_t>(image.width) * image.height + 1);
            image.pixels = pixels.data();
        }
        const Graph_ExecutorState before = state;
        RecordingDC gdi(*record);
        Graph_Dispatch(*record, state, gdi);
        if (!KnownCode(record->op)) FUZZ_REQUIRE(gdi.calls == 0 && Same(state, before));
    }
    delete record;
    return 0;
}
