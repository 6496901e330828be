// The executor's second target as a real window's DC: what reaches the back
// buffer reaches the window, palettes included, and the repaint copy restores it.
#include <windows.h>

#include <gtest/gtest.h>

#include "GraphFixture.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1; // the picture is ours alone
    return DefWindowProcA(w, m, wp, lp);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

class GraphWindowDC : public GraphTest {
protected:
    void SetUp() override {
        WNDCLASSA cls = {};
        cls.style = CS_OWNDC;
        cls.lpfnWndProc = ProbeProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "GraphCoreProbe";
        RegisterClassA(&cls);
        window_ = CreateWindowExA(0, "GraphCoreProbe", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        Pump();
        Open(200, 150, GetDC(window_));
    }
    void TearDown() override {
        HDC dc = Graph_WindowDC;
        Close();
        ReleaseDC(window_, dc);
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
};

TEST_F(GraphWindowDC, ShapesTextAndPalettesReachTheWindow) {
    const uint32_t table[3] = {0x000000, 0x00B000, 0x2468AC};
    Graph_SetBkColor(1);
    Graph_SetStdFillMask(Graph_PATSYM_DIAG1);
    Graph_Rectangle(10, 10, 90, 90, 4, true);
    Graph_SetLinestyle(1);
    Graph_Line(0, 100, 199, 149, 2);
    Graph_RawOutText(100, 10, 15, "Graph", 5);
    Picture p = Both();
    EXPECT_EQ(p.at(10, 10), kRed);
    EXPECT_GT(p.count(11, 11, 89, 89, kBlue), 100);
    EXPECT_EQ(p.at(199, 149), kGreen);

    ASSERT_EQ(Graph_RemapAllPalette(table, 3), 0);
    Graph_Rectangle(150, 100, 160, 110, 258, true);
    p = Both();
    EXPECT_EQ(p.at(150, 100), 0x2468ACu); // the frame; the inside is hatched
    EXPECT_GT(p.count(151, 101, 159, 109, 0x00B000), 0);
}

TEST_F(GraphWindowDC, RepaintCopyShowsTheBackBufferAgain) {
    Graph_Rectangle(20, 20, 120, 120, 4, true);
    // Scribble on the window alone, as a covering window would.
    Graph_Request.p.rectangle = {0, 0, 199, 149, 2, 1};
    Graph_Request.op = OP_RECTANGLE;
    Graph_Execute(Graph_WindowTarget);
    EXPECT_EQ(Second().at(50, 50), kGreen);
    Graph_CopyBackBuffer(Graph_WindowDC);
    EXPECT_TRUE(Second().px == Buffer().px);
    EXPECT_EQ(Second().at(50, 50), kRed);
}

} // namespace
