#include "GraphFixture.h"

#include <algorithm>

int Picture::count(int x1, int y1, int x2, int y2, uint32_t value) const {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) n += at(x, y) == value;
    return n;
}

bool Picture::bounds(uint32_t value, RECT& box) const {
    box = RECT{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (at(x, y) != value) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box.right >= 0;
}

Picture Grab(HDC dc, int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const uint32_t*>(bits);
    p.px.assign(src, src + static_cast<size_t>(width) * height);
    for (uint32_t& v : p.px) v &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return p;
}

uint32_t GdiObjectCount() {
    // The table is an array of 24-byte entries on x86_64 (16 on i686), the
    // object type in byte 14 (byte 10 on i686), 0 for a free entry.
#if defined(__x86_64__)
    const uint8_t* peb;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + 0xF8);
    constexpr size_t kEntry = 24, kType = 14;
#else
    const uint8_t* peb;
    const uint8_t* teb;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
    asm("movl %%fs:0x18, %0" : "=r"(teb));
    const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + 0x94);
    size_t kEntry = 16, kType = 10;
    // NOTE: Wine's WoW64 leaves the 32-bit PEB's table pointer null: the one
    // table, in the x86_64 layout, hangs off the 64-bit PEB, which the 32-bit
    // TEB reaches through its WowTebOffset (at 0xFDC).
    const auto wowTebOffset = *reinterpret_cast<const int32_t*>(teb + 0xFDC);
    if (table == nullptr && wowTebOffset != 0) {
        const uint8_t* teb64 = teb + wowTebOffset;
        const auto peb64 = static_cast<uintptr_t>(*reinterpret_cast<const uint64_t*>(teb64 + 0x60));
        table = reinterpret_cast<const uint8_t*>(
            static_cast<uintptr_t>(*reinterpret_cast<const uint64_t*>(peb64 + 0xF8)));
        kEntry = 24;
        kType = 14;
    }
#endif
    if (table == nullptr) return 0;
    // WINE: Wine keeps 16384 handles in the table.
    constexpr size_t kEntries = 16384;
    uint32_t n = 0;
    for (size_t i = 0; i < kEntries; ++i) n += table[i * kEntry + kType] != 0;
    return n;
}

void GraphTest::Open(uint32_t width, uint32_t depth, HDC second) {
    Graph_BEGIN();
    Graph_Width = width;
    Graph_Depth = depth;
    HDC screen = GetDC(nullptr);
    Graph_CreateBackBuffer(screen);
    if (second == nullptr) {
        ownSecond_ = CreateCompatibleDC(screen);
        ownBitmap_ = CreateCompatibleBitmap(screen, static_cast<int>(width), static_cast<int>(depth));
        SelectObject(ownSecond_, ownBitmap_);
        second = ownSecond_;
    }
    ReleaseDC(nullptr, screen);
    Graph_SetWindowDC(second);
    Graph_ResetDrawingDefaults();
    Graph_ResetPicture(); // what Graph_Init does once the window exists
}

void GraphTest::Close() {
    Graph_ResetDrawingDefaults();
    Graph_DestroyBackBuffer();
    if (ownSecond_ != nullptr) {
        HGDIOBJ palette = SelectPalette(ownSecond_, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
        if (palette != GetStockObject(DEFAULT_PALETTE)) DeleteObject(palette);
        DeleteDC(ownSecond_);
        DeleteObject(ownBitmap_);
    }
    ownSecond_ = nullptr;
    ownBitmap_ = nullptr;
    Graph_SetWindowDC(nullptr);
}
