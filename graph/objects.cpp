// The pens and brushes Graph draws with, made once and kept in a small cache,
// and what each DC has selected and set, so that a request changes a DC only
// where it differs. Main thread, under the back-buffer lock: the window
// thread repaints through the window DC.
#include "GraphInternal.h"

namespace {

// What defines a cached object: its kind, its style (and a brush's hatch
// style) and its colour. The one pattern brush is that of the user mask in
// force: a new mask drops it.
enum Kind : uint64_t { kPen = 1, kBrush, kPatternBrush };
constexpr uint64_t keyOf(Kind kind, uint32_t style, COLORREF colour) {
    return kind << 56 | static_cast<uint64_t>(style) << 32 | colour;
}
constexpr uint32_t kStyleLimit = 1u << 24; // what a key holds

struct Entry {
    uint64_t key;
    HGDIOBJ object;
    uint64_t used; // the use clock at its last use: the oldest goes first
};
Entry cache[Graph_ObjectCacheSize];
uint32_t cached = 0;
uint32_t lastHit = 0; // both DCs of a request ask for the same object in turn
uint64_t useClock = 0;

// What Graph has selected and set in one DC. Null, CLR_INVALID and 0 stand
// for "not known": the next request that needs it sets it.
struct DCState {
    HDC dc;
    HGDIOBJ pen, brush;
    COLORREF text, bkColour;
    int bkMode;
};
constexpr DCState kUnknown = {nullptr, nullptr, nullptr, CLR_INVALID, CLR_INVALID, 0};
DCState states[2] = {kUnknown, kUnknown};

struct Lock {
    Lock() { Graph_LockBackBuffer(); }
    ~Lock() { Graph_UnlockBackBuffer(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

HGDIOBJ stock(int which) { return GetStockObject(which); }

// The DC's own default pen and brush go back where Graph's are selected.
// NOTE: a pen or brush must not be deleted while a DC has it selected (on
// Windows DeleteObject then fails and the object stays).
void deselect(DCState& s) {
    if (s.pen != nullptr) SelectObject(s.dc, stock(BLACK_PEN));
    if (s.brush != nullptr) SelectObject(s.dc, stock(WHITE_BRUSH));
    s.pen = nullptr;
    s.brush = nullptr;
}

// Graph's objects leave the DC and nothing about it is known any more.
void release(DCState& s, HDC next) {
    deselect(s);
    s = kUnknown;
    s.dc = next;
}

void dropEntry(uint32_t i) {
    for (DCState& s : states)
        if (s.pen == cache[i].object || s.brush == cache[i].object) deselect(s);
    DeleteObject(cache[i].object);
    cache[i] = cache[--cached];
}

// Made for a key; what it is made from comes along (a pattern brush's bitmap
// is not in its key).
HGDIOBJ make(Kind kind, UINT style, COLORREF colour, ULONG_PTR hatch) {
    if (kind == kPen) {
        const LOGPEN pen{style, POINT{1, 0}, colour};
        return CreatePenIndirect(&pen);
    }
    const LOGBRUSH brush{style, colour, hatch};
    return CreateBrushIndirect(&brush);
}

// The cached object for key, made when missing (the least recently used one
// goes when the cache is full); the DC's default when GDI refuses the values.
HGDIOBJ objectFor(uint64_t key, Kind kind, UINT style, COLORREF colour, ULONG_PTR hatch, int fallback) {
    const uint64_t now = ++useClock;
    if (lastHit < cached && cache[lastHit].key == key) {
        cache[lastHit].used = now;
        return cache[lastHit].object;
    }
    for (uint32_t i = 0; i < cached; ++i) {
        if (cache[i].key == key) {
            cache[i].used = now;
            lastHit = i;
            return cache[i].object;
        }
    }
    const HGDIOBJ object = make(kind, style, colour, hatch);
    if (object == nullptr) return stock(fallback);
    if (cached == Graph_ObjectCacheSize) {
        uint32_t oldest = 0;
        for (uint32_t i = 1; i < cached; ++i)
            if (cache[i].used < cache[oldest].used) oldest = i;
        dropEntry(oldest);
    }
    lastHit = cached;
    cache[cached++] = Entry{key, object, now};
    return object;
}

// The state of dc. A DC seen for the first time takes the place of one that
// is no longer Graph's.
DCState& stateOf(HDC dc) {
    for (DCState& s : states)
        if (s.dc == dc) return s;
    const HDC first = states[0].dc;
    DCState& s = first == Graph_BufferDC || first == Graph_WindowDC ? states[1] : states[0];
    release(s, dc);
    return s;
}

} // namespace

HGDIOBJ Graph_CachedPen(UINT style, COLORREF colour) {
    if (style == PS_NULL) return stock(NULL_PEN); // every invisible pen draws the same nothing
    if (style >= kStyleLimit) return stock(BLACK_PEN);
    return objectFor(keyOf(kPen, style, colour), kPen, style, colour, 0, BLACK_PEN);
}

HGDIOBJ Graph_CachedBrush(UINT style, COLORREF colour, ULONG_PTR hatch) {
    switch (style) {
    case BS_HOLLOW:
        return stock(HOLLOW_BRUSH);
    case BS_PATTERN: // paints in the DC's text and background colours: one serves every colour
        return objectFor(keyOf(kPatternBrush, 0, 0), kPatternBrush, style, colour, hatch, WHITE_BRUSH);
    case BS_SOLID:
        hatch = 0; // not used
        break;
    default:
        break;
    }
    if (style >= 256 || hatch >= 0x10000) return stock(WHITE_BRUSH);
    const auto styleAndHatch = static_cast<uint32_t>(style << 16 | hatch);
    return objectFor(keyOf(kBrush, styleAndHatch, colour), kBrush, style, colour, hatch, WHITE_BRUSH);
}

namespace {
// Makes the call only when the DC holds something else; a failed call leaves
// the value unknown, so the next request tries again.
template <typename T, typename Call>
void change(T& held, T wanted, T unknown, Call call) {
    if (held != wanted) held = call() ? wanted : unknown;
}
} // namespace

void Graph_SelectPen(HDC dc, HGDIOBJ pen) {
    change<HGDIOBJ>(stateOf(dc).pen, pen, nullptr, [&] { return SelectObject(dc, pen) != nullptr; });
}

void Graph_SelectBrush(HDC dc, HGDIOBJ brush) {
    change<HGDIOBJ>(stateOf(dc).brush, brush, nullptr, [&] { return SelectObject(dc, brush) != nullptr; });
}

void Graph_SetDCTextColour(HDC dc, COLORREF colour) {
    change<COLORREF>(stateOf(dc).text, colour, CLR_INVALID, [&] { return SetTextColor(dc, colour) != CLR_INVALID; });
}

void Graph_SetDCBkColour(HDC dc, COLORREF colour) {
    change<COLORREF>(stateOf(dc).bkColour, colour, CLR_INVALID, [&] { return SetBkColor(dc, colour) != CLR_INVALID; });
}

void Graph_SetDCBkMode(HDC dc, int mode) {
    change(stateOf(dc).bkMode, mode, 0, [&] { return SetBkMode(dc, mode) != 0; });
}

void Graph_ReselectAfterPaletteChange() {
    // WINE: a palette colour is looked up in the DC's palette each time Wine
    // draws (shapes drawn after a palette change without selecting anew show
    // the new colours); a GDI that realises a pen or brush once, when it is
    // selected, would keep the old ones. Selecting anew costs a few calls per
    // palette change.
    Lock lock;
    for (DCState& s : states) {
        deselect(s);
        s.text = CLR_INVALID;
    }
}

void Graph_ForgetDC(HDC dc) {
    if (dc == nullptr) return;
    Lock lock;
    for (DCState& s : states)
        if (s.dc == dc) release(s, nullptr);
}

void Graph_DropPatternBrush() {
    Lock lock;
    for (uint32_t i = 0; i < cached; ++i) {
        if (cache[i].key >> 56 == kPatternBrush) {
            dropEntry(i);
            return;
        }
    }
}

void Graph_FreeObjects() {
    Lock lock;
    while (cached > 0) dropEntry(cached - 1);
}
