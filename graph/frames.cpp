// Whole frames: between Graph_BeginFrame and Graph_EndFrame requests draw into
// the back buffer alone (the runner leaves the window out), and the window
// gets the whole picture in one copy at the end. A repaint meanwhile copies
// from a second bitmap that holds the last whole picture, so the window never
// shows a frame half drawn.
#include "GraphInternal.h"

namespace {

// Main thread: frames open, nested ones counted.
uint32_t depth = 0;

// Under the back-buffer lock (main thread, window thread): the last whole
// picture, made at the first frame after the window opened, and the request
// count it was copied at: the same count, and it is still the picture.
HDC lastDC = nullptr;
HBITMAP lastBitmap = nullptr;
bool lastGood = false;
uint32_t lastAt = 0;

// Compatible with the back buffer's bitmap: a plain copy of its pixels.
bool makeLast() {
    return lastDC != nullptr || (Graph_BufferDC != nullptr && Graph_MakePictureDC(Graph_BufferDC, lastDC, lastBitmap));
}

// Under the lock. Copies the picture unless the copy is still current.
void keepLast() {
    if (lastGood && lastAt == Graph_Targets.changes) return;
    lastGood = makeLast() && BitBlt(lastDC, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth),
                                    Graph_BufferDC, 0, 0, SRCCOPY);
    lastAt = Graph_Targets.changes;
}

} // namespace

void Graph_BeginFrame() {
    Graph_EnsureBegun();
    if (depth++ > 0) return; // nested: the outermost frame decides
    Graph_BufferLock lock;
    // Without memory for the copy, a repaint meanwhile shows the back buffer as it is.
    keepLast();
    Graph_Targets.bufferOnly = true;
}

void Graph_EndFrame() {
    if (depth == 0) return; // no frame open: nothing to show
    if (--depth > 0) return;
    Graph_BufferLock lock;
    Graph_Targets.bufferOnly = false;
    if (Graph_WindowDC != nullptr && Graph_BufferDC != nullptr) {
        BitBlt(Graph_WindowDC, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth), Graph_BufferDC,
               0, 0, SRCCOPY);
    }
}

void Graph_EndOpenFrames() {
    if (depth == 0) return;
    depth = 1;
    Graph_EndFrame();
}

HDC Graph_ShownDC() { return Graph_Targets.bufferOnly && lastGood ? lastDC : Graph_BufferDC; }

void Graph_RefreshLastFrame() {
    // Never waits: a busy lock means the main thread is drawing, and the
    // next frame's start copies the picture itself.
    if (!Graph_TryLockBackBuffer()) return;
    if (lastDC != nullptr && !Graph_Targets.bufferOnly) keepLast();
    Graph_UnlockBackBuffer();
}
