// The viewer's figures in one run; asserts nothing about time.
//  - the real frame loop (Plimo_Body), watched from a second thread: frames
//    per second, the process's CPU use over 10 s, and key-to-picture latency
//    (a key record written to the console input until the back buffer first
//    shows the scene from the new camera);
//  - after `q`, on the main thread: one whole frame (Plimo_ShowFrame) against
//    raw GDI drawing the same shapes on the same two DCs, and into the back
//    buffer with one copy into the window;
//  - GDI objects and private memory after 1,000 and 20,000 frames drawn
//    without the pause.
// Run it inside a display session: viewer_bench.exe
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "BenchResources.h"
#include "Graph.h"
#include "GraphInternal.h"
#include "GraphWindow.h"
#include "M3K.h"
#include "kfrIGraph.h"
#include "plimo.h"
#include "scene.h"

namespace {

constexpr int kWidth = 800, kDepth = 600;
constexpr DWORD kSettleMs = 1000, kFpsMs = 5000, kCpuMs = 10000;
constexpr int kLatencyTrials = 40;
constexpr int kDrawRounds = 5, kDrawFrames = 200, kDrawTurn = 10;

// A pixel nothing in the scene draws at the start camera: the erase paints it
// black, which is how the watcher counts frames.
constexpr int kMarkX = kWidth - 1, kMarkY = 0;
constexpr COLORREF kMark = RGB(255, 255, 255);
// Pillar 1's left edge: 390 at camera x = 0, 379 at x = 25 (one 'l').
constexpr int kProbeY = 400, kProbeLeft = 385, kProbeRight = 405;
constexpr COLORREF kPillar1 = RGB(0xB0, 0, 0);

double nowMs() { return BenchNowUs() / 1e3; }

// Watcher thread: the back buffer is shared with the main thread's requests
// and the window thread's repaints, so every look takes its lock.
COLORREF bufferPixel(int x, int y) {
    Graph_LockBackBuffer();
    const COLORREF c = GetPixel(Graph_BufferDC, x, y);
    Graph_UnlockBackBuffer();
    return c;
}

void setMark() {
    Graph_LockBackBuffer();
    SetPixelV(Graph_BufferDC, kMarkX, kMarkY, kMark);
    Graph_UnlockBackBuffer();
}

void typeKey(char ch, WORD scan) {
    INPUT_RECORD r[2] = {};
    for (int i = 0; i < 2; ++i) {
        r[i].EventType = KEY_EVENT;
        KEY_EVENT_RECORD& k = r[i].Event.KeyEvent;
        k.bKeyDown = i == 0;
        k.wRepeatCount = 1;
        k.wVirtualKeyCode = static_cast<WORD>(ch - 'a' + 'A');
        k.wVirtualScanCode = scan;
        k.uChar.AsciiChar = ch;
    }
    DWORD written;
    WriteConsoleInputA(kfrIGraph_hConsoleInput, r, 2, &written);
}

double processCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) {
        return static_cast<double>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

struct LoopFigures {
    double fps = 0, frameMs = 0, cpuPercent = 0;
    std::vector<double> latency; // ms
    int lost = 0;                // trials whose picture never came
    bool ran = false;
};
LoopFigures loop;

// Watcher thread: measures the running loop, then types `q`.
DWORD WINAPI watch(LPVOID) {
    while (Graph_Window == nullptr) Sleep(10);
    Sleep(kSettleMs);

    // Frames: one erase per frame, at least 25 ms apart, never missed at 1 ms.
    setMark();
    int frames = 0;
    const double fpsStart = nowMs();
    while (nowMs() - fpsStart < kFpsMs) {
        if (bufferPixel(kMarkX, kMarkY) != kMark) {
            ++frames;
            setMark();
        }
        Sleep(1);
    }
    const double fpsTook = nowMs() - fpsStart;
    loop.fps = frames * 1e3 / fpsTook;
    loop.frameMs = fpsTook / std::max(frames, 1);

    // CPU: the watcher itself only sleeps meanwhile.
    const double cpu0 = processCpuMs(), wall0 = nowMs();
    Sleep(kCpuMs);
    loop.cpuPercent = (processCpuMs() - cpu0) * 100 / (nowMs() - wall0);

    // Latency: 'l' and 'j' in turn, written at varying points of the frame.
    for (int trial = 0; trial < kLatencyTrials; ++trial) {
        const bool right = trial % 2 == 0;
        const int probeX = right ? kProbeLeft : kProbeRight;
        Sleep(60 + (trial * 7) % 26);
        const double sent = nowMs();
        typeKey(right ? 'l' : 'j', right ? 0x26 : 0x24);
        bool seen = false;
        while (!seen && nowMs() - sent < 1000) {
            seen = bufferPixel(probeX, kProbeY) == kPillar1;
            if (!seen) Sleep(0);
        }
        if (seen) {
            loop.latency.push_back(nowMs() - sent);
        } else {
            ++loop.lost;
        }
    }
    loop.ran = true;
    typeKey('q', 0x10);
    return 0;
}

// ---- the drawing against raw GDI ---------------------------------------------

struct RawFrame {
    HPEN pens[16];
    HBRUSH brushes[16];
    std::vector<std::pair<Point2D, Point2D>> lines;
    std::vector<std::pair<Point2D, Point2D>> boxes;
    std::vector<int> boxColours;
    static constexpr const char* kHelp[4] = {
        "Press q to finish the program", "Press 'j' or 'l' to go left or right",
        "Press 'i' or 'k' to go backwards or forwards", "Press 'u' or 'o' to go up or down"};

    // The shapes of the current camera's frame; raw GDI clips them itself.
    RawFrame() {
        for (int c = 0; c < 16; ++c) {
            pens[c] = CreatePen(PS_SOLID, 1, PALETTEINDEX(c));
            brushes[c] = CreateSolidBrush(PALETTEINDEX(c));
        }
        for (int32_t i = -400; i <= 400; i += 100)
            lines.push_back({ToScherm({i, dp.y - 100, 0}), ToScherm({i, 10000, 0})});
        for (const Pillar& p : Pillars) {
            const int32_t h = PillarSize / 2;
            boxes.push_back({ToScherm({p.top.x - h, p.top.y, p.top.z}), ToScherm({p.top.x + h, p.top.y, 0})});
            boxColours.push_back(p.colour);
        }
    }
    ~RawFrame() {
        for (int c = 0; c < 16; ++c) {
            DeleteObject(pens[c]);
            DeleteObject(brushes[c]);
        }
    }
    void box(HDC dc, int colour, int x1, int y1, int x2, int y2) {
        SelectObject(dc, pens[colour]);
        SelectObject(dc, brushes[colour]);
        Rectangle(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
    }
    void draw(HDC dc) {
        SelectObject(dc, pens[GroundColour]);
        for (const auto& [a, b] : lines) {
            MoveToEx(dc, a.x, a.y, nullptr);
            LineTo(dc, b.x, b.y);
            SetPixelV(dc, b.x, b.y, PALETTEINDEX(GroundColour));
        }
        SetTextColor(dc, PALETTEINDEX(2));
        for (int k = 0; k < 4; ++k) TextOutA(dc, 50, 30 + 15 * k, kHelp[k], static_cast<int>(lstrlenA(kHelp[k])));
        for (size_t k = 0; k < boxes.size(); ++k)
            box(dc, boxColours[k], boxes[k].first.x, boxes[k].first.y, boxes[k].second.x, boxes[k].second.y);
        box(dc, 0, 0, 0, kWidth - 1, kDepth - 1);
    }
};

// The loop's own frame: erase and scene into the back buffer, one copy.
void viewerFrame() { Plimo_ShowFrame(); }

void flush() { GdiFlush(); }

// ---- resources ------------------------------------------------------------------

void printResources(const char* when) {
    const char* gdiHow = "";
    const char* memoryHow = "";
    const DWORD gdi = BenchGdiObjects(&gdiHow);
    const double memory = BenchPrivateKiB(&memoryHow);
    std::printf("  %-26s GDI objects %5lu (%s), private memory %7.0f KiB (%s)\n", when,
                static_cast<unsigned long>(gdi), gdiHow, memory, memoryHow);
}

void Body(int argc, char** argv) {
    const HANDLE watcher = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
    Plimo_Body(argc, argv); // returns after the watcher's `q`
    WaitForSingleObject(watcher, 30000);
    if (!loop.ran) {
        std::printf("the frame loop was not measured (no window?)\n");
        return;
    }
    std::printf("real frame loop (Plimo_Body):\n");
    std::printf("  frames per second          %.1f (%.2f ms a frame, 25 ms of it the pause)\n", loop.fps, loop.frameMs);
    std::printf("  CPU use over %lu s          %.1f %% of one core\n", kCpuMs / 1000, loop.cpuPercent);
    std::printf("  key-to-picture latency     median %.1f ms, 90th %.1f ms, max %.1f ms (%zu keys, %d lost)\n",
                BenchPercentile(loop.latency, 0.5), BenchPercentile(loop.latency, 0.9), BenchPercentile(loop.latency, 1.0),
                loop.latency.size(), loop.lost);
    std::printf("                             max = %.2f frames\n", BenchPercentile(loop.latency, 1.0) / loop.frameMs);

    // The same camera as at the start: the latency trials ended where they began.
    RawFrame raw;
    std::vector<double> viewer, gdi, copied;
    for (int round = 0; round < kDrawRounds; ++round) {
        const std::vector<double> took = BenchTurns(kDrawFrames, kDrawTurn, {[](int) { viewerFrame(); },
                                                                          [&](int) {
                                                                              raw.draw(Graph_BufferDC);
                                                                              raw.draw(Graph_WindowDC);
                                                                          },
                                                                          [&](int) {
                                                                              raw.draw(Graph_BufferDC);
                                                                              BitBlt(Graph_WindowDC, 0, 0, kWidth, kDepth,
                                                                                     Graph_BufferDC, 0, 0, SRCCOPY);
                                                                          }},
                                                    flush);
        viewer.push_back(took[0] / 1e3);
        gdi.push_back(took[1] / 1e3);
        copied.push_back(took[2] / 1e3);
    }
    const double v = BenchPercentile(viewer, 0.5), g = BenchPercentile(gdi, 0.5), c = BenchPercentile(copied, 0.5);
    std::printf("one frame's drawing, median of %d rounds of %d frames each,\n"
                "a round's figure the median of turns of %d frames, the three taking turns:\n",
                kDrawRounds, kDrawFrames, kDrawTurn);
    std::printf("  Plimo_ShowFrame (one frame) %.3f ms\n", v);
    std::printf("  raw GDI, both DCs           %.3f ms (ratio %.2f)\n", g, v / g);
    std::printf("  raw GDI, buffer + one copy  %.3f ms (ratio %.2f)\n", c, v / c);

    std::printf("resources, frames drawn without the pause:\n");
    printResources("after the loop");
    for (int i = 0; i < 1000; ++i) viewerFrame();
    printResources("after 1,000 frames");
    for (int i = 1000; i < 20000; ++i) viewerFrame();
    printResources("after 20,000 frames");
    std::fflush(stdout);
}

} // namespace

int main() {
    if (!BenchOwnConsole()) {
        std::fprintf(stderr, "no console (a display is needed)\n");
        return 1;
    }
    ProgramEntry(Body);
}
