// Borland's .CHR stroke fonts: "PK\b\bBGI ", a description up to 0x1A, the
// header size, then at that offset the stroke header ('+', the character
// count, the first character, the offset of the strokes, the heights), the
// offsets of the characters' strokes, their widths and the strokes: two bytes
// each, the top bits the operation (end, move, draw), the low seven bits a
// signed coordinate. The file is untrusted: every read is checked.
#include <cstring>

#include "bgi_logic.h"

namespace {
constexpr size_t kMaxStrokes = 4096;

struct Reader {
    const uint8_t* data;
    size_t size;
    bool u8(size_t at, uint8_t& v) const {
        if (at >= size) return false;
        v = data[at];
        return true;
    }
    bool u16(size_t at, uint16_t& v) const {
        if (at > size || size - at < 2) return false;
        v = static_cast<uint16_t>(data[at] | data[at + 1] << 8);
        return true;
    }
};
int8_t signed7(uint8_t b) {
    const int v = b & 0x7F;
    return static_cast<int8_t>(v & 0x40 ? v - 0x80 : v);
}
} // namespace

bool Bgi_ReadChrFont(const uint8_t* data, size_t size, Bgi_ChrFont& font) {
    if (data == nullptr || size < 8 || std::memcmp(data, "PK\x08\x08" "BGI ", 8) != 0) return false;
    const Reader r{data, size};
    size_t at = 8;
    while (at < size && data[at] != 0x1A) ++at;
    uint16_t headerSize = 0;
    if (!r.u16(at + 1, headerSize)) return false;
    Bgi_ChrFont f;
    if (at + 3 + 4 <= size) f.name.assign(reinterpret_cast<const char*>(data + at + 3), 4);
    const size_t h = headerSize;
    uint8_t sig = 0, first = 0, scan = 0;
    uint16_t count = 0, strokesAt = 0;
    uint8_t cap = 0, base = 0, dec = 0;
    if (!r.u8(h, sig) || sig != '+' || !r.u16(h + 1, count) || !r.u8(h + 4, first) || !r.u16(h + 5, strokesAt) ||
        !r.u8(h + 7, scan) || !r.u8(h + 8, cap) || !r.u8(h + 9, base) || !r.u8(h + 10, dec))
        return false;
    if (count == 0 || count > 256 || first + count > 256) return false;
    f.first = first;
    f.capHeight = static_cast<int8_t>(cap);
    f.baseline = static_cast<int8_t>(base);
    f.descender = static_cast<int8_t>(dec);
    const size_t offsets = h + 16, widths = offsets + 2 * size_t{count}, strokes = h + strokesAt;
    if (widths + count > size || strokes > size) return false;
    f.widths.assign(data + widths, data + widths + count);
    f.glyphs.resize(count);
    for (size_t c = 0; c < count; ++c) {
        uint16_t off = 0;
        if (!r.u16(offsets + 2 * c, off)) return false;
        size_t p = strokes + off;
        std::vector<Bgi_ChrStroke>& g = f.glyphs[c];
        for (;;) {
            uint8_t b0 = 0, b1 = 0;
            if (!r.u8(p, b0) || !r.u8(p + 1, b1)) return false;
            p += 2;
            const bool op1 = b0 & 0x80, op2 = b1 & 0x80;
            if (!op1 && !op2) break; // the end of the character
            if (!op1) continue;      // "scan": nothing to draw
            if (g.size() == kMaxStrokes) return false;
            g.push_back({signed7(b0), signed7(b1), op2});
        }
    }
    font = std::move(f);
    return true;
}

const std::vector<Bgi_ChrStroke>* Bgi_ChrGlyph(const Bgi_ChrFont& font, unsigned char c, int& width) {
    const int i = static_cast<int>(c) - font.first;
    if (i < 0 || static_cast<size_t>(i) >= font.glyphs.size() || static_cast<size_t>(i) >= font.widths.size()) {
        width = 0;
        return nullptr;
    }
    width = font.widths[static_cast<size_t>(i)];
    return &font.glyphs[static_cast<size_t>(i)];
}
