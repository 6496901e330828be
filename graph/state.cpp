// Graph's module state, the back-buffer lock and the drawing defaults.
#include "GraphInternal.h"

#include <cstring>

HANDLE Graph_WindowMutex = nullptr;
HANDLE Graph_HandshakeEvent = nullptr;

HBITMAP Graph_BufferBitmap = nullptr;

uint32_t Graph_ColourCount = 0;

HBITMAP Graph_UserPattern = nullptr;

uint32_t Graph_BkColour = 0;
uint32_t Graph_CurrentPattern = 8;
uint8_t Graph_SavedMask[8] = {};


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
bool Graph_TryLockBackBuffer() { return TryEnterCriticalSection(&bufferLock) != FALSE; }

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
