// Reading the picture back: pixels, image blocks, text extents, picture
// files. Main thread; each read holds the back-buffer lock, since the window
// thread copies from the back buffer meanwhile, and reads the picture as it
// stands (Graph_Back.ReadDC).
#include <algorithm>
#include <cstring>
#include <vector>

#include "GraphFiles.h"
#include "GraphInternal.h"
#include "GraphPictureCodecs.h"
#include "picture.h"
#include "utf8.h"

namespace {

constexpr uint32_t kOutside = 0xFFFFFFFF;

uint32_t toValue(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

} // namespace

// WINE: a DC another thread is inside (the paint's copy) is refused, and
// GetPixel then answers CLR_INVALID: the read holds the lock as every other does.
uint32_t Graph_GetPixel(uint32_t x, uint32_t y) {
    Graph_BufferLock lock;
    HDC dc = Graph_Back.ReadDC();
    if (dc == nullptr || x >= Graph_Width || y >= Graph_Depth) return kOutside;
    // NOTE: GetPixel answers CLR_INVALID outside the DC's clip region on
    // Windows (Wine reads it all the same); a read is not clipped: through a
    // copy, which only the target's clip region limits.
    if (Graph_Executor.clipped) {
        const uint32_t* pixel = Graph_Back.ReadBlock(static_cast<int>(x), static_cast<int>(y), 1, 1);
        return pixel != nullptr ? *pixel & 0xFFFFFF : kOutside;
    }
    const COLORREF c = GetPixel(dc, static_cast<int>(x), static_cast<int>(y));
    return c == CLR_INVALID ? kOutside : toValue(c);
}

bool Graph_GetImage(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, void* image, uint32_t size) {
    const uint32_t need = Graph_ImageSize(x1, y1, x2, y2);
    Graph_BufferLock lock;
    if (image == nullptr || need == 0 || size < need || Graph_Back.ReadDC() == nullptr) return false;
    const uint32_t left = Graph_Min(x1, x2), top = Graph_Min(y1, y2);
    const Graph_ImageHeader header{Graph_Max(x1, x2) - left + 1, Graph_Max(y1, y2) - top + 1};
    auto* out = static_cast<unsigned char*>(image);
    std::memcpy(out, &header, sizeof header);
    out += sizeof header;
    const size_t rowBytes = static_cast<size_t>(header.width) * 4;
    if (left >= Graph_Width || top >= Graph_Depth) {
        std::memset(out, 0xFF, rowBytes * header.height); // all of it outside the picture
        return true;
    }
    const int width = static_cast<int>(Graph_Min(header.width, Graph_Width - left));
    const int height = static_cast<int>(Graph_Min(header.height, Graph_Depth - top));
    uint32_t* pixels = Graph_Back.ReadBlock(static_cast<int>(left), static_cast<int>(top), width, height);
    if (pixels == nullptr) return false;
    // GDI may leave the unused top byte set: cleared on the way out, in one
    // pass. The caller's block need not be aligned, hence memcpy per pixel (a
    // plain move once compiled). A block inside the picture is one run.
    auto copy = [](unsigned char* to, const uint32_t* from, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const uint32_t value = from[i] & 0xFFFFFF;
            std::memcpy(to + i * 4, &value, 4);
        }
    };
    const size_t inside = static_cast<size_t>(width) * 4;
    if (inside == rowBytes) {
        copy(out, pixels, static_cast<size_t>(width) * height);
    } else {
        for (int row = 0; row < height; ++row) {
            unsigned char* to = out + rowBytes * row;
            copy(to, pixels + static_cast<size_t>(row) * width, static_cast<size_t>(width));
            std::memset(to + inside, 0xFF, rowBytes - inside); // right of the picture
        }
    }
    std::memset(out + rowBytes * height, 0xFF, rowBytes * (header.height - height)); // below it
    return true;
}

uint32_t Graph_TextWidthOf(const char* text, uint32_t length) {
    Graph_BufferLock lock;
    SIZE extent{};
    if (Graph_BufferDC == nullptr || length == 0) return 0;
    const int n = static_cast<int>(Graph_Min(length, INT32_MAX));
    bool measured;
    if (Graph_Executor.utf8) {
        std::vector<char16_t> wide(static_cast<size_t>(n));
        const size_t units = Graph_Utf8ToUtf16(text, static_cast<size_t>(n), wide.data());
        measured = GetTextExtentPoint32W(Graph_BufferDC, reinterpret_cast<const wchar_t*>(wide.data()),
                                         static_cast<int>(units), &extent) != FALSE;
    } else {
        measured = GetTextExtentPoint32A(Graph_BufferDC, text, n, &extent) != FALSE;
    }
    return measured ? static_cast<uint32_t>(extent.cx) : 0;
}

uint32_t Graph_TextWidth(const char* text) {
    return text == nullptr ? 0 : Graph_TextWidthOf(text, static_cast<uint32_t>(std::min<size_t>(std::strlen(text), UINT32_MAX)));
}

uint32_t Graph_TextHeight() {
    Graph_BufferLock lock;
    TEXTMETRICA metrics{};
    if (Graph_BufferDC == nullptr || !GetTextMetricsA(Graph_BufferDC, &metrics)) return 0;
    return static_cast<uint32_t>(metrics.tmHeight);
}

bool Graph_SavePicture(const char* path) {
    std::vector<uint8_t> file;
    {
        Graph_BufferLock lock;
        const size_t size = Graph_BmpFileSize(Graph_Width, Graph_Depth);
        HDC picture = Graph_Back.ReadDC();
        if (picture == nullptr || size == 0) return false;
        // The back buffer read as a bottom-up 24-bit DIB is the file's pixel rows as they stand.
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(Graph_Width), static_cast<LONG>(Graph_Depth),
                          1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP rows = CreateDIBSection(picture, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = rows != nullptr ? CreateCompatibleDC(picture) : nullptr;
        if (dc != nullptr) {
            HGDIOBJ old = SelectObject(dc, rows);
            if (BitBlt(dc, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth), picture, 0, 0,
                       SRCCOPY)) {
                GdiFlush();
                file.resize(size);
                Graph_PutBmpHeader(file.data(), Graph_Width, Graph_Depth);
                std::memcpy(file.data() + Graph_BmpHeaderSize, bits, size - Graph_BmpHeaderSize);
            }
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        if (rows != nullptr) DeleteObject(rows);
    }
    if (!file.empty() && Graph_IsPngPath(path) && !Graph_BmpToPng(file)) return false;
    return !file.empty() && Graph_WriteFileWhole(path, file.data(), file.size());
}

bool Graph_LoadPicture(const char* path, uint32_t x, uint32_t y) {
    // The largest file a readable picture can come in: its pixels at 32 bits
    // and the largest header and palette beside them.
    constexpr size_t kFileLimit = (64u << 20) + (64u << 10);
    std::vector<uint8_t> file;
    Graph_BmpInfo info;
    if (Graph_BufferDC == nullptr || !Graph_ReadFileWhole(path, file, kFileLimit)) return false;
    if (!Graph_ReadBmpHeader(file.data(), file.size(), &info)) return Graph_LoadOtherPicture(file, x, y);
    if (x >= Graph_Width || y >= Graph_Depth) return true; // all of it clipped
    const uint32_t cols = Graph_Min(info.width, Graph_Width - x), rows = Graph_Min(info.height, Graph_Depth - y);
    std::vector<uint32_t> block(static_cast<size_t>(cols) * rows);
    for (uint32_t r = 0; r < rows; ++r) Graph_BmpRow(info, file.data(), r, block.data() + static_cast<size_t>(r) * cols, cols);
    Graph_DrawBlock(x, y, cols, rows, block.data(), Graph_COPY);
    return true;
}
