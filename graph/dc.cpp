// The DC seam's Win32 side: the typed operations of GraphDC.h as GDI calls, on
// Graph's device contexts (the back buffer's two pages, the window), each an
// object that owns what it holds (what it has selected and set), so that a
// request changes a DC only where it differs; and the pens and brushes all
// draw with, made once and kept. Main thread, under the back-buffer lock: the
// window thread repaints through the window DC.
#include <initializer_list>
#include <utility>

#include "GraphInternal.h"

namespace {

HGDIOBJ stock(int which) { return GetStockObject(which); }

// What defines a kept object: its kind, its style (a pen's with its width and
// pattern, a brush's with its hatch style) and its colour. The one pattern
// brush is that of the user mask in force: a new mask drops it.
enum Kind : uint64_t { kPen = 1, kBrush, kPatternBrush };
constexpr uint64_t keyOf(Kind kind, uint32_t style, COLORREF colour) {
    return kind << 60 | static_cast<uint64_t>(style) << 32 | colour;
}
constexpr uint32_t kStyleLimit = 1u << 28; // what a key holds

// A pen's style, width and pattern in a key's style: 3 bits, 7 and 17.
constexpr uint32_t kPenStyles = 8;
constexpr uint32_t penStyleOf(const Graph_Pen& p) { return p.style | p.width << 3 | p.pattern << 10; }
static_assert(penStyleOf(Graph_Pen{kPenStyles - 1, 0, Graph_LineWidthMax, 0x1FFFF}) < kStyleLimit,
              "a pen's key holds its style, width and pattern");

// A pen of width 1 without a pattern is the cosmetic one GDI draws fastest;
// any other a geometric pen with flat ends and mitred corners.
// NOTE: a cosmetic pen's user style is scaled under Wine (each length taken
// three times); a geometric pen's is not, at any width.
HGDIOBJ makePen(uint32_t packed, COLORREF colour) {
    const uint32_t style = packed % kPenStyles, width = packed >> 3 & 0x7F, pattern = packed >> 10;
    if (width <= 1 && pattern == 0) {
        const LOGPEN pen{style, POINT{1, 0}, colour};
        return CreatePenIndirect(&pen);
    }
    DWORD runs[Graph_PatternRunsMax];
    uint32_t count = 0;
    if (pattern != 0) {
        uint32_t lengths[Graph_PatternRunsMax];
        count = Graph_PatternRuns(static_cast<uint16_t>(pattern), lengths);
        for (uint32_t i = 0; i < count; ++i) runs[i] = lengths[i];
    } else if (style >= PS_DASH && style <= PS_DASHDOTDOT) {
        const Graph_StyleRuns& table = Graph_WideStyleRuns[style];
        count = table.count;
        for (uint32_t i = 0; i < count; ++i) runs[i] = table.runs[i];
    }
    const LOGBRUSH brush{BS_SOLID, colour, 0};
    const DWORD kind = PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER | (count != 0 ? PS_USERSTYLE : PS_SOLID);
    return ExtCreatePen(kind, width, &brush, count, count != 0 ? runs : nullptr);
}

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

static_assert(sizeof(Graph_DevicePoint) == sizeof(POINT), "a point array goes to GDI as it is");
static_assert(sizeof(char16_t) == sizeof(wchar_t), "UTF-16 text goes to GDI as it is");

class Graph_GdiDC final : public Graph_DC {
public:
    // The back buffer's drawn page tells the back buffer before it changes
    // pixels (frames); the window takes flood fills and image blocks from source.
    enum Role { kDrawnPage, kSparePage, kWindow };
    Graph_GdiDC(Role role, const Graph_GdiDC* source) : role_(role), source_(source) {}

    HDC dc = nullptr;

    // Graph's objects leave the old DC, and nothing is known of the new one.
    void Attach(HDC next) {
        deselect();
        held_ = Held{};
        dc = next;
    }
    // The DCs and what each holds change places.
    void Exchange(Graph_GdiDC& other) {
        std::swap(dc, other.dc);
        std::swap(held_, other.held_);
    }

    void SelectPen(const Graph_Pen& p) override {
        HGDIOBJ pen;
        if ((p.style == PS_NULL && p.pattern == 0) || p.pattern == 0x10000) {
            pen = stock(NULL_PEN); // every invisible pen draws the same nothing
        } else if (p.style >= kPenStyles || p.width > Graph_LineWidthMax || p.pattern > 0x1FFFF) {
            pen = stock(BLACK_PEN);
        } else {
            const uint32_t packed = penStyleOf(p);
            pen = keptObjects.Get(keyOf(kPen, packed, p.colour), kPen, packed, p.colour, 0, BLACK_PEN);
        }
        select(held_.pen, pen);
    }

    void SelectBrush(const Graph_Brush& b) override {
        HGDIOBJ brush;
        held_.solid = b.style == BS_SOLID;
        if (b.style == BS_HOLLOW) {
            brush = stock(HOLLOW_BRUSH);
        } else if (b.style == BS_PATTERN) {
            // Paints in the DC's text and background colours: one serves every colour.
            brush = keptObjects.Get(keyOf(kPatternBrush, 0, 0), kPatternBrush, b.style, b.colour, b.hatch,
                                    WHITE_BRUSH);
        } else {
            const uintptr_t hatch = b.style == BS_SOLID ? 0 : b.hatch; // not used by a solid brush
            brush = b.style >= 256 || hatch >= 0x10000
                        ? stock(WHITE_BRUSH)
                        : keptObjects.Get(keyOf(kBrush, static_cast<uint32_t>(b.style << 16 | hatch), b.colour),
                                          kBrush, b.style, b.colour, hatch, WHITE_BRUSH);
        }
        select(held_.brush, brush);
    }

    void SetTextColor(uint32_t colour) override {
        change<COLORREF>(held_.text, colour, CLR_INVALID, [&] { return ::SetTextColor(dc, colour) != CLR_INVALID; });
    }
    // What only its own request sets (background, palette, write mode, clip;
    // next: font) the back buffer's pages all take: a frame may draw on either.
    void SetBkColor(uint32_t colour) override {
        change<COLORREF>(held_.bkColour, colour, CLR_INVALID, [&] { return ::SetBkColor(dc, colour) != CLR_INVALID; });
        if (Graph_GdiDC* spare = sparePage()) spare->SetBkColor(colour);
    }
    void SetBkMode(int32_t mode) override {
        change(held_.bkMode, mode, 0, [&] { return ::SetBkMode(dc, mode) != 0; });
        if (Graph_GdiDC* spare = sparePage()) spare->SetBkMode(mode);
    }
    void Palette() override;
    void SetWriteMode(uint32_t mode) override {
        const int rop = mode == Graph_XOR ? R2_XORPEN : R2_COPYPEN;
        change(held_.rop, rop, 0, [&] { return ::SetROP2(dc, rop) != 0; });
        if (Graph_GdiDC* spare = sparePage()) spare->SetWriteMode(mode);
    }
    void Clip(const Graph_DeviceRect* box) override {
        // NOTE: the clip region a program selects is apart from the window's
        // own (BeginPaint's update region): the paint's copy lifts it (BackBuffer.h).
        ::SelectClipRgn(dc, nullptr);
        if (box != nullptr) ::IntersectClipRect(dc, box->left, box->top, box->right, box->bottom);
        if (Graph_GdiDC* spare = sparePage()) spare->Clip(box);
    }

    void Pixel(Graph_DevicePoint at, uint32_t colour) override {
        willDraw();
        ::SetPixelV(dc, at.x, at.y, colour);
    }
    void Line(Graph_DevicePoint from, Graph_DevicePoint to) override {
        willDraw();
        ::MoveToEx(dc, from.x, from.y, nullptr);
        ::LineTo(dc, to.x, to.y);
    }
    void Rectangle(const Graph_DeviceRect& r) override {
        // A solid box over the whole picture paints every pixel (not through a
        // clip rectangle, nor in XOR: the requests' own state says, as a page
        // made active holds them without this DC having set them).
        willDraw(held_.solid && !Graph_Executor.clipped && Graph_Executor.writeMode != Graph_XOR && r.left <= 0 &&
                 r.top <= 0 && r.right >= static_cast<int32_t>(Graph_Width) &&
                 r.bottom >= static_cast<int32_t>(Graph_Depth));
        ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    void Ellipse(const Graph_DeviceRect& r) override {
        willDraw();
        ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    void Arc(const Graph_DeviceRect& r, Graph_DevicePoint s, Graph_DevicePoint e) override {
        willDraw();
        ::Arc(dc, r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y);
    }
    void Pie(const Graph_DeviceRect& r, Graph_DevicePoint s, Graph_DevicePoint e) override {
        willDraw();
        ::Pie(dc, r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y);
    }
    void Polyline(const Graph_DevicePoint* points, uint32_t count) override {
        willDraw();
        ::Polyline(dc, reinterpret_cast<const POINT*>(points), static_cast<int>(count));
    }
    void Polygon(const Graph_DevicePoint* points, uint32_t count) override {
        willDraw();
        ::Polygon(dc, reinterpret_cast<const POINT*>(points), static_cast<int>(count));
    }
    void FloodFill(Graph_DevicePoint at, uint32_t border) override {
        willDraw();
        // The window shows exactly what the back buffer's fill gave, even
        // where it was covered and its own pixels are not the picture.
        if (source_ != nullptr) {
            showSource(0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth));
        } else {
            ::ExtFloodFill(dc, at.x, at.y, border, FLOODFILLBORDER);
        }
    }
    void Text(Graph_DevicePoint at, const char* text, int32_t length) override {
        willDraw();
        ::TextOutA(dc, at.x, at.y, text, length);
    }
    void WideText(Graph_DevicePoint at, const char16_t* text, int32_t length) override {
        willDraw();
        ::TextOutW(dc, at.x, at.y, reinterpret_cast<const wchar_t*>(text), length);
    }
    void Image(Graph_DevicePoint at, uint32_t width, uint32_t height, const uint32_t* pixels, uint32_t mode) override {
        willDraw();
        // Only the part that can reach the picture: a block reaching out of it is clipped anyway.
        const int x0 = at.x < 0 ? 0 : at.x, y0 = at.y < 0 ? 0 : at.y;
        const int64_t right = static_cast<int64_t>(at.x) + width, bottom = static_cast<int64_t>(at.y) + height;
        const int w = static_cast<int>((right < Graph_Width ? right : Graph_Width) - x0);
        const int h = static_cast<int>((bottom < Graph_Depth ? bottom : Graph_Depth) - y0);
        if (w <= 0 || h <= 0) return;
        if (source_ != nullptr) {
            showSource(x0, y0, w, h);
            return;
        }
        const uint32_t* rows = pixels + static_cast<size_t>(y0 - at.y) * width;
        if (mode == Graph_ALPHA) {
            blend(x0, y0, w, h, rows + (x0 - at.x), width);
            return;
        }
        // The block's rows from the first visible one, so that no source row
        // offset is needed (top-down DIBs count it from the bottom).
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), -static_cast<LONG>(h), 1, 32,
                          BI_RGB, 0, 0, 0, 0, 0};
        ::StretchDIBits(dc, x0, y0, w, h, x0 - at.x, 0, w, h, rows, &info, DIB_RGB_COLORS, kImageRop[mode]);
    }

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
        bool solid = false;   // the brush selected last is solid
        int rop = 0;
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

    // The drawn page's other page, when there is one.
    Graph_GdiDC* sparePage() const;

    void willDraw(bool whole = false) {
        if (role_ == kDrawnPage) Graph_Back.WillDraw(whole);
    }

    // The DC's own default pen and brush go back where Graph's are selected.
    // NOTE: a pen or brush must not be deleted while a DC has it selected (on
    // Windows DeleteObject then fails and the object stays).
    void deselect() {
        if (held_.pen != nullptr) SelectObject(dc, stock(BLACK_PEN));
        if (held_.brush != nullptr) SelectObject(dc, stock(WHITE_BRUSH));
        held_.pen = held_.brush = nullptr;
    }

    // Straight alpha over the picture, by Graph_BlendRow's rounding: the
    // picture's pixels read through the back buffer's DIB section, blended
    // there and written back (through the clip rectangle).
    void blend(int x, int y, int w, int h, const uint32_t* block, uint32_t stride) {
        uint32_t* picture = Graph_Back.ReadBlock(x, y, w, h);
        if (picture == nullptr) return;
        for (int row = 0; row < h; ++row) {
            Graph_BlendRow(picture + static_cast<size_t>(row) * w, block + static_cast<size_t>(row) * stride,
                           static_cast<uint32_t>(w));
        }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        ::StretchDIBits(dc, x, y, w, h, 0, 0, w, h, picture, &info, DIB_RGB_COLORS, SRCCOPY);
    }

    void showSource(int x, int y, int width, int height) {
        ::BitBlt(dc, x, y, width, height, source_->dc, x, y, SRCCOPY);
    }

    Role role_;
    const Graph_GdiDC* source_;
    Held held_;
};

Graph_GdiDC Graph_BufferTarget(Graph_GdiDC::kDrawnPage, nullptr);
Graph_GdiDC Graph_SpareTarget(Graph_GdiDC::kSparePage, nullptr);
Graph_GdiDC Graph_WindowTarget(Graph_GdiDC::kWindow, &Graph_BufferTarget);
HDC& Graph_BufferDC = Graph_BufferTarget.dc;
HDC& Graph_WindowDC = Graph_WindowTarget.dc;

Graph_GdiDC* Graph_GdiDC::sparePage() const {
    return role_ == kDrawnPage && Graph_SpareTarget.dc != nullptr ? &Graph_SpareTarget : nullptr;
}

void Graph_GdiDC::Palette() {
    auto apply = [](Graph_GdiDC& target) {
        Graph_ApplyPalette(target.dc, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        // WINE: a palette colour is looked up in the DC's palette each time Wine
        // draws; a GDI that realises a pen or brush once, when it is selected,
        // would keep the old colours. Selecting anew costs a few calls per change.
        target.Reselect();
    };
    apply(*this);
    if (Graph_GdiDC* spare = sparePage()) apply(*spare);
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
        object = makePen(style, colour);
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
    for (Graph_GdiDC* target : {&Graph_BufferTarget, &Graph_SpareTarget, &Graph_WindowTarget}) {
        target->Release(entries_[i].object);
    }
    DeleteObject(entries_[i].object);
    entries_[i] = entries_[--count_];
}

void KeptObjects::DropPatternBrush() {
    for (uint32_t i = 0; i < count_; ++i) {
        if (entries_[i].key >> 60 == kPatternBrush) {
            drop(i);
            return;
        }
    }
}

void KeptObjects::FreeAll() {
    while (count_ > 0) drop(count_ - 1);
}

void Graph_AttachDCs() {
    Graph_Targets = {&Graph_BufferTarget, &Graph_WindowTarget, Graph_LockBackBuffer, Graph_UnlockBackBuffer,
                     [] { return Graph_Back.Framed(); }};
}

void Graph_Execute(Graph_GdiDC& target) { Graph_Dispatch(Graph_Request, Graph_Executor, target); }

void Graph_AttachPages(HDC drawn, HDC spare) {
    Graph_BufferTarget.Attach(drawn);
    Graph_SpareTarget.Attach(spare);
}

void Graph_ExchangePages() { Graph_BufferTarget.Exchange(Graph_SpareTarget); }

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
