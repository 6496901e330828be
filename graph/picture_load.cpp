// Loading picture files of any readable form, at their own size or stretched
// to a box. Main thread, after Graph_Init: the pixels reach the picture as an
// image block (Graph_PutImage), so they take the request path every drawing
// call takes.
#include <algorithm>

#include "GraphFiles.h"
#include "GraphInternal.h"
#include "GraphPictureCodecs.h"
#include "picture.h"

namespace {

// The whole picture of a file of any readable form.
bool Decode(const std::vector<uint8_t>& file, uint32_t& width, uint32_t& height, std::vector<uint32_t>& pixels) {
    Graph_BmpInfo info;
    if (Graph_ReadBmpHeader(file.data(), file.size(), &info)) {
        pixels.resize(static_cast<size_t>(info.width) * info.height);
        for (uint32_t r = 0; r < info.height; ++r) {
            Graph_BmpRow(info, file.data(), r, pixels.data() + static_cast<size_t>(r) * info.width, info.width);
        }
        width = info.width, height = info.height;
        return true;
    }
    Graph_PictureShape shape;
    if (!Graph_ReadPictureShape(file.data(), file.size(), &shape) ||
        !Graph_DecodeWithImaging(file.data(), file.size(), shape, pixels)) {
        return false;
    }
    width = shape.width, height = shape.height;
    return true;
}

// Draws a block of cols x rows pixels, which fill(out) writes, at (x, y).
template <class Fill> bool Put(uint32_t x, uint32_t y, uint32_t cols, uint32_t rows, Fill fill) {
    std::vector<uint32_t> block(2 + static_cast<size_t>(cols) * rows); // Graph_ImageHeader, then the pixels
    block[0] = cols, block[1] = rows;
    fill(block.data() + 2);
    return Graph_PutImage(x, y, block.data(), static_cast<uint32_t>(block.size() * 4), Graph_COPY);
}

} // namespace

bool Graph_LoadOtherPicture(const std::vector<uint8_t>& file, uint32_t x, uint32_t y) {
    Graph_PictureShape shape;
    std::vector<uint32_t> pixels;
    if (!Graph_ReadPictureShape(file.data(), file.size(), &shape) ||
        !Graph_DecodeWithImaging(file.data(), file.size(), shape, pixels)) {
        return false;
    }
    if (x >= Graph_Width || y >= Graph_Depth) return true; // all of it clipped
    const uint32_t cols = std::min(shape.width, Graph_Width - x), rows = std::min(shape.height, Graph_Depth - y);
    return Put(x, y, cols, rows, [&](uint32_t* out) {
        for (uint32_t r = 0; r < rows; ++r) {
            std::copy_n(pixels.data() + static_cast<size_t>(r) * shape.width, cols, out + static_cast<size_t>(r) * cols);
        }
    });
}

bool Graph_LoadPictureBox(const char* path, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    std::vector<uint8_t> file;
    std::vector<uint32_t> pixels;
    uint32_t width = 0, height = 0;
    if (Graph_BufferDC == nullptr || !Graph_ReadFileWhole(path, file, Graph_PictureFileLimit) ||
        !Decode(file, width, height, pixels)) {
        return false;
    }
    const uint32_t left = std::min(x1, x2), top = std::min(y1, y2);
    const uint64_t boxWidth = uint64_t{std::max(x1, x2)} - left + 1, boxHeight = uint64_t{std::max(y1, y2)} - top + 1;
    if (left >= Graph_Width || top >= Graph_Depth) return true; // all of it clipped
    const auto cols = static_cast<uint32_t>(std::min<uint64_t>(boxWidth, Graph_Width - left));
    const auto rows = static_cast<uint32_t>(std::min<uint64_t>(boxHeight, Graph_Depth - top));
    return Put(left, top, cols, rows, [&](uint32_t* out) {
        Graph_StretchPart(pixels.data(), width, height, boxWidth, boxHeight, 0, 0, cols, rows, out);
    });
}
