// Plimo: a small interactive 3-D scene viewer.
#include "plimo.h"

#include <cstdint>

#include "Graph.h"
#include "IO.h"
#include "Lib.h"
#include "M3K.h"
#include "controls.h"
#include "scene.h"

namespace {

constexpr uint32_t kWidth = 800;
constexpr uint32_t kDepth = 600;
constexpr uint32_t kFramePauseMs = 25;

constexpr uint32_t kHelpColour = 2; // green
constexpr uint32_t kHelpX = 50;

struct HelpLine {
    uint32_t y;
    const char* text;
    uint32_t length;
};

template <uint32_t N>
constexpr HelpLine helpLine(uint32_t y, const char (&text)[N]) {
    return {y, text, N};
}

constexpr HelpLine kHelp[] = {
    helpLine(30, "Press q to finish the program"),
    helpLine(45, "Press 'j' or 'l' to go left or right"),
    helpLine(60, "Press 'i' or 'k' to go backwards or forwards"),
    helpLine(75, "Press 'u' or 'o' to go up or down"),
};

// The last key read; it keeps its value from frame to frame.
uint8_t x = 0;

} // namespace

void Plimo_DrawFrame() {
    HorizonLines();
    for (const HelpLine& line : kHelp) Graph_RawOutText(kHelpX, line.y, kHelpColour, line.text, line.length);
    for (const Pillar& pillar : Pillars) Rect(pillar.top, PillarSize, pillar.colour, true);
}

void Plimo_ShowFrame() {
    Graph_BeginFrame();
    // The whole picture, edges included: erasing from (1, 1) would leave
    // the ends of cut ground lines piling up in the top row and left column.
    Graph_Rectangle(0, 0, kWidth - 1, kDepth - 1, 0, true);
    Plimo_DrawFrame();
    Graph_EndFrame();
}

void Plimo_Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    Graph_BEGIN();
    Lib_BEGIN();
    IO_BEGIN();

    if (!Graph_Init(1, 1, kWidth, kDepth)) {
        IO_WrStr("Sorry, graphics doesn't work");
        IO_WrLn();
        return;
    }
    do {
        Plimo_ShowFrame();
        Lib_Delay(kFramePauseMs);
        if (IO_KeyPressed()) {
            x = IO_RdKey();
            ApplyKey(x, dp);
        }
    } while (x != QuitKey);
}
