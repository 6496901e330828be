// BMP files: any bytes.
//
// Properties: the reader accepts only pictures whose rows all lie inside the bytes given (libFuzzer's
// input is a heap block of its exact size, under AddressSanitizer); their pixels, written as a BMP and
// read back, are the same (so they were 0x00RRGGBB: the writer keeps 24 bits).
#include <algorithm>
#include <vector>

#include "FuzzInput.h"
#include "picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Graph_BmpInfo info;
    if (!Graph_ReadBmpHeader(data, size, &info)) return 0;
    const size_t width = info.width, height = info.height;
    std::vector<uint32_t> pixels(width * height), row(width);
    for (size_t r = 0; r < height; ++r) Graph_BmpRow(info, data, r, &pixels[r * width], info.width);
    std::vector<uint8_t> file;
    FUZZ_REQUIRE(Graph_EncodeBmp(pixels.data(), info.width, info.height, file));
    FUZZ_REQUIRE(Graph_ReadBmpHeader(file.data(), file.size(), &info) && info.width == width && info.height == height);
    for (size_t r = 0; r < height; ++r) {
        Graph_BmpRow(info, file.data(), r, row.data(), info.width);
        FUZZ_REQUIRE(std::equal(row.begin(), row.end(), &pixels[r * width]));
    }
    return 0;
}
