// The back buffer and its copy into the window.
#include "GraphInternal.h"

// Window thread, right after the window DC exists.
bool Graph_CreateBackBuffer(HDC windowDC) {
    Graph_SetBufferDC(CreateCompatibleDC(windowDC));
    Graph_BufferBitmap = CreateCompatibleBitmap(windowDC, static_cast<int>(Graph_Width),
                                                static_cast<int>(Graph_Depth));
    // Without either there is no picture to draw on: not a window Graph can use.
    if (Graph_BufferDC == nullptr || Graph_BufferBitmap == nullptr) {
        Graph_DestroyBackBuffer();
        return false;
    }
    SelectObject(Graph_BufferDC, Graph_BufferBitmap);
    return true;
}

// Tests only: the window's back buffer lives until the process ends.
void Graph_DestroyBackBuffer() {
    const HDC dc = Graph_BufferDC;
    Graph_SetBufferDC(nullptr);
    if (dc != nullptr) {
        HGDIOBJ palette = SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
        if (palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
        DeleteDC(dc);
    }
    if (Graph_BufferBitmap != nullptr) DeleteObject(Graph_BufferBitmap);
    Graph_BufferBitmap = nullptr;
}

// Window thread (paint handler). While a frame is open, the last whole one.
void Graph_CopyBackBuffer(HDC target) {
    Graph_LockBackBuffer();
    BitBlt(target, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth), Graph_ShownDC(),
           0, 0, SRCCOPY);
    Graph_UnlockBackBuffer();
}
