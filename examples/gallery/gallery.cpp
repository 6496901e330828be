// The gallery: what Graph draws, a page per key. Any key or a left click shows
// the next page (after the last, the first again); `q` or the window's close
// box ends the program. Each page is drawn as one frame: it appears whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <plimo/Graph.h>
#include <plimo/IO.h>
#include <plimo/Lib.h>
#include <plimo/M3K.h>

#include "gallery.h"

namespace {

using namespace gallery;

// ---- page 1: the standard colours -----------------------------------------

// Cell of colour n in a 4 x 4 grid; the box is filled with the colour, its
// number and name stand beside it.
constexpr uint32_t kColourLeft = 20, kColourTop = 60;
constexpr uint32_t kColourCellW = 195, kColourCellH = 120;
constexpr uint32_t kColourBoxW = 80, kColourBoxH = 90;

const char* const kColourNames[16] = {
    "black",   "blue",       "green",       "cyan",       "red",       "magenta",       "brown",  "light grey",
    "dark grey", "light blue", "light green", "light cyan", "light red", "light magenta", "yellow", "white",
};

void colourPage() {
    for (uint32_t n = 0; n < 16; ++n) {
        const uint32_t x = kColourLeft + (n % 4) * kColourCellW;
        const uint32_t y = kColourTop + (n / 4) * kColourCellH;
        Graph_Rectangle(x, y, x + kColourBoxW - 1, y + kColourBoxH - 1, n, true);
        // Black on black needs a frame to be seen.
        if (n == kBlack) Graph_Rectangle(x, y, x + kColourBoxW - 1, y + kColourBoxH - 1, kDarkGrey, false);
        char number[4];
        std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(n));
        text(x + kColourBoxW + 8, y + 20, kWhite, number);
        text(x + kColourBoxW + 8, y + 40, kLightGrey, kColourNames[n]);
    }
}

// ---- page 2: line styles ----------------------------------------------------

const char* const kStyleNames[6] = {"0 solid", "1 dotted", "2 dashed", "3 dash-dot", "4 dash-dot-dot", "5 invisible"};

void lineStylePage() {
    for (uint32_t style = 0; style < 6; ++style) {
        const uint32_t y = 70 + style * 80;
        text(20, y + 12, kWhite, kStyleNames[style]);
        Graph_SetLinestyle(style);
        Graph_Line(180, y + 20, 520, y + 20, kYellow);
        Graph_Line(180, y + 5, 520, y + 45, kLightGreen);
        Graph_Rectangle(560, y, 760, y + 50, kLightRed, false);
    }
    Graph_SetLinestyle(0);
    text(180, 530, kLightGrey, "A line's end point is set solid whatever the style, even style 5;");
    text(180, 550, kLightGrey, "filled shapes always get a solid frame.");
}

// ---- page 3: fill patterns ---------------------------------------------------

struct Fill {
    const char* name;
    const uint32_t* pattern; // nullptr: the user mask
};

// A heart, row 0 at the top, most significant bit leftmost.
constexpr uint8_t kHeart[8] = {0x00, 0x66, 0xFF, 0xFF, 0xFF, 0x7E, 0x3C, 0x18};

void fillPage() {
    const Fill fills[8] = {
        {"HORIZ", &Graph_PATSYM_HORIZ},   {"VERT", &Graph_PATSYM_VERT},     {"DIAG2", &Graph_PATSYM_DIAG2},
        {"DIAG1", &Graph_PATSYM_DIAG1},   {"DENSE2", &Graph_PATSYM_DENSE2}, {"DENSE1", &Graph_PATSYM_DENSE1},
        {"SOLID", &Graph_PATSYM_SOLID},   {"user mask", nullptr},
    };
    // The background colour shows between the hatch lines and for the mask's 0 bits.
    Graph_SetBkColor(kBlue);
    for (uint32_t i = 0; i < 8; ++i) {
        const uint32_t x = 20 + (i % 4) * 195;
        const uint32_t y = 70 + (i / 4) * 240;
        if (fills[i].pattern != nullptr) {
            Graph_SetStdFillMask(*fills[i].pattern);
        } else {
            Graph_SetFillMask(kHeart);
        }
        Graph_Rectangle(x, y, x + 170, y + 170, i == 7 ? kLightRed : kYellow, true);
    }
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_SetBkColor(kBlack);
    for (uint32_t i = 0; i < 8; ++i) text(20 + (i % 4) * 195, 70 + (i / 4) * 240 + 180, kWhite, fills[i].name);
    text(20, 545, kLightGrey, "hatches and the mask over a blue background colour");
}

// ---- page 4: text --------------------------------------------------------------

void textPage() {
    text(20, 70, kWhite, "Text in the window's font, at any pixel, in any colour:");
    for (uint32_t n = 1; n < 16; ++n) text(20 + (n - 1) * 50, 100, n, "Abc");

    // A band to show the background mix on.
    Graph_Rectangle(20, 150, 779, 259, kDarkGrey, true);
    Graph_SetBkColor(kBlue);
    text(40, 170, kYellow, "opaque mix: each cell painted in the background colour");
    Graph_SetBkMix(false);
    text(40, 210, kYellow, "transparent mix: the band shows between the letters");
    Graph_SetBkMix(true);
    Graph_SetBkColor(kBlack);

    text(20, 300, kLightGreen, "No wrapping: a line of text that runs on past the right edge of the picture is simply cut off there, like this one.");
    text(20, 340, kLightGrey, "Strings end at their first NUL or after 257 characters.");
}

// ---- page 5: a palette remap --------------------------------------------------

constexpr uint32_t kRampEntries = 64;

// Entries 0 (black) and 63 (white) for the words; 1 to 62 a ramp from red
// through green to blue.
void rampPalette(uint32_t (&table)[kRampEntries]) {
    table[0] = 0x000000;
    table[kRampEntries - 1] = 0xFFFFFF;
    const uint32_t steps = kRampEntries - 2;
    for (uint32_t i = 0; i < steps; ++i) {
        const uint32_t t = i * 510 / (steps - 1); // 0 .. 510
        const uint32_t r = t < 255 ? 255 - t : 0;
        const uint32_t g = t < 255 ? t : 510 - t;
        const uint32_t b = t < 255 ? 0 : t - 255;
        table[1 + i] = (r << 16) | (g << 8) | b;
    }
}

void palettePage() {
    uint32_t table[kRampEntries];
    rampPalette(table);
    if (Graph_RemapAllPalette(table, kRampEntries) != 0) {
        text(20, 70, kWhite, "This display shows too few colours for a palette of 64 entries.");
        return;
    }
    const uint32_t white = kRampEntries - 1;
    text(20, 70, white, "Graph_RemapAllPalette: colour numbers 1 to 62 now mean a ramp,");
    text(20, 90, white, "63 white; the standard palette comes back on the next page.");
    for (uint32_t n = 1; n < white; ++n) {
        const uint32_t x = 20 + (n - 1) * 12;
        Graph_Rectangle(x, 140, x + 11, 460, n, true);
    }
}

// ---- the pages ----------------------------------------------------------------------

struct Page {
    const char* title;
    void (*draw)();
};

constexpr Page kPages[] = {
    {"the 16 standard colours", colourPage},
    {"line styles", lineStylePage},
    {"fill patterns", fillPage},
    {"text", textPage},
    {"a palette remap", palettePage},
    {"ellipses, arcs and pies", ellipsePage},
    {"polylines, polygons and flood fill", polygonPage},
    {"pixels, image blocks and picture files", imagePage},
    {"colours, widths, patterns, clip, XOR, blending", attributePage},
    {"fonts and directions", fontPage},
    {"UTF-8 text", utf8Page},
    {"a PNG file", pngPage},
};
constexpr uint32_t kPageCount = sizeof kPages / sizeof kPages[0];

// The key that led to a page, as IO_RdKey gave it: a character, or 0 and a code.
struct Key {
    uint8_t ch = 0;
    uint8_t code = 0;
    bool any = false;
};

void showPage(uint32_t page, const Key& key) {
    Graph_BeginFrame();
    Graph_InitStdPalette();
    Graph_ClearScreen(0);
    char line[96];
    std::snprintf(line, sizeof line, "Plimo gallery, page %u of %u: %s", static_cast<unsigned>(page + 1),
                  static_cast<unsigned>(kPageCount), kPages[page].title);
    text(20, 20, kWhite, line);
    if (key.ch != 0) {
        std::snprintf(line, sizeof line, "any key or click: next page   q or close box: end   (last key: %u)", key.ch);
    } else if (key.any) {
        std::snprintf(line, sizeof line, "any key or click: next page   q or close box: end   (last key: 0 then %u)",
                      key.code);
    } else {
        std::snprintf(line, sizeof line, "any key or click: next page   q or close box: end");
    }
    text(20, kDepth - 30, kLightGrey, line);
    // Last: a page may load a palette of its own.
    kPages[page].draw();
    Graph_EndFrame();
}

// Where the mouse is, in the bottom right corner; the wheel's last turn.
void showMouse(const Graph_MouseEvent& event) {
    static int32_t wheel = 0;
    if (event.kind == Graph_MOUSE_WHEEL) wheel = event.wheel;
    char line[48];
    std::snprintf(line, sizeof line, "mouse %3u,%3u  wheel %+d   ", static_cast<unsigned>(event.x),
                  static_cast<unsigned>(event.y), static_cast<int>(wheel));
    Graph_BeginFrame();
    Graph_Rectangle(kWidth - 200, kDepth - 30, kWidth - 1, kDepth - 10, kBlack, true);
    text(kWidth - 200, kDepth - 30, kLightGrey, line);
    Graph_EndFrame();
}

enum class Input { key, click, close };

// Waits for a key, a left click or a close request, showing the mouse meanwhile.
Input waitForInput() {
    for (;;) {
        if (IO_KeyPressed()) return Input::key;
        if (Graph_CloseRequested()) return Input::close;
        Graph_MouseEvent event;
        while (Graph_ReadMouse(&event)) {
            if (event.kind == Graph_MOUSE_PRESS && event.buttons == Graph_BUTTON_LEFT) return Input::click;
            showMouse(event);
        }
        Lib_Delay(20);
    }
}

void Gallery_Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    Graph_BEGIN();
    Lib_BEGIN();
    IO_BEGIN();

    if (!Graph_TryInit(1, 1, kWidth, kDepth)) {
        IO_WrStr("Sorry, graphics doesn't work: ");
        IO_WrStr(Graph_LastError(), static_cast<uint32_t>(std::strlen(Graph_LastError())));
        IO_WrLn();
        return;
    }
    uint32_t page = 0;
    Key key;
    for (;;) {
        showPage(page, key);
        const Input input = waitForInput();
        if (input == Input::close) return;
        if (input == Input::key) {
            key.ch = IO_RdKey();
            key.code = key.ch == 0 ? IO_RdKey() : 0;
            key.any = true;
            if (key.ch == 'q') return;
        }
        page = (page + 1) % kPageCount;
    }
}

} // namespace

int main() { ProgramEntry(Gallery_Body); }
