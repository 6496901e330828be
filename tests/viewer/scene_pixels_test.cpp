// The scene drawn through the real Graph library into its back buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "GraphFixture.h"
#include "scene.h"
#include "clip.h"

namespace {

using ScenePixels = GraphTest;

TEST_F(ScenePixels, PillarsAtTheirRectanglesFromTheStart) {
    dp = {0, 0, 0};
    HorizonLines();
    for (const Pillar& pillar : Pillars) Rect(pillar.top, PillarSize, pillar.colour, true);
    const Picture p = Both();

    // Each pillar's colour fills its rectangle and appears nowhere else; the
    // pillars cover the ground lines behind them. Pillar 2 reaches row 600,
    // one below the picture.
    EXPECT_TRUE(p.all(390, 344, 410, 429, Graph_StdPalette[4]));
    EXPECT_EQ(p.count(0, 0, 799, 599, Graph_StdPalette[4]), 21 * 86);
    EXPECT_TRUE(p.all(75, 400, 125, 599, Graph_StdPalette[1]));
    EXPECT_EQ(p.count(0, 0, 799, 599, Graph_StdPalette[1]), 51 * 200);
    EXPECT_TRUE(p.all(475, 328, 488, 382, Graph_StdPalette[3]));
    EXPECT_EQ(p.count(0, 0, 799, 599, Graph_StdPalette[3]), 14 * 55);

    // The ground: the middle line runs straight down column 400 from the far
    // end at row 305, hidden behind pillar 1 on rows 344 to 429.
    const uint32_t grey = Graph_StdPalette[7];
    EXPECT_TRUE(p.all(400, 305, 400, 343, grey));
    EXPECT_TRUE(p.all(400, 430, 400, 599, grey));
    RECT box;
    ASSERT_TRUE(p.bounds(kBlack, box));
    EXPECT_EQ(box.top, 305); // nothing above the horizon's far ends
    EXPECT_LE(box.left, 3);  // the line cut at (0, 601) enters the picture near (3, 599)
}

// Every lit pixel of one picture has a lit pixel of the other next to it (or
// on it), both ways.
bool SameCourse(const Picture& a, const Picture& b, uint32_t colour) {
    auto covered = [colour](const Picture& from, const Picture& in) {
        for (int y = 0; y < from.height; ++y)
            for (int x = 0; x < from.width; ++x) {
                if (from.at(x, y) != colour) continue;
                const int x1 = std::max(x - 1, 0), x2 = std::min(x + 1, in.width - 1);
                const int y1 = std::max(y - 1, 0), y2 = std::min(y + 1, in.height - 1);
                if (in.count(x1, y1, x2, y2, colour) == 0) return false;
            }
        return true;
    };
    return covered(a, b) && covered(b, a);
}

// A segment handed on from beyond 32 bits, cut at INT32_MAX, keeps its course
// through the window: the same pixels as the course given with small
// coordinates, up to GDI's choice at exact half-pixel ties (WINE: Wine breaks
// those differently for the long segment).
TEST_F(ScenePixels, CutSegmentKeepsItsCourseInTheWindow) {
    const int64_t big = int64_t{1} << 40;
    const struct {
        Pixel64 from, to; // the course from beyond 32 bits
        uint32_t x2, y2;  // a point on it past the picture
    } courses[] = {
        {{10, 300}, {10 + big, 300 + big}, 410, 700},
        {{10, 301}, {10 + big, 301 + 2 * big}, 310, 901},
        {{1, 300}, {1 + 3 * big, 300 + big}, 1201, 700}, // leaves [0, INT32_MAX]^2 at the right
    };
    const uint32_t green = Graph_StdPalette[2];
    for (const auto& course : courses) {
        SCOPED_TRACE(::testing::Message() << course.x2 << ", " << course.y2);
        Graph_ClearScreen(0);
        Line2Wide(course.from, course.to, 2);
        const Picture cut = Both();
        Graph_ClearScreen(0);
        Graph_Line(static_cast<uint32_t>(course.from.x), static_cast<uint32_t>(course.from.y), course.x2,
                   course.y2, 2);
        const Picture plain = Both();
        EXPECT_GE(cut.count(0, 0, 799, 599, green), 299);
        EXPECT_EQ(cut.count(0, 0, 799, 599, green), plain.count(0, 0, 799, 599, green));
        EXPECT_TRUE(SameCourse(cut, plain, green));
    }
    // The slope-1 course has no ties: pixel for pixel.
    Graph_ClearScreen(0);
    Line2Wide({10, 300}, {10 + big, 300 + big}, 2);
    const Picture cut = Both();
    Graph_ClearScreen(0);
    Graph_Line(10, 300, 410, 700, 2);
    EXPECT_TRUE(cut.px == Both().px);
}

} // namespace
