// Graph's direct colours, line widths and patterns, clip rectangle, XOR
// write mode, blended blocks and origin on real GDI, each read back from the
// back buffer and from the second DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphFixture.h"

namespace {

// Graph_RGB draws exactly its colour wherever a colour number goes; numbers
// just beside the marker keep the palette meaning.
TEST_F(GraphTest, RgbColoursAreExactAndTheirNeighboursStayPaletteNumbers) {
    const struct {
        uint32_t number, value;
    } cases[] = {{Graph_RGB(1, 2, 3), 0x010203}, {Graph_RGB(255, 128, 7), 0xFF8007},
                 {0xC4000004, kRed},             {0xC6000002, kGreen},
                 {0xC4FFFF0F, 0xFFFFFF},     {Graph_RGB(0, 0, 0) + 0x01000000, kBlack}};
    EXPECT_TRUE(Graph_IsRGB(Graph_RGB(9, 9, 9)));
    EXPECT_FALSE(Graph_IsRGB(0xC4FFFFFF) || Graph_IsRGB(0xC6000000) || Graph_IsRGB(15));
    for (const auto& c : cases) {
        Graph_SetBkColor(c.number);
        Graph_ClearScreen(0);
        Graph_Rectangle(10, 10, 30, 20, c.number, true);
        Graph_Line(40, 5, 60, 5, c.number);
        Graph_Rectangle(100, 100, 140, 140, c.number, false); // a border for the flood fill
        Graph_SetBkColor(0);
        Graph_FloodFill(120, 120, c.number, c.number);
        const Picture p = Both();
        EXPECT_EQ(p.at(0, 0), c.value) << std::hex << c.number; // the background
        EXPECT_TRUE(p.all(10, 10, 30, 20, c.value) && p.all(40, 5, 60, 5, c.value)) << std::hex << c.number;
        EXPECT_TRUE(p.all(100, 100, 140, 140, c.value)) << std::hex << c.number;
    }
    Graph_ClearScreen(0);
    Graph_SetBkMix(false);
    Graph_OutText(200, 200, Graph_RGB(3, 200, 77), "W");
    EXPECT_GT(Both().count(200, 200, 230, 230, 0x03C84D), 4);
}

// Width 3 covers the rows (columns) beside a line and both its ends, and
// nothing else; a wide outline's corners are closed.
TEST_F(GraphTest, WideLinesCoverExactlyTheirBand) {
    const struct {
        uint32_t x1, y1, x2, y2;
        RECT band;
    } lines[] = {{10, 20, 30, 20, {10, 19, 30, 21}}, {30, 40, 10, 40, {10, 39, 30, 41}},
                 {50, 10, 50, 40, {49, 10, 51, 40}}, {60, 40, 60, 10, {59, 10, 61, 40}}};
    Graph_SetLineWidth(3);
    for (const auto& l : lines) {
        for (uint32_t style : {0u, 1u, 2u}) { // solid, dotted (on at both ends), solid as a polyline
            Graph_ClearScreen(0);
            Graph_SetLinestyle(style & 1);
            const Graph_Point ends[2] = {{l.x1, l.y1}, {l.x2, l.y2}};
            if (style == 2) Graph_Polyline(ends, 2, 12);
            else Graph_Line(l.x1, l.y1, l.x2, l.y2, 12);
            const Picture p = Both();
            RECT got;
            ASSERT_TRUE(p.bounds(kBlack, got));
            const RECT& b = l.band;
            EXPECT_TRUE(got.left == b.left && got.top == b.top && got.right == b.right && got.bottom == b.bottom)
                << l.x1 << "," << l.y1 << " style " << style << ": " << got.left << "," << got.top << "-"
                << got.right << "," << got.bottom;
            if (style != 1) {
                EXPECT_TRUE(p.all(b.left, b.top, b.right, b.bottom, 0xFF0000));
            }
        }
    }
    Graph_SetLinestyle(0);
    Graph_ClearScreen(0);
    Graph_Rectangle(100, 100, 140, 130, 12, false);
    const Picture p = Both();
    RECT got;
    ASSERT_TRUE(p.bounds(kBlack, got));
    EXPECT_TRUE(got.left == 99 && got.top == 99 && got.right == 141 && got.bottom == 131);
    EXPECT_TRUE(p.all(99, 99, 101, 101, 0xFF0000) && p.all(139, 129, 141, 131, 0xFF0000)); // corners
    EXPECT_TRUE(p.all(102, 102, 138, 128, kBlack));
}

// A pattern's 16 pixels, bit 0 first, from the line's first point, at width
// 1 and 3, either way along the line; Graph_SetLinestyle ends it.
TEST_F(GraphTest, LinePatternsRepeatTheirSixteenPixels) {
    for (uint16_t pattern : {0x00FF, 0x5555, 0xAAAA, 0x8001, 0x1234, 0xFFFE, 0x7FFF}) {
        for (uint32_t width : {1u, 3u}) {
            Graph_SetLineWidth(width);
            Graph_SetLinePattern(pattern);
            Graph_ClearScreen(0);
            Graph_Line(10, 50, 41, 50, 15);  // left to right
            Graph_Line(80, 60, 80, 29, 15); // upwards: bit 0 at y = 60
            const Picture p = Both();
            for (int i = 0; i < 32; ++i) {
                const uint32_t want = (pattern >> (i % 16) & 1) != 0 ? 0xFFFFFF : kBlack;
                ASSERT_EQ(p.at(10 + i, 50), want) << std::hex << pattern << " width " << width << " pixel " << i;
                ASSERT_EQ(p.at(80, 60 - i), want) << std::hex << pattern << " width " << width << " pixel " << i;
            }
            EXPECT_EQ(p.count(0, 0, 799, 599, 0xFFFFFF), static_cast<int>(width) * 2 * 2 * __builtin_popcount(pattern));
        }
    }
    Graph_SetLineWidth(1);
    Graph_SetLinestyle(0);
    Graph_ClearScreen(0);
    Graph_Line(10, 50, 41, 50, 15);
    EXPECT_TRUE(Both().all(10, 50, 41, 50, 0xFFFFFF));
}

// Nothing outside the clip rectangle changes: shapes, text, flood fill,
// image blocks (blended too), picture files, the clip clear and a frame's
// copies; Graph_ClearScreen(0) and reads still reach the whole picture.
TEST_F(GraphTest, NothingOutsideTheClipRectangleChanges) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string file = std::string(dir) + "graph_clip_test.bmp";
    Graph_Rectangle(0, 0, 799, 599, Graph_RGB(10, 20, 30), true);
    for (uint32_t x = 0; x < 800; x += 7) Graph_Line(x, 0, 799 - x, 599, 3);
    ASSERT_TRUE(Graph_SavePicture(file.c_str()));
    Graph_ClearScreen(0);
    for (uint32_t y = 0; y < 600; y += 5) Graph_Line(0, y, 799, y, 1 + y % 14);
    const Picture before = Both();
    std::vector<uint32_t> block(2 + 300 * 200, 0x80FFFFFF);
    block[0] = 300;
    block[1] = 200;
    Graph_SetClip(299, 249, 200, 150); // corners in any order
    Graph_SetLineWidth(5);
    Graph_Ellipse(150, 100, 350, 300, 14, false);
    Graph_Ellipse(150, 100, 350, 300, 13, true);
    Graph_Line(0, 0, 799, 599, Graph_RGB(1, 2, 3));
    Graph_OutText(190, 190, 15, "Clipped text runs far out of the rectangle");
    Graph_FloodFill(250, 200, Graph_RGB(200, 0, 0), Graph_RGB(9, 9, 9));
    Graph_PutImage(100, 100, block.data(), static_cast<uint32_t>(block.size() * 4), Graph_ALPHA);
    Graph_PutImage(260, 220, block.data(), static_cast<uint32_t>(block.size() * 4), Graph_XOR);
    Graph_BeginFrame();
    ASSERT_TRUE(Graph_LoadPicture(file.c_str(), 150, 120));
    Graph_EndFrame();
    Graph_BeginFrame();
    Graph_Rectangle(0, 0, 799, 599, 2, true); // paints the whole clip only: the frame must not swap pages
    Graph_EndFrame();
    Graph_SetBkColor(4);
    Graph_ClearScreen(Graph_CLEAR_CLIP);
    const Picture after = Both();
    DeleteFileA(file.c_str());
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const bool inside = x >= 200 && x <= 299 && y >= 150 && y <= 249;
            if (!inside) {
                ASSERT_EQ(after.at(x, y), before.at(x, y)) << x << "," << y;
            }
        }
    EXPECT_TRUE(after.all(200, 150, 299, 249, kRed));
    EXPECT_EQ(Graph_GetPixel(5, 0), before.at(5, 0));
    Graph_ClearScreen(0);
    EXPECT_TRUE(Both().all(0, 0, 799, 599, kRed));
    Graph_ResetClip();
    Graph_Line(0, 0, 799, 0, 15);
    EXPECT_TRUE(Both().all(0, 0, 799, 0, 0xFFFFFF));
}

// XOR twice gives the picture back exactly, for palette and RGB colours, at
// widths 1 and 3, patterned, between frames and inside one.
TEST_F(GraphTest, XorTwiceGivesThePictureBack) {
    for (uint32_t y = 0; y < 600; y += 3) Graph_Line(0, y, 799, y, y % 16);
    Graph_Rectangle(300, 300, 500, 500, Graph_RGB(77, 140, 210), true);
    const Picture before = Both();
    const Graph_Point chain[] = {{20, 500}, {120, 420}, {160, 560}, {60, 590}};
    auto draw = [&](uint32_t colour) {
        Graph_Line(10, 10, 700, 400, colour);
        Graph_Line(10, 300, 10, 300, colour);
        Graph_Rectangle(250, 250, 550, 450, colour, false);
        Graph_Ellipse(100, 100, 400, 350, colour, false);
        Graph_Arc(400, 50, 600, 250, 30, 200, colour);
        Graph_Polyline(chain, 4, colour);
        Graph_Polygon(chain, 3, colour, false);
    };
    Graph_SetWriteMode(Graph_XOR);
    for (uint32_t colour : {5u, 15u, Graph_RGB(255, 0, 170)}) {
        for (uint32_t width : {1u, 3u}) {
            Graph_SetLineWidth(width);
            for (bool framed : {false, true}) {
                if (framed) Graph_BeginFrame();
                draw(colour);
                if (framed) Graph_EndFrame();
                ASSERT_FALSE(Both().px == before.px) << std::hex << colour << " width " << width;
                if (framed) Graph_BeginFrame();
                draw(colour);
                if (framed) Graph_EndFrame();
                ASSERT_TRUE(Both().px == before.px) << std::hex << colour << " width " << width << " framed " << framed;
            }
        }
    }
    Graph_SetLinePattern(0x0F0F);
    draw(9);
    draw(9);
    EXPECT_TRUE(Both().px == before.px);
    Graph_SetWriteMode(Graph_COPY);
    Graph_SetLinestyle(0);
    Graph_Line(10, 10, 20, 10, 15);
    Graph_Line(10, 10, 20, 10, 15);
    EXPECT_TRUE(Both().all(10, 10, 20, 10, 0xFFFFFF));
}

// Straight alpha: 0 leaves the picture, 255 puts the pixel, 128 blends with
// the documented rounding; a block reaching off the picture's left edge too.
TEST_F(GraphTest, AlphaBlocksBlendWithTheDocumentedRounding) {
    Graph_Rectangle(0, 0, 799, 599, Graph_RGB(0, 100, 200), true);
    // (128, 64, 255) at 128 over (0, 100, 200) is (64, 82, 228), as AlphaBlend gives it.
    const uint32_t block[] = {5, 1, 0x00FFFFFF, 0xFF123456, 0x808040FF, 0x80FFFFFF, 0x80000000};
    const uint32_t want[] = {0x0064C8, 0x123456, 0x4052E4, 0x80B2E4, 0x003264};
    ASSERT_TRUE(Graph_PutImage(10, 10, block, sizeof block, Graph_ALPHA));
    Graph_SetOrigin(-2, 0);
    ASSERT_TRUE(Graph_PutImage(0, 20, block, sizeof block, Graph_ALPHA)); // two pixels off the picture
    const Picture p = Both();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(p.at(10 + i, 10), want[i]) << i;
        if (i >= 2) {
            EXPECT_EQ(p.at(i - 2, 20), want[i]) << i;
        }
    }
}

// Through the origin a circle whose box starts at x = -10 is GDI's own
// drawing of that box, and so is a line from left of the picture.
TEST_F(GraphTest, ShapesLeftOfThePictureMatchGdi) {
    Graph_SetOrigin(-32768, -32768);
    Graph_Ellipse(32758, 32773, 32778, 32793, Graph_RGB(255, 255, 255), false);
    Graph_Line(32758, 32800, 32790, 32810, Graph_RGB(255, 255, 255));
    Graph_SetOrigin(0, 0);
    const Picture p = Both();
    HDC dc = CreateCompatibleDC(Graph_BufferDC);
    HBITMAP bitmap = CreateCompatibleBitmap(Graph_BufferDC, 800, 600);
    SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 800, 600, BLACKNESS);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Ellipse(dc, -10, 5, 11, 26);
    MoveToEx(dc, -10, 32, nullptr);
    LineTo(dc, 22, 42);
    SetPixelV(dc, 22, 42, RGB(255, 255, 255));
    const Picture gdi = Grab(dc, 800, 600);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_GT(gdi.count(0, 0, 20, 30, 0xFFFFFF), 10);
    EXPECT_TRUE(p.px == gdi.px);

    // A circle a million pixels across: its top, through the picture, as a curve.
    Graph_ClearScreen(0);
    Graph_SetOrigin(-1000000 + 400, 0);
    Graph_Pie(0, 10, 2000000, 2000010, 80, 20, 14, true);
    Graph_Ellipse(0, 10, 2000000, 2000010, 15, false);
    Graph_SetOrigin(0, 0);
    const Picture huge = Both();
    EXPECT_EQ(huge.at(400, 10), 0xFFFFFFu);
    EXPECT_TRUE(huge.all(0, 0, 799, 9, kBlack));
    EXPECT_EQ(huge.at(400, 300), 0xFFFF00u); // inside the pie
}

} // namespace
