// Graph's drawing core on real GDI: every shape is read back from the back
// buffer and from the second DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "GraphFixture.h"

namespace {

// ---- rectangles -----------------------------------------------------------

TEST_F(GraphTest, FilledRectangleCoversBothCornersAndNothingElse) {
    Graph_Rectangle(4, 8, 10, 20, 4, true);
    Picture p = Both();
    EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 7 * 13);
    EXPECT_TRUE(p.all(4, 8, 10, 20, kRed));
}

TEST_F(GraphTest, OutlinedRectangleIsAFrameWithTheInsideUntouched) {
    Graph_Rectangle(4, 8, 10, 20, 1, false);
    Picture p = Both();
    EXPECT_TRUE(p.all(4, 8, 10, 8, kBlue) && p.all(4, 20, 10, 20, kBlue));
    EXPECT_TRUE(p.all(4, 8, 4, 20, kBlue) && p.all(10, 8, 10, 20, kBlue));
    EXPECT_TRUE(p.all(5, 9, 9, 19, kBlack));
    EXPECT_EQ(p.count(0, 0, 799, 599, kBlue), 2 * 7 + 2 * 11);
}

TEST_F(GraphTest, CornersInAnyOrderDrawTheSameRectangle) {
    Graph_Rectangle(4, 8, 10, 20, 2, false);
    const Picture reference = Both();
    const uint32_t corners[][4] = {{10, 20, 4, 8}, {4, 20, 10, 8}, {10, 8, 4, 20}};
    for (const auto& c : corners) {
        Graph_ClearScreen(0);
        Graph_Rectangle(c[0], c[1], c[2], c[3], 2, false);
        EXPECT_TRUE(Both().px == reference.px) << c[0] << "," << c[1] << " " << c[2] << "," << c[3];
    }
}

TEST_F(GraphTest, CornersAreOrderedAsUnsignedNumbers) {
    // 4 294 967 295 is the largest coordinate: the rectangle runs from 10 off
    // the right edge, and nothing is painted left of column 10.
    Graph_Rectangle(0xFFFFFFFFu, 5, 10, 20, 4, true);
    Picture p = Both();
    EXPECT_TRUE(p.all(10, 5, 799, 20, kRed));
    EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 790 * 16);
    Graph_ClearScreen(0);
    Graph_Rectangle(30, 0xFFFFFFFFu, 40, 550, 1, false); // frame from row 550 down, off the bottom
    p = Both();
    EXPECT_TRUE(p.all(30, 550, 40, 550, kBlue) && p.all(30, 550, 30, 599, kBlue) && p.all(40, 550, 40, 599, kBlue));
    EXPECT_EQ(p.count(0, 0, 799, 599, kBlue), 11 + 2 * 49);
}

TEST_F(GraphTest, CoincidingCornersSetOnePixelWhateverFillSays) {
    for (bool fill : {true, false}) {
        Graph_ClearScreen(0);
        Graph_Rectangle(3, 4, 3, 4, 4, fill);
        Picture p = Both();
        EXPECT_EQ(p.at(3, 4), kRed);
        EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 1) << "fill " << fill;
    }
}

TEST_F(GraphTest, OneColumnRectangleCoversItsRows) {
    for (bool fill : {true, false}) {
        Graph_ClearScreen(0);
        Graph_Rectangle(3, 4, 3, 9, 2, fill);
        Picture p = Both();
        EXPECT_TRUE(p.all(3, 4, 3, 9, kGreen));
        EXPECT_EQ(p.count(0, 0, 799, 599, kGreen), 6) << "fill " << fill;
    }
}

// ---- lines ----------------------------------------------------------------

TEST_F(GraphTest, LinesIncludeBothEndPointsInEitherDirection) {
    Graph_Line(0, 0, 10, 0, 2);
    Picture p = Both();
    EXPECT_TRUE(p.all(0, 0, 10, 0, kGreen));
    EXPECT_EQ(p.count(0, 0, 799, 599, kGreen), 11);

    Graph_ClearScreen(0);
    Graph_Line(40, 30, 20, 10, 4); // diagonal, drawn towards the origin
    p = Both();
    EXPECT_EQ(p.at(40, 30), kRed);
    EXPECT_EQ(p.at(20, 10), kRed);
    EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 21);
}

TEST_F(GraphTest, LineFromAPointToItselfIsThatPixel) {
    Graph_Line(5, 5, 5, 5, 4);
    Picture p = Both();
    EXPECT_EQ(p.at(5, 5), kRed);
    EXPECT_EQ(p.count(0, 0, 799, 599, kRed), 1);
}

// Lengths of the runs of `value` along row y from x1 to x2.
std::vector<int> Runs(const Picture& p, int y, int x1, int x2, uint32_t value) {
    std::vector<int> runs;
    int n = 0;
    for (int x = x1; x <= x2; ++x) {
        if (p.at(x, y) == value) {
            ++n;
        } else if (n > 0) {
            runs.push_back(n);
            n = 0;
        }
    }
    if (n > 0) runs.push_back(n);
    return runs;
}

TEST_F(GraphTest, LineStyleOneIsDottedAndTwoDashedWithASolidEndPixel) {
    Graph_SetBkMix(false);
    Graph_SetLinestyle(1);
    Graph_Line(0, 10, 300, 10, 4);
    Graph_SetLinestyle(2);
    Graph_Line(0, 20, 300, 20, 4);
    Picture p = Both();
    const auto dots = Runs(p, 10, 0, 299, kRed);
    const auto dashes = Runs(p, 20, 0, 299, kRed);
    ASSERT_GT(dots.size(), 10u);
    ASSERT_GT(dashes.size(), 3u);
    EXPECT_LT(*std::max_element(dots.begin(), dots.end()), *std::max_element(dashes.begin(), dashes.end()));
    EXPECT_GT(p.count(0, 10, 299, 10, kBlack), 0);
    EXPECT_EQ(p.at(300, 10), kRed);
    EXPECT_EQ(p.at(300, 20), kRed);

    // An end point that falls in a gap is still set, in the solid colour.
    for (uint32_t x2 = 1; x2 < 40; ++x2) Graph_Line(0, 100 + x2, x2, 100 + x2, 4);
    p = Both();
    for (int x2 = 1; x2 < 40; ++x2) EXPECT_EQ(p.at(x2, 100 + x2), kRed) << x2;
}

TEST_F(GraphTest, OutlinedRectangleUsesTheLineStyleAndFilledOneASolidFrame) {
    Graph_SetBkMix(false);
    Graph_SetLinestyle(1);
    Graph_Rectangle(10, 10, 210, 100, 4, false);
    Graph_Rectangle(10, 200, 210, 300, 4, true);
    Picture p = Both();
    EXPECT_GT(p.count(10, 10, 210, 10, kBlack), 50);
    EXPECT_TRUE(p.all(10, 200, 210, 200, kRed) && p.all(10, 200, 10, 300, kRed));
}

// ---- colours and palettes ------------------------------------------------

TEST_F(GraphTest, ColourNumbersSelectTheirLowEightBits) {
    Graph_Rectangle(0, 0, 9, 9, 258, true);
    Graph_Rectangle(20, 0, 29, 9, 4, true);
    Graph_Rectangle(20, 0, 29, 4, 256, true);
    Graph_Line(40, 0, 49, 0, 0x104);
    Picture p = Both();
    EXPECT_TRUE(p.all(0, 0, 9, 9, kGreen));
    EXPECT_TRUE(p.all(20, 0, 29, 4, kBlack) && p.all(20, 5, 29, 9, kRed));
    EXPECT_TRUE(p.all(40, 0, 49, 0, kRed));
    // Bits 4 to 7 count as well: with 32 entries loaded, 0x314 is entry 0x14, not 4.
    uint32_t table[32] = {};
    table[4] = 0xB00000;
    table[0x14] = 0x00B000;
    ASSERT_EQ(Graph_RemapAllPalette(table, 32), 0);
    Graph_Line(60, 0, 69, 0, 0x314);
    EXPECT_TRUE(Both().all(60, 0, 69, 0, kGreen));
}

// The palette selected in dc.
std::vector<PALETTEENTRY> PaletteOf(HDC dc) {
    auto palette = static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL));
    std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
    GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
    return entries;
}

TEST_F(GraphTest, StandardPaletteIsLoadedIntoBothDCs) {
    for (HDC dc : {Graph_BufferDC, Graph_WindowDC}) {
        const auto entries = PaletteOf(dc);
        ASSERT_EQ(entries.size(), 16u);
        EXPECT_EQ(entries[4].peRed, 0xB0);
        EXPECT_EQ(entries[4].peGreen, 0);
        EXPECT_EQ(entries[4].peBlue, 0);
        EXPECT_EQ(entries[6].peGreen, 0x60);
    }
    for (uint32_t c = 0; c < 16; ++c) Graph_Rectangle(c * 10, 0, c * 10 + 9, 9, c, true);
    Picture p = Both();
    for (uint32_t c = 0; c < 16; ++c) EXPECT_EQ(p.at(c * 10 + 5, 5), Graph_StdPalette[c]) << c;
}

TEST_F(GraphTest, RemapAllPaletteRefusesMoreColoursThanTheDisplayShows) {
    Graph_NumPColor = 100;
    std::vector<uint32_t> table(101, 0x123456);
    EXPECT_EQ(Graph_RemapAllPalette(table.data(), 101), -1);
    EXPECT_EQ(Graph_PaletteBuffer.count, 16u);
    EXPECT_EQ(PaletteOf(Graph_BufferDC).size(), 16u);
    EXPECT_EQ(PaletteOf(Graph_WindowDC).size(), 16u);
    Graph_Rectangle(0, 0, 9, 9, 4, true);
    EXPECT_EQ(Both().at(5, 5), kRed);

    EXPECT_EQ(Graph_RemapAllPalette(table.data(), 100), 0);
    EXPECT_EQ(PaletteOf(Graph_WindowDC).size(), 100u);
}

TEST_F(GraphTest, RemapAllPaletteLoadsAtMost1024ColoursIntoBothDCs) {
    ASSERT_EQ(Graph_NumPColor, 16777216u);
    std::vector<uint32_t> table(2000);
    for (uint32_t i = 0; i < table.size(); ++i) table[i] = (i * 0x010203u) & 0xFFFFFF;
    table[2] = 0x123456;
    EXPECT_EQ(Graph_RemapAllPalette(table.data(), 2000), 0);
    EXPECT_EQ(Graph_PaletteBuffer.count, 1024u);
    for (HDC dc : {Graph_BufferDC, Graph_WindowDC}) {
        const auto entries = PaletteOf(dc);
        ASSERT_EQ(entries.size(), 1024u);
        EXPECT_EQ(entries[1023].peBlue, (1023 * 3) & 0xFF);
    }
    Graph_Rectangle(0, 0, 9, 9, 2, true);
    EXPECT_EQ(Both().at(5, 5), 0x123456u);

    // A load of no colours leaves both DCs' palettes as they were.
    EXPECT_EQ(Graph_RemapAllPalette(table.data(), 0), 0);
    EXPECT_EQ(PaletteOf(Graph_BufferDC).size(), 1024u);
}

// Pens and brushes outlive the shapes that made them: a palette change must
// reach what is already selected, and eviction must not lose a colour.
TEST_F(GraphTest, KeptPensAndBrushesFollowThePaletteThroughEveryColour) {
    auto shapes = [](int y, uint32_t c) {
        Graph_Rectangle(0, y, 19, y + 9, c, true);
        Graph_Rectangle(30, y, 49, y + 9, c, false);
        Graph_Line(60, y, 79, y, c);
        Graph_SetStdFillMask(Graph_PATSYM_HORIZ);
        Graph_Rectangle(90, y, 109, y + 9, c, true);
        Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    };
    std::vector<uint32_t> table(256);
    for (uint32_t c = 0; c < 256; ++c) table[c] = 0x010101u * c ^ 0x00FF00;
    for (uint32_t round = 0; round < 2; ++round) {
        shapes(100, 4);
        table[4] = round == 0 ? 0x123456 : 0x654321;
        ASSERT_EQ(Graph_RemapAllPalette(table.data(), 256), 0);
        shapes(120, 4);
        Picture p = Both();
        EXPECT_TRUE(p.all(0, 120, 19, 129, table[4])) << round;
        EXPECT_TRUE(p.all(30, 120, 49, 120, table[4]) && p.all(60, 120, 79, 120, table[4])) << round;
        EXPECT_TRUE(p.all(90, 120, 109, 120, table[4])) << round;
        // Far more colours than the cache keeps, twice: the second time remakes them.
        for (uint32_t c = 0; c < 256; ++c) Graph_Rectangle(c % 32 * 4, 200 + c / 32 * 4, c % 32 * 4 + 3, 203 + c / 32 * 4, c, true);
        p = Both();
        for (uint32_t c = 0; c < 256; ++c) ASSERT_EQ(p.at(c % 32 * 4 + 1, 201 + c / 32 * 4), table[c]) << c;
    }
}

TEST_F(GraphTest, SetBkColorReturnsThePreviousColourNumber) {
    EXPECT_EQ(Graph_SetBkColor(4), 0u);
    EXPECT_EQ(Graph_SetBkColor(258), 4u);
    EXPECT_EQ(Graph_SetBkColor(1), 258u);
    Graph_ClearScreen(0);
    EXPECT_TRUE(Both().all(0, 0, 799, 599, kBlue));
}

// ---- fills ----------------------------------------------------------------

TEST_F(GraphTest, HatchedFillHasASolidFrameAndAHatchedInside) {
    Graph_SetBkColor(1);
    Graph_SetStdFillMask(Graph_PATSYM_HORIZ);
    Graph_Rectangle(10, 10, 73, 73, 4, true);
    Picture p = Both();
    EXPECT_TRUE(p.all(10, 10, 73, 10, kRed) && p.all(10, 73, 73, 73, kRed));
    EXPECT_TRUE(p.all(10, 10, 10, 73, kRed) && p.all(73, 10, 73, 73, kRed));
    int lineRows = 0;
    for (int y = 11; y <= 72; ++y) {
        const int red = p.count(11, y, 72, y, kRed);
        EXPECT_TRUE(red == 0 || red == 62) << "row " << y << " is not one horizontal stroke";
        EXPECT_TRUE(red == 62 || p.all(11, y, 72, y, kBlue)) << "row " << y;
        lineRows += red == 62;
    }
    EXPECT_GE(lineRows, 6);
    EXPECT_LE(lineRows, 62 / 2);
    EXPECT_EQ(Graph_GetStdFillMask(), Graph_PATSYM_HORIZ);
}

TEST_F(GraphTest, UserMaskPaintsOnesInTheColourAndZerosInTheBackground) {
    Graph_SetBkColor(1);
    const uint8_t full[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t none[8] = {};
    Graph_SetFillMask(full);
    Graph_Rectangle(0, 0, 31, 31, 4, true);
    Graph_SetFillMask(none);
    Graph_Rectangle(40, 0, 71, 31, 4, true);
    Picture p = Both();
    EXPECT_TRUE(p.all(0, 0, 31, 31, kRed));
    EXPECT_TRUE(p.all(41, 1, 70, 30, kBlue));
    EXPECT_TRUE(p.all(40, 0, 71, 0, kRed) && p.all(40, 0, 40, 31, kRed));

    // Row 0 at the top, most significant bit leftmost, repeating every 8 pixels.
    const uint8_t corner[8] = {0xF0, 0x80, 0x80, 0x80, 0, 0, 0, 0x01};
    Graph_SetFillMask(corner);
    Graph_Rectangle(0, 100, 40, 140, 2, true);
    p = Both();
    for (int y = 101; y < 140; ++y)
        for (int x = 1; x < 40; ++x) {
            const bool set = (corner[y % 8] >> (7 - x % 8)) & 1;
            ASSERT_EQ(p.at(x, y), set ? kGreen : kBlue) << x << "," << y;
        }
}

TEST_F(GraphTest, StandardPatternOutlivesAUserMask) {
    Graph_SetStdFillMask(Graph_PATSYM_DENSE1);
    const uint8_t none[8] = {};
    Graph_SetFillMask(none);
    EXPECT_EQ(Graph_GetStdFillMask(), Graph_PATSYM_DENSE1);
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_Rectangle(0, 0, 20, 20, 4, true);
    EXPECT_TRUE(Both().all(0, 0, 20, 20, kRed));
}

TEST_F(GraphTest, StylesAndPatternsOutOfRangeAreIgnored) {
    Graph_SetStdFillMask(Graph_PATSYM_VERT);
    Graph_SetStdFillMask(6);
    Graph_SetStdFillMask(0xFFFFFFFFu);
    EXPECT_EQ(Graph_GetStdFillMask(), Graph_PATSYM_VERT);
    Graph_SetLinestyle(6);
    EXPECT_EQ(Graph_OutlineStyle, static_cast<UINT>(PS_SOLID));
    Graph_SetBkColor(1);
    Graph_Rectangle(0, 0, 31, 31, 4, true);
    Picture p = Both();
    EXPECT_GT(p.count(1, 1, 30, 30, kBlue), 0); // still hatched
    EXPECT_GT(p.count(1, 1, 30, 30, kRed), 0);
}

// ---- clearing ---------------------------------------------------------------

TEST_F(GraphTest, ClearScreenPaintsSolidAndLeavesTheFillInForce) {
    Graph_SetBkColor(2);
    Graph_SetStdFillMask(Graph_PATSYM_DENSE2);
    Graph_ClearScreen(0);
    EXPECT_TRUE(Both().all(0, 0, 799, 599, kGreen));
    Graph_SetBkColor(1);
    Graph_Rectangle(0, 0, 63, 63, 4, true);
    Picture p = Both();
    EXPECT_GT(p.count(1, 1, 62, 62, kBlue), 0);
    EXPECT_GT(p.count(1, 1, 62, 62, kRed), 0);
    EXPECT_EQ(Graph_GetStdFillMask(), Graph_PATSYM_DENSE2);

    const uint8_t stripes[8] = {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0};
    Graph_SetFillMask(stripes);
    Graph_ClearScreen(0);
    EXPECT_TRUE(Both().all(0, 0, 799, 599, kBlue));
    Graph_Rectangle(0, 0, 63, 63, 4, true);
    p = Both();
    EXPECT_TRUE(p.all(1, 2, 62, 2, kRed) && p.all(1, 3, 62, 3, kBlue));
}

// ---- text -------------------------------------------------------------------

TEST_F(GraphTest, TextCellsStartAtTheGivenPoint) {
    Graph_SetBkColor(1);
    const std::string text = "Press q to finish the program";
    Graph_RawOutText(50, 30, 2, text.c_str(), static_cast<uint32_t>(text.size()));
    SIZE extent;
    GetTextExtentPoint32A(Graph_BufferDC, text.c_str(), static_cast<int>(text.size()), &extent);
    Picture p = Both();
    RECT box;
    ASSERT_TRUE(p.bounds(kBlack, box));
    EXPECT_EQ(box.left, 50);
    EXPECT_EQ(box.top, 30);
    EXPECT_EQ(box.right, 50 + extent.cx - 1);
    EXPECT_EQ(box.bottom, 30 + extent.cy - 1);
    EXPECT_GT(p.count(50, 30, box.right, box.bottom, kGreen), 50);
    EXPECT_EQ(p.at(50, 30), kBlue); // the opaque cell background
}

TEST_F(GraphTest, TextIsCutAt257CharactersAndEndsAtANul) {
    Close();
    Open(3200, 40);
    Graph_SetBkColor(1);
    const std::string text(300, 'x');
    Graph_RawOutText(0, 0, 2, text.data(), 300);
    SIZE extent;
    GetTextExtentPoint32A(Graph_BufferDC, text.data(), 257, &extent);
    Picture p = Both();
    RECT box;
    ASSERT_TRUE(p.bounds(kBlack, box));
    EXPECT_EQ(box.right, extent.cx - 1);

    auto wipe = [] { // to black, the cells' background staying colour 1
        Graph_SetBkColor(0);
        Graph_ClearScreen(0);
        Graph_SetBkColor(1);
    };
    wipe();
    const char withNul[6] = {'a', 'b', '\0', 'c', 'd', 'e'};
    Graph_RawOutText(0, 0, 2, withNul, 6);
    GetTextExtentPoint32A(Graph_BufferDC, "ab", 2, &extent);
    ASSERT_TRUE(Both().bounds(kBlack, box));
    EXPECT_EQ(box.right, extent.cx - 1);

    wipe();
    const char leadingNul[4] = {'\0', 'a', 'b', 'c'};
    Graph_RawOutText(0, 0, 2, leadingNul, 4);
    Graph_RawOutText(0, 0, 2, "abc", 0);
    EXPECT_FALSE(Both().bounds(kBlack, box));
}

// ---- the executor -------------------------------------------------------------

TEST_F(GraphTest, UnknownOperationCodesChangeNothing) {
    Graph_Rectangle(5, 5, 50, 50, 4, true);
    const Picture before = Both();
    for (uint8_t op : {0, 1, 5, 6, 20, 99, 255}) {
        Graph_Request.p.rectangle = {0, 0, 799, 599, 2, 1};
        Graph_Request.op = op;
        Graph_ExecuteOnBoth();
        Graph_ExecuteOnBuffer();
    }
    EXPECT_TRUE(Both().px == before.px);
    EXPECT_EQ(Graph_OutlineStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_TRUE(Graph_StdPatternFlag);
    EXPECT_EQ(Graph_StdBrushStyle, static_cast<UINT>(BS_SOLID));
}

TEST_F(GraphTest, PaletteRequestReachesBothDCs) {
    Graph_PaletteBuffer.values[0] = 0x00FF00;
    Graph_PaletteBuffer.values[1] = 0x654321;
    Graph_PaletteBuffer.count = 2;
    Graph_Request.op = OP_PALETTE;
    Graph_ExecuteOnBoth();
    for (HDC dc : {Graph_BufferDC, Graph_WindowDC}) {
        const auto entries = PaletteOf(dc);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[1].peRed, 0x65);
    }
    Graph_Rectangle(0, 0, 9, 9, 1, true);
    EXPECT_EQ(Both().at(5, 5), 0x654321u);
}

DWORD WINAPI DrawOneBox(void*) {
    Graph_Rectangle(0, 0, 9, 9, 4, true);
    return 0;
}

TEST_F(GraphTest, RequestsWaitWhileARepaintHoldsTheBackBuffer) {
    // Held twice, as the paint handler holds it around Graph_CopyBackBuffer.
    Graph_LockBackBuffer();
    Graph_LockBackBuffer();
    HANDLE drawer = CreateThread(nullptr, 0, DrawOneBox, nullptr, 0, nullptr);
    ASSERT_NE(drawer, nullptr);
    EXPECT_EQ(WaitForSingleObject(drawer, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(GetPixel(Graph_BufferDC, 5, 5), RGB(0, 0, 0));
    Graph_UnlockBackBuffer();
    EXPECT_EQ(WaitForSingleObject(drawer, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    Graph_UnlockBackBuffer();
    EXPECT_EQ(WaitForSingleObject(drawer, 5000), WAIT_OBJECT_0);
    CloseHandle(drawer);
    EXPECT_EQ(Both().at(5, 5), kRed);

    // The repaint copy takes the same lock, re-entered here, and copies the whole picture.
    HDC target = CreateCompatibleDC(Graph_BufferDC);
    HBITMAP bitmap = CreateCompatibleBitmap(Graph_BufferDC, 800, 600);
    SelectObject(target, bitmap);
    Graph_LockBackBuffer();
    Graph_CopyBackBuffer(target);
    Graph_UnlockBackBuffer();
    EXPECT_TRUE(Grab(target, 800, 600).px == Buffer().px);
    DeleteDC(target);
    DeleteObject(bitmap);
}

// ---- module state and resources ----------------------------------------------

TEST_F(GraphTest, ModuleStartsWithItsDefaults) {
    EXPECT_EQ(Graph_ColourCount, 16777216u); // WINE: Wine reports 32 bits per pixel
    EXPECT_EQ(Graph_CountDisplayColors(), 16777216u);
    const uint32_t patterns[] = {Graph_PATSYM_HORIZ, Graph_PATSYM_VERT, Graph_PATSYM_DIAG2, Graph_PATSYM_DIAG1,
                                 Graph_PATSYM_DENSE2, Graph_PATSYM_DENSE1, Graph_PATSYM_SOLID};
    const uint32_t expected[] = {0, 1, 2, 3, 4, 5, 8};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(patterns[i], expected[i]);
    EXPECT_EQ(Graph_GetStdFillMask(), 8u);

    // The finaliser closes what exists; drawing (a late repaint) still works after it.
    Graph_WindowMutex = CreateMutexA(nullptr, FALSE, nullptr);
    Graph_Finalize();
    EXPECT_EQ(Graph_WindowMutex, nullptr);
    EXPECT_EQ(Graph_HandshakeEvent, nullptr);
    Graph_Rectangle(0, 0, 9, 9, 4, true);
    EXPECT_EQ(Both().at(9, 9), kRed);
}

TEST_F(GraphTest, TenThousandShapesOfEveryKindLeakNoGdiObject) {
    Close();
    Open(64, 64);
    Graph_FreeObjects(); // those the clearing made
    // The counter must see objects come and go, or the comparison proves nothing.
    const uint32_t base = GdiObjectCount();
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    ASSERT_EQ(GdiObjectCount(), base + 1);
    DeleteObject(pen);
    ASSERT_EQ(GdiObjectCount(), base);

    const uint8_t mask[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    for (uint32_t i = 0; i < 10000; ++i) {
        const uint32_t c = i & 255; // more pens and brushes than the cache keeps
        Graph_SetLinestyle(i % 6);
        Graph_Line(i % 64, 0, 63 - i % 64, 63, c);
        Graph_Line(7, 7, 7, 7, c);
        Graph_Rectangle(1, 2, 30, 40, c, false);
        Graph_Rectangle(3, 3, 3, 3, c, true);
        Graph_SetStdFillMask(i % 2 ? Graph_PATSYM_SOLID : i % 6);
        Graph_Rectangle(5, 5, 60, 60, c, true);
        Graph_SetFillMask(mask);
        Graph_Rectangle(5, 5, 60, 60, c, true);
        Graph_RawOutText(0, 0, c, "Leak", 4);
        Graph_SetBkColor(c);
        Graph_ClearScreen(0);
        if (i % 10 == 0) Graph_InitStdPalette();
        // Evicted objects are deleted: the cache and the user pattern bitmap at most.
        if (i % 1000 == 999) {
            ASSERT_LE(GdiObjectCount(), base + Graph_ObjectCacheSize + 1) << i;
        }
    }
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_ResetDrawingDefaults(); // the one user pattern bitmap in force
    EXPECT_EQ(GdiObjectCount(), base);
}

} // namespace
