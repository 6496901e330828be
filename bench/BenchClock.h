// What every benchmark here needs: a steady clock, order statistics, a
// console of its own and a fair way to time alternatives against each other.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

// Microseconds on the performance counter.
inline double BenchNowUs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The value below which the fraction p of the samples lie (p = 0.5: the
// median, p = 1: the largest); 0 for no samples.
inline double BenchPercentile(std::vector<double> samples, double p) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<std::size_t>(p * static_cast<double>(samples.size() - 1) + 0.5)];
}

// A console of the benchmark's own, its input as the standard input (the
// keys are written into it); the standard output stays the caller's. False
// when none can be made (a display is needed).
inline bool BenchOwnConsole() {
    FreeConsole();
    if (!AllocConsole()) return false;
    SetStdHandle(STD_INPUT_HANDLE, CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                               0, nullptr));
    return true;
}

// Times the bodies against each other: n calls of each, body(i) for i from 0
// to n - 1, in turns of `block` calls, each turn starting with the next body
// (the bodies of one turn usually touch the same memory, and the first finds
// it out of the processor's cache). `settle` runs around each timed turn (to
// flush queued drawing). Returns each body's median turn in microseconds per
// call: on a shared machine a turn that another process interrupts is an
// outlier, and all bodies meet the same load.
inline std::vector<double> BenchTurns(int n, int block, const std::vector<std::function<void(int)>>& bodies,
                                      void (*settle)() = [] {}) {
    std::vector<std::vector<double>> turns(bodies.size());
    for (int first = 0, turn = 0; first < n; first += block, ++turn) {
        const int last = std::min(n, first + block);
        for (std::size_t j = 0; j < bodies.size(); ++j) {
            const std::size_t k = (j + static_cast<std::size_t>(turn)) % bodies.size();
            settle();
            const double start = BenchNowUs();
            for (int i = first; i < last; ++i) bodies[k](i);
            settle();
            turns[k].push_back((BenchNowUs() - start) / (last - first));
        }
    }
    std::vector<double> medians;
    for (const auto& t : turns) medians.push_back(BenchPercentile(t, 0.5));
    return medians;
}
