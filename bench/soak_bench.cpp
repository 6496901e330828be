// The soak: what a long run leaves behind. Prints samples and the growth;
// asserts nothing.
//  - the viewer's own loop (Plimo_Body) for M minutes (default 10) with a
//    random key typed every 100 ms, sampled every minute;
//  - then N frames (default 100,000) drawn without the pause, sampled every
//    10,000 frames.
// Each sample: live GDI objects and private memory. Flat is what we want: the
// maximum growth over the first sample of each part is printed at the end.
// Run it inside a display session: soak_bench.exe [MINUTES [FRAMES]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "BenchClock.h"
#include "BenchResources.h"
#include "Graph.h"
#include "GraphWindow.h"
#include "M3K.h"
#include "kfrIGraph.h"
#include "plimo.h"

namespace {

constexpr DWORD kKeyIntervalMs = 100, kSampleIntervalMs = 60000;
constexpr int kFramesPerSample = 10000;

int minutes = 10, frames = 100000;

struct Sample {
    double at; // minutes or frames
    DWORD gdi;
    double privateKiB;
};
std::vector<Sample> loopSamples, drawSamples;
const char* gdiHow = "";
const char* memoryHow = "";
int keysTyped = 0;

Sample take(double at) { return {at, BenchGdiObjects(&gdiHow), BenchPrivateKiB(&memoryHow)}; }

// A key press and its release as the graphics window forwards them: scan code,
// no character. Any key of the table but q, half of them the six that move.
void typeRandomKey(std::mt19937& random) {
    static const WORD moving[] = {0x17, 0x25, 0x24, 0x26, 0x16, 0x18}; // i k j l u o
    WORD scan = moving[random() % 6];
    if (random() % 2 == 0) {
        do scan = static_cast<WORD>(1 + random() % 0x58); while (scan == 0x10);
    }
    INPUT_RECORD r[2] = {};
    for (int i = 0; i < 2; ++i) {
        r[i].EventType = KEY_EVENT;
        r[i].Event.KeyEvent.bKeyDown = i == 0;
        r[i].Event.KeyEvent.wRepeatCount = 1;
        r[i].Event.KeyEvent.wVirtualScanCode = scan;
    }
    DWORD written;
    WriteConsoleInputA(kfrIGraph_hConsoleInput, r, 2, &written);
    ++keysTyped;
}

// Second thread: keys every 100 ms, a sample every minute, then `q`.
DWORD WINAPI drive(LPVOID) {
    while (Graph_Window == nullptr) Sleep(10);
    Sleep(1000);
    std::mt19937 random(13);
    const double start = BenchNowUs() / 1e3;
    loopSamples.push_back(take(0));
    for (int minute = 1; minute <= minutes; ++minute) {
        while (BenchNowUs() / 1e3 - start < minute * double(kSampleIntervalMs)) {
            typeRandomKey(random);
            Sleep(kKeyIntervalMs);
        }
        loopSamples.push_back(take(minute));
        std::printf("  loop minute %2d: GDI objects %5lu, private memory %8.0f KiB\n", minute,
                    static_cast<unsigned long>(loopSamples.back().gdi), loopSamples.back().privateKiB);
        std::fflush(stdout);
    }
    INPUT_RECORD q = {};
    q.EventType = KEY_EVENT;
    q.Event.KeyEvent = {TRUE, 1, 'Q', 0x10, {'q'}, 0};
    DWORD written;
    WriteConsoleInputA(kfrIGraph_hConsoleInput, &q, 1, &written);
    return 0;
}

void printGrowth(const char* part, const std::vector<Sample>& samples) {
    if (samples.empty()) return;
    DWORD gdiMax = samples[0].gdi;
    double memoryMax = samples[0].privateKiB;
    for (const Sample& s : samples) {
        gdiMax = std::max(gdiMax, s.gdi);
        memoryMax = std::max(memoryMax, s.privateKiB);
    }
    std::printf("  %-28s GDI objects %+ld, private memory %+.0f KiB (over %zu samples)\n", part,
                static_cast<long>(gdiMax) - static_cast<long>(samples[0].gdi), memoryMax - samples[0].privateKiB,
                samples.size());
}

void Body(int argc, char** argv) {
    std::printf("viewer loop, %d min, a random key every %lu ms:\n", minutes, kKeyIntervalMs);
    std::fflush(stdout);
    const HANDLE driver = CreateThread(nullptr, 0, drive, nullptr, 0, nullptr);
    Plimo_Body(argc, argv); // returns after the driver's `q`
    WaitForSingleObject(driver, 30000);
    if (loopSamples.empty()) {
        std::printf("the loop did not run (no window?)\n");
        return;
    }
    std::printf("  %d keys typed\n", keysTyped);

    std::printf("%d frames without the pause:\n", frames);
    drawSamples.push_back(take(0));
    const double start = BenchNowUs();
    for (int i = 1; i <= frames; ++i) {
        Plimo_DrawFrame();
        Graph_Rectangle(0, 0, Graph_Width - 1, Graph_Depth - 1, 0, true);
        if (i % kFramesPerSample == 0) {
            drawSamples.push_back(take(i));
            std::printf("  frame %6d: GDI objects %5lu, private memory %8.0f KiB (%.2f ms a frame so far)\n", i,
                        static_cast<unsigned long>(drawSamples.back().gdi), drawSamples.back().privateKiB,
                        (BenchNowUs() - start) / 1e3 / i);
            std::fflush(stdout);
        }
    }
    std::printf("maximum growth over the first sample (GDI objects: %s; memory: %s):\n", gdiHow, memoryHow);
    printGrowth("viewer loop", loopSamples);
    printGrowth("frames without the pause", drawSamples);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) minutes = std::max(1, std::atoi(argv[1]));
    if (argc > 2) frames = std::max(kFramesPerSample, std::atoi(argv[2]));
    if (!BenchOwnConsole()) {
        std::fprintf(stderr, "no console (a display is needed)\n");
        return 1;
    }
    ProgramEntry(Body);
}
