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

void put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); }
void put32(std::vector<uint8_t>& b, uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }

// A 24-bit BMP file of an image block, written beside the path and renamed
// over it at the end.
bool writeBmp(const char* path, const uint32_t* block) {
    const uint32_t w = block[0], h = block[1], stride = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> b;
    b.reserve(54 + size_t{stride} * h);
    b.push_back('B'), b.push_back('M');
    put32(b, 54 + stride * h), put32(b, 0), put32(b, 54);
    put32(b, 40), put32(b, w), put32(b, h), put16(b, 1), put16(b, 24), put32(b, 0), put32(b, stride * h);
    put32(b, 2835), put32(b, 2835), put32(b, 0), put32(b, 0);
    for (uint32_t r = h; r-- > 0;) {
        const uint32_t* row = block + 2 + size_t{r} * w;
        for (uint32_t c = 0; c < w; ++c) b.push_back(uint8_t(row[c])), b.push_back(uint8_t(row[c] >> 8)), b.push_back(uint8_t(row[c] >> 16));
        for (uint32_t p = w * 3; p < stride; ++p) b.push_back(0);
    }
    const std::string temp = std::string(path) + ".new";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    if (std::fclose(f) != 0 || !ok) return std::remove(temp.c_str()), false;
    std::remove(path);
    return std::rename(temp.c_str(), path) == 0;
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
    if (filename == nullptr) return Bgi_Fail(grIOerror);
    const Bgi_Rect box = fileBox(left, top, right, bottom);
    if (box.left == 0 && box.top == 0 && box.right == Bgi_S.width - 1 && box.bottom == Bgi_S.height - 1) {
        if (!BgiG_SavePicture(filename, box)) Bgi_Fail(grIOerror);
        return;
    }
    const uint64_t size = blockSize(box.left, box.top, box.right, box.bottom);
    std::vector<uint32_t> block(static_cast<size_t>(size / 4));
    // The block is read in device pixels: the origin is taken off again.
    if (!BgiG_GetImage(box.left - Bgi_S.left, box.top - Bgi_S.top, box.right - Bgi_S.left, box.bottom - Bgi_S.top,
                       block.data(), static_cast<uint32_t>(size)) ||
        !writeBmp(filename, block.data()))
        Bgi_Fail(grIOerror);
}

} // extern "C"

void printimage(const char* title, double width_inches, double border_left_inches, double border_top_inches, int left,
                int top, int right, int bottom, bool active, void* window) {
    (void)title, (void)width_inches, (void)border_left_inches, (void)border_top_inches;
    (void)left, (void)top, (void)right, (void)bottom, (void)active, (void)window;
    Bgi_Fail(grError);
}
