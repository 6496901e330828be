// Figures of the console library on a console of its own:
//  - the reader thread's CPU time while no input comes (it must block);
//  - the time from WriteConsoleInputA to IO_KeyPressed reporting the key;
//  - Lib_Delay(25)'s actual pause;
//  - heap use on the key path after start-up.
// usage: console_bench [idle seconds, default 10]
#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "BenchClock.h"
#include "IO.h"
#include "Lib.h"
#include "kfrEvQueInternal.h"
#include "kfrIGraph.h"

namespace {

std::atomic<long> newCalls{0};

double threadCpuMs(HANDLE thread) {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](FILETIME f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

struct HeapUse {
    long blocks = 0;
    unsigned long long bytes = 0;
};

// The C runtime's heap, block by block.
HeapUse crtHeapUse() {
    HeapUse use;
    _HEAPINFO info{};
    while (_heapwalk(&info) == _HEAPOK) {
        if (info._useflag == _USEDENTRY) {
            ++use.blocks;
            use.bytes += info._size;
        }
    }
    return use;
}

void report(const char* what, std::vector<double> v, const char* unit) {
    std::sort(v.begin(), v.end());
    std::printf("%-34s median %8.1f  p99 %8.1f  max %8.1f %s (n=%zu)\n", what, v[v.size() / 2],
                v[v.size() * 99 / 100], v.back(), unit, v.size());
}

INPUT_RECORD keyA() {
    INPUT_RECORD r{};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.bKeyDown = TRUE;
    r.Event.KeyEvent.wRepeatCount = 1;
    r.Event.KeyEvent.wVirtualScanCode = 0x1E;
    return r;
}

} // namespace

void* operator new(std::size_t size) {
    newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    if (!BenchOwnConsole()) {
        std::fprintf(stderr, "no console (a display is needed)\n");
        return 1;
    }
    // The bench's own output goes to whatever the caller gave, not the new console.
    Lib_BEGIN();
    IO_BEGIN();
    HANDLE reader = kfrEvQue_readerHandle();
    if (reader == nullptr) return 1;
    std::vector<double> latency, delay;
    latency.reserve(1000);
    delay.reserve(100);

    Sleep(200); // let the reader thread settle in its wait
    const double cpu0 = threadCpuMs(reader);
    Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double cpu1 = threadCpuMs(reader);
    std::printf("reader thread CPU over %d s idle:     %.1f ms\n", idleSeconds, cpu1 - cpu0);

    // The first keys are a warm-up: Wine's console code sets up its buffers then.
    constexpr int kWarmUp = 20, kKeys = 1000;
    HeapUse heap0;
    long new0 = 0;
    double cpu2 = 0;
    const INPUT_RECORD record = keyA();
    for (int i = 0; i < kWarmUp + kKeys; ++i) {
        if (i == kWarmUp) {
            heap0 = crtHeapUse();
            new0 = newCalls.load();
            cpu2 = threadCpuMs(reader);
        }
        DWORD written;
        const double t0 = BenchNowUs();
        WriteConsoleInputA(kfrIGraph_hConsoleInput, &record, 1, &written);
        // A polite poller, as a program's frame loop is: it gives the core away
        // between tests, so the figure is the delivery time, not a scheduling race.
        while (!IO_KeyPressed()) {
            if (BenchNowUs() - t0 > 5e6) {
                std::printf("key %d never arrived\n", i);
                return 2;
            }
            SwitchToThread();
        }
        if (i >= kWarmUp) latency.push_back(BenchNowUs() - t0);
        IO_RdKey();
    }
    const double cpu3 = threadCpuMs(reader);
    const HeapUse heap1 = crtHeapUse();
    const long new1 = newCalls.load();
    report("WriteConsoleInputA -> IO_KeyPressed", latency, "us");
    std::printf("reader thread CPU for 1000 keys:    %.1f ms\n", cpu3 - cpu2);
    std::printf("heap on the key path (1000 keys):   operator new %ld calls; CRT heap %+ld blocks, %+lld bytes\n",
                new1 - new0, heap1.blocks - heap0.blocks,
                static_cast<long long>(heap1.bytes) - static_cast<long long>(heap0.bytes));

    for (int i = 0; i < 100; ++i) {
        const double t0 = BenchNowUs();
        Lib_Delay(25);
        delay.push_back((BenchNowUs() - t0) / 1000.0);
    }
    report("Lib_Delay(25)", delay, "ms");
    std::fflush(stdout);
    return 0;
}
