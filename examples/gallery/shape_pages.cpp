// The gallery's pages of the further shapes: ellipses, arcs and pies;
// polylines, polygons and flood fills; pixels, image blocks and picture files.
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
