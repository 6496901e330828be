// Images and pages: image blocks (imagesize, getimage, putimage with the five
// put modes), the active and visual page, WinBGIm's swapbuffers and its
// picture files. An image block here is Graph's: its width and height, then
// the pixels, 4 bytes each.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bgi_state.h"
#include "graph_adapter.h"

namespace {
constexpr uint64_t kMaxImage = 64u << 20;
constexpr int kPages = 4;

uint64_t blockSize(int left, int top, int right, int bottom) {
    const uint64_t w = static_cast<uint64_t>(std::llabs(int64_t{right} - left)) + 1;
    const uint64_t h = static_cast<uint64_t>(std::llabs(int64_t{bottom} - top)) + 1;
    return 8 + 4 * w * h;
}

void showPages() { BgiG_SetPages(static_cast<uint32_t>(Bgi_S.activePage), static_cast<uint32_t>(Bgi_S.visualPage)); }

// The box of a picture file in device pixels: relative to the viewport, cut
// to the screen.
Bgi_Rect fileBox(int left, int top, int right, int bottom) {
    auto dev = [](int64_t v, int64_t origin, int64_t max) { return static_cast<int32_t>(std::clamp<int64_t>(v + origin, 0, max)); };
    const int64_t mx = Bgi_S.width - 1, my = Bgi_S.height - 1;
    return Bgi_Rect{dev(std::min(left, right), Bgi_S.left, mx), dev(std::min(top, bottom), Bgi_S.top, my),
                    dev(std::max(left, right), Bgi_S.left, mx), dev(std::max(top, bottom), Bgi_S.top, my)};
}

} // namespace

extern "C" {

unsigned imagesize(int left, int top, int right, int bottom) {
    const uint64_t size = blockSize(left, top, right, bottom);
    if (size > kMaxImage) { // Borland's answer for a block it cannot hold; getimage refuses it
        Bgi_Fail(grError);
        return 0xFFFF;
    }
    return static_cast<unsigned>(size);
}

void getimage(int left, int top, int right, int bottom, void* bitmap) {
    if (!Bgi_Ready()) return;
    const uint64_t size = blockSize(left, top, right, bottom);
    if (bitmap == nullptr || size > kMaxImage) return Bgi_Fail(grError);
    if (!BgiG_GetImage(left, top, right, bottom, bitmap, static_cast<uint32_t>(size))) Bgi_Fail(grError);
}

void putimage(int left, int top, const void* bitmap, int op) {
    if (!Bgi_Ready()) return;
    if (bitmap == nullptr || op < COPY_PUT || op > NOT_PUT) return Bgi_Fail(grError);
    uint32_t header[2];
    std::memcpy(header, bitmap, sizeof header);
    const uint64_t size = 8 + 4 * uint64_t{header[0]} * header[1];
    if (header[0] == 0 || header[1] == 0 || size > kMaxImage) return Bgi_Fail(grError);
    BgiG_PutImage(left, top, bitmap, static_cast<uint32_t>(size), static_cast<uint32_t>(op));
}

void setactivepage(int page) {
    if (page < 0 || page >= kPages) return Bgi_Fail(grError);
    Bgi_S.activePage = page;
    showPages();
}

void setvisualpage(int page) {
    if (page < 0 || page >= kPages) return Bgi_Fail(grError);
    Bgi_S.visualPage = page;
    showPages();
}

int getactivepage(void) { return Bgi_S.activePage; }
int getvisualpage(void) { return Bgi_S.visualPage; }

void swapbuffers(void) {
    std::swap(Bgi_S.activePage, Bgi_S.visualPage);
    showPages();
}

void readimagefile(const char* filename, int left, int top, int right, int bottom) {
    if (!Bgi_Ready()) return;
    // WinBGIm asks for a file when there is no name; here that is an error.
    if (filename == nullptr || !BgiG_LoadPicture(filename, fileBox(left, top, right, bottom))) Bgi_Fail(grIOerror);
}

void writeimagefile(const char* filename, int left, int top, int right, int bottom) {
    if (!Bgi_Ready()) return;
    if (filename == nullptr || !BgiG_SavePicture(filename, fileBox(left, top, right, bottom))) Bgi_Fail(grIOerror);
}

} // extern "C"

void printimage(const char* title, double width_inches, double border_left_inches, double border_top_inches, int left,
                int top, int right, int bottom, bool active, void* window) {
    (void)title, (void)width_inches, (void)border_left_inches, (void)border_top_inches;
    (void)left, (void)top, (void)right, (void)bottom, (void)active, (void)window;
    Bgi_Fail(grError);
}
