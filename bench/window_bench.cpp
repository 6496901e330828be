// Prints two figures of the graphics window; asserts nothing about time.
//  - Graph_Init: from its call to its return, each in a fresh process (one
//    window per process), median of 20 after one warm-up run;
//  - key delivery: from a WM_KEYDOWN posted to the window to IO_KeyPressed
//    reporting the key (window thread, console input, reader thread, queue).
// Run it inside a display session: window_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GraphWindow.h"
#include "IO.h"

namespace {

constexpr int kInitRuns = 20;
constexpr int kKeyRuns = 200;
constexpr UINT kScanI = 0x17;

int printBox(const char* text, const char*, unsigned) {
    std::fprintf(stderr, "error box: %s\n", text);
    return IDOK;
}

// Child: one Graph_Init, its time on the standard output.
int initOnce() {
    Graph_ErrorBox = printBox;
    Graph_BEGIN();
    const double start = BenchNowUs();
    const bool opened = Graph_Init(1, 1, 800, 600);
    const double took = BenchNowUs() - start;
    if (!opened) return 1;
    std::printf("%.1f\n", took);
    return 0;
}

// Runs this program with "init" and reads the time it prints (-1: failed).
double runInitChild() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string line = std::string("\"") + self + "\" init";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    std::string out;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) out.append(buffer, read);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return out.empty() ? -1 : std::atof(out.c_str());
}

void benchInit() {
    runInitChild(); // warm-up: DLLs and fonts cached
    std::vector<double> times;
    for (int i = 0; i < kInitRuns; ++i) {
        const double t = runInitChild();
        if (t >= 0) times.push_back(t);
    }
    std::printf("Graph_Init, call to return: median %.2f ms, min %.2f ms, max %.2f ms (%zu runs)\n",
                BenchPercentile(times, 0.5) / 1000, times.empty() ? 0 : *std::min_element(times.begin(), times.end()) / 1000,
                times.empty() ? 0 : *std::max_element(times.begin(), times.end()) / 1000, times.size());
}

void benchKeys() {
    Graph_ErrorBox = printBox;
    // WINE: without a terminal Wine gives the process no console; a new one
    // works under a display.
    FreeConsole();
    if (!AllocConsole()) {
        std::printf("key delivery: no console\n");
        return;
    }
    if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);
    Graph_BEGIN();
    IO_BEGIN();
    if (!Graph_Init(1, 1, 800, 600)) return;
    Sleep(500);
    const LPARAM down = static_cast<LPARAM>(1u | (kScanI << 16));
    std::vector<double> times;
    for (int i = 0; i < kKeyRuns; ++i) {
        const double start = BenchNowUs();
        PostMessageA(Graph_Window, WM_KEYDOWN, 0, down);
        while (!IO_KeyPressed()) {
            if (BenchNowUs() - start > 2e6) break;
        }
        const double took = BenchNowUs() - start;
        if (IO_KeyPressed() && IO_RdKey() == 'i') times.push_back(took);
        Sleep(2);
    }
    std::printf("posted WM_KEYDOWN to IO_KeyPressed: median %.1f us, 90th percentile %.1f us (%zu of %d keys)\n",
                BenchPercentile(times, 0.5), BenchPercentile(times, 0.9), times.size(), kKeyRuns);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "init") == 0) return initOnce();
    benchInit();
    benchKeys();
    std::fflush(stdout);
    ExitProcess(0); // the window thread lives until the process ends
}
