// Test fixture for Graph's drawing core: a back buffer made from the screen DC
// and a second memory DC standing in for the window, both reset the way
// Graph_Init resets them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GraphInternal.h"

// A DC's picture as 0x00RRGGBB values, row by row from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
    // Number of pixels in [x1, x2] x [y1, y2] (inclusive) equal to value.
    int count(int x1, int y1, int x2, int y2, uint32_t value) const;
    // Every pixel of the inclusive box equal to value.
    bool all(int x1, int y1, int x2, int y2, uint32_t value) const {
        return count(x1, y1, x2, y2, value) == (x2 - x1 + 1) * (y2 - y1 + 1);
    }
    // Bounding box of the pixels different from value; false when there are none.
    bool bounds(uint32_t value, RECT& box) const;
};

// Reads any DC (memory or window) by copying it into a 32-bit DIB section.
Picture Grab(HDC dc, int width, int height);

// Live GDI objects of this process. WINE: Wine's GetGuiResources is a stub
// that returns 0; the handle table the PEB points at is real on Wine and Windows.
uint32_t GdiObjectCount();

class GraphTest : public ::testing::Test {
protected:
    static constexpr uint32_t kBlack = 0x000000, kBlue = 0x0000B0, kGreen = 0x00B000, kRed = 0xB00000;

    void SetUp() override { Open(800, 600); }
    void TearDown() override { Close(); }

    // A fresh back buffer and second DC of width x depth, reset like Graph_Init.
    void Open(uint32_t width, uint32_t depth, HDC second = nullptr);
    void Close();

    Picture Buffer() const { return Grab(Graph_BufferDC, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth)); }
    Picture Second() const { return Grab(Graph_WindowDC, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth)); }

    // The two targets must always show the same picture.
    Picture Both() const {
        Picture b = Buffer();
        Picture s = Second();
        EXPECT_TRUE(b.px == s.px) << "back buffer and second DC differ";
        return b;
    }

    HDC ownSecond_ = nullptr;
    HBITMAP ownBitmap_ = nullptr;
};
