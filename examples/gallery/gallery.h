// The gallery's shared pieces: the picture's size, the colour numbers its
// pages use, a line of text, and the pages of the further shapes (shape_pages.cpp)
// and of fonts, UTF-8 text and PNG files (text_pages.cpp).
#pragma once

#include <cstdint>
#include <cstring>

#include <plimo/Graph.h>

namespace gallery {

constexpr uint32_t kWidth = 800;
constexpr uint32_t kDepth = 600;

constexpr uint32_t kBlack = 0;
constexpr uint32_t kBlue = 1;
constexpr uint32_t kLightGrey = 7;
constexpr uint32_t kDarkGrey = 8;
constexpr uint32_t kLightGreen = 10;
constexpr uint32_t kLightRed = 12;
constexpr uint32_t kYellow = 14;
constexpr uint32_t kWhite = 15;

inline void text(uint32_t x, uint32_t y, uint32_t colour, const char* s) {
    Graph_RawOutText(x, y, colour, s, static_cast<uint32_t>(std::strlen(s)));
}

void ellipsePage();
void polygonPage();
void imagePage();
void attributePage();
void fontPage();
void utf8Page();
void pngPage();

} // namespace gallery
