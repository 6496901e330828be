// Graph's drawing request record: any operation code, any fields, any order.
//
// Properties: a code outside the table makes no GDI call and changes no
// executor state; no request reads outside its record (the record is a heap
// block of its exact size, under AddressSanitizer, and text goes to GDI only
// from the record's own text field, at most 257 characters); only pens are
// selected as pens and brushes as brushes, each asked for before; rectangle
// coordinates reach GDI within [0, 2^24 + 1].
#include <set>

#include "FuzzInput.h"
#include "Graph.h"
#include "GraphGdi.h"

Graph_PaletteTable Graph_PaletteBuffer;

namespace {

// Stands in for one device context and checks each call as it comes.
class RecordingGdi final : public Graph_Gdi {
public:
    explicit RecordingGdi(const Graph_RequestRecord& record) : record_(record) {}

    // GDI refuses styles and hatches it does not know: the DC's own default
    // stands in.
    Object Pen(uint32_t style, uint32_t) override { return style > 8 ? refuse(kOwnPen) : make(pens_); }
    Object Brush(uint32_t style, uint32_t, uintptr_t hatch) override {
        return style > 9 || (style == 2 && hatch > 5) ? refuse(kOwnBrush) : make(brushes_);
    }
    void SelectPen(Object o) override {
        ++calls;
        FUZZ_REQUIRE(pens_.count(o) == 1);
    }
    void SelectBrush(Object o) override {
        ++calls;
        FUZZ_REQUIRE(brushes_.count(o) == 1);
    }
    void SetBkColor(uint32_t) override { ++calls; }
    void SetBkMode(int32_t) override { ++calls; }
    void SetTextColor(uint32_t) override { ++calls; }
    void SetPixelV(int32_t, int32_t, uint32_t) override { ++calls; }
    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
        ++calls;
        for (int32_t v : {l, t}) FUZZ_REQUIRE(v >= 0 && v <= (1 << 24));
        for (int32_t v : {r, b}) FUZZ_REQUIRE(v >= 1 && v <= (1 << 24) + 1);
    }
    void MoveToEx(int32_t, int32_t) override { ++calls; }
    void LineTo(int32_t, int32_t) override { ++calls; }
    void TextOutA(int32_t, int32_t, const char* text, int32_t length) override {
        ++calls;
        FUZZ_REQUIRE(text == record_.p.text.text);
        FUZZ_REQUIRE(length >= 0 && length <= static_cast<int32_t>(Graph_TextMax));
        volatile char last = 0;
        for (int32_t i = 0; i < length; ++i) last = text[i]; // as GDI reads them
        (void)last;
    }
    void ApplyPalettes() override { ++calls; }

    int calls = 0;

private:
    static constexpr Object kOwnPen = 1, kOwnBrush = 2;
    Object refuse(Object own) {
        ++calls;
        return own;
    }
    Object make(std::set<Object>& kind) {
        ++calls;
        const Object o = next_++;
        kind.insert(o);
        return o;
    }

    const Graph_RequestRecord& record_;
    std::set<Object> pens_{kOwnPen}, brushes_{kOwnBrush};
    Object next_ = 16;
};

bool KnownCode(uint8_t op) {
    switch (op) {
    case OP_PEN_STYLE: case OP_FILL_PATTERN: case OP_PALETTE: case OP_BK_COLOR: case OP_BK_MODE:
    case OP_PIXEL: case OP_RECTANGLE: case OP_LINE: case OP_TEXT: return true;
    default: return false;
    }
}

bool Same(const Graph_ExecutorState& a, const Graph_ExecutorState& b) {
    return a.outlineStyle == b.outlineStyle && a.stdPatternFlag == b.stdPatternFlag &&
           a.stdBrushStyle == b.stdBrushStyle && a.hatch == b.hatch;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Graph_PATSYM_SOLID = 8;
    FuzzInput in(data, size);
    // One record for all requests, as in the library: a request writes only
    // its own fields, the rest keeps what earlier ones left.
    auto* record = new Graph_RequestRecord{};
    Graph_ExecutorState state;
    state.stdPatternFlag = (in.take<uint8_t>() & 1) != 0; // a user pattern may be in force
    state.hatch = in.take<uint8_t>();
    while (!in.empty()) {
        record->op = in.take<uint8_t>();
        auto* fields = reinterpret_cast<uint8_t*>(&record->p);
        for (size_t n = in.take<uint8_t>() % (sizeof record->p + 1), i = 0; i < n; ++i) {
            fields[i] = in.take<uint8_t>();
        }
        const Graph_ExecutorState before = state;
        RecordingGdi gdi(*record);
        Graph_Dispatch(*record, state, gdi);
        if (!KnownCode(record->op)) FUZZ_REQUIRE(gdi.calls == 0 && Same(state, before));
    }
    delete record;
    return 0;
}
