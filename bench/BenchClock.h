// What every benchmark here needs: a steady clock, order statistics and a
// console of its own.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
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
