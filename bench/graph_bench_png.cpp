// graph_bench's row of picture files: a 640 x 480 PNG file loaded with
// Graph_LoadPicture against the same file read, decoded and copied to both DCs
// with the imaging component directly (COM entered and the factory made once,
// as a program using it would). Main thread, after graph_bench's set-up.
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GraphFiles.h"
#include "GraphInternal.h"
#include "GraphPictureCodecs.h"
#include "picture.h"

namespace {

constexpr uint32_t kPngWidth = 640, kPngHeight = 480;
constexpr int kPngRounds = 9;

// A photograph's worth of detail: smooth gradients with noise, so the file
// compresses as real pictures do, not as flat colour.
std::vector<uint32_t> Scene() {
    std::vector<uint32_t> pixels(kPngWidth * kPngHeight);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < kPngHeight; ++y) {
        for (uint32_t x = 0; x < kPngWidth; ++x) {
            noise = noise * 1103515245 + 12345;
            const uint32_t n = noise >> 28;
            pixels[y * kPngWidth + x] = ((x * 255 / kPngWidth + n) & 0xFF) << 16 | ((y * 255 / kPngHeight + n) & 0xFF) << 8 |
                                        (((x + y) / 5 + n) & 0xFF);
        }
    }
    return pixels;
}

// The file read, decoded into memory of its own and drawn on both DCs by hand.
bool Direct(IWICImagingFactory* factory, const char* path) {
    std::vector<uint8_t> file;
    std::vector<uint32_t> pixels;
    if (!Graph_ReadFileWhole(path, file, Graph_PictureFileLimit)) return false;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0, height = 0;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(file.data(), static_cast<DWORD>(file.size()))) &&
              SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, &decoder)) &&
              SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
              SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                              WICBitmapPaletteTypeCustom));
    if (ok) {
        pixels.resize(static_cast<size_t>(width) * height);
        ok = SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                             reinterpret_cast<BYTE*>(pixels.data())));
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (stream) stream->Release();
    if (!ok) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(width), -static_cast<LONG>(height), 1, 32, BI_RGB, 0, 0,
                      0, 0, 0};
    for (HDC dc : {Graph_BufferDC, Graph_WindowDC}) {
        StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    return true;
}

} // namespace

void BenchPngLoad() {
    std::vector<uint8_t> file;
    const std::vector<uint32_t> scene = Scene();
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "plimo-bench-" + std::to_string(GetCurrentProcessId()) + ".png";
    if (!Graph_EncodeBmp(scene.data(), kPngWidth, kPngHeight, file) || !Graph_BmpToPng(file) ||
        !Graph_WriteFileWhole(path.c_str(), file.data(), file.size())) {
        std::printf("\npicture file: no PNG file could be made\n");
        return;
    }
    // First on a thread outside COM, as in a program that never enters it:
    // then each load enters COM and leaves it again.
    bool ok = true;
    std::vector<double> outside;
    for (int i = 0; i < 20; ++i) {
        const double start = BenchNowUs();
        ok = Graph_LoadPicture(path.c_str(), 0, 0) && ok;
        GdiFlush();
        outside.push_back(BenchNowUs() - start);
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory)))) {
        std::printf("\npicture file: no imaging factory\n");
        return;
    }
    const std::vector<std::function<void(int)>> bodies = {
        [&](int) { ok = Graph_LoadPicture(path.c_str(), 0, 0) && ok; },
        [&](int) { ok = Direct(factory, path.c_str()) && ok; }};
    std::vector<double> graph, direct;
    for (int round = 0; round < kPngRounds; ++round) {
        const std::vector<double> t = BenchTurns(40, 2, bodies, [] { GdiFlush(); });
        graph.push_back(t[0]);
        direct.push_back(t[1]);
    }
    const double g = BenchPercentile(graph, 0.5), d = BenchPercentile(direct, 0.5);
    std::printf("\npicture file: a %u x %u PNG file (%zu bytes) read, decoded and drawn on both DCs, ms per file,\n"
                "median of %d rounds of turns of 2 with COM entered by the program; (w) the imaging component called\n"
                "directly; Graph alone on a thread outside COM, median of 20\n\n",
                kPngWidth, kPngHeight, file.size(), kPngRounds);
    std::printf("%-36s %9s %9s %8s %12s\n", "file", "Graph", "(w)", "G/(w)", "outside COM");
    std::printf("%-36s %9.2f %9.2f %8.2f %12.2f%s\n", "Graph_LoadPicture (640 x 480 PNG)", g / 1000, d / 1000, g / d,
                BenchPercentile(outside, 0.5) / 1000, ok ? "" : "  (a load failed)");
    factory->Release();
    CoUninitialize();
    DeleteFileA(path.c_str());
}
