// Containers of PNG, JPEG and GIF files, walked block by block. Every offset
// is computed in 64 bits from fields of at most 32, and checked against the
// file's size before the bytes it names are read.
#include "picture_forms.h"

#include <vector>

#include "picture.h"

namespace {

uint32_t Be16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t Be32(const uint8_t* p) { return Be16(p) << 16 | Be16(p + 2); }
uint32_t Le16(const uint8_t* p) { return p[0] | static_cast<uint32_t>(p[1]) << 8; }

bool Within(uint64_t width, uint64_t height) {
    return width != 0 && height != 0 && width <= Graph_BmpPixelLimit && height <= Graph_BmpPixelLimit / width;
}

bool Same(const uint8_t* p, const char* text, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (p[i] != static_cast<uint8_t>(text[i])) return false;
    }
    return true;
}

// PNG's CRC-32 (ISO 3309, reflected, polynomial 0xEDB88320), eight bytes a
// step by eight tables built once (a table a byte costs a millisecond for a
// 640 x 480 picture's file, next to some 10 for decoding it).
struct CrcTables {
    uint32_t t[8][256];
    constexpr CrcTables() : t() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (uint32_t n = 0; n < 256; ++n) {
            for (int k = 1; k < 8; ++k) t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
        }
    }
};
constexpr CrcTables kCrc;

uint32_t Crc(const uint8_t* p, uint64_t count) {
    const auto& t = kCrc.t;
    uint32_t c = 0xFFFFFFFF;
    for (; count >= 8; count -= 8, p += 8) {
        const uint32_t low = c ^ (p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                                  static_cast<uint32_t>(p[3]) << 24);
        c = t[7][low & 0xFF] ^ t[6][low >> 8 & 0xFF] ^ t[5][low >> 16 & 0xFF] ^ t[4][low >> 24] ^ t[3][p[4]] ^
            t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; count != 0; --count) c = t[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFF;
}

bool ReadPng(const uint8_t* file, size_t size, Graph_PictureShape& shape) {
    // Chunks: length (big-endian, below 2^31), type, data, CRC of type and
    // data. NOTE: Wine's PNG decoder draws a file whose CRCs do not match, so
    // those of the critical chunks (type starting in upper case: IHDR, PLTE,
    // IDAT, IEND) are checked here, as libpng checks them by default.
    uint64_t at = 8;
    bool header = false, data = false;
    while (at + 12 <= size) {
        const uint64_t length = Be32(file + at);
        const uint8_t* type = file + at + 4;
        if (length > 0x7FFFFFFF || at + 12 + length > size) return false;
        if ((type[0] & 0x20) == 0 && Crc(type, 4 + length) != Be32(type + 4 + length)) return false;
        if (!header) {
            if (!Same(type, "IHDR", 4) || length != 13) return false;
            shape.width = Be32(file + at + 8);
            shape.height = Be32(file + at + 12);
            if (!Within(shape.width, shape.height)) return false;
            header = true;
        } else if (Same(type, "IDAT", 4)) {
            data = true;
        } else if (Same(type, "IEND", 4)) {
            return data;
        }
        at += 12 + length;
    }
    return false;
}

bool ReadJpeg(const uint8_t* file, size_t size, Graph_PictureShape& shape) {
    uint64_t at = 2;
    bool frame = false;
    for (;;) {
        while (at < size && file[at] == 0xFF && at + 1 < size && file[at + 1] == 0xFF) ++at; // fill bytes
        if (at + 4 > size || file[at] != 0xFF) return false;
        const uint8_t marker = file[at + 1];
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            return false; // no second start, end or restart before the first scan
        }
        const uint64_t length = Be16(file + at + 2);
        if (length < 2 || at + 2 + length > size) return false;
        // Frame headers: C0 .. CF but DHT (C4), JPG (C8) and DAC (CC).
        if (!frame && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (length < 8) return false;
            shape.height = Be16(file + at + 5);
            shape.width = Be16(file + at + 7);
            if (!Within(shape.width, shape.height)) return false;
            frame = true;
        }
        at += 2 + length;
        if (marker == 0xDA) break;
    }
    if (!frame) return false;
    // Coded data stuffs each 0xFF with a 0 and restarts are D0 .. D7, so FF D9
    // after the first scan's header is the end marker (or a later segment's).
    for (; at + 1 < size; ++at) {
        if (file[at] == 0xFF && file[at + 1] == 0xD9) return true;
    }
    return false;
}

// A GIF's data sub-blocks from `at`, up to the empty one; false when they run past the end.
bool SkipSubBlocks(const uint8_t* file, size_t size, uint64_t& at) {
    for (;;) {
        if (at >= size) return false;
        const uint64_t length = file[at];
        at += 1 + length;
        if (length == 0) return true;
    }
}

bool ReadGif(const uint8_t* file, size_t size, Graph_PictureShape& shape) {
    if (size < 13) return false;
    const uint32_t screenWidth = Le16(file + 6), screenHeight = Le16(file + 8);
    // A screen of 0 x 0 is what some writers put: the images then say the size.
    if ((screenWidth != 0 || screenHeight != 0) && !Within(screenWidth, screenHeight)) return false;
    uint64_t at = 13;
    if (file[10] & 0x80) at += 3u << ((file[10] & 7) + 1);
    uint64_t pixels = 0;
    bool image = false;
    for (;;) {
        if (at >= size) return false;
        const uint8_t block = file[at];
        if (block == 0x3B) return image;
        if (block == 0x21) {
            at += 2; // introducer and label
            if (!SkipSubBlocks(file, size, at)) return false;
        } else if (block == 0x2C) {
            if (at + 11 > size) return false;
            const uint32_t width = Le16(file + at + 5), height = Le16(file + at + 7);
            if (!Within(width, height)) return false;
            pixels += uint64_t{width} * height;
            if (pixels > 4 * Graph_BmpPixelLimit) return false;
            if (!image) shape.width = width, shape.height = height;
            image = true;
            const uint8_t packed = file[at + 9];
            at += 10;
            if (packed & 0x80) at += 3u << ((packed & 7) + 1);
            at += 1; // the LZW code size
            if (!SkipSubBlocks(file, size, at)) return false;
        } else {
            return false;
        }
    }
}

} // namespace

bool Graph_ReadPictureShape(const uint8_t* file, size_t size, Graph_PictureShape* shape) {
    if (file == nullptr || shape == nullptr) return false;
    Graph_PictureShape found;
    bool ok = false;
    if (size >= 8 && Same(file, "\x89PNG\r\n\x1a\n", 8)) {
        found.form = Graph_PictureForm::Png;
        ok = ReadPng(file, size, found);
    } else if (size >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF) {
        found.form = Graph_PictureForm::Jpeg;
        ok = ReadJpeg(file, size, found);
    } else if (size >= 6 && (Same(file, "GIF87a", 6) || Same(file, "GIF89a", 6))) {
        found.form = Graph_PictureForm::Gif;
        ok = ReadGif(file, size, found);
    }
    if (ok) *shape = found;
    return ok;
}

bool Graph_IsPngPath(const char* path) {
    if (path == nullptr) return false;
    size_t length = 0;
    while (path[length] != '\0') ++length;
    if (length < 4) return false;
    const char* end = path + length - 4;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return end[0] == '.' && lower(end[1]) == 'p' && lower(end[2]) == 'n' && lower(end[3]) == 'g';
}

void Graph_StretchPart(const uint32_t* source, uint32_t width, uint32_t height, uint64_t boxWidth,
                       uint64_t boxHeight, uint64_t left, uint64_t top, uint32_t cols, uint32_t rows, uint32_t* out) {
    // Box pixel c's centre is at (c + 1/2) / boxWidth of the way across:
    // (2c + 1) * width < 2^33 * 2^26, well inside 64 bits.
    std::vector<uint32_t> column(cols);
    for (uint32_t c = 0; c < cols; ++c) {
        column[c] = static_cast<uint32_t>((2 * (left + c) + 1) * width / (2 * boxWidth));
    }
    for (uint32_t r = 0; r < rows; ++r) {
        const uint64_t y = (2 * (top + r) + 1) * height / (2 * boxHeight);
        const uint32_t* from = source + y * width;
        uint32_t* to = out + static_cast<size_t>(r) * cols;
        for (uint32_t c = 0; c < cols; ++c) to[c] = from[column[c]];
    }
}
