// Picture files: reading and writing uncompressed BMP files in memory. Plain
// C++ (no <windows.h>), so the reader, which takes whatever bytes a file
// holds, is built and fuzzed under the sanitizers. The Win32 side reads and
// writes the files (GraphFiles.h) and moves pixels to and from the back buffer.
//
// Pixels are 0x00RRGGBB, rows counted from the top. Nothing here allocates
// except Graph_EncodeBmp; nothing keeps state: any thread.
//
// Loading, clipped to a picture of W x D pixels at (x, y), x < W, y < D:
//   Graph_BmpInfo info;
//   if (!Graph_ReadBmpHeader(file.data(), file.size(), &info)) return false;
//   const uint32_t cols = min(info.width, W - x), rows = min(info.height, D - y);
//   for (uint32_t r = 0; r < rows; ++r) Graph_BmpRow(info, file.data(), r, block + r * cols, cols);
// Saving:
//   std::vector<uint8_t> file;
//   Graph_EncodeBmp(pixels, width, height, file) && Graph_WriteFileWhole(path, file.data(), file.size());
// or, to fill the pixel rows in place (Graph_BmpRowBytes apart, bottom row
// first, 24-bit B, G, R, as GetDIBits gives them for a positive height):
//   file.resize(Graph_BmpFileSize(width, height)); Graph_PutBmpHeader(file.data(), width, height);
//   then rows at file.data() + Graph_BmpHeaderSize.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The largest picture read or written: its 0x00RRGGBB pixels take at most
// 64 MiB, so a caller may hold a whole decoded picture, and no size computed
// from it overflows 32 bits.
constexpr uint64_t Graph_BmpPixelLimit = (64u << 20) / 4;

// What Graph_ReadBmpHeader found; valid only with the bytes it read.
struct Graph_BmpInfo {
    uint32_t width = 0;  // pixels, 1 .. Graph_BmpPixelLimit
    uint32_t height = 0; // rows, 1 .. Graph_BmpPixelLimit / width
    uint32_t bits = 0;   // 8, 24 or 32 per stored pixel
    bool topDown = false;
    size_t offset = 0; // the first stored row
    size_t stride = 0; // bytes from one stored row to the next (rows pad to 4 bytes)
    // 8 bits: each index's colour as 0x00RRGGBB. Indices past the file's
    // palette are black: a defined colour costs nothing per pixel, while
    // refusing them would mean reading every pixel before drawing any.
    uint32_t palette[256] = {};
};

// Checks a whole BMP file of `size` bytes and describes it. Accepted: the
// 'BM' file header; an info header of 40 (BITMAPINFOHEADER), 108 (V4) or 124
// (V5) bytes; one plane; width > 0; height != 0 and not INT_MIN (negative:
// rows stored top row first); width x height at most Graph_BmpPixelLimit;
// uncompressed (BI_RGB) at 8 bits with at most 256 palette entries (biClrUsed,
// 0 meaning 256), 24 or 32 bits, or at 32 bits BI_BITFIELDS with exactly the
// masks red 0x00FF0000, green 0x0000FF00, blue 0x000000FF (alpha ignored).
// Refused (false, *info untouched): anything else, and a header that lies:
// bfSize beyond the bytes given (a file cut short) or, when not 0, short of
// the pixel rows; pixel rows that start inside the headers or palette or end
// past the bytes given; a biSizeImage, when not 0, short of the rows.
bool Graph_ReadBmpHeader(const uint8_t* file, size_t size, Graph_BmpInfo* info);

// The first `count` pixels (at most info.width) of row `row` (0 = top) of the
// file that Graph_ReadBmpHeader accepted into `info`, into out[0 .. count).
// Reads only inside that file; a row past the last writes nothing.
void Graph_BmpRow(const Graph_BmpInfo& info, const uint8_t* file, uint32_t row, uint32_t* out,
                  uint32_t count);

// Writing: an uncompressed 24-bit bottom-up BMP with BITMAPINFOHEADER, 72 dpi.
constexpr size_t Graph_BmpHeaderSize = 14 + 40;
// Bytes of one stored row of `width` pixels, padded to 4 bytes.
size_t Graph_BmpRowBytes(uint32_t width);
// Bytes of the whole file; 0 for an empty picture or one past the limit.
size_t Graph_BmpFileSize(uint32_t width, uint32_t height);
// Both headers into file[0 .. Graph_BmpHeaderSize), for a width and height
// whose Graph_BmpFileSize is not 0.
void Graph_PutBmpHeader(uint8_t* file, uint32_t width, uint32_t height);
// Row `row` (0 = top) of `width` 0x00RRGGBB pixels into its place in the file,
// padding zeroed; a row past the last writes nothing.
void Graph_PutBmpRow(uint8_t* file, uint32_t width, uint32_t height, uint32_t row,
                     const uint32_t* pixels);
// The whole file from width x height pixels, top row first. False (file
// untouched) for an empty picture, one past the limit or null pixels.
bool Graph_EncodeBmp(const uint32_t* pixels, uint32_t width, uint32_t height, std::vector<uint8_t>& file);
