// The back buffer (BackBuffer.h): its pages, frames, repaint copy and reads.
#include "BackBuffer.h"

#include "GraphInternal.h"

Graph_BackBuffer Graph_Back;

namespace {

int width() { return static_cast<int>(Graph_Width); }
int depth() { return static_cast<int>(Graph_Depth); }

// A memory DC holding a picture-sized bitmap in like's format; false, with
// neither left, when GDI refuses one.
bool makePage(HDC like, HDC& dc, HBITMAP& bitmap) {
    dc = CreateCompatibleDC(like);
    bitmap = dc != nullptr ? CreateCompatibleBitmap(like, width(), depth()) : nullptr;
    if (bitmap == nullptr) {
        if (dc != nullptr) DeleteDC(dc);
        dc = nullptr;
        return false;
    }
    SelectObject(dc, bitmap);
    return true;
}

void deletePage(HDC dc, HBITMAP bitmap) {
    if (dc != nullptr) {
        Graph_ReleasePalette(dc);
        DeleteDC(dc);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
}

// The whole picture from one DC into another, whatever clip rectangle the
// target has selected (the requests' clip): lifted for the copy, then put back.
void copyWhole(HDC to, HDC from) {
    HRGN clip = Graph_Executor.clipped ? CreateRectRgn(0, 0, 0, 0) : nullptr;
    const bool lifted = clip != nullptr && GetClipRgn(to, clip) == 1;
    if (lifted) SelectClipRgn(to, nullptr);
    BitBlt(to, 0, 0, width(), depth(), from, 0, 0, SRCCOPY);
    if (lifted) SelectClipRgn(to, clip);
    if (clip != nullptr) DeleteObject(clip);
}

// Main thread, under the lock. What only its own request sets in a page (the
// background, the write mode, the clip rectangle), from the active page into
// one that becomes active: the DC objects know nothing of a new DC and set
// these again only when their request comes again, so a page left behind
// would draw with the clip and write mode it had when it was last active.
void takeRequestState(HDC to, HDC from) {
    SetBkColor(to, GetBkColor(from));
    SetBkMode(to, GetBkMode(from));
    SetROP2(to, GetROP2(from));
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    SelectClipRgn(to, clip != nullptr && GetClipRgn(from, clip) == 1 ? clip : nullptr);
    if (clip != nullptr) DeleteObject(clip);
}

} // namespace

Graph_BackBuffer::Graph_BackBuffer() { InitializeCriticalSection(&lock_); }

bool Graph_BackBuffer::Create(HDC like) {
    Page first{}, second{};
    if (!makePage(like, first.dc, first.bitmap)) return false;
    makePage(like, second.dc, second.bitmap);
    Lock();
    pages_[0] = first;
    pages_[1] = second;
    Graph_AttachPages(first.dc, second.dc);
    Unlock();
    return true;
}

void Graph_BackBuffer::Destroy() {
    Lock();
    Graph_AttachPages(nullptr, nullptr);
    for (Page& page : pages_) {
        deletePage(page.dc, page.bitmap);
        page = Page{};
    }
    for (Page& page : kept_) {
        deletePage(page.dc, page.bitmap);
        page = Page{};
    }
    active_ = visual_ = 0;
    deletePage(readDC_, readBitmap_);
    readDC_ = nullptr;
    readBitmap_ = nullptr;
    readWidth_ = readHeight_ = 0;
    framed_ = showSpare_ = drawnStale_ = spareCurrent_ = firstDraw_ = false;
    swapNext_ = true;
    depth_ = 0;
    Unlock();
}

void Graph_BackBuffer::SelectFont(HGDIOBJ font) {
    font_ = font;
    for (const Page& page : pages_) {
        if (page.dc != nullptr) SelectObject(page.dc, font);
    }
    for (const Page& page : kept_) {
        if (page.dc != nullptr) SelectObject(page.dc, font);
    }
}

bool Graph_BackBuffer::keep(uint32_t page) {
    Page& made = kept_[page];
    const HDC like = pages_[0].dc;
    if (made.dc != nullptr) return true;
    if (like == nullptr || !makePage(like, made.dc, made.bitmap)) return false;
    // What a page takes from the requests that set it, as the active page has it.
    if (font_ != nullptr) SelectObject(made.dc, font_);
    SetBkColor(made.dc, GetBkColor(like));
    Graph_ApplyPalette(made.dc, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
    made.palette = Graph_PaletteLoads;
    // Cleared as Graph_Init clears the first: the background colour, through
    // the palette as the requests draw it.
    const RECT all{0, 0, width(), depth()};
    ExtTextOutA(made.dc, 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
    return true;
}

void Graph_BackBuffer::SetActivePage(uint32_t page) {
    if (page >= Graph_PageCount || page == active_ || framed_ || !keep(page)) return;
    Page next = kept_[page];
    const Page left = pages_[0];
    // What the requests set went to the active page and its frames' page only.
    takeRequestState(next.dc, left.dc);
    if (next.palette != Graph_PaletteLoads) {
        Graph_ApplyPalette(next.dc, Graph_PaletteBuffer.values, Graph_PaletteBuffer.count);
    }
    kept_[active_] = left;
    kept_[active_].palette = Graph_PaletteLoads;
    kept_[page] = Page{};
    pages_[0] = next;
    active_ = page;
    // The frames' other page held the page left: it is behind now.
    spareCurrent_ = drawnStale_ = false;
    Graph_AttachPages(pages_[0].dc, pages_[1].dc);
}

void Graph_BackBuffer::SetVisualPage(uint32_t page, HDC window) {
    if (page >= Graph_PageCount || framed_ || (page != active_ && !keep(page))) return;
    visual_ = page;
    const HDC shown = page == active_ ? pages_[0].dc : kept_[page].dc;
    if (window != nullptr && shown != nullptr) copyWhole(window, shown);
}

void Graph_BackBuffer::copy(const Page& to, const Page& from) { copyWhole(to.dc, from.dc); }

void Graph_BackBuffer::swapRoles() {
    const Page drawn = pages_[0];
    pages_[0] = pages_[1];
    pages_[1] = drawn;
    Graph_ExchangePages();
}

void Graph_BackBuffer::firstDraw(bool whole) {
    firstDraw_ = false;
    swapNext_ = whole;
    // The frame starts from the picture as it stands, unless it paints it all first.
    if (whole) drawnStale_ = false;
    if (drawnStale_) catchUp();
}

void Graph_BackBuffer::catchUp() {
    drawnStale_ = false;
    copy(pages_[0], pages_[1]);
}

uint32_t* Graph_BackBuffer::ReadBlock(int x, int y, int width, int height) {
    HDC from = ReadDC();
    if (from == nullptr) return nullptr;
    if (readDC_ == nullptr || width != readWidth_ || height != readHeight_) {
        if (readDC_ == nullptr) readDC_ = CreateCompatibleDC(from);
        if (readDC_ == nullptr) return nullptr;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(readDC_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr) return nullptr;
        HGDIOBJ old = SelectObject(readDC_, bitmap);
        if (readBitmap_ != nullptr) DeleteObject(old);
        readBitmap_ = bitmap;
        readBits_ = static_cast<uint32_t*>(bits);
        readWidth_ = width;
        readHeight_ = height;
    }
    BitBlt(readDC_, 0, 0, width, height, from, x, y, SRCCOPY);
    GdiFlush();
    return readBits_;
}

void Graph_BackBuffer::BeginFrame() {
    if (depth_++ > 0) return; // nested: the outermost frame decides
    Lock();
    framed_ = true;
    firstDraw_ = true;
    // Without a second page a repaint meanwhile shows the picture as drawn so far.
    if (hasSpare()) {
        if (swapNext_) {
            swapRoles();
            drawnStale_ = !spareCurrent_;
        } else if (!spareCurrent_) {
            copy(pages_[1], pages_[0]);
        }
        showSpare_ = true;
        spareCurrent_ = false;
    }
    Unlock();
}

void Graph_BackBuffer::EndFrame(HDC window) {
    if (depth_ == 0) return; // no frame open: nothing to show
    if (--depth_ > 0) return;
    Lock();
    framed_ = firstDraw_ = false;
    if (drawnStale_) {
        // Nothing drawn: the shown page is still the picture, and draws on.
        swapRoles();
        drawnStale_ = false;
    } else if (window != nullptr && pages_[0].dc != nullptr && active_ == visual_) {
        copyWhole(window, pages_[0].dc);
    }
    showSpare_ = false;
    Unlock();
}

void Graph_BackBuffer::EndOpenFrames(HDC window) {
    if (depth_ == 0) return;
    depth_ = 1;
    EndFrame(window);
}

void Graph_BackBuffer::Show(HDC target) {
    Lock();
    const Page& shown = active_ != visual_ ? kept_[visual_] : pages_[showSpare_ ? 1 : 0];
    if (shown.dc != nullptr) copyWhole(target, shown.dc);
    Unlock();
}

void Graph_BackBuffer::PrepareSpare() {
    // Never waits: a busy lock means the main thread is drawing.
    if (!TryLock()) return;
    if (!framed_ && !swapNext_ && !spareCurrent_ && hasSpare()) {
        copy(pages_[1], pages_[0]);
        spareCurrent_ = true;
    }
    Unlock();
}

void Graph_BeginFrame() {
    Graph_EnsureBegun();
    Graph_Back.BeginFrame();
}

void Graph_EndFrame() { Graph_Back.EndFrame(Graph_WindowDC); }

void Graph_SetActivePage(uint32_t page) {
    Graph_EnsureBegun();
    Graph_BufferLock lock;
    Graph_Back.SetActivePage(page);
}

void Graph_SetVisualPage(uint32_t page) {
    Graph_EnsureBegun();
    Graph_BufferLock lock;
    Graph_Back.SetVisualPage(page, Graph_WindowDC);
}
