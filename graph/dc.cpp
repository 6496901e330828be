// Graph's two device contexts (back buffer, window), each an object that owns
// what it holds (what it has selected and set), so that a request changes a DC
// only where it differs, and the pens and brushes both draw with, made once
// and kept. Main thread,
// under the back-buffer lock: the window thread repaints through the window DC.
#include <initializer_list>

#include "GraphInternal.h"

namespace {

HGDIOBJ stock(int which) { return GetStockObject(which); }

// What defines a kept object: its kind, its style (and a brush's hatch style)
// and its colour. The one pattern brush is that of the user mask in force: a
// new mask drops it.
enum Kind : uint64_t { kPen = 1, kBrush, kPatternBrush };
constexpr uint64_t keyOf(Kind kind, uint32_t style, COLORREF colour) {
    return kind << 56 | static_cast<uint64_t>(style) << 32 | colour;
}
constexpr uint32_t kStyleLimit = 1u << 24; // what a key holds

// The pens and brushes both DCs draw with, made once and kept: one object may
// be selected in both DCs at once, and both ask for the same one in turn.
// NOTE: a store for each DC held half as many each; the 16 pens and 16
// brushes of a 16-colour picture then no longer fitted and were made anew
// for every shape (filled rectangles 1.3 times slower).
class KeptObjects {
public:
    // The kept object for key, made when missing (the least recently used one
    // goes when all places are taken); the stock object fallback when GDI refuses.
    HGDIOBJ Get(uint64_t key, Kind kind, UINT style, COLORREF colour, ULONG_PTR hatch, int fallback);
    void DropPatternBrush();
    void FreeAll();

private:
    struct Entry {
        uint64_t key;
        HGDIOBJ object;
        uint64_t used; // the use clock at its last use: the oldest goes first
    };
    void drop(uint32_t i);

    Entry entries_[Graph_ObjectCacheSize] = {};
    uint32_t count_ = 0;
    uint32_t lastHit_ = 0;
    uint64_t clock_ = 0;
};
KeptObjects keptObjects;

// The raster operations of Graph_COPY, Graph_XOR, Graph_OR, Graph_AND, Graph_NOT.
constexpr DWORD kImageRop[] = {SRCCOPY, SRCINVERT, SRCPAINT, SRCAND, NOTSRCCOPY};

} // namespace

class Graph_GdiDC final : public Graph_DC {
public:
    // source: the DC whose picture this one shows (the window shows the back buffer).
    explicit Graph_GdiDC(const Graph_GdiDC* source) : source_(source) {}

    HDC dc = nullptr;

    // Graph's objects leave the old DC, and nothing is known of the new one.
    void Attach(HDC next) {
        deselect();
        held_ = Held{};
        dc = next;
    }

    void SelectPen(uint32_t style, uint32_t colour) override {
        HGDIOBJ pen;
        if (style == PS_NULL) {
            pen = stock(NULL_PEN); // every invisible pen draws the same nothing
        } else if (style >= kStyleLimit) {
            pen = stock(BLACK_PEN);
        } else {
            pen = keptObjects.Get(keyOf(kPen, style, colour), kPen, style, colour, 0, BLACK_PEN);
        }
        select(held_.pen, pen);
    }

    void SelectBrush(uint32_t style, uint32_t colour, uintptr_t hatch) override {
        HGDIOBJ brush;
        if (style == BS_HOLLOW) {
            brush = stock(HOLLOW_BRUSH);
        } else if (style == BS_PATTERN) {
            // Paints in the DC's text and background colours: one serves every colour.
            brush = keptObjects.Get(keyOf(kPatternBrush, 0, 0), kPatternBrush, style, colour, hatch, WHITE_BRUSH);
        } else {
            if (style == BS_SOLID) hatch = 0; // not used
            brush = style >= 256 || hatch >= 0x10000
                        ? stock(WHITE_BRUSH)
                        : keptObjects.Get(keyOf(kBrush, static_cast<uint32_t>(style << 16 | hatch), colour), kBrush, style,
                               colour, hatch, WHITE_BRUSH);
        }
        select(held_.brush, brush);
    }

    void SetTextColor(uint32_t colour) override {
        change<COLORREF>(held_.text, colour, CLR_INVALID, [&] { return ::SetTextColor(dc, colour) != CLR_INVALID; });
    }
    void SetBkColor(uint32_t colour) override {
        change<COLORREF>(held_.bkColour, colour, CLR_INVALID, [&] { return ::SetBkColor(dc, colour) != CLR_INVALID; });
    }
    void SetBkMode(int32_t mode) override {
        change(held_.bkMode, mode, 0, [&] { return ::SetBkMode(dc, mode) != 0; });
    }

    void Shape(uint8_t op, const int32_t* v, uint32_t count) override {
        const auto* points = reinterpret_cast<const POINT*>(v);
        switch (op) {
        case OP_PIXEL: ::SetPixelV(dc, v[0], v[1], static_cast<COLORREF>(v[2])); break;
        case OP_LINE: ::MoveToEx(dc, v[0], v[1], nullptr); ::LineTo(dc, v[2], v[3]); break;
        case OP_RECTANGLE: ::Rectangle(dc, v[0], v[1], v[2], v[3]); break;
        case OP_ELLIPSE: ::Ellipse(dc, v[0], v[1], v[2], v[3]); break;
        case OP_ARC: ::Arc(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        case OP_PIE: ::Pie(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        case OP_POLYLINE: ::Polyline(dc, points, static_cast<int>(count / 2)); break;
        case OP_POLYGON: ::Polygon(dc, points, static_cast<int>(count / 2)); break;
        case OP_FLOOD_FILL:
            // The window shows exactly what the back buffer's fill gave, even
            // where it was covered and its own pixels are not the picture.
            if (source_ != nullptr) {
                showSource(0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth));
            } else {
                ::ExtFloodFill(dc, v[0], v[1], static_cast<COLORREF>(v[2]), FLOODFILLBORDER);
            }
            break;
        default: break;
        }
    }

    void Text(int32_t x, int32_t y, const char* text, int32_t length) override { ::TextOutA(dc, x, y, text, length); }

    void Image(int32_t x, int32_t y, uint32_t width, uint32_t height, const uint32_t* pixels, uint32_t mode) override {
        const int w = static_cast<int>(Graph_Min(width, Graph_Width)), h = static_cast<int>(Graph_Min(height, Graph_Depth));
        if (source_ != nullptr) {
            showSource(x, y, w, h);
            return;
        }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), -static_cast<LONG>(height), 1, 32,
                          BI_RGB, 0, 0, 0, 0, 0};
        // Only the rows that can reach the picture: a tall block's others are clipped anyway.
        ::StretchDIBits(dc, x, y, w, h, 0, 0, w, h, pixels, &info, DIB_RGB_COLORS, kImageRop[mode]);
    }

    // Both DCs take the palette, whichever target the request runs on: each
    // owns its palette object.
    void ApplyPalette() override;

    // The pen, brush and text colour are selected and set anew by the next request.
    void Reselect() {
        deselect();
        held_.text = CLR_INVALID;
    }

    // The object goes: Graph's objects leave the DC if it holds it.
    void Release(HGDIOBJ object) {
        if (held_.pen == object || held_.brush == object) deselect();
    }

private:
    // What Graph has selected and set in the DC. Null, CLR_INVALID and 0
    // stand for "not known": the next request that needs it sets it.
    struct Held {
        HGDIOBJ pen = nullptr, brush = nullptr;
        COLORREF text = CLR_INVALID, bkColour = CLR_INVALID;
        int bkMode = 0;
    };
    // Makes the call only when the DC holds something else; a failed call
    // leaves the value unknown, so the next request tries again.
    template <typename T, typename Call>
    static void change(T& held, T wanted, T unknown, Call call) {
        if (held != wanted) held = call() ? wanted : unknown;
    }

    void select(HGDIOBJ& held, HGDIOBJ object) {
        change<HGDIOBJ>(held, object, nullptr, [&] { return SelectObject(dc, object) != nullptr; });
    }

    // The DC's own default pen and brush go back where Graph's are selected.
    // NOTE: a pen or brush must not be deleted while a DC has it selected (on
    // Windows DeleteObject then fails and the object stays).
    void deselect() {
        if (held_.pen != nullptr) SelectObject(dc, stock(BLACK_PEN));
        if (held_.brush != nullptr) SelectObject(dc, stock(WHITE_BRUSH));
        held_.pen = held_.brush = nullptr;
    }

    void showSource(int x, int y, int width, int height) {
        ::BitBlt(dc, x, y, width, height, source_->dc, x, y, SRCCOPY);
    }

    const Graph_GdiDC* source_;
    Held held_;
};

Graph_GdiDC Graph_BufferTarget(nullptr);
Graph_GdiDC Graph_WindowTarget(&Graph_BufferTarget);
HDC& Graph_BufferDC = Graph_BufferTarget.dc;
HDC& Graph_WindowDC = Graph_WindowTarget.dc;

void Graph_GdiDC::ApplyPalette() {
    for (Graph_GdiDC* target : {&Graph_WindowTarget, &Graph_BufferTarget}) {
        Graph_ApplyPalette(target->dc, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        // WINE: a palette colour is looked up in the DC's palette each time Wine
        // draws; a GDI that realises a pen or brush once, when it is selected,
        // would keep the old colours. Selecting anew costs a few calls per change.
        target->Reselect();
    }
}

HGDIOBJ KeptObjects::Get(uint64_t key, Kind kind, UINT style, COLORREF colour, ULONG_PTR hatch, int fallback) {
    const uint64_t now = ++clock_;
    if (lastHit_ < count_ && entries_[lastHit_].key == key) {
        entries_[lastHit_].used = now;
        return entries_[lastHit_].object;
    }
    for (uint32_t i = 0; i < count_; ++i) {
        if (entries_[i].key == key) {
            entries_[i].used = now;
            lastHit_ = i;
            return entries_[i].object;
        }
    }
    HGDIOBJ object;
    if (kind == kPen) {
        const LOGPEN pen{style, POINT{1, 0}, colour};
        object = CreatePenIndirect(&pen);
    } else {
        const LOGBRUSH brush{style, colour, hatch};
        object = CreateBrushIndirect(&brush);
    }
    if (object == nullptr) return stock(fallback);
    if (count_ == Graph_ObjectCacheSize) {
        uint32_t oldest = 0;
        for (uint32_t i = 1; i < count_; ++i)
            if (entries_[i].used < entries_[oldest].used) oldest = i;
        drop(oldest);
    }
    lastHit_ = count_;
    entries_[count_++] = Entry{key, object, now};
    return object;
}

// NOTE: a pen or brush must not be deleted while a DC has it selected (on
// Windows DeleteObject then fails and the object stays).
void KeptObjects::drop(uint32_t i) {
    Graph_BufferTarget.Release(entries_[i].object);
    Graph_WindowTarget.Release(entries_[i].object);
    DeleteObject(entries_[i].object);
    entries_[i] = entries_[--count_];
}

void KeptObjects::DropPatternBrush() {
    for (uint32_t i = 0; i < count_; ++i) {
        if (entries_[i].key >> 56 == kPatternBrush) {
            drop(i);
            return;
        }
    }
}

void KeptObjects::FreeAll() {
    while (count_ > 0) drop(count_ - 1);
}

void Graph_AttachDCs() {
    Graph_Targets = {&Graph_BufferTarget, &Graph_WindowTarget, Graph_LockBackBuffer, Graph_UnlockBackBuffer};
}

void Graph_Execute(Graph_GdiDC& target) { Graph_Dispatch(Graph_Request, Graph_Executor, target); }

void Graph_SetBufferDC(HDC dc) {
    Graph_BufferLock lock;
    Graph_BufferTarget.Attach(dc);
}

void Graph_SetWindowDC(HDC dc) {
    Graph_BufferLock lock;
    if (dc != Graph_WindowDC) Graph_WindowTarget.Attach(dc);
}

void Graph_DropPatternBrush() {
    Graph_BufferLock lock;
    keptObjects.DropPatternBrush();
}

void Graph_FreeObjects() {
    Graph_BufferLock lock;
    keptObjects.FreeAll();
}
