// What the BGI calls share: the graphics state Borland's library keeps (the
// current position, the viewport, colours, line, fill and text settings,
// pages, the last result) and the checks every call starts with.
// Main thread: all of it, like every BGI call.
#pragma once

#include <cstdint>

#include "bgi_logic.h"
#include "graphics.h"

struct Bgi_State {
    bool graphics = false; // between initgraph/initwindow and closegraph
    int result = grOk;     // graphresult's answer, reset when it is read
    int driver = VGA, mode = VGAHI;
    int width = 640, height = 480;
    bool closeExits = true; // the close box ends the program
    // The viewport in device pixels and its clip flag.
    int left = 0, top = 0, right = 639, bottom = 479;
    bool clip = true;
    int x = 0, y = 0; // the current position, relative to the viewport
    int colour = WHITE, background = BLACK;
    int lineStyle = SOLID_LINE, thickness = NORM_WIDTH, writeMode = COPY_PUT;
    unsigned userPattern = 0xFFFF;
    int fillStyle = SOLID_FILL, fillColour = WHITE;
    uint8_t userFill[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    int font = DEFAULT_FONT, direction = HORIZ_DIR, charSize = 1, horiz = LEFT_TEXT, vert = TOP_TEXT;
    int multX = 1, divX = 1, multY = 1, divY = 1;
    int xAspect = 10000, yAspect = 10000;
    arccoordstype arc{};
    palettetype palette{};
    uint32_t shown[16] = {}; // what each colour number shows, 0x00RRGGBB
    int activePage = 0, visualPage = 0;
};
extern Bgi_State Bgi_S;

// The start of every drawing call: false (and grNoInitGraph) before the
// graphics are on; ends the program when the window's close box was used
// and the window was opened to close so.
bool Bgi_Ready();
// Ends the program (exit code 0, exit handlers and finalisers run) when the
// close box was used and closing was not turned off.
void Bgi_CheckClose();
inline void Bgi_Fail(int code) { Bgi_S.result = code; }

// Graph's colour for a colour number or RGB colour: false (grError) for one
// that is neither.
bool Bgi_GraphColour(int colour, uint32_t& out);
// Graph's colour for the background colour in force.
uint32_t Bgi_Background();
// The line, fill and viewport settings handed to Graph again (after a mode
// change, graphdefaults, setviewport).
void Bgi_ApplyViewport();
void Bgi_ApplyLine();
void Bgi_ApplyFill();
void Bgi_ApplyPalette();
// Resets everything graphdefaults resets.
void Bgi_Defaults();
// Opens the window of the mode (or keeps the one open); false on failure.
bool Bgi_OpenWindow(int width, int height, const char* title, int left, int top);
// Reads the mouse events Graph has queued into the BGI's queues, calling the
// handlers registered for them.
void Bgi_PumpMouse();
// The text's size in pixels in the text settings in force.
int Bgi_TextWidth(const char* text);
int Bgi_TextHeight();
// The lines between count points (x, y pairs) in the line settings in force,
// and back to the first when closed; an arc's outline in the line width.
void Bgi_Outline(const int* points, int count, bool closed, uint32_t colour);
void Bgi_DrawArc(int x, int y, int stangle, int endangle, int rx, int ry, uint32_t colour);
