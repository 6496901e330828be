// Graph's platform-free rules: unsigned ordering, GDI coordinates, text
// length, colour counts and the constant tables.
#include <gtest/gtest.h>

#include "Graph.h"
#include "GraphRequest.h"

namespace {

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
