// The back buffer: the picture Graph draws on, off the screen, and everything
// that belongs to it in one object (backbuffer.cpp): its lock, its pages (a
// memory DC each, its bitmap selected in it for good), which page requests
// draw on and which one the window is repainted from, the frame state, and the
// buffer pixels are read back through.
//
// Two pages, so that frames cost their drawing and one copy: between frames
// requests draw on the shown page; a frame draws on the other one while the
// window is repainted from the last whole picture, and at its end the pages
// swap roles (no SelectObject of a bitmap per frame: under Wine that costs
// about 1 ms), so that a frame that first paints the whole picture copies
// nothing but its end; a program whose frames draw onto the picture as it
// stands has it copied into the other page at each frame's start instead
// (swapNext_).
//
// The program's pages (Graph_SetActivePage, Graph_SetVisualPage): the active
// one is the picture in pages_[0], with pages_[1] its frames' other page;
// every other page made so far waits in kept_, its DC and bitmap as they
// were made. Changing the active page exchanges entries, and showing one is
// one copy into the window: no bitmap is selected for either.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Graph.h"

// The program's pages, numbered from 0.
constexpr uint32_t Graph_PageCount = Graph_PAGES;

class Graph_BackBuffer {
public:
    Graph_BackBuffer();

    // Any thread. Recursive, so the paint may hold it from BeginPaint to
    // EndPaint around Show. It stays usable until the process ends (the window
    // may still repaint after the finalisers), so nothing deletes it.
    // WINE: a critical section, not a kernel mutex: under Wine every wait on and
    // release of a kernel mutex is a wineserver round trip, several times the
    // drawing itself (figures in docs/architecture.md).
    void Lock() { EnterCriticalSection(&lock_); }
    void Unlock() { LeaveCriticalSection(&lock_); }
    bool TryLock() { return TryEnterCriticalSection(&lock_) != FALSE; }

    // Window thread, right after the window DC exists (tests: main thread):
    // the pages, Graph_Width x Graph_Depth, compatible with like; false, and
    // nothing kept, when not even the first can be made (without the second,
    // a repaint during a frame shows the picture as drawn so far). Destroy
    // undoes it (tests: the window's back buffer lives until the process ends).
    bool Create(HDC like);
    void Destroy();
    // Main thread, under the lock: the font into every page, and into those made later.
    void SelectFont(HGDIOBJ font);

    // Main thread, under the lock, between frames (inside one they do
    // nothing, so that a frame stays on its page): the page requests draw on
    // and reads read, and the page the window shows, each made (cleared to
    // the background colour) when first used. Out of range, or a page GDI
    // cannot make: nothing changes. Showing copies the page into window.
    void SetActivePage(uint32_t page);
    void SetVisualPage(uint32_t page, HDC window);

    // Main thread, under the lock, from the drawn page's DC before each
    // operation that changes pixels: whole, when it paints every pixel of
    // the picture (a solid box over all of it).
    void WillDraw(bool whole) {
        spareCurrent_ = false; // the other page falls behind
        if (firstDraw_) firstDraw(whole);
    }
    // Main thread, under the lock: the drawn page's DC with the picture as it
    // stands, to be read; null before Create.
    HDC ReadDC() {
        if (drawnStale_) catchUp();
        return pages_[0].dc;
    }
    // Main thread, under the lock: the pixels (0xXXRRGGBB, rows from the top)
    // of the picture's area at (x, y) of this size, in a DIB section kept for
    // the next read of the same size; null when GDI refuses.
    uint32_t* ReadBlock(int x, int y, int width, int height);

    // Main thread (or whichever thread ends the process). Frames nest; the
    // outermost end copies the drawn page into window (when both exist).
    void BeginFrame();
    void EndFrame(HDC window);
    // A frame still open ends (the finaliser): the window shows what was drawn.
    void EndOpenFrames(HDC window);
    // Under the lock: requests leave the window's pixels out, as a frame is
    // open or the page drawn on is not the one shown.
    bool Framed() const { return framed_ || active_ != visual_; }

    // Window thread, under the lock (the paint): the shown picture to target at (0, 0).
    void Show(HDC target);
    // Window thread (its timer), never waiting: between frames that draw onto
    // the picture, the other page brought up to date, so that the next frame need not.
    void PrepareSpare();

private:
    struct Page {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        uint32_t palette = 0; // a kept page: the Graph_PaletteLoads it has the palette of
    };
    // Under the lock: kept_[page], made when missing; false when GDI refuses.
    bool keep(uint32_t page);
    // Under the lock: a frame's first drawing (whole: it paints the whole
    // picture); the drawn page given the shown picture; the pages' roles swapped.
    void firstDraw(bool whole);
    void catchUp();
    void swapRoles();
    void copy(const Page& to, const Page& from);
    bool hasSpare() const { return pages_[1].dc != nullptr; }

    CRITICAL_SECTION lock_; // any thread
    // Made by the window thread (Create), then used by both threads under the
    // lock: pages_[0] is the page requests draw on (Graph_BufferTarget's DC),
    // pages_[1] the other one (Graph_SpareTarget's); their roles swap by
    // exchanging the two entries. A second page that could not be made is null.
    Page pages_[2];
    // Main thread, under the lock (the paint reads them, under it): the
    // program's pages but the active one, null where not made yet
    // (kept_[active_] is always null); which page is active, which shown;
    // the font every page gets.
    Page kept_[Graph_PageCount];
    uint32_t active_ = 0, visual_ = 0;
    HGDIOBJ font_ = nullptr;
    // Main thread writes, under the lock; the window thread reads, under it.
    bool framed_ = false;    // a frame is open
    bool showSpare_ = false; // the paint shows pages_[1] (during a frame: the last whole picture)
    // Under the lock, both threads.
    bool drawnStale_ = false;   // in a frame: pages_[0] lacks the shown picture, not drawn on yet
    bool spareCurrent_ = false; // pages_[1] holds the picture too (the timer's copy)
    bool firstDraw_ = false;    // in a frame: nothing drawn yet
    // How the next frame starts, as the last one that drew began: true, it
    // painted the whole picture first, and the next one swaps the pages' roles
    // (no copy at all); false, it drew onto the picture, and the next one
    // copies the picture into the other page at its start (or the timer did
    // so before) and draws on in place.
    // NOTE: swapping pages where every frame copies cost about 0.7 ms more a
    // frame than copying in place under Wine (graph_bench's frame row, 1.30
    // against 1.14 of raw GDI).
    bool swapNext_ = true;
    // Main thread only.
    uint32_t depth_ = 0; // frames open, nested ones counted
    // Main thread, under the lock: the DIB section reads go through.
    HDC readDC_ = nullptr;
    HBITMAP readBitmap_ = nullptr;
    uint32_t* readBits_ = nullptr;
    int readWidth_ = 0, readHeight_ = 0;
};

// The one back buffer.
extern Graph_BackBuffer Graph_Back;
