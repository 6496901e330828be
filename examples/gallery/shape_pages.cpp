// The gallery's pages of the further shapes: ellipses, arcs and pies;
// polylines, polygons and flood fills; pixels, image blocks and picture files;
// direct colours, line widths and patterns, clipping, XOR and blended blocks.
#include <cstdio>
#include <cstdlib>

#include "gallery.h"

namespace gallery {

// ---- page 6: ellipses, arcs and pies --------------------------------------------

void ellipsePage() {
    text(20, 60, kWhite, "Graph_Ellipse fills or outlines the ellipse inside its box:");
    Graph_Ellipse(20, 90, 219, 209, kLightRed, true);
    Graph_Ellipse(240, 90, 359, 209, kYellow, false);
    Graph_SetStdFillMask(Graph_PATSYM_DENSE1);
    Graph_Ellipse(380, 90, 779, 209, kLightGreen, true);
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    text(20, 240, kWhite, "Graph_Arc and Graph_Pie: start and sweep in degrees, counter-clockwise from 3 o'clock:");
    const int32_t sweeps[4] = {45, 135, 270, -90};
    for (uint32_t i = 0; i < 4; ++i) {
        const uint32_t x = 20 + i * 195;
        char label[32];
        std::snprintf(label, sizeof label, "0, %d", static_cast<int>(sweeps[i]));
        Graph_Rectangle(x, 270, x + 150, 420, kDarkGrey, false);
        Graph_Arc(x, 270, x + 150, 420, 0, sweeps[i], kYellow);
        Graph_Pie(x + 25, 295, x + 125, 395, 0, sweeps[i], 2 + i, true);
        text(x, 430, kLightGrey, label);
    }
}

// ---- page 7: polylines, polygons and flood fill ------------------------------------

void polygonPage() {
    text(20, 60, kWhite, "Graph_Polyline (open, dotted), Graph_Polygon (closed, filled), Graph_FloodFill:");
    Graph_Point zigzag[12];
    for (uint32_t i = 0; i < 12; ++i) zigzag[i] = {20 + i * 20, i % 2 ? 120u : 220u};
    Graph_SetLinestyle(1);
    Graph_Polyline(zigzag, 12, kYellow);
    Graph_SetLinestyle(0);
    const Graph_Point star[10] = {{400, 90},  {422, 150}, {490, 155}, {435, 195}, {455, 260},
                                  {400, 222}, {345, 260}, {365, 195}, {310, 155}, {378, 150}};
    Graph_Polygon(star, 10, kLightRed, true);
    // A figure of lines, then filled up to its border from a point inside.
    Graph_Ellipse(560, 90, 760, 260, kWhite, false);
    Graph_Line(560, 175, 760, 175, kWhite);
    Graph_SetStdFillMask(Graph_PATSYM_DIAG1);
    Graph_FloodFill(660, 130, kLightGreen, kWhite);
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_FloodFill(660, 220, kBlue, kWhite);
    text(20, 300, kLightGrey, "The fill stops at pixels of the border colour number, in the pattern in force.");
}

// ---- page 8: pixels, image blocks and picture files ---------------------------------

void imagePage() {
    text(20, 60, kWhite, "Graph_GetImage, then Graph_PutImage with each mode:");
    for (uint32_t i = 0; i < 8; ++i) Graph_Ellipse(20 + i * 8, 90, 99 - i * 8, 169, 8 + i, true);
    for (uint32_t i = 0; i < 80; i += 3) Graph_SetPixel(20 + i, 90 + (i * 7) % 80, kWhite);
    static uint8_t block[8 + 80 * 80 * 4];
    const uint32_t size = Graph_ImageSize(20, 90, 99, 169);
    if (size <= sizeof block && Graph_GetImage(20, 90, 99, 169, block, size)) {
        const char* const modes[5] = {"COPY", "XOR", "OR", "AND", "NOT"};
        for (uint32_t mode = Graph_COPY; mode <= Graph_NOT; ++mode) {
            const uint32_t x = 140 + mode * 130;
            Graph_Rectangle(x, 90, x + 39, 169, kLightGrey, true);
            Graph_PutImage(x, 90, block, size, mode);
            text(x, 180, kLightGrey, modes[mode]);
        }
    }
    char line[80];
    std::snprintf(line, sizeof line, "Graph_GetPixel(60, 130) = 0x%06X", static_cast<unsigned>(Graph_GetPixel(60, 130)));
    text(20, 220, kWhite, line);
    // The page so far saved as a BMP file, and loaded again lower down.
    char path[260];
    std::snprintf(path, sizeof path, "%s\\plimo-gallery.bmp", std::getenv("TEMP") ? std::getenv("TEMP") : ".");
    const bool saved = Graph_SavePicture(path);
    const bool loaded = saved && Graph_LoadPicture(path, 20, 300);
    std::remove(path);
    text(20, 270, kWhite, saved && loaded ? "Graph_SavePicture, then Graph_LoadPicture at (20, 300):"
                                          : "The picture file could not be written or read.");
}

} // namespace gallery

namespace gallery {

// ---- page 9: direct colours, widths, patterns, clip, XOR and blending ---------------

void attributePage() {
    text(20, 60, kWhite, "Graph_RGB: any colour, here a ramp of red against blue:");
    for (uint32_t i = 0; i < 64; ++i) {
        const auto v = static_cast<uint8_t>(i * 4);
        Graph_Rectangle(20 + i * 12, 85, 31 + i * 12, 115, Graph_RGB(v, 40, static_cast<uint8_t>(255 - v)), true);
    }
    text(20, 130, kWhite, "Graph_SetLineWidth 1, 3, 7 and 15; Graph_SetLinePattern 0x00FF, 0x3333, 0x0F27:");
    const uint32_t widths[4] = {1, 3, 7, 15};
    for (uint32_t i = 0; i < 4; ++i) {
        Graph_SetLineWidth(widths[i]);
        Graph_Line(20, 165 + i * 30, 360, 165 + i * 30, kYellow);
    }
    const uint16_t patterns[3] = {0x00FF, 0x3333, 0x0F27};
    Graph_SetLineWidth(3);
    for (uint32_t i = 0; i < 3; ++i) {
        Graph_SetLinePattern(patterns[i]);
        Graph_Line(400, 165 + i * 30, 780, 165 + i * 30, kLightGreen);
    }
    Graph_Rectangle(400, 255, 780, 270, Graph_RGB(255, 128, 0), false);
    Graph_SetLinestyle(0);
    Graph_SetLineWidth(1);

    text(20, 290, kWhite, "Graph_SetClip: shapes and text cut to the box; Graph_SetWriteMode(Graph_XOR):");
    Graph_Rectangle(19, 319, 261, 501, kDarkGrey, false);
    Graph_SetClip(20, 320, 260, 500);
    Graph_Ellipse(100, 250, 400, 560, kLightRed, true);
    Graph_OutText(30, 480, kWhite, "clipped text runs out of its box and further");
    Graph_ResetClip();
    for (uint32_t i = 0; i < 6; ++i) Graph_Rectangle(300 + i * 30, 320, 330 + i * 30, 500, 1 + i, true);
    Graph_SetWriteMode(Graph_XOR);
    Graph_SetLineWidth(5);
    for (uint32_t i = 0; i < 8; ++i) Graph_Line(290, 330 + i * 22, 500, 490 - i * 22, kWhite);
    Graph_SetLineWidth(1);
    Graph_SetWriteMode(Graph_COPY);

    text(540, 320, kWhite, "Graph_ALPHA blocks:");
    static uint32_t block[2 + 100 * 100];
    block[0] = block[1] = 100;
    for (uint32_t y = 0; y < 100; ++y)
        for (uint32_t x = 0; x < 100; ++x) block[2 + y * 100 + x] = (x * 255 / 99) << 24 | 0x00FFFF;
    Graph_Rectangle(540, 345, 760, 500, kBlue, true);
    Graph_Rectangle(600, 370, 700, 470, kLightRed, true);
    Graph_PutImage(560, 385, block, sizeof block, Graph_ALPHA);
    text(20, 540, kLightGrey, "Every attribute goes back to its default at the end of the page.");
}

} // namespace gallery
