// Picture files other than BMP, and pictures stretched to a box: the imaging
// component's decoder and encoder (picture_wic.cpp) and the loading calls
// built on them (picture_load.cpp). Declared without <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture_forms.h"

// The largest file a readable picture can come in: its pixels at 32 bits and
// room for a header, palette or metadata beside them.
constexpr size_t Graph_PictureFileLimit = (64u << 20) + (64u << 10);

// Decodes the first frame of a file that Graph_ReadPictureShape accepted as
// `shape` into pixels[0 .. width x height): 0x00RRGGBB, rows from the top
// (alpha dropped). False when the imaging component refuses the file or sees
// another size than its container said; pixels may then hold anything. Any thread: COM is
// entered on the calling thread for the call (multithreaded; a thread already
// in a single-threaded apartment stays in it).
bool Graph_DecodeWithImaging(const uint8_t* file, size_t size, const Graph_PictureShape& shape, uint32_t* pixels);

// Replaces a BMP file as Graph_EncodeBmp or Graph_SavePicture make it (24-bit,
// bottom-up) with a PNG file of the same pixels. False (file untouched) on
// any failure. Any thread, as Graph_DecodeWithImaging.
bool Graph_BmpToPng(std::vector<uint8_t>& file);

// Draws a PNG, JPEG or GIF file's picture (its bytes in `file`) with its
// top-left corner at (x, y), clipped to the picture; false, nothing drawn,
// for anything Graph_ReadPictureShape or the decoder refuses. Main thread,
// after Graph_Init.
bool Graph_LoadOtherPicture(const std::vector<uint8_t>& file, uint32_t x, uint32_t y);
