// Whole frames: between Graph_BeginFrame and Graph_EndFrame requests draw into
// the back buffer alone (the runner leaves the window out), and the window
// gets the whole picture in one copy at the end. A repaint meanwhile copies
// from a second bitmap that holds the last whole picture, so the window never
// shows a frame half drawn. That bitmap comes without a copy: at a frame's
// start the two bitmaps change places, and the back buffer gets the picture
// back only when the frame first draws or reads, and not at all when it
// begins by painting over the whole picture, as an animation's frame does.
#include "GraphInternal.h"

namespace {

struct Lock {
    Lock() { Graph_LockBackBuffer(); }
    ~Lock() { Graph_UnlockBackBuffer(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// Main thread: frames open, nested ones counted.
uint32_t framesOpen = 0;

// Under the back-buffer lock (main thread, window thread): the last whole
// picture, made at the first frame after the window opened, and the request
// count it was copied at: the same count, and it is still the picture.
HDC lastDC = nullptr;
HBITMAP lastBitmap = nullptr;
HGDIOBJ lastDCsOwnBitmap = nullptr; // holds lastDC's place while the two bitmaps change DCs
bool lastGood = false;
uint32_t lastAt = 0;

int width() { return static_cast<int>(Graph_Width); }
int height() { return static_cast<int>(Graph_Depth); }

bool makeLast() {
    if (lastDC != nullptr) return true;
    if (Graph_BufferDC == nullptr) return false;
    lastDC = CreateCompatibleDC(Graph_BufferDC);
    // Compatible with the back buffer's bitmap: a plain copy of its pixels.
    lastBitmap = CreateCompatibleBitmap(Graph_BufferDC, width(), height());
    if (lastDC == nullptr || lastBitmap == nullptr) {
        if (lastDC != nullptr) DeleteDC(lastDC);
        if (lastBitmap != nullptr) DeleteObject(lastBitmap);
        lastDC = nullptr;
        lastBitmap = nullptr;
        return false;
    }
    lastDCsOwnBitmap = SelectObject(lastDC, lastBitmap);
    return true;
}

// Under the lock, at a frame's start when the copy is out of date: the two
// bitmaps change places instead of a copy. The back buffer's picture becomes
// the last whole one; the back buffer gets the older picture, made current
// only when the frame first draws (freshen).
bool swapBitmaps() {
    if (!makeLast() || Graph_BufferBitmap == nullptr) return false;
    const HBITMAP drawn = Graph_BufferBitmap;
    // A bitmap is selected into one DC at a time.
    SelectObject(lastDC, lastDCsOwnBitmap);
    SelectObject(Graph_BufferDC, lastBitmap);
    SelectObject(lastDC, drawn);
    Graph_BufferBitmap = lastBitmap;
    lastBitmap = drawn;
    lastGood = true;
    lastAt = Graph_Targets.changes;
    return true;
}

// A filled rectangle, solid, over the whole picture: nothing of the old one stays.
bool coversPicture(const Graph_RequestRecord& r) {
    const auto& box = r.p.rectangle;
    return r.op == OP_RECTANGLE && (box.fill & 0xFF) != 0 && Graph_Executor.stdPatternFlag &&
           Graph_Executor.stdBrushStyle == Graph_BS_SOLID && box.x1 == 0 && box.y1 == 0 &&
           box.x2 >= Graph_Width - 1 && box.y2 >= Graph_Depth - 1;
}

// The runner's, before a request draws on a stale back buffer.
void freshen() {
    if (coversPicture(Graph_Request)) Graph_Targets.stale = false;
    Graph_FreshenFrame();
}

} // namespace

void Graph_BeginFrame() {
    Graph_EnsureBegun();
    if (framesOpen++ > 0) return; // nested: the outermost frame decides
    Lock lock;
    Graph_Targets.bufferOnly = true;
    if (lastGood && lastAt == Graph_Targets.changes) return; // the copy is the picture
    if (swapBitmaps()) {
        Graph_Targets.stale = true;
        Graph_Targets.freshen = freshen;
    } else {
        // Without memory for the copy, a repaint meanwhile shows the back buffer as it is.
        lastGood = false;
    }
}

void Graph_EndFrame() {
    if (framesOpen == 0) return; // no frame open: nothing to show
    if (--framesOpen > 0) return;
    Lock lock;
    Graph_FreshenFrame(); // a frame that drew nothing shows the picture as it was
    Graph_Targets.bufferOnly = false;
    if (Graph_WindowDC != nullptr && Graph_BufferDC != nullptr) {
        BitBlt(Graph_WindowDC, 0, 0, width(), height(), Graph_BufferDC, 0, 0, SRCCOPY);
    }
}

void Graph_EndOpenFrames() {
    if (framesOpen == 0) return;
    framesOpen = 1;
    Graph_EndFrame();
}

void Graph_FreshenFrame() {
    if (Graph_Targets.stale) {
        Graph_Targets.stale = false;
        BitBlt(Graph_BufferDC, 0, 0, width(), height(), lastDC, 0, 0, SRCCOPY);
    }
}

HDC Graph_ShownDC() { return Graph_Targets.bufferOnly && lastGood ? lastDC : Graph_BufferDC; }
