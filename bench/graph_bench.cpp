// Graph's drawing cost next to raw GDI doing the same drawing on the same two
// DCs: (a) a pen and brush made per shape and per DC; (b) pens and brushes made
// once. Then a frame of many shapes: 10,000 lines whose colour changes from one
// line to the next, as frames per second for Graph and for (b), and the same
// lines as one whole frame (Graph_BeginFrame ... Graph_EndFrame). Prints figures;
// asserts nothing about time.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "GraphInternal.h"

void BenchPngLoad();      // graph_bench_png.cpp
void BenchTextAndPages(); // graph_bench_text.cpp

namespace {

constexpr int kWidth = 800, kDepth = 600, kRounds = 5;
constexpr int kBlock = 100; // calls of one kind in a row
constexpr int kManyLines = 10000, kManyFrames = 5, kManyTurn = 500;
const char kText[] = "Press q to finish the program";

double Now() { return BenchNowUs() / 1e6; }

// Mean microseconds per call of body(i) over n calls.
double Mean(int n, const std::function<void(int)>& body) {
    GdiFlush();
    const double start = Now();
    for (int i = 0; i < n; ++i) body(i);
    GdiFlush();
    return (Now() - start) * 1e6 / n;
}

using Body = std::function<void(int)>;

void Flush() { GdiFlush(); }

// Median of rounds of BenchTurns, one sample list per body.
std::vector<double> Rounds(int n, int block, const std::vector<Body>& bodies) {
    std::vector<std::vector<double>> samples(bodies.size());
    for (int r = 0; r < kRounds; ++r) {
        const std::vector<double> round = BenchTurns(n, block, bodies, Flush);
        for (size_t k = 0; k < bodies.size(); ++k) samples[k].push_back(round[k]);
    }
    std::vector<double> medians;
    for (const auto& s : samples) medians.push_back(BenchPercentile(s, 0.5));
    return medians;
}

HDC Targets(int k) { return k == 0 ? Graph_BufferDC : Graph_WindowDC; }

// (a): a pen and brush made, selected, put back and deleted per shape and per target.
void PerShape(HDC dc, COLORREF colour, UINT penStyle, UINT brushStyle, const std::function<void()>& draw) {
    LOGPEN pen = {penStyle, POINT{1, 0}, colour};
    LOGBRUSH brush = {brushStyle, colour, 0};
    HPEN p = CreatePenIndirect(&pen);
    HGDIOBJ oldPen = SelectObject(dc, p);
    HBRUSH b = CreateBrushIndirect(&brush);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    draw();
    SelectObject(dc, oldBrush);
    DeleteObject(b);
    SelectObject(dc, oldPen);
    DeleteObject(p);
}

struct Cached { // (b)
    HPEN pens[16];
    HBRUSH brushes[16];
    HBRUSH hollow;
    Cached() {
        for (int c = 0; c < 16; ++c) {
            pens[c] = CreatePen(PS_SOLID, 1, PALETTEINDEX(c));
            brushes[c] = CreateSolidBrush(PALETTEINDEX(c));
        }
        hollow = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    }
    ~Cached() {
        for (int c = 0; c < 16; ++c) {
            DeleteObject(pens[c]);
            DeleteObject(brushes[c]);
        }
    }
    void Select(HDC dc, int c, bool fill) {
        SelectObject(dc, pens[c]);
        SelectObject(dc, fill ? brushes[c] : hollow);
    }
};

struct Case {
    const char* name;
    int n;
    Body graph, perShape, once;
    std::function<void()> setup = [] {};
};

// The raw GDI rays of an arc from `start` over `sweep` degrees in a box, as Graph computes them.
void ArcRays(int l, int t, int r, int b, int start, int sweep, int (&v)[4]) {
    const double cx = (l + r) / 2.0, cy = (t + b) / 2.0, k = 3.14159265358979323846 / 180;
    v[0] = static_cast<int>(std::lround(cx + (1 << 20) * std::cos(start * k)));
    v[1] = static_cast<int>(std::lround(cy - (1 << 20) * std::sin(start * k)));
    v[2] = static_cast<int>(std::lround(cx + (1 << 20) * std::cos((start + sweep) * k)));
    v[3] = static_cast<int>(std::lround(cy - (1 << 20) * std::sin((start + sweep) * k)));
}

// A 64 x 64 image block, and the same pixels as a DIB for raw GDI.
constexpr int kBlockSide = 64;
struct ImageBlock {
    std::vector<uint32_t> data = std::vector<uint32_t>(2 + kBlockSide * kBlockSide);
    BITMAPINFO info{};
    HDC readDC = nullptr;
    uint32_t* readBits = nullptr;
    ImageBlock() {
        data[0] = data[1] = kBlockSide;
        for (int i = 0; i < kBlockSide * kBlockSide; ++i) data[2 + i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kBlockSide, -kBlockSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        readDC = CreateCompatibleDC(Graph_BufferDC);
        void* bits = nullptr;
        SelectObject(readDC, CreateDIBSection(readDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        readBits = static_cast<uint32_t*>(bits);
    }
    uint32_t size() const { return static_cast<uint32_t>(data.size() * 4); }
};

// The pens, brushes and blocks of the newer rows, made once: wide pens,
// RGB colours, a block with its opacity in the top byte (and premultiplied
// for AlphaBlend).
struct Extras {
    HPEN wide[16], rgbPens[16];
    HBRUSH rgbBrushes[16];
    std::vector<uint32_t> alpha = std::vector<uint32_t>(2 + kBlockSide * kBlockSide);
    std::vector<uint32_t> premultiplied = std::vector<uint32_t>(kBlockSide * kBlockSide);
    HDC premultipliedDC = nullptr;
    Extras() {
        for (int c = 0; c < 16; ++c) {
            const LOGBRUSH brush{BS_SOLID, PALETTEINDEX(c), 0};
            wide[c] = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &brush, 0, nullptr);
            rgbPens[c] = CreatePen(PS_SOLID, 1, RGB(16 * c, 100, 200));
            rgbBrushes[c] = CreateSolidBrush(RGB(16 * c, 100, 200));
        }
        alpha[0] = alpha[1] = kBlockSide;
        for (int i = 0; i < kBlockSide * kBlockSide; ++i) {
            const uint32_t a = static_cast<uint32_t>(i * 7) & 0xFF, v = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
            alpha[2 + i] = a << 24 | v;
            uint32_t p = a << 24;
            for (int shift = 0; shift < 24; shift += 8) p |= ((v >> shift & 0xFF) * a + 127) / 255 << shift;
            premultiplied[i] = p;
        }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kBlockSide, -kBlockSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        premultipliedDC = CreateCompatibleDC(Graph_BufferDC);
        void* bits = nullptr;
        SelectObject(premultipliedDC, CreateDIBSection(premultipliedDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        std::memcpy(bits, premultiplied.data(), premultiplied.size() * 4);
    }
    uint32_t size() const { return static_cast<uint32_t>(alpha.size() * 4); }
};

// The straight-alpha blend a hand-written program would do: the picture's
// block read into a DIB section, blended there, written back.
void BlendByHand(HDC dc, int x, int y, const ImageBlock& read, const uint32_t* block) {
    BitBlt(read.readDC, 0, 0, kBlockSide, kBlockSide, dc, x, y, SRCCOPY);
    GdiFlush();
    for (int i = 0; i < kBlockSide * kBlockSide; ++i) {
        const uint32_t s = block[i], a = s >> 24, d = read.readBits[i];
        if (a == 0) continue;
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            out |= ((s >> shift & 0xFF) * a + (d >> shift & 0xFF) * (255 - a) + 127) / 255 << shift;
        }
        read.readBits[i] = out;
    }
    StretchDIBits(dc, x, y, kBlockSide, kBlockSide, 0, 0, kBlockSide, kBlockSide, read.readBits, &read.info,
                  DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    return DefWindowProcA(w, m, wp, lp);
}

HDC OpenSecondTarget(bool& real) {
    WNDCLASSA cls = {};
    cls.style = CS_OWNDC;
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "GraphBench";
    RegisterClassA(&cls);
    HWND window = CreateWindowExA(0, "GraphBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kDepth, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    real = window != nullptr;
    if (real) {
        MSG msg;
        for (int i = 0; i < 10; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
        return GetDC(window);
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    SelectObject(dc, CreateCompatibleBitmap(screen, kWidth, kDepth));
    ReleaseDC(nullptr, screen);
    return dc;
}

} // namespace

int main() {
    Graph_BEGIN();
    Graph_Width = kWidth;
    Graph_Depth = kDepth;
    bool realWindow = false;
    HDC second = OpenSecondTarget(realWindow);
    Graph_CreateBackBuffer(second);
    Graph_SetWindowDC(second);
    Graph_ResetPicture();
    Cached cached;

    auto line = [](HDC dc, int i) {
        MoveToEx(dc, i % 600, 100, nullptr);
        LineTo(dc, i % 600 + 200, 300);
    };
    auto box = [](HDC dc, int i) { Rectangle(dc, i % 700, 100, i % 700 + 51, 151); };
    static int rays[4];
    ArcRays(0, 100, 101, 201, 30, 135, rays);
    static const auto star = [](int i, POINT* out) {
        static const POINT kStar[10] = {{50, 0},  {62, 35}, {100, 38}, {70, 60}, {80, 100},
                                        {50, 78}, {20, 100}, {30, 60}, {0, 38},  {38, 35}};
        for (int k = 0; k < 10; ++k) out[k] = {kStar[k].x + i % 600, kStar[k].y + 100};
    };
    static ImageBlock image;
    static std::vector<uint32_t> readBack(image.data.size());
    static Extras extras;

    std::vector<Case> cases = {
        {"Graph_Line (200 x 200 px)", 4000,
         [](int i) { Graph_Line(i % 600, 100, i % 600 + 200, 300, i & 15); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_HOLLOW, [&] { line(dc, i); });
                 SetPixelV(dc, i % 600 + 200, 300, PALETTEINDEX(i & 15));
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 cached.Select(dc, i & 15, false);
                 line(dc, i);
                 SetPixelV(dc, i % 600 + 200, 300, PALETTEINDEX(i & 15));
             }
         }},
        {"Graph_Rectangle filled (51 x 51)", 4000,
         [](int i) { Graph_Rectangle(i % 700, 100, i % 700 + 50, 150, i & 15, true); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_SOLID, [&] { box(dc, i); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), i & 15, true);
                 box(Targets(k), i);
             }
         }},
        {"Graph_Rectangle outlined (51 x 51)", 4000,
         [](int i) { Graph_Rectangle(i % 700, 100, i % 700 + 50, 150, i & 15, false); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_HOLLOW, [&] { box(dc, i); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), i & 15, false);
                 box(Targets(k), i);
             }
         }},
        {"Graph_RawOutText (29 chars)", 4000,
         [](int i) { Graph_RawOutText(i % 500, 200, i & 15, kText, sizeof kText - 1); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 SetTextColor(Targets(k), PALETTEINDEX(i & 15));
                 TextOutA(Targets(k), i % 500, 200, kText, sizeof kText - 1);
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 SetTextColor(Targets(k), PALETTEINDEX(i & 15));
                 TextOutA(Targets(k), i % 500, 200, kText, sizeof kText - 1);
             }
         }},
        {"Graph_ClearScreen (800 x 600)", 200,
         [](int) { Graph_ClearScreen(0); },
         [&](int) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(0), PS_SOLID, BS_SOLID, [&] { Rectangle(dc, 0, 0, kWidth, kDepth); });
             }
         },
         [&](int) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), 0, true);
                 Rectangle(Targets(k), 0, 0, kWidth, kDepth);
             }
         }},
        {"Graph_Ellipse filled (51 x 51)", 4000,
         [](int i) { Graph_Ellipse(i % 700, 100, i % 700 + 50, 150, i & 15, true); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_SOLID, [&] { Ellipse(dc, i % 700, 100, i % 700 + 51, 151); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), i & 15, true);
                 Ellipse(Targets(k), i % 700, 100, i % 700 + 51, 151);
             }
         }},
        {"Graph_Arc outlined (101 x 101, 135 deg)", 4000,
         [](int i) { Graph_Arc(i % 600, 100, i % 600 + 100, 200, 30, 135, i & 15); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 const int x = i % 600;
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_HOLLOW,
                          [&] { Arc(dc, x, 100, x + 101, 201, rays[0] + x, rays[1], rays[2] + x, rays[3]); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 const int x = i % 600;
                 SelectObject(Targets(k), cached.pens[i & 15]);
                 Arc(Targets(k), x, 100, x + 101, 201, rays[0] + x, rays[1], rays[2] + x, rays[3]);
             }
         }},
        {"Graph_Polygon filled (10 points)", 4000,
         [](int i) {
             POINT p[10];
             star(i, p);
             Graph_Polygon(reinterpret_cast<const Graph_Point*>(p), 10, i & 15, true);
         },
         [&](int i) {
             POINT p[10];
             star(i, p);
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_SOLID, [&] { Polygon(dc, p, 10); });
             }
         },
         [&](int i) {
             POINT p[10];
             star(i, p);
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), i & 15, true);
                 Polygon(Targets(k), p, 10);
             }
         }},
        {"Graph_FloodFill (200 x 200)", 400,
         [](int i) { Graph_FloodFill(400, 300, 1 + i % 2, 15); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(1 + i % 2), PS_SOLID, BS_SOLID,
                          [&] { ExtFloodFill(dc, 400, 300, PALETTEINDEX(15), FLOODFILLBORDER); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), 1 + i % 2, true);
                 ExtFloodFill(Targets(k), 400, 300, PALETTEINDEX(15), FLOODFILLBORDER);
             }
         },
         [] {
             Graph_ClearScreen(0);
             Graph_Rectangle(299, 199, 500, 400, 15, false);
         }},
        {"Graph_PutImage (64 x 64)", 4000,
         [](int i) { Graph_PutImage(i % 700, 100, image.data.data(), image.size(), Graph_COPY); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 SetDIBitsToDevice(Targets(k), i % 700, 100, kBlockSide, kBlockSide, 0, 0, 0, kBlockSide,
                                   image.data.data() + 2, &image.info, DIB_RGB_COLORS);
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 StretchDIBits(Targets(k), i % 700, 100, kBlockSide, kBlockSide, 0, 0, kBlockSide, kBlockSide,
                               image.data.data() + 2, &image.info, DIB_RGB_COLORS, SRCCOPY);
             }
         }},
        // Reads of the back buffer into the program's memory: (a) GetDIBits of
        // the block's rows, (b) a copy into a DIB section kept for it, then out.
        {"Graph_GetImage (64 x 64)", 4000,
         [](int i) {
             Graph_GetImage(i % 700, 100, i % 700 + 63, 163, readBack.data(), static_cast<uint32_t>(readBack.size() * 4));
         },
         [&](int i) {
             // Scan lines count from the bottom: the block's 64 rows from y = 100.
             BITMAPINFO rows = image.info;
             rows.bmiHeader.biWidth = kWidth;
             rows.bmiHeader.biHeight = kDepth;
             static std::vector<uint32_t> whole(kWidth * kBlockSide);
             GetDIBits(Graph_BufferDC, static_cast<HBITMAP>(GetCurrentObject(Graph_BufferDC, OBJ_BITMAP)), kDepth - 100 - kBlockSide, kBlockSide, whole.data(), &rows,
                       DIB_RGB_COLORS);
             (void)i;
         },
         [&](int i) {
             BitBlt(image.readDC, 0, 0, kBlockSide, kBlockSide, Graph_BufferDC, i % 700, 100, SRCCOPY);
             GdiFlush();
             std::memcpy(readBack.data() + 2, image.readBits, kBlockSide * kBlockSide * 4); // into the program's block
         }},
        {"Graph_GetPixel", 20000,
         [](int i) { Graph_GetPixel(i % 800, 300); },
         [&](int i) { GetPixel(Graph_BufferDC, i % 800, 300); },
         [&](int i) { GetPixel(Graph_BufferDC, i % 800, 300); }},
        // The newer attributes; (a) and (b) with the same settings on the DCs.
        {"Graph_Line width 3 (200 x 200 px)", 4000,
         [](int i) { Graph_Line(i % 600, 100, i % 600 + 200, 300, i & 15); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 const LOGBRUSH brush{BS_SOLID, PALETTEINDEX(i & 15), 0};
                 HGDIOBJ pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &brush, 0, nullptr);
                 HGDIOBJ old = SelectObject(dc, pen);
                 MoveToEx(dc, i % 600, 100, nullptr);
                 LineTo(dc, i % 600 + 201, 301);
                 SelectObject(dc, old);
                 DeleteObject(pen);
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 SelectObject(Targets(k), extras.wide[i & 15]);
                 MoveToEx(Targets(k), i % 600, 100, nullptr);
                 LineTo(Targets(k), i % 600 + 201, 301);
             }
         },
         [] { Graph_SetLineWidth(3); }},
        {"Graph_Rectangle filled RGB (51 x 51)", 4000,
         [](int i) { Graph_Rectangle(i % 700, 100, i % 700 + 50, 150, Graph_RGB(16 * (i & 15), 100, 200), true); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, RGB(16 * (i & 15), 100, 200), PS_SOLID, BS_SOLID, [&] { box(dc, i); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 SelectObject(Targets(k), extras.rgbPens[i & 15]);
                 SelectObject(Targets(k), extras.rgbBrushes[i & 15]);
                 box(Targets(k), i);
             }
         },
         [] { Graph_SetLineWidth(1); }},
        {"Graph_Ellipse in a cutting clip (101)", 4000,
         [](int i) { Graph_Ellipse(i % 600, 100, i % 600 + 100, 200, i & 15, false); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_HOLLOW, [&] { Ellipse(dc, i % 600, 100, i % 600 + 101, 201); });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 cached.Select(Targets(k), i & 15, false);
                 Ellipse(Targets(k), i % 600, 100, i % 600 + 101, 201);
             }
         },
         [] { Graph_SetClip(0, 120, 799, 170); }},
        {"Graph_Line XOR (200 x 200 px)", 4000,
         [](int i) { Graph_Line(i % 600, 100, i % 600 + 200, 300, i & 15); },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 PerShape(dc, PALETTEINDEX(i & 15), PS_SOLID, BS_HOLLOW, [&] {
                     line(dc, i);
                     LineTo(dc, i % 600 + 201, 300);
                 });
             }
         },
         [&](int i) {
             for (int k = 0; k < 2; ++k) {
                 HDC dc = Targets(k);
                 cached.Select(dc, i & 15, false);
                 line(dc, i);
                 LineTo(dc, i % 600 + 201, 300); // the end pixel, XORed too
             }
         },
         [] {
             Graph_ResetClip();
             Graph_SetWriteMode(Graph_XOR);
         }},
        // (a) AlphaBlend of a premultiplied copy into both DCs, (b) the same
        // loop by hand into the back buffer and its block copied to the window.
        {"Graph_PutImage alpha (64 x 64)", 4000,
         [](int i) { Graph_PutImage(i % 700, 100, extras.alpha.data(), extras.size(), Graph_ALPHA); },
         [&](int i) {
             const BLENDFUNCTION f{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
             for (int k = 0; k < 2; ++k) {
                 AlphaBlend(Targets(k), i % 700, 100, kBlockSide, kBlockSide, extras.premultipliedDC, 0, 0, kBlockSide,
                            kBlockSide, f);
             }
         },
         [&](int i) {
             BlendByHand(Graph_BufferDC, i % 700, 100, image, extras.alpha.data() + 2);
             BitBlt(Graph_WindowDC, i % 700, 100, kBlockSide, kBlockSide, Graph_BufferDC, i % 700, 100, SRCCOPY);
         },
         [] { Graph_SetWriteMode(Graph_COPY); }},
    };

    std::printf("Graph drawing cost, mean microseconds per call on both targets (back buffer + %s),\n"
                "median of %d rounds, each the median of turns of %d calls, the three taking turns\n\n",
                realWindow ? "window DC" : "memory DC", kRounds, kBlock);
    std::printf("%-36s %9s %9s %9s %8s %8s\n", "operation", "Graph", "(a)", "(b)", "G/(a)", "G/(b)");
    for (Case& c : cases) {
        c.setup();
        const std::vector<double> m = Rounds(c.n, std::min(kBlock, c.n / 20), {c.graph, c.perShape, c.once});
        const double gm = m[0], am = m[1], bm = m[2];
        std::printf("%-36s %9.2f %9.2f %9.2f %8.2f %8.2f\n", c.name, gm, am, bm, gm / am, gm / bm);
    }
    Graph_SetWriteMode(Graph_COPY);
    Graph_ResetClip();
    Graph_SetLineWidth(1);

    // Many shapes: lines of 40 x 40 pixels spread over the picture, the colour
    // changing with every line; (b) selects only the pen, as hand-written GDI would.
    static const auto manyAt = [](int i, int& x, int& y) {
        x = (i * 37) % (kWidth - 40);
        y = (i * 53) % (kDepth - 40);
    };
    const Body manyGraph = [](int i) {
        int x, y;
        manyAt(i, x, y);
        Graph_Line(x, y, x + 40, y + 40, i & 15);
    };
    const Body manyOnce = [&](int i) {
        int x, y;
        manyAt(i, x, y);
        for (int k = 0; k < 2; ++k) {
            HDC dc = Targets(k);
            SelectObject(dc, cached.pens[i & 15]);
            MoveToEx(dc, x, y, nullptr);
            LineTo(dc, x + 40, y + 40);
            SetPixelV(dc, x + 40, y + 40, PALETTEINDEX(i & 15));
        }
    };
    const std::vector<double> many = Rounds(kManyLines * kManyFrames, kManyTurn, {manyGraph, manyOnce});
    const double mg = many[0] * kManyLines, mb = many[1] * kManyLines;
    std::printf("\nmany shapes: 10,000 lines of changing colours a frame, frames per second,\n"
                "median of %d rounds of %d frames, each the median of turns of %d lines, the two taking turns\n\n",
                kRounds, kManyFrames, kManyTurn);
    std::printf("%-36s %9s %9s %8s\n", "frame", "Graph", "(b)", "G/(b)");
    std::printf("%-36s %9.1f %9.1f %8.2f\n", "many shapes (10,000 lines)", 1e6 / mg, 1e6 / mb, mg / mb);

    // The same 10,000 lines as whole frames: Graph inside Graph_BeginFrame and
    // Graph_EndFrame; (b) raw GDI into both DCs; (c) raw GDI into the back
    // buffer and one copy into the second DC.
    const Body frameGraph = [&](int) {
        Graph_BeginFrame();
        for (int i = 0; i < kManyLines; ++i) manyGraph(i);
        Graph_EndFrame();
    };
    const Body frameBoth = [&](int) {
        for (int i = 0; i < kManyLines; ++i) manyOnce(i);
    };
    const Body frameCopy = [&](int) {
        for (int i = 0; i < kManyLines; ++i) {
            int x, y;
            manyAt(i, x, y);
            SelectObject(Graph_BufferDC, cached.pens[i & 15]);
            MoveToEx(Graph_BufferDC, x, y, nullptr);
            LineTo(Graph_BufferDC, x + 40, y + 40);
            SetPixelV(Graph_BufferDC, x + 40, y + 40, PALETTEINDEX(i & 15));
        }
        BitBlt(Graph_WindowDC, 0, 0, kWidth, kDepth, Graph_BufferDC, 0, 0, SRCCOPY);
    };
    const std::vector<double> frames = Rounds(kManyFrames * 2, 1, {frameGraph, frameBoth, frameCopy});
    std::printf("\nwhole frames: the same 10,000 lines inside one frame, frames per second, median of %d rounds,\n"
                "(b) raw GDI into both DCs, (c) raw GDI into the back buffer and one copy\n\n",
                kRounds);
    std::printf("%-36s %9s %9s %9s %8s %8s\n", "frame", "Graph", "(b)", "(c)", "(b)/G", "G/(c)");
    std::printf("%-36s %9.1f %9.1f %9.1f %8.2f %8.2f\n", "one frame (10,000 lines)", 1e6 / frames[0],
                1e6 / frames[1], 1e6 / frames[2], frames[1] / frames[0], frames[0] / frames[2]);

    // The repaint lock each request takes once, uncontended, and what a kernel
    // mutex in its place would cost.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    std::vector<double> lock, kernel;
    for (int r = 0; r < kRounds; ++r) {
        lock.push_back(Mean(100000, [](int) {
            Graph_LockBackBuffer();
            Graph_UnlockBackBuffer();
        }));
        kernel.push_back(Mean(5000, [&](int) {
            WaitForSingleObject(mutex, INFINITE);
            ReleaseMutex(mutex);
        }));
    }
    CloseHandle(mutex);
    std::sort(lock.begin(), lock.end());
    std::sort(kernel.begin(), kernel.end());
    std::printf("\nrepaint lock per request: %.3f us (critical section, uncontended); "
                "a kernel mutex would cost %.2f us\n",
                lock[kRounds / 2], kernel[kRounds / 2]);
    BenchPngLoad();
    BenchTextAndPages();
    return 0;
}
