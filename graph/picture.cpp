// Uncompressed BMP files in memory. Every size is computed in 64 bits from
// 32-bit fields, so no check can be defeated by a wrap.
#include "picture.h"

#include <climits>

namespace {

// Offsets in the file (file header 14 bytes, then the info header).
enum : size_t {
    kType = 0, kFileSize = 2, kOffBits = 10,
    kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28, kCompression = 30,
    kSizeImage = 34, kXPels = 38, kYPels = 42, kClrUsed = 46, kClrImportant = 50,
    kMasks = 54, // red, green, blue: inside a V4/V5 header, or after a 40-byte one for BI_BITFIELDS
};
constexpr uint32_t kRgb = 0, kBitfields = 3;
constexpr uint32_t kPelsPerMetre = 2835; // 72 dpi

uint32_t Get16(const uint8_t* p) { return p[0] | static_cast<uint32_t>(p[1]) << 8; }
uint32_t Get32(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

// B, G, R in memory order, as BMP stores a pixel and a palette entry.
uint32_t Bgr(const uint8_t* p) { return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16; }

uint64_t Stride(uint64_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

bool WithinLimit(uint64_t width, uint64_t height) {
    return width != 0 && height != 0 && width <= Graph_BmpPixelLimit && height <= Graph_BmpPixelLimit / width;
}

// How the pixels are coded: true for the forms this reader knows. The masks
// of BI_BITFIELDS come after the 40-byte header or inside a larger one.
bool KnownCoding(const uint8_t* file, uint32_t bits, uint32_t compression, uint64_t masks) {
    if (compression == kRgb) return bits == 8 || bits == 24 || bits == 32;
    if (compression != kBitfields || bits != 32) return false;
    return Get32(file + masks) == 0x00FF0000 && Get32(file + masks + 4) == 0x0000FF00 &&
           Get32(file + masks + 8) == 0x000000FF;
}

} // namespace

bool Graph_ReadBmpHeader(const uint8_t* file, size_t size, Graph_BmpInfo* info) {
    if (file == nullptr || info == nullptr || size < kWidth) return false;
    if (file[kType] != 'B' || file[kType + 1] != 'M') return false;
    const uint32_t infoSize = Get32(file + kInfoSize);
    if (infoSize != 40 && infoSize != 108 && infoSize != 124) return false;
    const uint64_t infoEnd = kInfoSize + uint64_t{infoSize};
    if (infoEnd > size) return false;

    const auto width = static_cast<int32_t>(Get32(file + kWidth));
    const auto height = static_cast<int32_t>(Get32(file + kHeight));
    const uint32_t bits = Get16(file + kBitCount);
    const uint32_t compression = Get32(file + kCompression);
    if (width <= 0 || height == 0 || height == INT_MIN || Get16(file + kPlanes) != 1) return false;
    const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    if (!WithinLimit(static_cast<uint64_t>(width), rows)) return false;

    // What lies between the headers and the pixel rows: the masks of a
    // 40-byte BI_BITFIELDS header, or an 8-bit file's palette.
    uint64_t tablesEnd = infoEnd;
    if (compression == kBitfields && infoSize == 40) tablesEnd += 12;
    if (tablesEnd > size || !KnownCoding(file, bits, compression, kMasks)) return false;
    uint64_t colours = 0;
    if (bits == 8) {
        colours = Get32(file + kClrUsed);
        if (colours == 0) colours = 256;
        if (colours > 256) return false;
        tablesEnd += colours * 4;
    }

    const uint64_t offset = Get32(file + kOffBits);
    const uint64_t stride = Stride(static_cast<uint64_t>(width), bits);
    const uint64_t pixelsEnd = offset + stride * rows;
    const uint64_t fileSize = Get32(file + kFileSize);
    const uint64_t sizeImage = Get32(file + kSizeImage);
    if (offset < tablesEnd || pixelsEnd > size) return false;
    if (fileSize > size || (fileSize != 0 && fileSize < pixelsEnd)) return false;
    if (sizeImage != 0 && sizeImage < stride * rows) return false;

    Graph_BmpInfo found;
    found.width = static_cast<uint32_t>(width);
    found.height = static_cast<uint32_t>(rows);
    found.bits = bits;
    found.topDown = height < 0;
    found.offset = static_cast<size_t>(offset);
    found.stride = static_cast<size_t>(stride);
    for (uint64_t i = 0; i < colours; ++i) found.palette[i] = Bgr(file + infoEnd + 4 * i);
    *info = found;
    return true;
}

void Graph_BmpRow(const Graph_BmpInfo& info, const uint8_t* file, uint32_t row, uint32_t* out,
                  uint32_t count) {
    if (row >= info.height) return;
    if (count > info.width) count = info.width;
    const uint32_t stored = info.topDown ? row : info.height - 1 - row;
    const uint8_t* p = file + info.offset + stored * info.stride;
    switch (info.bits) {
    case 8:
        for (uint32_t x = 0; x < count; ++x) out[x] = info.palette[p[x]];
        break;
    case 24:
        for (uint32_t x = 0; x < count; ++x) out[x] = Bgr(p + 3 * x);
        break;
    case 32:
        for (uint32_t x = 0; x < count; ++x) out[x] = Bgr(p + 4 * x);
        break;
    default:
        break;
    }
}

size_t Graph_BmpRowBytes(uint32_t width) { return static_cast<size_t>(Stride(width, 24)); }

size_t Graph_BmpFileSize(uint32_t width, uint32_t height) {
    if (!WithinLimit(width, height)) return 0;
    return Graph_BmpHeaderSize + static_cast<size_t>(Stride(width, 24) * height);
}

void Graph_PutBmpHeader(uint8_t* file, uint32_t width, uint32_t height) {
    const size_t total = Graph_BmpFileSize(width, height);
    uint8_t* const end = file + Graph_BmpHeaderSize;
    for (uint8_t* p = file; p != end; ++p) *p = 0;
    file[kType] = 'B';
    file[kType + 1] = 'M';
    Put32(file + kFileSize, static_cast<uint32_t>(total));
    Put32(file + kOffBits, Graph_BmpHeaderSize);
    Put32(file + kInfoSize, 40);
    Put32(file + kWidth, width);
    Put32(file + kHeight, height); // positive: bottom row first
    Put16(file + kPlanes, 1);
    Put16(file + kBitCount, 24);
    Put32(file + kCompression, kRgb);
    Put32(file + kSizeImage, static_cast<uint32_t>(total - Graph_BmpHeaderSize));
    Put32(file + kXPels, kPelsPerMetre);
    Put32(file + kYPels, kPelsPerMetre);
}

void Graph_PutBmpRow(uint8_t* file, uint32_t width, uint32_t height, uint32_t row,
                     const uint32_t* pixels) {
    if (row >= height) return;
    const size_t stride = Graph_BmpRowBytes(width);
    uint8_t* p = file + Graph_BmpHeaderSize + (height - 1 - row) * stride;
    for (uint32_t x = 0; x < width; ++x, p += 3) {
        p[0] = static_cast<uint8_t>(pixels[x]);
        p[1] = static_cast<uint8_t>(pixels[x] >> 8);
        p[2] = static_cast<uint8_t>(pixels[x] >> 16);
    }
    for (size_t pad = 3 * static_cast<size_t>(width); pad < stride; ++pad) *p++ = 0;
}

bool Graph_EncodeBmp(const uint32_t* pixels, uint32_t width, uint32_t height, std::vector<uint8_t>& file) {
    const size_t total = Graph_BmpFileSize(width, height);
    if (pixels == nullptr || total == 0) return false;
    std::vector<uint8_t> made(total);
    Graph_PutBmpHeader(made.data(), width, height);
    for (uint32_t row = 0; row < height; ++row) {
        Graph_PutBmpRow(made.data(), width, height, row, pixels + static_cast<size_t>(row) * width);
    }
    file.swap(made);
    return true;
}
