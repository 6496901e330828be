// PNG, JPEG and GIF containers as another writer (ImageMagick) makes them:
// read whole, refused cut short at any byte or lying about their size; the
// stretch of a picture to a box. (Paths ending in .png: picture_file_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture_forms.h"

namespace {

std::vector<uint8_t> Read(const std::string& name) {
    std::ifstream in(std::string(PLIMO_TEST_PICTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(std::vector<uint8_t>& f, size_t at, int bytes, uint64_t v, bool bigEndian) {
    for (int i = 0; i < bytes; ++i) f[at + (bigEndian ? bytes - 1 - i : i)] = static_cast<uint8_t>(v >> 8 * i);
}

// Sets the CRC of the PNG chunk at `at` (bitwise, as the PNG standard gives it).
void Recrc(std::vector<uint8_t>& f, size_t at) {
    const size_t length = f[at] << 24 | f[at + 1] << 16 | f[at + 2] << 8 | f[at + 3];
    uint32_t c = ~0u;
    for (size_t i = at + 4; i < at + 8 + length; ++i)
        for (int k = 0, b = f[i]; k < 8; ++k, b >>= 1) c = (c ^ b) & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
    Put(f, at + 8 + length, 4, ~c, true);
}

TEST(PictureForms, WholeFilesReadAndEveryShorterOneRefused) {
    const struct { const char* name; Graph_PictureForm form; } files[] = {
        {"truecolour.png", Graph_PictureForm::Png}, {"palette.png", Graph_PictureForm::Png},
        {"deep.png", Graph_PictureForm::Png}, {"photo.jpg", Graph_PictureForm::Jpeg},
        {"progressive.jpg", Graph_PictureForm::Jpeg}, {"still.gif", Graph_PictureForm::Gif},
        {"moving.gif", Graph_PictureForm::Gif}};
    for (const auto& file : files) {
        const std::vector<uint8_t> bytes = Read(file.name);
        ASSERT_GT(bytes.size(), 20u) << file.name;
        Graph_PictureShape shape;
        ASSERT_TRUE(Graph_ReadPictureShape(bytes.data(), bytes.size(), &shape)) << file.name;
        EXPECT_TRUE(shape.form == file.form && shape.width == 7 && shape.height == 5) << file.name;
        for (size_t size = 0; size < bytes.size(); ++size) {
            // A block of exactly `size` bytes, so that the sanitizer sees a read past it.
            const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
            Graph_PictureShape untouched;
            EXPECT_FALSE(Graph_ReadPictureShape(cut.data(), cut.size(), &untouched)) << file.name << " cut to " << size;
            EXPECT_EQ(untouched.width, 0u);
        }
    }
}

TEST(PictureForms, SizesPastTheLimitAndBrokenStructureRefused) {
    const std::vector<uint8_t> png = Read("truecolour.png"), jpeg = Read("photo.jpg"), gif = Read("still.gif");
    const uint8_t start[] = {0xFF, 0xC0}; // the frame header
    const auto frame = static_cast<size_t>(std::search(jpeg.begin(), jpeg.end(), start, start + 2) - jpeg.begin());
    ASSERT_LT(frame, jpeg.size());
    // A file with one field set (big-endian for PNG and JPEG), then accepted at that size or refused.
    const struct { const char* what; const std::vector<uint8_t>& base; size_t at; int bytes; uint64_t value;
                   uint32_t width = 0, height = 0; } cases[] = {
        {"PNG 4096 x 4096", png, 16, 8, 0x100000001000, 4096, 4096}, {"PNG 4096 x 4097", png, 16, 8, 0x100000001001},
        {"PNG width 0", png, 16, 4, 0}, {"PNG width 2^32 - 1", png, 16, 4, ~0u}, {"PNG not IHDR first", png, 12, 1, 'i'},
        {"PNG chunk past end", png, 8, 4, 0x7FFFFFFF}, {"PNG bad signature", png, 1, 1, 'p'},
        {"PNG IHDR's CRC", png, 29, 1, 0}, {"PNG IEND's CRC", png, png.size() - 1, 1, 0},
        {"JPEG 4096 x 4096", jpeg, frame + 5, 4, 0x10001000, 4096, 4096}, {"JPEG 4097 rows", jpeg, frame + 5, 4, 0x10011000},
        {"JPEG 0 rows", jpeg, frame + 5, 2, 0}, {"JPEG segment past end", jpeg, frame + 2, 2, 0xFFFF},
        {"JPEG segment of 1 byte", jpeg, frame + 2, 2, 1}, {"GIF screen 4096 x 4097", gif, 6, 4, 0x10011000},
        {"GIF unknown block", gif, gif.size() - 1, 1, 0x3A}, {"GIF87b", gif, 4, 2, 'b' << 8 | '7'}};
    for (const auto& c : cases) {
        std::vector<uint8_t> f = c.base;
        Put(f, c.at, c.bytes, c.value, &c.base != &gif);
        if (&c.base == &png && c.at >= 16 && c.at < 29) Recrc(f, 8); // IHDR's own fields
        Graph_PictureShape shape;
        const bool read = Graph_ReadPictureShape(f.data(), f.size(), &shape);
        EXPECT_EQ(read, c.width != 0) << c.what;
        EXPECT_TRUE(shape.width == c.width && shape.height == c.height) << c.what;
    }
}

TEST(PictureForms, StretchTakesThePixelUnderEachCentre) {
    const uint32_t source[] = {1, 2, 3, 4, 5, 6}; // 3 x 2
    const struct { uint64_t boxWidth, boxHeight, left, top; uint32_t cols, rows; std::vector<uint32_t> out; } boxes[] = {
        {3, 2, 0, 0, 3, 2, {1, 2, 3, 4, 5, 6}}, {6, 3, 0, 0, 6, 3, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6}},
        {1, 1, 0, 0, 1, 1, {5}}, {2, 1, 0, 0, 2, 1, {4, 6}}, {3, 4, 1, 2, 2, 2, {5, 6, 5, 6}},
        {1ull << 32, 1ull << 32, (1ull << 32) - 2, 0, 2, 1, {3, 3}}};
    for (const auto& b : boxes) {
        std::vector<uint32_t> out(b.cols * b.rows);
        Graph_StretchPart(source, 3, 2, b.boxWidth, b.boxHeight, b.left, b.top, b.cols, b.rows, out.data());
        EXPECT_EQ(out, b.out) << b.boxWidth << " x " << b.boxHeight << " from " << b.left << "," << b.top;
    }
}

} // namespace
