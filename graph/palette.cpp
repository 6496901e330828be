// Palettes: the display's colour count, the palette a program loads, and the
// palette objects it becomes in both DCs.
#include "GraphInternal.h"

#include <cstring>

uint32_t Graph_ColourCount = 0;
uint32_t Graph_PaletteLoads = 0;

// Main thread, from Graph_BEGIN.
uint32_t Graph_CountDisplayColors() {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    const int planes = GetDeviceCaps(dc, PLANES);
    DeleteDC(dc);
    // WINE: Xvfb and Wine report 32 bits per pixel for a 24-bit screen.
    return Graph_ColourCountFor(bits > 0 ? bits : 0, planes > 0 ? planes : 0);
}

int32_t Graph_RemapAllPalette(const uint32_t* table, uint32_t count) {
    if (count > Graph_NumPColor) return -1;
    const uint32_t n = Graph_Min(Graph_PaletteMax, count);
    if (n > 0) std::memcpy(Graph_PaletteBuffer.values, table, n * sizeof(uint32_t));
    Graph_PaletteBuffer.count = n;
    ++Graph_PaletteLoads;
    Graph_Request.op = OP_PALETTE;
    Graph_ExecuteOnBoth(); // the back buffer's pages and the window
    return 0;
}

void Graph_InitStdPalette() { Graph_RemapAllPalette(Graph_StdPalette, 16); }

void Graph_ReleasePalette(HDC dc) {
    const HGDIOBJ palette = SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
    if (palette != nullptr && palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
}

// Main thread (through OP_PALETTE).
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
