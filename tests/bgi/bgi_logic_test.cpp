// The BGI's platform-free arithmetic: clipping, arcs, spans, justification,
// the flood fill, colours and the .CHR reader.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bgi_logic.h"

namespace {

TEST(BgiGeometry, LinesAreCutToTheClipRectangleOnTheirOwnPixels) {
    const Bgi_Rect clip{0, 0, 99, 49};
    struct Case {
        int64_t x1, y1, x2, y2;
        bool visible;
        int64_t cx1, cy1, cx2, cy2;
    } cases[] = {
        {10, 10, 20, 20, true, 10, 10, 20, 20},             // inside
        {-10, 10, 200, 10, true, 0, 10, 99, 10},            // across, horizontal
        {50, -100, 50, 100, true, 50, 0, 50, 49},           // across, vertical
        {-2000000000, -2000000000, 2000000000, 2000000000, true, 0, 0, 49, 49}, // the diagonal, far out
        {-5, -5, -1, 100, false, 0, 0, 0, 0},               // left of it
        {200, 0, 300, 49, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int64_t x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(Bgi_ClipLine(clip, x1, y1, x2, y2), c.visible) << c.x1 << "," << c.y1;
        if (c.visible) {
            EXPECT_EQ((std::vector<int64_t>{x1, y1, x2, y2}), (std::vector<int64_t>{c.cx1, c.cy1, c.cx2, c.cy2}));
        }
    }
}

TEST(BgiGeometry, ArcsSweepCounterClockwiseFromTheStartAngle) {
    EXPECT_EQ(Bgi_ArcSweep(0, 90), 90);
    EXPECT_EQ(Bgi_ArcSweep(270, 90), 180); // through 0
    EXPECT_EQ(Bgi_ArcSweep(0, 360), 360);
    EXPECT_EQ(Bgi_ArcSweep(45, 45), 0);
    EXPECT_EQ(Bgi_ArcSweep(-90, 0), 90);
    const Bgi_Point top = Bgi_EllipsePoint(100, 100, 30, 20, 90);
    EXPECT_EQ(top.x, 100);
    EXPECT_EQ(top.y, 80); // y grows downwards
    std::vector<Bgi_Point> ring;
    Bgi_ArcOutline(0, 0, 10, 10, 0, 360, ring);
    for (size_t i = 0; i < ring.size(); ++i) { // neighbours touch: no gaps
        const Bgi_Point& a = ring[i];
        const Bgi_Point& b = ring[(i + 1) % ring.size()];
        EXPECT_LE(std::abs(a.x - b.x), 1);
        EXPECT_LE(std::abs(a.y - b.y), 1);
    }
}

TEST(BgiGeometry, PolygonSpansCoverThePixelCentresInside) {
    const Bgi_Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    std::vector<Bgi_Span> spans;
    Bgi_PolygonSpans(square, 4, Bgi_Rect{2, 0, 100, 5}, spans);
    ASSERT_EQ(spans.size(), 6u); // rows 0..5 of the clip
    EXPECT_EQ(spans[0].x1, 2);   // cut at the clip's left
    EXPECT_EQ(spans[0].x2, 9);
    Bgi_PolygonSpans(nullptr, 100000, Bgi_Rect{0, 0, 9, 9}, spans); // nothing, no read
    EXPECT_EQ(spans.size(), 6u);
}

TEST(BgiText, JustificationPlacesTheBox) {
    struct Case {
        int horiz, vert, direction, dx, dy;
    } cases[] = {
        {0, 2, 0, 0, 0},     {1, 1, 0, -20, -4}, {2, 0, 0, -40, -8}, // horizontal: 40 x 8
        {0, 0, 1, 0, -40},   {1, 2, 1, -4, 0},                        // vertical: 8 across, 40 up
    };
    for (const Case& c : cases) {
        int32_t dx, dy;
        Bgi_Justify(c.horiz, c.vert, c.direction, 40, 8, dx, dy);
        EXPECT_EQ(dx, c.dx);
        EXPECT_EQ(dy, c.dy);
    }
    EXPECT_EQ(Bgi_Glyph8x8('A')[0], 0x38); // a glyph of the table; others an empty box
    EXPECT_NE(Bgi_Glyph8x8(200)[1], 0);
}

TEST(BgiFill, FloodStopsAtTheBorderAndPaintsThePattern) {
    // A 6 x 6 block with a 4 x 4 ring of border value 9 at its centre.
    std::vector<uint32_t> px(36, 0);
    for (int i = 1; i <= 4; ++i) px[6 + i] = px[24 + i] = px[i * 6 + 1] = px[i * 6 + 4] = 9;
    const uint8_t checker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    EXPECT_EQ(Bgi_FloodFill(px.data(), 6, 6, 0, 0, 2, 2, 9, checker, 1, 2), 4u);
    EXPECT_EQ(px[2 * 6 + 2], 1u); // (2, 2): bit set in row 2
    EXPECT_EQ(px[2 * 6 + 3], 2u);
    EXPECT_EQ(px[0], 0u); // outside the ring: untouched
    EXPECT_EQ(Bgi_FloodFill(px.data(), 6, 6, 0, 0, 1, 1, 9, checker, 1, 2), 0u); // on the border
    EXPECT_EQ(Bgi_FloodFill(px.data(), 6, 6, 0, 0, 6, 0, 9, checker, 1, 2), 0u); // outside
}

TEST(BgiColours, NumbersAndRgbColoursMapBothWays) {
    uint32_t shown[16];
    for (int i = 0; i < 16; ++i) shown[i] = Bgi_EgaColours[Bgi_DefaultPalette[i]];
    EXPECT_EQ(shown[6], 0xAA5500u); // brown is EGA colour 20
    uint32_t rgb = 0;
    EXPECT_TRUE(Bgi_ColourValue(0x03000000 | 0x030201, shown, rgb));
    EXPECT_EQ(rgb, 0x010203u);
    EXPECT_FALSE(Bgi_ColourValue(16, shown, rgb));
    EXPECT_EQ(Bgi_ColourNumber(0xFFFFFF, shown), 15);
    EXPECT_EQ(Bgi_ColourNumber(0x010203, shown), 0x03030201);
    EXPECT_STREQ(Bgi_ErrorText(-14), "Invalid font number");
    EXPECT_EQ(Bgi_FindMode(9, 2)->height, 480);
    EXPECT_EQ(Bgi_FindMode(9, 3), nullptr);
    EXPECT_EQ(Bgi_MaxMode(42), -1);
}

// A .CHR file of two characters: 'A' (a stroke) and 'B' (empty).
std::vector<uint8_t> chrFile() {
    std::vector<uint8_t> f = {'P', 'K', 8, 8, 'B', 'G', 'I', ' ', 'x', 0x1A, 0x80, 0, 'T', 'E', 'S', 'T'};
    f.resize(0x80, 0);
    const uint8_t header[16] = {'+', 2, 0, 0, 'A', 0x16, 0, 0, 20, 0, 0xF9, 'T', 'E', 'S', 'T', 0};
    f.insert(f.end(), header, header + 16);
    const uint8_t offsets[] = {0, 0, 6, 0}, widths[] = {12, 9};
    f.insert(f.end(), offsets, offsets + 4);
    f.insert(f.end(), widths, widths + 2);
    const uint8_t strokes[] = {0x80, 0x00, 0x8A, 0x94, 0x00, 0x00, 0x00, 0x00};
    f.insert(f.end(), strokes, strokes + 8);
    return f;
}

TEST(BgiChr, ReadsAStrokeFontAndRefusesEveryShortenedCopy) {
    const std::vector<uint8_t> file = chrFile();
    Bgi_ChrFont font;
    ASSERT_TRUE(Bgi_ReadChrFont(file.data(), file.size(), font));
    EXPECT_EQ(font.capHeight, 20);
    EXPECT_EQ(font.descender, -7);
    int width = 0;
    const auto* a = Bgi_ChrGlyph(font, 'A', width);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(width, 12);
    ASSERT_EQ(a->size(), 2u);
    EXPECT_FALSE((*a)[0].draw);
    EXPECT_TRUE((*a)[1].draw);
    EXPECT_EQ((*a)[1].x, 10);
    EXPECT_EQ((*a)[1].y, 20);
    EXPECT_EQ(Bgi_ChrGlyph(font, 'Z', width), nullptr);
    for (size_t n = 0; n < file.size(); ++n) {
        Bgi_ChrFont cut;
        EXPECT_FALSE(Bgi_ReadChrFont(file.data(), n, cut)) << n;
    }
}

} // namespace
