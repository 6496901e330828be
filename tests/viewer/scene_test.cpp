// The worked examples of the projection and the clipped drawing, checked on the
// calls that reach Graph.
#include <vector>

#include "recording_graph.h"

namespace {

using Scene = ViewerTest;
using Clip = ViewerTest;

void DrawPillars() {
    for (const Pillar& pillar : Pillars) Rect(pillar.top, PillarSize, pillar.colour, true);
}

void ExpectPoint(Point2D got, int32_t x, int32_t y) {
    EXPECT_EQ(got.x, x);
    EXPECT_EQ(got.y, y);
}

TEST_F(Scene, PillarsFromTheStart) {
    DrawPillars();
    EXPECT_EQ(TakeGraphCalls(), (std::vector<GraphCall>{
                                    RectangleCall(390, 344, 410, 429, 4, true),
                                    RectangleCall(75, 400, 125, 600, 1, true),
                                    RectangleCall(475, 328, 488, 382, 3, true),
                                }));
}

TEST_F(Scene, GroundLineEndsFromTheStart) {
    const int32_t farX[9] = {394, 395, 397, 399, 400, 401, 403, 405, 406};
    for (int32_t k = 0; k < 9; ++k) {
        const int32_t i = -400 + 100 * k;
        SCOPED_TRACE(i);
        // 394, not 393, for i = -400: negative quotients truncate toward zero.
        ExpectPoint(ToScherm({i, 10000, 0}), farX[k], 305);
        ExpectPoint(ToScherm({i, dp.y - 100, 0}), -800 + 300 * k, 1200);
    }
    HorizonLines();
    EXPECT_EQ(TakeGraphCalls(), (std::vector<GraphCall>{
                                    LineCall(0, 601, 394, 305, 7), // cut: the near end is left of the window
                                    LineCall(0, 700, 395, 305, 7),
                                    LineCall(0, 901, 397, 305, 7),
                                    LineCall(100, 1200, 399, 305, 7), // below the window, passed on as it is
                                    LineCall(400, 1200, 400, 305, 7),
                                    LineCall(700, 1200, 401, 305, 7),
                                    LineCall(1000, 1200, 403, 305, 7),
                                    LineCall(1300, 1200, 405, 305, 7),
                                    LineCall(1600, 1200, 406, 305, 7),
                                }));
}

TEST_F(Scene, PillarLevelWithTheEyeIsProjectedOneUnitInFront) {
    dp = {0, 150, 0}; // six steps forwards: pillar 2 at ry = -150
    ExpectPoint(ToScherm({-325, 0, 200}), -48350, 15300);
    ExpectPoint(ToScherm({-275, 0, 0}), -40850, 45300);
    DrawPillars();
    HorizonLines();
    const std::vector<GraphCall> calls = TakeGraphCalls();
    ASSERT_EQ(calls.size(), 11u); // pillar 2 lies wholly left of the window; the rest is drawn
    EXPECT_EQ(calls[0].colour, 4u);
    EXPECT_EQ(calls[1].colour, 3u);
}

TEST_F(Scene, PillarBehindTheEyeArrivesMirrored) {
    dp = {0, 1000, 0};
    Rect(Pillars[0].top, PillarSize, Pillars[0].colour, true);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{RectangleCall(405, 277, 395, 231, 4, true)});
}

TEST_F(Scene, PillarCutAtTheLeftEdge) {
    dp = {100, 0, 50};
    Rect(Pillars[1].top, PillarSize, Pillars[1].colour, true);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{RectangleCall(0, 450, 25, 650, 1, true)});
}

TEST_F(Scene, RisingCameraMovesNearEndsAtOnceAndFarEndsAfterThreeSteps) {
    for (int32_t step = 1; step <= 3; ++step) {
        dp.z = 25 * step;
        SCOPED_TRACE(step);
        ExpectPoint(ToScherm({0, dp.y - 100, 0}), 400, 1200 + 75 * step);
        ExpectPoint(ToScherm({0, 10000, 0}), 400, step < 3 ? 305 : 306);
    }
}

TEST_F(Scene, NegativeColourIsARangeFault) {
    EXPECT_THROW(Rect(Pillars[0].top, PillarSize, -1, true), RangeFault);
    EXPECT_TRUE(TakeGraphCalls().empty());
}

TEST_F(Clip, LineCases) {
    struct Case {
        Point2D p0, p1;
        std::vector<GraphCall> calls;
    };
    const Case cases[] = {
        // First end left: cut in floating point; 599.66 truncates to 599.
        {{-800, 1200}, {394, 305}, {LineCall(0, 601, 394, 305, 7)}},
        // The same segment the other way: integer arithmetic, one pixel apart.
        {{394, 305}, {-800, 1200}, {LineCall(394, 305, 0, 600, 7)}},
        {{100, 100}, {-300, 500}, {LineCall(100, 100, 0, 200, 7)}},
        {{100, 1200}, {399, 305}, {LineCall(100, 1200, 399, 305, 7)}},
        // Negative quotient in case 2 truncates toward zero: -33, not -34.
        {{10, 100}, {-20, 0}, {LineCall(10, 100, 0, 67, 7)}},
        // Case 2 from the edge itself keeps the first end's height.
        {{0, 50}, {-10, 500}, {LineCall(0, 50, 0, 50, 7)}},
        {{-5, 50}, {0, 60}, {}},                        // second end on the edge: nothing
        {{0, 10}, {0, 20}, {LineCall(0, 10, 0, 20, 7)}}, // both on the edge: case 3
        {{-10, 50}, {10, -50}, {}},                      // crossing exactly at y = 0
        {{-10, 50}, {10, 0}, {LineCall(0, 25, 10, 0, 7)}}, // an end at y = 0: case 1 draws
        {{10, 0}, {-10, 50}, {LineCall(10, 0, 0, 25, 7)}}, // ... case 2 draws
        {{10, 0}, {20, 50}, {}},                           // ... case 3 does not
        {{-10, 50}, {10, -1}, {}},                         // case 1, second end above
        {{10, -1}, {-10, 50}, {}},                         // case 2, first end above
        {{10, 10}, {-10, -50}, {}},                        // case 2, crossing above
        {{5, 10}, {20, -1}, {}},                           // case 3, an end above
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.p0.x << ", " << c.p0.y << ") -> (" << c.p1.x << ", "
                                          << c.p1.y << ")");
        Line2(c.p0, c.p1, 7);
        EXPECT_EQ(TakeGraphCalls(), c.calls);
    }
}

// t = 1/49 and the y difference is -98: the product is exactly -2. With a
// 64-bit mantissa it lands close enough to -2 to round to it as a double; in
// double precision it stays above and truncates to -1.
TEST_F(Clip, FirstEndOutsideCarriesA64BitMantissa) {
    Line2({-1, 102}, {48, 200}, 9);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{LineCall(0, 104, 48, 200, 9)});

    SetX87ControlWord(DoubleControlWord);
    Line2({-1, 102}, {48, 200}, 9);
    SetX87ControlWord(ProgramControlWord);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{LineCall(0, 103, 48, 200, 9)});
}

TEST_F(Clip, RectangleCases) {
    struct Case {
        Point2D p0, p1;
        std::vector<GraphCall> calls;
    };
    const Case cases[] = {
        {{-25, 450}, {25, 650}, {RectangleCall(0, 450, 25, 650, 1, true)}},
        {{30, 10}, {-5, 40}, {RectangleCall(30, 10, 0, 40, 1, true)}},
        // Never sorted: a mirrored pillar goes on as it came.
        {{405, 277}, {395, 231}, {RectangleCall(405, 277, 395, 231, 1, true)}},
        {{-25, 450}, {0, 650}, {}},
        {{-25, 450}, {-5, 650}, {}},
        // Any corner on or above the top edge drops it, in every case.
        {{-25, 0}, {25, 650}, {}},
        {{-25, 450}, {25, 0}, {}},
        {{30, 0}, {-5, 40}, {}},
        {{30, 10}, {-5, 0}, {}},
        {{30, 0}, {5, 40}, {}},
        {{30, 10}, {5, 0}, {}},
        {{30, -10}, {5, 40}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.p0.x << ", " << c.p0.y << ") (" << c.p1.x << ", "
                                          << c.p1.y << ")");
        Rectangle2(c.p0, c.p1, 1, true);
        EXPECT_EQ(TakeGraphCalls(), c.calls);
    }
    Rectangle2({1, 2}, {3, 4}, 5, false);
    EXPECT_EQ(TakeGraphCalls(), std::vector<GraphCall>{RectangleCall(1, 2, 3, 4, 5, false)});
}

} // namespace
