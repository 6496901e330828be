// The back buffer and its copy into the window.
#include "GraphInternal.h"

// Either thread. A memory DC holding a bitmap of the picture's size in the
// format of `like`'s; false, with neither left, when GDI refuses one.
bool Graph_MakePictureDC(HDC like, HDC& dc, HBITMAP& bitmap) {
    dc = CreateCompatibleDC(like);
    bitmap = dc != nullptr ? CreateCompatibleBitmap(like, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth))
                           : nullptr;
    if (bitmap == nullptr) {
        if (dc != nullptr) DeleteDC(dc);
        dc = nullptr;
        return false;
    }
    SelectObject(dc, bitmap);
    return true;
}

// Window thread, right after the window DC exists. Without a back buffer
// there is no picture to draw on: not a window Graph can use.
bool Graph_CreateBackBuffer(HDC windowDC) {
    HDC dc = nullptr;
    if (!Graph_MakePictureDC(windowDC, dc, Graph_BufferBitmap)) return false;
    Graph_SetBufferDC(dc);
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
