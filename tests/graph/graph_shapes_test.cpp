// Graph's further shapes and reads on real GDI: ellipses, arcs and pies,
// polylines and polygons, flood fills, image blocks and picture files, each
// checked on the back buffer and on the second DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GraphFixture.h"

namespace {

// Every ellipse lies exactly in its inclusive box, whatever the corners'
// order, and is symmetric about both of its axes.
TEST_F(GraphTest, EllipsesFillTheirBoxAndAreSymmetric) {
    const RECT boxes[] = {{10, 10, 10, 10}, {10, 10, 11, 11}, {20, 30, 70, 80}, {90, 5, 40, 24}, {3, 100, 200, 101}};
    for (const RECT& r : boxes) {
        for (bool fill : {false, true}) {
            Graph_ClearScreen(0);
            Graph_Ellipse(r.left, r.top, r.right, r.bottom, 4, fill);
            const Picture p = Both();
            RECT got;
            ASSERT_TRUE(p.bounds(kBlack, got)) << r.left << "," << r.top << " fill " << fill;
            const int x1 = std::min(r.left, r.right), x2 = std::max(r.left, r.right);
            const int y1 = std::min(r.top, r.bottom), y2 = std::max(r.top, r.bottom);
            EXPECT_EQ(got.left, x1) << x1 << "," << y1 << " fill " << fill;
            EXPECT_EQ(got.top, y1);
            EXPECT_EQ(got.right, x2);
            EXPECT_EQ(got.bottom, y2);
            for (int y = y1; y <= y2; ++y)
                for (int x = x1; x <= x2; ++x)
                    ASSERT_TRUE(p.at(x, y) == p.at(x1 + x2 - x, y) && p.at(x, y) == p.at(x, y1 + y2 - y))
                        << x << "," << y << " in " << x1 << "," << y1 << "-" << x2 << "," << y2;
        }
    }
}

// Arcs and pies: a sweep of 0 draws nothing, one of a whole turn the ellipse,
// a negative sweep the same pixels as the positive one from its other end,
// and a quarter from 0 stays in the upper right quarter.
TEST_F(GraphTest, ArcsAndPiesFollowStartAndSweep) {
    auto drawn = [&](auto draw) {
        Graph_ClearScreen(0);
        draw();
        return Both();
    };
    const Picture nothing = drawn([] {});
    EXPECT_TRUE(drawn([] { Graph_Arc(100, 100, 199, 159, 30, 0, 4); }).px == nothing.px);
    EXPECT_TRUE(drawn([] { Graph_Pie(100, 100, 199, 159, 30, 0, 4, true); }).px == nothing.px);
    EXPECT_TRUE(drawn([] { Graph_Arc(100, 100, 199, 159, 77, -400, 4); }).px ==
                drawn([] { Graph_Ellipse(100, 100, 199, 159, 4, false); }).px);
    EXPECT_TRUE(drawn([] { Graph_Pie(100, 100, 199, 159, 5, 360, 4, true); }).px ==
                drawn([] { Graph_Ellipse(100, 100, 199, 159, 4, true); }).px);
    EXPECT_TRUE(drawn([] { Graph_Arc(100, 100, 199, 159, 120, -90, 4); }).px ==
                drawn([] { Graph_Arc(100, 100, 199, 159, 390, 90, 4); }).px);
    const Picture quarter = drawn([] { Graph_Pie(100, 100, 199, 159, 0, 90, 4, true); });
    RECT box;
    ASSERT_TRUE(quarter.bounds(kBlack, box));
    EXPECT_GE(box.left, 148);
    EXPECT_LE(box.bottom, 130);
    EXPECT_EQ(box.right, 199);
    EXPECT_EQ(box.top, 100);
}

// Polylines and polygons of any count cover every vertex; 0 points draw
// nothing, 1 a pixel; a polygon of more points than one piece is drawn whole.
TEST_F(GraphTest, PolylinesAndPolygonsCoverEveryVertex) {
    std::srand(7);
    for (uint32_t count : {0u, 1u, 2u, 5u, 64u, 65u, 300u}) {
        std::vector<Graph_Point> points(count);
        for (Graph_Point& p : points) p = {static_cast<uint32_t>(std::rand() % 800), static_cast<uint32_t>(std::rand() % 600)};
        for (int kind = 0; kind < 3; ++kind) {
            Graph_ClearScreen(0);
            Graph_SetLinestyle(kind == 0 ? 1 : 0); // dotted: the vertices still show
            if (kind == 0) {
                Graph_Polyline(points.data(), count, 4);
            } else {
                Graph_Polygon(points.data(), count, 4, kind == 2);
            }
            const Picture p = Both();
            for (const Graph_Point& v : points) ASSERT_EQ(p.at(v.x, v.y), kRed) << count << " kind " << kind;
            if (count < 2) {
                EXPECT_EQ(p.count(0, 0, 799, 599, kRed), static_cast<int>(count));
            }
        }
    }
    Graph_SetLinestyle(0);
}

// A flood fill paints exactly the area inside its border, in the colour and
// pattern in force; on the border or outside the picture it paints nothing.
TEST_F(GraphTest, FloodFillPaintsExactlyTheBorderedArea) {
    Graph_Rectangle(10, 10, 59, 49, 1, false);
    Graph_Line(30, 10, 30, 49, 1);
    Graph_FloodFill(20, 20, 4, 1);
    Graph_FloodFill(30, 30, 2, 1);
    Graph_FloodFill(800, 0, 2, 1);
    Picture p = Both();
    EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 19 * 38);
    EXPECT_TRUE(p.all(11, 11, 29, 48, kRed));
    EXPECT_EQ(p.count(0, 0, 799, 599, kGreen), 0);
    Graph_SetStdFillMask(Graph_PATSYM_VERT);
    Graph_FloodFill(40, 20, 2, 1);
    p = Both();
    EXPECT_GT(p.count(31, 11, 58, 48, kGreen), 0);
    EXPECT_EQ(p.count(31, 11, 58, 48, kGreen) + p.count(31, 11, 58, 48, kBlack), 28 * 38);
}

// Image blocks: read back as drawn, outside the picture 0xFFFFFFFF, XOR twice
// gives the picture back, and a block of the wrong size is refused.
TEST_F(GraphTest, ImageBlocksReadBackAndXorTwiceRestores) {
    for (uint32_t i = 0; i < 40; ++i) Graph_Rectangle(i * 20, i * 15, i * 20 + 30, i * 15 + 40, i % 16, i % 2 == 0);
    const Picture before = Both();
    const uint32_t size = Graph_ImageSize(810, 590, 770, 560);
    std::vector<uint32_t> block(size / 4);
    ASSERT_TRUE(Graph_GetImage(810, 590, 770, 560, block.data(), size));
    EXPECT_EQ(block[0], 41u);
    EXPECT_EQ(block[1], 31u);
    EXPECT_EQ(block[2], before.at(770, 560));
    EXPECT_EQ(block[2 + 41 * 30 + 29], Graph_GetPixel(799, 590));
    EXPECT_EQ(block[2 + 30], 0xFFFFFFFFu); // (800, 560): outside
    EXPECT_EQ(Graph_GetPixel(800, 0), 0xFFFFFFFFu);
    std::vector<uint32_t> inner(Graph_ImageSize(100, 100, 163, 131) / 4); // wholly inside: read as one run
    ASSERT_TRUE(Graph_GetImage(163, 100, 100, 131, inner.data(), static_cast<uint32_t>(inner.size() * 4)));
    int wrong = 0;
    for (uint32_t i = 0; i < 64 * 32; ++i) wrong += inner[2 + i] != before.at(100 + i % 64, 100 + i / 64);
    EXPECT_EQ(wrong, 0);
    EXPECT_FALSE(Graph_GetImage(0, 0, 10, 10, block.data(), Graph_ImageSize(0, 0, 10, 10) - 1));
    EXPECT_FALSE(Graph_PutImage(5, 5, block.data(), size - 4, Graph_COPY));
    EXPECT_FALSE(Graph_PutImage(5, 5, nullptr, size, Graph_COPY));
    for (uint32_t mode : {Graph_XOR, Graph_XOR}) ASSERT_TRUE(Graph_PutImage(785, 590, block.data(), size, mode));
    EXPECT_TRUE(Both().px == before.px);
    ASSERT_TRUE(Graph_PutImage(0, 0, block.data(), size, Graph_NOT));
    EXPECT_EQ(Both().at(0, 0), ~block[2] & 0xFFFFFF);
}

// A saved picture loads back identical; a damaged file draws nothing.
TEST_F(GraphTest, SavedPicturesLoadBackIdentical) {
    for (uint32_t i = 0; i < 30; ++i) Graph_Ellipse(i * 25, i * 19, i * 25 + 60, i * 19 + 33, i % 16, i % 3 == 0);
    const Picture drawn = Both();
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    const std::string file = std::string(path) + "plimo-picture-" + std::to_string(GetCurrentProcessId()) + ".bmp";
    ASSERT_TRUE(Graph_SavePicture(file.c_str()));
    EXPECT_FALSE(Graph_SavePicture((std::string(path) + "no-such-folder\\x.bmp").c_str()));
    Graph_ClearScreen(0);
    ASSERT_TRUE(Graph_LoadPicture(file.c_str(), 0, 0));
    EXPECT_TRUE(Both().px == drawn.px);
    // Cut short by one byte: refused, nothing drawn.
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(h, -1, nullptr, FILE_END);
    SetEndOfFile(h);
    CloseHandle(h);
    Graph_ClearScreen(0);
    EXPECT_FALSE(Graph_LoadPicture(file.c_str(), 0, 0));
    EXPECT_EQ(Both().count(0, 0, 799, 599, kBlack), 800 * 600);
    DeleteFileA(file.c_str());
}

} // namespace
