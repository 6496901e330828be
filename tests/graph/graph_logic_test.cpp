// Graph's platform-free rules: unsigned ordering, GDI coordinates, text
// length, colour counts and the constant tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Graph.h"
#include "GraphDispatch.h"
#include "GraphRequest.h"

namespace {

// Records the coordinates of every drawing call, in order.
class CoordinateGdi final : public Graph_NullDC {
public:
    struct Call {
        char what; // 'M'oveToEx, 'L'ineTo, 'P'ixel, 'T'ext
        int32_t x, y;
    };
    std::vector<Call> calls;

    void Line(Graph_DevicePoint from, Graph_DevicePoint to) override {
        calls.push_back({'M', from.x, from.y});
        calls.push_back({'L', to.x, to.y});
    }
    void Pixel(Graph_DevicePoint at, uint32_t) override { calls.push_back({'P', at.x, at.y}); }
    void Text(Graph_DevicePoint at, const char*, int32_t) override { calls.push_back({'T', at.x, at.y}); }
};

std::vector<CoordinateGdi::Call> drawn(uint8_t op, uint32_t x1, uint32_t y1, uint32_t x2 = 0, uint32_t y2 = 0,
                                       int32_t originX = 0, int32_t originY = 0) {
    Graph_RequestRecord request{};
    request.op = op;
    if (op == OP_LINE) request.p.line = {x1, y1, x2, y2, 4};
    if (op == OP_PIXEL) request.p.pixel = {x1, y1, 4};
    if (op == OP_TEXT) request.p.text = {x1, y1, 4, {'a'}};
    Graph_ExecutorState state;
    state.originX = originX;
    state.originY = originY;
    CoordinateGdi gdi;
    Graph_Dispatch(request, state, gdi);
    return gdi.calls;
}

TEST(GraphLogic, MinAndMaxCompareUnsigned) {
    EXPECT_EQ(Graph_Min(0xFFFFFFFFu, 10), 10u);
    EXPECT_EQ(Graph_Max(0xFFFFFFFFu, 10), 0xFFFFFFFFu);
    EXPECT_EQ(Graph_Min(0x80000000u, 0x7FFFFFFFu), 0x7FFFFFFFu);
}

TEST(GraphLogic, GdiCoordinatesNeverWrapNegative) {
    EXPECT_EQ(Graph_GdiCoord(799), 799);
    EXPECT_EQ(Graph_GdiCoord(0xFFFFFFFFu), static_cast<int32_t>(Graph_GdiCoordLimit));
    EXPECT_GT(Graph_GdiCoord(0xFFFFFFFFu) + 1, Graph_GdiCoord(0x7FFFFFFFu));
    EXPECT_GT(Graph_GdiCoord(0x80000000u), 0);
}

// Windows' GDI fails beyond about 2^27: every call stays within 2^24, and what
// lies in the picture is drawn as the whole request would draw it.
TEST(GraphLogic, LinesPixelsAndTextKeepGdiCoordinatesWithin2To24) {
    auto calls = drawn(OP_LINE, 10, 20, 1 << 24, 500); // in range: handed on as it is
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].x, 1 << 24);
    EXPECT_EQ(calls[1].y, 500);

    // Ends far out: the line is cut on its course (the cut end lies within a
    // pixel of the true line), the far end's pixel is not set.
    const int64_t x0 = 100, y0 = 50, x1 = 0x7FFFFFFF, y1 = 0x40000001;
    calls = drawn(OP_LINE, x0, y0, x1, y1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].x, x0);
    EXPECT_EQ(calls[0].y, y0);
    EXPECT_EQ(calls[1].x, 1 << 24);
    const long double offLine = (static_cast<long double>(calls[1].x - x0) * (y1 - y0) -
                                 static_cast<long double>(calls[1].y - y0) * (x1 - x0)) / (x1 - x0);
    EXPECT_LE(std::abs(static_cast<double>(offLine)), 1.0);
    calls = drawn(OP_LINE, 0xFFFFFFFFu, 3, 5, 0xFFFFFFFFu); // passes outside the picture's corner
    EXPECT_TRUE(calls.empty());

    EXPECT_TRUE(drawn(OP_PIXEL, 0x7FFFFFFF, 10).empty());
    EXPECT_TRUE(drawn(OP_TEXT, 10, 0x80000000u).empty());
    EXPECT_EQ(drawn(OP_PIXEL, 1 << 24, 599).size(), 1u);
}

// Through an origin coordinates reach left of and above the picture exactly
// where GDI takes them, and lines from far out on either side are cut on
// their course within [-2^24, 2^24].
TEST(GraphLogic, TheOriginCarriesSignedCoordinatesWithinGdisRange) {
    auto calls = drawn(OP_LINE, 32758, 32800, 32790, 32770, -32768, -32768);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].x == -10 && calls[0].y == 32 && calls[1].x == 22 && calls[1].y == 2);
    const struct {
        uint32_t x1, y1, x2, y2;
        int32_t ox, oy;
    } far[] = {{0, 0, 0x80000100u, 0x80000050u, INT32_MIN, INT32_MIN},
               {0xFFFFFFFFu, 7, 0, 0x7FFFFFF0u, INT32_MIN, 0},
               {3, 0xFFFFFFFFu, 0x80000000u, 0, INT32_MIN, INT32_MIN}};
    for (const auto& f : far) {
        calls = drawn(OP_LINE, f.x1, f.y1, f.x2, f.y2, f.ox, f.oy);
        for (const auto& c : calls) {
            EXPECT_TRUE(std::abs(int64_t{c.x}) <= (1 << 24) && std::abs(int64_t{c.y}) <= (1 << 24))
                << c.what << " " << c.x << "," << c.y;
        }
        if (calls.size() < 2) continue;
        const long double ax = int64_t{f.ox} + f.x1, ay = int64_t{f.oy} + f.y1;
        const long double bx = int64_t{f.ox} + f.x2, by = int64_t{f.oy} + f.y2;
        for (int k = 0; k < 2; ++k) { // each cut end lies within a pixel of the true line
            const long double off = ((calls[k].x - ax) * (by - ay) - (calls[k].y - ay) * (bx - ax)) /
                                    std::sqrt(static_cast<double>((bx - ax) * (bx - ax) + (by - ay) * (by - ay)));
            EXPECT_LE(std::abs(static_cast<double>(off)), 1.0);
        }
    }
    EXPECT_EQ(drawn(OP_PIXEL, 0, 0, 0, 0, -5, -6)[0].x, -5);
    EXPECT_TRUE(drawn(OP_PIXEL, 0, 0, 0, 0, INT32_MIN, 0).empty());
}

TEST(GraphLogic, TextEndsAtNulArrayEndOr257) {
    char text[300];
    for (char& c : text) c = 'x';
    EXPECT_EQ(Graph_TextLength(text, 300), 257u);
    EXPECT_EQ(Graph_TextLength(text, 257), 257u);
    EXPECT_EQ(Graph_TextLength(text, 12), 12u);
    text[3] = '\0';
    EXPECT_EQ(Graph_TextLength(text, 300), 3u);
    text[0] = '\0';
    EXPECT_EQ(Graph_TextLength(text, 300), 0u);
}

TEST(GraphLogic, ColourCountFromBitsAndPlanes) {
    EXPECT_EQ(Graph_ColourCountFor(8, 1), 256u);
    EXPECT_EQ(Graph_ColourCountFor(16, 1), 65536u);
    EXPECT_EQ(Graph_ColourCountFor(24, 1), 16777216u);
    EXPECT_EQ(Graph_ColourCountFor(32, 1), 16777216u);
    EXPECT_EQ(Graph_ColourCountFor(1, 4), 16u);
    EXPECT_EQ(Graph_ColourCountFor(0xFFFFFFFFu, 0xFFFFFFFFu), 16777216u);
}

TEST(GraphLogic, TablesHoldTheStandardValues) {
    EXPECT_EQ(Graph_StdPalette[4], 0xB00000u);
    EXPECT_EQ(Graph_StdPalette[6], 0xB06000u);
    EXPECT_EQ(Graph_StdPalette[15], 0xFFFFFFu);
    // PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL
    const uint32_t styles[] = {0, 2, 1, 3, 4, 5};
    for (uint32_t i = 0; i < Graph_LineStyleCount; ++i) EXPECT_EQ(Graph_LineStyleTable[i], styles[i]);
}

} // namespace
