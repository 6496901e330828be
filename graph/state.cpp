// Graph's module state, the back-buffer lock and the drawing defaults.
#include "GraphInternal.h"

#include <cstring>

uint32_t Graph_Width = 0;
uint32_t Graph_Depth = 0;
uint32_t Graph_NumPColor = 0;


HANDLE Graph_WindowMutex = nullptr;
HANDLE Graph_HandshakeEvent = nullptr;

HDC Graph_BufferDC = nullptr;
HBITMAP Graph_BufferBitmap = nullptr;
HDC Graph_WindowDC = nullptr;

uint32_t Graph_ColourCount = 0;

Graph_ExecutorState Graph_Executor = {};
HBITMAP Graph_UserPattern = nullptr;

uint32_t Graph_BkColour = 0;
uint32_t Graph_CurrentPattern = 8;
uint8_t Graph_SavedMask[8] = {};

Graph_RequestRecord Graph_Request = {};
Graph_PaletteTable Graph_PaletteBuffer = {};

namespace {
CRITICAL_SECTION bufferLock;
// Ready before main, so before any thread and before Graph_BEGIN.
const bool bufferLockReady = [] {
    InitializeCriticalSection(&bufferLock);
    return true;
}();
} // namespace

// Either thread.
void Graph_LockBackBuffer() { EnterCriticalSection(&bufferLock); }
void Graph_UnlockBackBuffer() { LeaveCriticalSection(&bufferLock); }

// Window thread (or a test on the main thread before drawing).
void Graph_SetWindowDC(HDC dc) {
    if (dc != Graph_WindowDC) Graph_ForgetDC(Graph_WindowDC);
    Graph_WindowDC = dc;
}

void Graph_ResetDrawingDefaults() {
    Graph_Executor = Graph_ExecutorState{};
    Graph_FreeObjects();
    if (Graph_UserPattern != nullptr) DeleteObject(Graph_UserPattern);
    Graph_UserPattern = nullptr;

    Graph_PATSYM_HORIZ = HS_HORIZONTAL;
    Graph_PATSYM_VERT = HS_VERTICAL;
    Graph_PATSYM_DIAG2 = HS_FDIAGONAL;
    Graph_PATSYM_DIAG1 = HS_BDIAGONAL;
    Graph_PATSYM_DENSE2 = HS_CROSS;
    Graph_PATSYM_DENSE1 = HS_DIAGCROSS;
    Graph_PATSYM_SOLID = 8;
    Graph_CurrentPattern = Graph_PATSYM_SOLID;
    std::memset(Graph_SavedMask, 0, sizeof Graph_SavedMask);
}
