// graph_bench's rows of TrueType text and pages: Graph_RawOutText in a
// TrueType font (Graph_SetFont) against raw TextOutW of the same text with
// the same font on both DCs, bytes and UTF-8; and Graph_SetVisualPage, one
// page shown after another, against a raw BitBlt of the picture into the
// window DC. Main thread, after graph_bench's set-up.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GraphInternal.h"

namespace {

constexpr int kRounds = 9, kCalls = 2000, kTurn = 100;
const char kText[] = "Press q to finish the program";
const wchar_t kWide[] = L"Press q to finish the program";
// "Graph in Greek and Cyrillic": two-byte sequences all through.
const char kUtf8[] = "\xCE\x93\xCF\x81\xCE\xB1\xCF\x86\xCE\xAE \xD0\x93\xD1\x80\xD0\xB0\xD1\x84";
const wchar_t kUtf8Wide[] = L"\u0393\u03C1\u03B1\u03C6\u03AE \u0413\u0440\u0430\u0444";

double Median(const std::vector<std::function<void(int)>>& bodies, size_t k, std::vector<double>* all) {
    std::vector<std::vector<double>> samples(bodies.size());
    for (int r = 0; r < kRounds; ++r) {
        const std::vector<double> round = BenchTurns(kCalls, kTurn, bodies, [] { GdiFlush(); });
        for (size_t i = 0; i < bodies.size(); ++i) samples[i].push_back(round[i]);
    }
    for (size_t i = 0; i < bodies.size(); ++i) (*all)[i] = BenchPercentile(samples[i], 0.5);
    return (*all)[k];
}

void Row(const char* name, const std::function<void(int)>& graph, const std::function<void(int)>& raw) {
    std::vector<double> m(2);
    Median({graph, raw}, 0, &m);
    std::printf("%-36s %9.2f %9.2f %8.2f\n", name, m[0], m[1], m[0] / m[1]);
}

} // namespace

void BenchTextAndPages() {
    const char* face = "Liberation Sans";
    if (!Graph_SetFont(face, 20, 0, 0)) face = "DejaVu Sans";
    if (!Graph_SetFont(face, 20, 0, 0)) {
        std::printf("\nTrueType text: no TrueType font\n");
        return;
    }
    HDC targets[2] = {Graph_BufferDC, Graph_WindowDC};
    // Raw GDI drawing with the very font Graph selected in both DCs.
    auto raw = [&](const wchar_t* text, int length) {
        return [=](int i) {
            for (HDC dc : targets) {
                SetTextColor(dc, PALETTEINDEX(i & 15));
                TextOutW(dc, i % 500, 250, text, length);
            }
        };
    };
    std::printf("\nTrueType text (%s, 20 px) and pages, mean microseconds per call, median of %d rounds,\n"
                "(b) raw GDI on the same two DCs: TextOutW with the same font; a BitBlt of the picture\n\n",
                face, kRounds);
    std::printf("%-36s %9s %9s %8s\n", "operation", "Graph", "(b)", "G/(b)");
    Row("Graph_RawOutText TrueType (29 chars)",
        [](int i) { Graph_RawOutText(i % 500, 250, i & 15, kText, sizeof kText - 1); },
        raw(kWide, static_cast<int>(wcslen(kWide))));
    Graph_SetTextUTF8(true);
    Row("Graph_RawOutText UTF-8 (16 chars)",
        [](int i) { Graph_RawOutText(i % 500, 250, i & 15, kUtf8, sizeof kUtf8 - 1); },
        raw(kUtf8Wide, static_cast<int>(wcslen(kUtf8Wide))));
    Graph_SetTextUTF8(false);
    Graph_SetFont(nullptr, 0, 0, 0);

    // Pages: two pages shown in turn, against the copy that shows one.
    Graph_SetActivePage(1);
    Graph_ClearScreen(0);
    Graph_SetActivePage(0);
    Row("Graph_SetVisualPage (800 x 600)", [](int i) { Graph_SetVisualPage(i & 1); },
        [](int) {
            Graph_BufferLock lock; // as a paint would hold it
            BitBlt(Graph_WindowDC, 0, 0, static_cast<int>(Graph_Width), static_cast<int>(Graph_Depth),
                   Graph_Back.ReadDC(), 0, 0, SRCCOPY);
        });
    Graph_SetVisualPage(0);
}
