// The request executor and its two runners.
#include "GraphInternal.h"

namespace {

// The back-buffer lock is held for the whole request, so a repaint sees a
// shape either not yet drawn or complete, and the window thread's copy never
// uses the window DC while a request draws on it.
struct BufferLock {
    BufferLock() { Graph_LockBackBuffer(); }
    ~BufferLock() { Graph_UnlockBackBuffer(); }
    BufferLock(const BufferLock&) = delete;
    BufferLock& operator=(const BufferLock&) = delete;
};

// The requests' GDI calls on one device context.
class GdiOnDC final : public Graph_Gdi {
public:
    explicit GdiOnDC(HDC dc) : dc_(dc) {}

    Object Pen(uint32_t style, uint32_t colour) override { return object(Graph_CachedPen(style, colour)); }
    Object Brush(uint32_t style, uint32_t colour, uintptr_t hatch) override {
        return object(Graph_CachedBrush(style, colour, hatch));
    }
    void SelectPen(Object pen) override { Graph_SelectPen(dc_, handle(pen)); }
    void SelectBrush(Object brush) override { Graph_SelectBrush(dc_, handle(brush)); }
    void SetBkColor(uint32_t colour) override { Graph_SetDCBkColour(dc_, colour); }
    void SetBkMode(int32_t mode) override { Graph_SetDCBkMode(dc_, mode); }
    void SetTextColor(uint32_t colour) override { Graph_SetDCTextColour(dc_, colour); }
    void SetPixelV(int32_t x, int32_t y, uint32_t colour) override { ::SetPixelV(dc_, x, y, colour); }
    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override { ::Rectangle(dc_, l, t, r, b); }
    void MoveToEx(int32_t x, int32_t y) override { ::MoveToEx(dc_, x, y, nullptr); }
    void LineTo(int32_t x, int32_t y) override { ::LineTo(dc_, x, y); }
    void TextOutA(int32_t x, int32_t y, const char* text, int32_t length) override {
        ::TextOutA(dc_, x, y, text, length);
    }
    void ApplyPalettes() override {
        // Each DC owns its palette object, whichever target the request runs on.
        Graph_ApplyPalette(Graph_WindowDC, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        Graph_ApplyPalette(Graph_BufferDC, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
        Graph_ReselectAfterPaletteChange();
    }

private:
    static Object object(HGDIOBJ h) { return reinterpret_cast<Object>(h); }
    static HGDIOBJ handle(Object o) { return reinterpret_cast<HGDIOBJ>(o); }
    HDC dc_;
};

} // namespace

void Graph_Execute(HDC dc) {
    GdiOnDC gdi(dc);
    Graph_Dispatch(Graph_Request, Graph_Executor, gdi);
}

void Graph_ExecuteOnBuffer() {
    BufferLock lock;
    Graph_Execute(Graph_BufferDC);
}

void Graph_ExecuteOnBoth() {
    BufferLock lock;
    Graph_Execute(Graph_BufferDC);
    Graph_Execute(Graph_WindowDC);
}
