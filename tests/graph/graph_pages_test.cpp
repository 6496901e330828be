// Pages: each drawn on and shown by itself, the window getting only the
// visual page, reads and frames on the active one.
#include <windows.h>

#include <gtest/gtest.h>

#include "GraphFixture.h"

namespace {

TEST_F(GraphTest, PagesAreDrawnReadAndShownIndependently) {
    auto window = [this] { return Second(); };
    auto repaint = [] { // what a repaint copies into the window
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 800, 600);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        Graph_CopyBackBuffer(dc);
        const Picture p = Grab(dc, 800, 600);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return p;
    };
    Graph_Rectangle(0, 0, 9, 9, 1, true); // page 0: blue
    Graph_SetActivePage(1);
    EXPECT_EQ(Graph_GetPixel(5, 5), kBlack); // made cleared, read from the active page
    Graph_Rectangle(0, 0, 9, 9, 4, true);    // page 1: red, not on the window
    EXPECT_EQ(Graph_GetPixel(5, 5), kRed);
    EXPECT_EQ(window().at(5, 5), kBlue);
    EXPECT_EQ(repaint().at(5, 5), kBlue);
    Graph_BeginFrame(); // a frame on a page not shown shows nothing at its end
    Graph_Rectangle(20, 0, 29, 9, 4, true);
    Graph_EndFrame();
    EXPECT_EQ(window().at(25, 5), kBlack);

    Graph_SetVisualPage(1);
    EXPECT_EQ(window().at(5, 5), kRed);
    EXPECT_EQ(window().at(25, 5), kRed);
    EXPECT_EQ(repaint().at(5, 5), kRed);
    Graph_Rectangle(40, 0, 49, 9, 2, true); // shown and active: both
    EXPECT_EQ(window().at(45, 5), kGreen);

    // Page 0 kept its picture; the palette loaded meanwhile reaches it.
    const uint32_t palette[16] = {0, 0x102030};
    Graph_RemapAllPalette(palette, 16);
    Graph_SetActivePage(0);
    EXPECT_EQ(Graph_GetPixel(5, 5), kBlue);
    EXPECT_EQ(Graph_GetPixel(25, 5), kBlack);
    Graph_SetPixel(60, 5, 1);
    EXPECT_EQ(Graph_GetPixel(60, 5), 0x102030u);
    Graph_InitStdPalette();
    Graph_SetBkColor(2);
    Graph_SetActivePage(3); // made now: cleared to the background in force
    EXPECT_EQ(Graph_GetPixel(799, 599), kGreen);
    Graph_SetActivePage(0);
    Graph_Rectangle(0, 20, 9, 29, 4, true);
    EXPECT_EQ(window().at(5, 25), kBlack);
    Graph_SetVisualPage(0);
    EXPECT_TRUE(window().px == Buffer().px);
    EXPECT_EQ(window().at(5, 25), kRed);
    EXPECT_EQ(window().at(45, 5), kBlack);

    // Out of range, or inside a frame: nothing changes.
    Graph_SetActivePage(Graph_PAGES);
    Graph_SetVisualPage(Graph_PAGES);
    Graph_BeginFrame();
    Graph_SetActivePage(1);
    Graph_SetVisualPage(1);
    Graph_EndFrame();
    EXPECT_EQ(Graph_GetPixel(5, 25), kRed);
    EXPECT_EQ(window().at(5, 25), kRed);
}

// The clip rectangle and the write mode are the requests', not a page's: a
// page made or left earlier draws with those in force when it becomes active.
TEST_F(GraphTest, PagesDrawWithTheClipAndWriteModeInForce) {
    Graph_SetActivePage(2); // made before the clip
    Graph_SetActivePage(0);
    Graph_SetClip(10, 10, 19, 19);
    Graph_SetWriteMode(Graph_XOR);
    for (uint32_t page : {1u, 2u}) {
        Graph_SetActivePage(page);
        Graph_Rectangle(0, 0, 799, 599, 4, true);
        EXPECT_EQ(Graph_GetPixel(15, 15), kRed) << page;
        EXPECT_EQ(Graph_GetPixel(5, 5), kBlack) << page;
        Graph_Line(10, 12, 19, 12, 4); // XOR: red over red leaves black
        EXPECT_EQ(Graph_GetPixel(15, 12), kBlack) << page;
    }
    Graph_ResetClip();
    Graph_SetWriteMode(Graph_COPY);
    Graph_SetActivePage(1); // left while the clip was in force
    for (int twice = 0; twice < 2; ++twice) Graph_Rectangle(0, 0, 9, 9, 2, true); // XOR would leave black
    EXPECT_EQ(Graph_GetPixel(5, 5), kGreen);
    Graph_SetActivePage(0);
}

} // namespace
