// Reading the picture back: pixels, image blocks, text extents, picture
// files. Main thread; each read holds the back-buffer lock, since the window
// thread copies from the back buffer meanwhile.
#include <algorithm>
#include <cstring>

#include "GraphInternal.h"

namespace {

struct Lock {
    Lock() { Graph_LockBackBuffer(); }
    ~Lock() { Graph_UnlockBackBuffer(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

constexpr uint32_t kOutside = 0xFFFFFFFF;

uint32_t toValue(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// A 32-bit top-down DIB section the picture is copied into to be read: kept
// for the next read of the same size.
class ReadBuffer {
public:
    // The pixels (0xXXRRGGBB, rows from the top) of the picture's area at
    // (x, y) of this size; null when GDI refuses.
    const uint32_t* Read(int x, int y, int width, int height) {
        if (!fit(width, height)) return nullptr;
        BitBlt(dc_, 0, 0, width, height, Graph_BufferDC, x, y, SRCCOPY);
        GdiFlush();
        return bits_;
    }

private:
    bool fit(int width, int height) {
        if (dc_ != nullptr && width == width_ && height == height_) return true;
        if (dc_ == nullptr) dc_ = CreateCompatibleDC(Graph_BufferDC);
        if (dc_ == nullptr) return false;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr) return false;
        HGDIOBJ old = SelectObject(dc_, bitmap);
        if (bitmap_ != nullptr) DeleteObject(old);
        bitmap_ = bitmap;
        bits_ = static_cast<uint32_t*>(bits);
        width_ = width;
        height_ = height;
        return true;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};
ReadBuffer readBuffer;

} // namespace

uint32_t Graph_GetPixel(uint32_t x, uint32_t y) {
    Lock lock;
    if (Graph_BufferDC == nullptr || x >= Graph_Width || y >= Graph_Depth) return kOutside;
    const COLORREF c = GetPixel(Graph_BufferDC, static_cast<int>(x), static_cast<int>(y));
    return c == CLR_INVALID ? kOutside : toValue(c);
}

bool Graph_GetImage(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, void* image, uint32_t size) {
    const uint32_t need = Graph_ImageSize(x1, y1, x2, y2);
    Lock lock;
    if (image == nullptr || need == 0 || size < need || Graph_BufferDC == nullptr) return false;
    const uint32_t left = Graph_Min(x1, x2), top = Graph_Min(y1, y2);
    const Graph_ImageHeader header{Graph_Max(x1, x2) - left + 1, Graph_Max(y1, y2) - top + 1};
    auto* out = static_cast<unsigned char*>(image);
    std::memcpy(out, &header, sizeof header);
    out += sizeof header;
    const size_t rowBytes = static_cast<size_t>(header.width) * 4;
    std::memset(out, 0xFF, rowBytes * header.height); // what lies outside the picture
    if (left >= Graph_Width || top >= Graph_Depth) return true;
    const int width = static_cast<int>(Graph_Min(header.width, Graph_Width - left));
    const int height = static_cast<int>(Graph_Min(header.height, Graph_Depth - top));
    const uint32_t* pixels = readBuffer.Read(static_cast<int>(left), static_cast<int>(top), width, height);
    if (pixels == nullptr) return false;
    for (int row = 0; row < height; ++row) {
        unsigned char* line = out + rowBytes * row;
        for (int col = 0; col < width; ++col) {
            const uint32_t value = pixels[static_cast<size_t>(row) * width + col] & 0xFFFFFF;
            std::memcpy(line + 4 * col, &value, 4); // the caller's block need not be aligned
        }
    }
    return true;
}

uint32_t Graph_TextWidthOf(const char* text, uint32_t length) {
    Lock lock;
    SIZE extent{};
    if (Graph_BufferDC == nullptr || length == 0 ||
        !GetTextExtentPoint32A(Graph_BufferDC, text, static_cast<int>(Graph_Min(length, INT32_MAX)), &extent)) {
        return 0;
    }
    return static_cast<uint32_t>(extent.cx);
}

uint32_t Graph_TextWidth(const char* text) {
    return text == nullptr ? 0 : Graph_TextWidthOf(text, static_cast<uint32_t>(std::min<size_t>(std::strlen(text), UINT32_MAX)));
}

uint32_t Graph_TextHeight() {
    Lock lock;
    TEXTMETRICA metrics{};
    if (Graph_BufferDC == nullptr || !GetTextMetricsA(Graph_BufferDC, &metrics)) return 0;
    return static_cast<uint32_t>(metrics.tmHeight);
}
