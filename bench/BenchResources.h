// The resources a long run must not pile up: the process's live GDI objects
// and its private memory, each with the way it was counted.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdint>

// WINE: Wine's GetGuiResources answers 0; its GDI handles are table indices in
// the low word and accept a zero high word, so the live objects are counted
// by asking each index for its type.
inline DWORD BenchGdiObjects(const char** how) {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        *how = "GetGuiResources";
        return reported;
    }
    *how = "live handle indices";
    DWORD n = 0;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
    return n;
}

// WINE: Wine reports a PrivateUsage of 0; the committed private pages of the
// address space are then added up instead.
inline double BenchPrivateKiB(const char** how) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) &&
        counters.PrivateUsage != 0) {
        *how = "PrivateUsage";
        return static_cast<double>(counters.PrivateUsage) / 1024;
    }
    *how = "committed private pages";
    uint64_t bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        if (region.RegionSize == 0) break;
    }
    return static_cast<double>(bytes) / 1024;
}
