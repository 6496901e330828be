// The back buffer, its copy into the window, and the palette objects.
#include "GraphInternal.h"

#include "M3K.h"

// Main thread, from Graph_BEGIN.
uint32_t Graph_CountDisplayColors() {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    const int planes = GetDeviceCaps(dc, PLANES);
    DeleteDC(dc);
    // NOTE: Xvfb and Wine report 32 bits per pixel for a 24-bit screen.
    return Graph_ColourCountFor(bits > 0 ? bits : 0, planes > 0 ? planes : 0);
}

// Window thread, right after the window DC exists.
void Graph_CreateBackBuffer(HDC windowDC) {
    Graph_BufferDC = CreateCompatibleDC(windowDC);
    Graph_BufferBitmap = CreateCompatibleBitmap(windowDC, static_cast<int>(Graph_Width),
                                                static_cast<int>(Graph_Depth));
    SelectObject(Graph_BufferDC, Graph_BufferBitmap);
}

// Tests only: the window's back buffer lives until the process ends.
void Graph_DestroyBackBuffer() {
    if (Graph_BufferDC != nullptr) {
        HGDIOBJ palette = SelectPalette(Graph_BufferDC,
                                        static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
        if (palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
        DeleteDC(Graph_BufferDC);
    }
    if (Graph_BufferBitmap != nullptr) DeleteObject(Graph_BufferBitmap);
    Graph_BufferDC = nullptr;
    Graph_BufferBitmap = nullptr;
}

// Window thread (paint handler).
void Graph_CopyBackBuffer(HDC target) {
    Graph_LockBackBuffer();
    BitBlt(target, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth), Graph_BufferDC,
           0, 0, SRCCOPY);
    Graph_UnlockBackBuffer();
}

// Caller's thread (through OP_PALETTE).
void Graph_ApplyPalette(HDC dc, const uint32_t* values, uint32_t count) {
    if (count == 0 || count > Graph_PaletteMax) return;
    struct {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY entries[Graph_PaletteMax];
    } table;
    table.palVersion = 0x300;
    table.palNumEntries = static_cast<WORD>(count);
    for (uint32_t i = 0; i < count; ++i) {
        table.entries[i] = PALETTEENTRY{static_cast<BYTE>(values[i] >> 16), static_cast<BYTE>(values[i] >> 8),
                                        static_cast<BYTE>(values[i]), 0};
    }
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&table));
    if (palette == nullptr) return;
    HPALETTE old = SelectPalette(dc, palette, TRUE);
    if (old == nullptr) {
        // Not a DC (no window yet): the new palette has no owner.
        DeleteObject(palette);
        return;
    }
    DeleteObject(old); // a no-op for the stock default palette
    RealizePalette(dc);
}
