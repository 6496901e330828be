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

namespace {

constexpr uint32_t kWidth = 800;
constexpr uint32_t kDepth = 600;

constexpr uint32_t kBlack = 0;
constexpr uint32_t kBlue = 1;
constexpr uint32_t kLightGrey = 7;
constexpr uint32_t kDarkGrey = 8;
constexpr uint32_t kLightGreen = 10;
constexpr uint32_t kLightRed = 12;
constexpr uint32_t kYellow = 14;
constexpr uint32_t kWhite = 15;

void text(uint32_t x, uint32_t y, uint32_t colour, const char* s) {
    Graph_RawOutText(x, y, colour, s, static_cast<uint32_t>(std::strlen(s)));
}

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

// ---- page 6: ellipses, arcs and pies --------------------------------------------

void ellipsePage() {
    text(20, 60, kWhite, "Graph_Ellipse fills or outlines the ellipse inside its box:");
    Graph_Ellipse(20, 90, 219, 209, kLightRed, true);
    Graph_Ellipse(240, 90, 359, 209, kYellow, false);
    Graph_SetStdFillMask(Graph_PATSYM_DENSE1);
    Graph_Ellipse(380, 90, 779, 209, kLightGreen, true);
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    text(20, 240, kWhite, "Graph_Arc and Graph_Pie: start and sweep in degrees, counter-clockwise from 3 o'clock:");
    const int32_t sweeps[4] = {45, 135, 270, -90};
    for (uint32_t i = 0; i < 4; ++i) {
        const uint32_t x = 20 + i * 195;
        char label[32];
        std::snprintf(label, sizeof label, "0, %d", static_cast<int>(sweeps[i]));
        Graph_Rectangle(x, 270, x + 150, 420, kDarkGrey, false);
        Graph_Arc(x, 270, x + 150, 420, 0, sweeps[i], kYellow);
        Graph_Pie(x + 25, 295, x + 125, 395, 0, sweeps[i], 2 + i, true);
        text(x, 430, kLightGrey, label);
    }
}

// ---- page 7: polylines, polygons and flood fill ------------------------------------

void polygonPage() {
    text(20, 60, kWhite, "Graph_Polyline (open, dotted), Graph_Polygon (closed, filled), Graph_FloodFill:");
    Graph_Point zigzag[12];
    for (uint32_t i = 0; i < 12; ++i) zigzag[i] = {20 + i * 20, i % 2 ? 120u : 220u};
    Graph_SetLinestyle(1);
    Graph_Polyline(zigzag, 12, kYellow);
    Graph_SetLinestyle(0);
    const Graph_Point star[10] = {{400, 90},  {422, 150}, {490, 155}, {435, 195}, {455, 260},
                                  {400, 222}, {345, 260}, {365, 195}, {310, 155}, {378, 150}};
    Graph_Polygon(star, 10, kLightRed, true);
    // A figure of lines, then filled up to its border from a point inside.
    Graph_Ellipse(560, 90, 760, 260, kWhite, false);
    Graph_Line(560, 175, 760, 175, kWhite);
    Graph_SetStdFillMask(Graph_PATSYM_DIAG1);
    Graph_FloodFill(660, 130, kLightGreen, kWhite);
    Graph_SetStdFillMask(Graph_PATSYM_SOLID);
    Graph_FloodFill(660, 220, kBlue, kWhite);
    text(20, 300, kLightGrey, "The fill stops at pixels of the border colour number, in the pattern in force.");
}

// ---- page 8: pixels, image blocks and picture files ---------------------------------

void imagePage() {
    text(20, 60, kWhite, "Graph_GetImage, then Graph_PutImage with each mode:");
    for (uint32_t i = 0; i < 8; ++i) Graph_Ellipse(20 + i * 8, 90, 99 - i * 8, 169, 8 + i, true);
    for (uint32_t i = 0; i < 80; i += 3) Graph_SetPixel(20 + i, 90 + (i * 7) % 80, kWhite);
    static uint8_t block[8 + 80 * 80 * 4];
    const uint32_t size = Graph_ImageSize(20, 90, 99, 169);
    if (size <= sizeof block && Graph_GetImage(20, 90, 99, 169, block, size)) {
        const char* const modes[5] = {"COPY", "XOR", "OR", "AND", "NOT"};
        for (uint32_t mode = Graph_COPY; mode <= Graph_NOT; ++mode) {
            const uint32_t x = 140 + mode * 130;
            Graph_Rectangle(x, 90, x + 39, 169, kLightGrey, true);
            Graph_PutImage(x, 90, block, size, mode);
            text(x, 180, kLightGrey, modes[mode]);
        }
    }
    char line[80];
    std::snprintf(line, sizeof line, "Graph_GetPixel(60, 130) = 0x%06X", static_cast<unsigned>(Graph_GetPixel(60, 130)));
    text(20, 220, kWhite, line);
    // The page so far saved as a BMP file, and loaded again lower down.
    char path[260];
    std::snprintf(path, sizeof path, "%s\\plimo-gallery.bmp", std::getenv("TEMP") ? std::getenv("TEMP") : ".");
    const bool saved = Graph_SavePicture(path);
    const bool loaded = saved && Graph_LoadPicture(path, 20, 300);
    std::remove(path);
    text(20, 270, kWhite, saved && loaded ? "Graph_SavePicture, then Graph_LoadPicture at (20, 300):"
                                          : "The picture file could not be written or read.");
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
