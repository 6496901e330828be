// Loading picture files of any readable form, at their own size or stretched
// to a box. Main thread, after Graph_Init: the pixels reach the picture as an
// image block (Graph_PutImage), so they take the request path every drawing
// call takes.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "GraphFiles.h"
#include "GraphInternal.h"
#include "GraphPictureCodecs.h"
#include "picture.h"

namespace {

// Room for an image block of `count` pixels (Graph_ImageHeader, then the
// pixels), left unset since the decoder writes every pixel; null when the
// memory cannot be had.
std::unique_ptr<uint32_t[]> Block(size_t count) {
    return std::unique_ptr<uint32_t[]>(new (std::nothrow) uint32_t[2 + count]);
}

// Draws the block's cols x rows pixels at (x, y).
bool Draw(uint32_t x, uint32_t y, uint32_t cols, uint32_t rows, uint32_t* block) {
    block[0] = cols, block[1] = rows;
    return Graph_PutImage(x, y, block, static_cast<uint32_t>(8 + uint64_t{cols} * rows * 4), Graph_COPY);
}

// The whole picture of a file of any readable form, as the pixels of a block.
std::unique_ptr<uint32_t[]> Decode(const std::vector<uint8_t>& file, uint32_t& width, uint32_t& height) {
    Graph_BmpInfo info;
    Graph_PictureShape shape;
    std::unique_ptr<uint32_t[]> block;
    if (Graph_ReadBmpHeader(file.data(), file.size(), &info)) {
        block = Block(size_t{info.width} * info.height);
        for (uint32_t r = 0; block && r < info.height; ++r) {
            Graph_BmpRow(info, file.data(), r, block.get() + 2 + size_t{r} * info.width, info.width);
        }
        width = info.width, height = info.height;
    } else if (Graph_ReadPictureShape(file.data(), file.size(), &shape)) {
        block = Block(size_t{shape.width} * shape.height);
        if (block && !Graph_DecodeWithImaging(file.data(), file.size(), shape, block.get() + 2)) block.reset();
        width = shape.width, height = shape.height;
    }
    return block;
}

} // namespace

bool Graph_LoadOtherPicture(const std::vector<uint8_t>& file, uint32_t x, uint32_t y) {
    uint32_t width = 0, height = 0;
    const std::unique_ptr<uint32_t[]> block = Decode(file, width, height);
    if (!block) return false;
    if (x >= Graph_Width || y >= Graph_Depth) return true; // all of it clipped
    const uint32_t cols = std::min(width, Graph_Width - x), rows = std::min(height, Graph_Depth - y);
    uint32_t* pixels = block.get() + 2;
    // The rows cut to the picture's width, moved up in place (each only ever left of where it was).
    for (uint32_t r = 1; cols != width && r < rows; ++r) {
        std::memmove(pixels + size_t{r} * cols, pixels + size_t{r} * width, size_t{cols} * 4);
    }
    return Draw(x, y, cols, rows, block.get());
}

bool Graph_LoadPictureBox(const char* path, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    std::vector<uint8_t> file;
    uint32_t width = 0, height = 0;
    if (Graph_BufferDC == nullptr || !Graph_ReadFileWhole(path, file, Graph_PictureFileLimit)) return false;
    const std::unique_ptr<uint32_t[]> picture = Decode(file, width, height);
    if (!picture) return false;
    const uint32_t left = std::min(x1, x2), top = std::min(y1, y2);
    const uint64_t boxWidth = uint64_t{std::max(x1, x2)} - left + 1, boxHeight = uint64_t{std::max(y1, y2)} - top + 1;
    if (left >= Graph_Width || top >= Graph_Depth) return true; // all of it clipped
    const auto cols = static_cast<uint32_t>(std::min<uint64_t>(boxWidth, Graph_Width - left));
    const auto rows = static_cast<uint32_t>(std::min<uint64_t>(boxHeight, Graph_Depth - top));
    const std::unique_ptr<uint32_t[]> block = Block(size_t{cols} * rows);
    if (!block) return false;
    Graph_StretchPart(picture.get() + 2, width, height, boxWidth, boxHeight, 0, 0, cols, rows, block.get() + 2);
    return Draw(left, top, cols, rows, block.get());
}
