// The BGI's cost next to the Graph calls each BGI call makes, in the same run
// and on the same window: line, circle, bar, putpixel, outtextxy (two blocks,
// AND and OR) and putimage; then a whole 640 x 480 picture set pixel by
// pixel with putpixel, inside a page that is not shown and shown. Prints
// figures; asserts nothing about time.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "Graph.h"
#include "graphics.h"

namespace {

constexpr int kCalls = 20000, kBlock = 200;

void Flush() { GdiFlush(); }

// The whole picture by putpixel: milliseconds, the median of a few.
double WholePicture(bool hidden) {
    std::vector<double> ms;
    for (int round = 0; round < 5; ++round) {
        if (hidden) setactivepage(1), setvisualpage(0);
        const double start = BenchNowUs();
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) putpixel(x, y, (x + y + round) & 15);
        if (hidden) setvisualpage(1); // shows the page drawn
        GdiFlush();
        ms.push_back((BenchNowUs() - start) / 1000);
        setactivepage(0), setvisualpage(0);
    }
    return BenchPercentile(ms, 0.5);
}

} // namespace

int main() {
    if (!BenchOwnConsole()) return std::printf("bgi_bench: no console (a display is needed)\n"), 1;
    if (initwindow(640, 480, "bgi_bench") != 0) return std::printf("bgi_bench: no window\n"), 1;
    std::vector<uint8_t> block(imagesize(0, 0, 31, 31));
    setfillstyle(SOLID_FILL, LIGHTRED);
    bar(0, 0, 31, 31);
    getimage(0, 0, 31, 31, block.data());
    std::vector<uint32_t> textBlock(2 + 8 * 5 * 8);
    textBlock[0] = static_cast<uint32_t>(textwidth("Hello")), textBlock[1] = 8;
    struct Row {
        const char* name;
        std::function<void(int)> bgi, graph;
    };
    const std::vector<Row> rows = {
        {"line (0..639, 13 px apart)", [](int i) { line(0, i % 480, 639, (i * 7) % 480); },
         [](int i) { Graph_Line(0, i % 480, 639, (i * 7) % 480, 15); }},
        {"circle (radius 40)", [](int i) { circle(100 + i % 400, 240, 40); },
         [](int i) { Graph_Ellipse(60 + i % 400, 200, 140 + i % 400, 280, 15, false); }},
        {"bar (64 x 48, solid)", [](int i) { bar(i % 560, i % 400, i % 560 + 63, i % 400 + 47); },
         [](int i) { Graph_Rectangle(i % 560, i % 400, i % 560 + 63, i % 400 + 47, 12, true); }},
        {"putpixel", [](int i) { putpixel(i % 640, (i / 640) % 480, i & 15); },
         [](int i) { Graph_SetPixel(i % 640, (i / 640) % 480, i & 15); }},
        {"outtextxy (\"Hello\", 40 x 8)", [](int i) { outtextxy(i % 600, i % 470, "Hello"); },
         [&](int i) {
             const uint32_t x = i % 600, y = i % 470;
             Graph_PutImage(x, y, textBlock.data(), textBlock.size() * 4, Graph_AND);
             Graph_PutImage(x, y, textBlock.data(), textBlock.size() * 4, Graph_OR);
         }},
        {"putimage (32 x 32, COPY_PUT)", [&](int i) { putimage(i % 600, i % 440, block.data(), COPY_PUT); },
         [&](int i) { Graph_PutImage(i % 600, i % 440, block.data(), block.size(), Graph_COPY); }},
    };
    std::printf("BGI calls and the Graph calls they make, median microseconds per call (%d calls each,\n"
                "in alternating turns of %d):\n",
                kCalls, kBlock);
    std::printf("%-32s %9s %9s %8s\n", "call", "BGI", "Graph", "BGI/G");
    for (const Row& r : rows) {
        const std::vector<double> t = BenchTurns(kCalls, kBlock, {r.bgi, r.graph}, Flush);
        std::printf("%-32s %9.2f %9.2f %8.3f\n", r.name, t[0], t[1], t[0] / t[1]);
    }
    std::printf("\nthe whole 640 x 480 picture by putpixel, milliseconds (median of 5):\n");
    std::printf("%-32s %9.1f\n", "on a page not shown, then shown", WholePicture(true));
    std::printf("%-32s %9.1f\n", "shown as it is drawn", WholePicture(false));
    closegraph();
    return 0;
}
