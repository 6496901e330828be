// BMP files in memory: what is written reads back, the forms read, the files refused.
#include <gtest/gtest.h>

#include <random>

#include "picture.h"

namespace {

void Set(std::vector<uint8_t>& f, size_t at, int bytes, uint32_t v) {
    for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<uint8_t>(v >> 8 * i);
}
uint32_t Colour(uint32_t i) { return i << 16 | 0x8000 | (255 - i); } // palette entry i

// A file of 3 x |height| made field by field, its pixel bytes all 0.
std::vector<uint8_t> Bmp(int32_t height, uint16_t bits, uint32_t info = 40, uint32_t coding = 0, uint32_t colours = 0) {
    const uint32_t entries = bits == 8 ? (colours ? colours : 256) : 0, masks = coding == 3 && info == 40 ? 12 : 0;
    const size_t offset = 14 + info + masks + 4 * entries, stride = (3 * bits + 31) / 32 * 4;
    std::vector<uint8_t> f(offset + stride * std::abs(height));
    Set(f, 0, 2, 'B' | 'M' << 8), Set(f, 2, 4, f.size()), Set(f, 10, 4, offset), Set(f, 14, 4, info), Set(f, 18, 4, 3);
    Set(f, 22, 4, height), Set(f, 26, 2, 1), Set(f, 28, 2, bits), Set(f, 30, 4, coding), Set(f, 46, 4, colours);
    if (coding == 3) Set(f, 54, 4, 0xFF0000), Set(f, 58, 4, 0xFF00), Set(f, 62, 4, 0xFF);
    for (uint32_t i = 0; i < entries; ++i) Set(f, 14 + info + 4 * i, 3, Colour(i));
    return f;
}

// The picture, its rows asked for wider than it is; when refused, the width the output held before (12345).
// Read from a block of exactly the file's size, where the sanitizers see a read past its end.
std::vector<uint32_t> Decode(const std::vector<uint8_t>& cut) {
    const std::vector<uint8_t> f(cut.begin(), cut.end());
    Graph_BmpInfo info;
    info.width = 12345;
    if (!Graph_ReadBmpHeader(f.data(), f.size(), &info)) return {info.width};
    std::vector<uint32_t> pixels(size_t{info.width} * info.height + 1, 0xDEAD);
    for (uint32_t r = 0; r < info.height; ++r) Graph_BmpRow(info, f.data(), r, &pixels[r * info.width], ~0u);
    EXPECT_EQ(pixels.back(), 0xDEADu) << "a row wider than the picture";
    return {pixels.begin(), pixels.end() - 1};
}

TEST(Picture, WrittenPicturesReadBackPixelForPixel) {
    std::mt19937 random(19);
    for (int round = 0; round < 200; ++round) {
        const uint32_t width = 1 + random() % 40, height = 1 + random() % 9;
        std::vector<uint32_t> pixels(width * height);
        for (auto& p : pixels) p = random() & 0xFFFFFF;
        std::vector<uint8_t> file;
        ASSERT_TRUE(Graph_EncodeBmp(pixels.data(), width, height, file));
        ASSERT_EQ(Decode(file), pixels) << width << " x " << height;
    }
}

TEST(Picture, ReadsEachFormTopRowFirstAndRefusesTheRest) {
    // Files of 3 x 2 pixels, all stored as 0 (0: 24 bits; 1: 8 bits; 2: 32-bit BI_BITFIELDS; 3: 257 colours; 4: 16
    // colours, top-down, V5; 5: 24 bits, top-down, V4; 6: 32 bits; 7: 2, top-down; 8: 2, V5).
    const std::vector<uint8_t> bases[] = {Bmp(2, 24), Bmp(2, 8), Bmp(2, 32, 40, 3), Bmp(2, 8, 40, 0, 257),
                                          Bmp(-2, 8, 124, 0, 16), Bmp(-2, 24, 108), Bmp(2, 32), Bmp(-2, 32, 40, 3),
                                          Bmp(2, 32, 124, 3)};
    // A base with one field set (`at` < 0: from the end) or, for 0 bytes, `value` bytes cut off its end, then
    // `cut` bytes cut off; read with `top` as the top row's last pixel (set here) and index 0 or black elsewhere,
    // or refused (`top` ~0). Files cut inside what is read before the sizes are checked fail under the sanitizers.
    const struct { const char* what; int base; long at; int bytes; uint32_t value, top = ~0u; size_t cut = 0; } files[] = {
        {"8 bits", 1, -2, 1, 200, Colour(200)}, {"index past the palette: black", 4, -6, 1, 200, 0},
        {"24 bits", 0, -6, 3, 0x332211, 0x332211}, {"24, top-down", 5, -18, 3, 0x332211, 0x332211},
        {"32 bits", 6, -4, 4, 0xFF332211, 0x332211}, {"32, top-down", 7, -16, 4, 0xFF332211, 0x332211},
        {"32, V5", 8, -4, 4, 0xFF332211, 0x332211}, {"not BM", 0, 0, 1, 'X'}, {"cut by a byte", 0, 0, 0, 1},
        {"cut in the file header", 0, 0, 0, 66}, {"OS/2 header", 0, 14, 4, 12}, {"64-byte header", 0, 14, 4, 64},
        {"width 0", 0, 18, 4, 0}, {"width -1", 0, 18, 4, ~0u}, {"2^31 - 1 wide", 0, 18, 4, 0x7FFFFFFF},
        {"height 0", 0, 22, 4, 0}, {"height INT_MIN", 0, 22, 4, 0x80000000}, {"rows past the end", 0, 22, 4, 3},
        {"2 planes", 0, 26, 2, 2}, {"16 bits", 0, 28, 2, 16}, {"RLE8", 1, 30, 4, 1}, {"bit fields at 24", 0, 30, 4, 3},
        {"PNG", 0, 30, 4, 5}, {"alpha bit fields", 2, 30, 4, 6}, {"red, blue swapped", 2, 54, 4, 0xFF},
        {"257 colours", 3, 0, 0, 0}, {"offset past the end", 0, 10, 4, 79}, {"offset 2^32 - 1", 0, 10, 4, ~0u},
        {"offset in header", 0, 10, 4, 40}, {"offset in masks", 2, 10, 4, 60}, {"offset in palette", 1, 10, 4, 1074},
        {"bfSize past end", 0, 2, 4, 79}, {"bfSize short of rows", 0, 2, 4, 77}, {"biSizeImage short", 0, 34, 4, 23},
        {"cut in the info header", 0, 0, 0, 58}, {"cut in the masks", 2, 0, 0, 30},
        {"bfSize 0, rows cut by a byte", 0, 2, 4, 0, ~0u, 1}, {"bfSize 0, 8 bits cut in the palette", 1, 2, 4, 0, ~0u, 1030}};
    for (const auto& file : files) {
        std::vector<uint8_t> f = bases[file.base];
        if (file.bytes == 0) f.resize(f.size() - file.value);
        else Set(f, file.at < 0 ? f.size() + file.at : file.at, file.bytes, file.value);
        f.resize(f.size() - file.cut);
        const uint32_t o = f[28] == 8 ? Colour(0) : 0;
        const std::vector<uint32_t> read{o, o, file.top, o, o, o};
        EXPECT_EQ(Decode(f), file.top == ~0u ? std::vector<uint32_t>{12345} : read) << file.what;
    }
    // 64 MiB of pixels, whatever the file holds: this one holds the rows of both.
    std::vector<uint8_t> f = Bmp(1, 8);
    f.resize(f.size() + 4092 * 4101), Set(f, 2, 4, f.size()), Set(f, 18, 4, 4096), Set(f, 22, 4, 4096);
    EXPECT_EQ(Decode(f).size(), 4096u * 4096);
    Set(f, 18, 4, 4092), Set(f, 22, 4, 4101);
    EXPECT_EQ(Decode(f), std::vector<uint32_t>{12345});
}

} // namespace
