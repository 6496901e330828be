// Picture files other than BMP (PNG, JPEG, GIF): what their container says,
// checked before any decoder sees them, and the stretch of a decoded picture
// to a box. Plain C++ (no <windows.h>), so it is built and fuzzed under the
// sanitizers; the pixels themselves are decoded by the platform's imaging
// component (picture_wic.cpp). Nothing here keeps state: any thread.
#pragma once

#include <cstddef>
#include <cstdint>

enum class Graph_PictureForm : uint8_t { Unknown, Png, Jpeg, Gif };

// What Graph_ReadPictureShape found: the form and the size of the picture
// drawn (a GIF's first image, which may be smaller than its screen).
struct Graph_PictureShape {
    Graph_PictureForm form = Graph_PictureForm::Unknown;
    uint32_t width = 0, height = 0;
};

// Checks the container of a whole file of `size` bytes, reading nothing past
// it. Accepted: a PNG whose chunks all lie inside the file, IHDR first, at
// least one IDAT, up to IEND, the critical chunks' CRCs right; a JPEG whose segments up to its first scan lie
// inside the file, with a frame header before that scan and the end marker
// after it; a GIF87a/GIF89a whose blocks all lie inside the file up to its
// trailer, with at least one image. The picture (and a GIF's screen) must be
// 1 .. Graph_BmpPixelLimit pixels, and a GIF's images all together at most
// four times that, since decoders hold every frame. Refused (false, *shape
// untouched): anything else, so that no decoder is handed a file cut short or
// a size it would allocate before finding the file lies.
bool Graph_ReadPictureShape(const uint8_t* file, size_t size, Graph_PictureShape* shape);

// True when path ends in ".png", in any case.
bool Graph_IsPngPath(const char* path);

// The part of a box of boxWidth x boxHeight pixels that shows the picture
// source (width x height, rows from the top) stretched to it: the `cols` x
// `rows` pixels from (left, top) of the box into out, rows from the top. Each
// box pixel takes the source pixel under its centre, so a box of the
// picture's own size is the picture. Requires left + cols <= boxWidth and
// top + rows <= boxHeight.
void Graph_StretchPart(const uint32_t* source, uint32_t width, uint32_t height, uint64_t boxWidth,
                       uint64_t boxHeight, uint64_t left, uint64_t top, uint32_t cols, uint32_t rows, uint32_t* out);
