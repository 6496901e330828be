// Graph: one graphics window for a console program, drawn from the program's
// own thread, with an off-screen copy of the picture.
//
// This header is free of <windows.h>: programs that only draw need no Win32
// declarations, and the platform-free parts of a program can be built and
// tested without it.
//
// Main thread: every procedure here runs on the program's own thread (the
// one that called Graph_BEGIN); requests from two threads at once are not
// supported.
#pragma once

#include <cstdint>

// ---- module start and the window ----
// Module initialiser: runs once; the console input handle module first, then
// the finaliser, the display's colour count and the drawing defaults. (The
// back buffer's lock exists before main: it needs no start.)
void Graph_BEGIN();

// Opens the window at (x, y) with a drawing area of width x depth pixels and
// resets palette, attributes and picture. Comes with the window code.
bool Graph_Init(int32_t x, int32_t y, uint32_t width, uint32_t depth);

// Graph_Init without its boxes and halts: false when no window could be
// made (or one is open already), and Graph_LastError says why in one line.
bool Graph_TryInit(int32_t x, int32_t y, uint32_t width, uint32_t depth);
// Takes the window away: every later request and read does nothing (reads
// answer as before Graph_Init) until Graph_Init or Graph_TryInit opens a
// window again, anywhere and of any size, with the picture reset as at the
// first. Nothing without a window.
void Graph_Close();
// Why the last Graph_Init or Graph_TryInit failed; "" when it did not.
const char* Graph_LastError();
// The window's title ("Graph" until set); before Graph_Init, the title the
// window will open with. At most 255 characters are kept; null is ignored.
void Graph_SetTitle(const char* title);

extern uint32_t Graph_Width;     // picture width in pixels (set by Graph_Init)
extern uint32_t Graph_Depth;     // picture height in pixels (set by Graph_Init)
extern uint32_t Graph_NumPColor; // colours the display shows (set by Graph_Init)

// ---- frames and window events ----
// Between Graph_BeginFrame and Graph_EndFrame requests draw into the
// off-screen copy only; Graph_EndFrame shows the whole picture at once. A
// repaint meanwhile shows the last whole picture. Frames nest: only the
// outermost Graph_EndFrame shows the picture; one without a frame open does
// nothing; a frame still open at the program's end is ended then.
void Graph_BeginFrame();
void Graph_EndFrame();

// Pages: Graph_PAGES pictures of the window's size, page 0 at start,
// each made (cleared to the background colour) when first used. Requests
// draw on the active page, and reads read it; the window shows the visual
// page, and gets what is drawn only while the two are one. Setting the
// visual page shows it at once. A frame draws on the active page; inside one
// both calls do nothing. Pages past the last are ignored.
inline constexpr uint32_t Graph_PAGES = 4;
void Graph_SetActivePage(uint32_t page);
void Graph_SetVisualPage(uint32_t page);

// What the mouse did in the window, oldest first, never waiting: false when
// nothing is waiting (or event is null). Positions are picture pixels, kept
// inside the picture (a release after dragging out is at its edge).
inline constexpr uint32_t Graph_MOUSE_PRESS = 1, Graph_MOUSE_RELEASE = 2, Graph_MOUSE_MOVE = 3,
                          Graph_MOUSE_WHEEL = 4;
inline constexpr uint32_t Graph_BUTTON_LEFT = 1, Graph_BUTTON_RIGHT = 2, Graph_BUTTON_MIDDLE = 4;
struct Graph_MouseEvent {
    uint32_t kind;
    uint32_t x, y;
    uint32_t buttons; // press, release: the one button; move, wheel: those held down
    int32_t wheel;    // wheel: +120 a notch away from the user, -120 towards
};
bool Graph_ReadMouse(Graph_MouseEvent* event);
// Events a full queue has dropped since the window opened (wraps at 2^32).
uint32_t Graph_MouseDropped();
// True when the close box, the system menu's Close or Alt+F4 was used since
// the last call. The window stays open all the same.
bool Graph_CloseRequested();

// ---- lines and rectangles ----
// Inclusive pixel coordinates, corners in any order; colour is a colour number.
void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour);
void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);

// ---- more shapes ----
// Inclusive boxes and coordinates as for rectangles, corners in any order;
// with fill, a solid one-pixel border in the colour and the inside in the fill
// pattern in force; without, the outline in the line style in force.
struct Graph_Point {
    uint32_t x, y;
};
void Graph_SetPixel(uint32_t x, uint32_t y, uint32_t colour);
// The ellipse that touches all four sides of the box (a circle in a square box).
void Graph_Ellipse(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
// Part of that ellipse's outline, or the pie slice it bounds with the centre.
// Angles in whole degrees, counter-clockwise from the positive x axis: start
// taken mod 360; sweep > 0 counter-clockwise, < 0 clockwise, |sweep| >= 360
// the whole ellipse, 0 nothing.
void Graph_Arc(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour);
void Graph_Pie(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, int32_t start, int32_t sweep, uint32_t colour,
               bool fill);
// Open (every vertex drawn, the last one too) and closed chains of any
// number of points: none draws nothing, one a pixel. The points are read
// during the call only.
void Graph_Polyline(const Graph_Point* points, uint32_t count, uint32_t colour);
void Graph_Polygon(const Graph_Point* points, uint32_t count, uint32_t colour, bool fill);
// Fills, in the colour and the fill pattern in force, the area around (x, y)
// bounded by pixels of colour number border; nothing when (x, y) lies outside
// the picture or on the border.
void Graph_FloodFill(uint32_t x, uint32_t y, uint32_t colour, uint32_t border);

// ---- reading the picture back ----
// The picture's pixel as 0x00RRGGBB; 0xFFFFFFFF outside it or before Graph_Init.
uint32_t Graph_GetPixel(uint32_t x, uint32_t y);
// An image block: this header, then width x height pixels 0x00RRGGBB, rows
// from the top. Graph_ImageSize gives the bytes for the box (corners in any
// order, inclusive), 0 when that exceeds 64 MiB.
struct Graph_ImageHeader {
    uint32_t width, height;
};
uint32_t Graph_ImageSize(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2);
// Copies the box into image (size bytes at least Graph_ImageSize); pixels of
// the box outside the picture read as 0xFFFFFFFF. False, and nothing written,
// for a null image, a too small size or before Graph_Init.
bool Graph_GetImage(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, void* image, uint32_t size);
// Draws a block with its top-left corner at (x, y), combined with the picture
// by mode, clipped to the picture. False, and nothing drawn, for a null image,
// a size that does not match its header or an unknown mode.
inline constexpr uint32_t Graph_COPY = 0; // the block's pixels
inline constexpr uint32_t Graph_XOR = 1;  // picture XOR block: twice gives the picture back
inline constexpr uint32_t Graph_OR = 2;
inline constexpr uint32_t Graph_AND = 3;
inline constexpr uint32_t Graph_NOT = 4; // the block's pixels inverted
// The block's top byte is each pixel's opacity (0 leaves the picture, 255
// puts the pixel): picture = (block * a + picture * (255 - a) + 127) / 255 in
// each channel, rounded to the nearest (50 % as a = 128: 255 over 0 gives 128).
inline constexpr uint32_t Graph_ALPHA = 5;
bool Graph_PutImage(uint32_t x, uint32_t y, const void* image, uint32_t size, uint32_t mode);

// ---- picture files ----
// The picture as a PNG file when path ends in ".png" (any case), otherwise
// an uncompressed 24-bit BMP file. False on failure, and then no file, or the
// file as it was, stays behind.
bool Graph_SavePicture(const char* path);
// Draws an uncompressed BMP file (8-bit paletted, 24 or 32-bit, either row
// order), a PNG, a JPEG or a GIF file (its first image) with its top-left
// corner at (x, y), clipped to the picture. False, and nothing drawn, for
// anything else, a damaged file, or a picture over 64 MiB of pixels.
bool Graph_LoadPicture(const char* path, uint32_t x, uint32_t y);
// As Graph_LoadPicture, the picture stretched (or shrunk) to fill the box
// (corners in any order, inclusive), each box pixel the picture's pixel under
// its centre.
bool Graph_LoadPictureBox(const char* path, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2);

// ---- text and clearing ----
// Draws text[0..] up to its first NUL or its end, at most 257 characters, with
// the top-left corner of the first character cell at (x, y).
void Graph_RawOutText(uint32_t x, uint32_t y, uint32_t colour, const char* text, uint32_t length);
// Draws text up to its NUL, of any length, as Graph_RawOutText does.
void Graph_OutText(uint32_t x, uint32_t y, uint32_t colour, const char* text);
// The pixels text (up to its NUL) takes across, and the height of a line, in
// the font in force; 0 before Graph_Init.
uint32_t Graph_TextWidth(const char* text);
uint32_t Graph_TextHeight();
// The font text is drawn in, from here on, on every page and the window:
// any installed font by its face name (TrueType ones too), height the
// pixels of a line (Graph_TextHeight then answers it, as the platform rounds
// the font's cell: a pixel more or less), angle in tenths of a degree
// counter-clockwise (0, 900, 1800 and 2700 upright and turned by quarters;
// others as the platform draws them), style any of the bits below. False,
// and the font in force kept, for a face the system does not have, a height
// of 0 or above Graph_FontHeightMax, an unknown style bit or before
// Graph_Init. Graph_SetFont(nullptr, 0, 0, 0) brings back the font
// Graph_Init selects ("Fixedsys", as high as the window's default font).
// Turned text turns about the top-left corner of its first character cell.
// Graph_SHARP: no smoothed edges, every pixel of the text in its colour (a
// picture of few colours, pixels read back, fills bounded by text).
inline constexpr uint32_t Graph_BOLD = 1, Graph_ITALIC = 2, Graph_UNDERLINE = 4, Graph_SHARP = 8;
inline constexpr uint32_t Graph_FontHeightMax = 2048;
bool Graph_SetFont(const char* face, uint32_t height, int32_t angle, uint32_t style);
// On: every text call and Graph_TextWidth take their text as UTF-8 (drawn
// in any script the font has), each ill-formed byte sequence drawn as
// U+FFFD; off (at start): bytes of the system's ANSI code page.
void Graph_SetTextUTF8(bool on);
// Paints the whole picture in the background colour, solid whatever fill
// pattern is in force (which stays in force). Mode 0 is the whole picture,
// whatever clip rectangle is in force; Graph_CLEAR_CLIP the clip rectangle only.
inline constexpr uint32_t Graph_CLEAR_CLIP = 1;
void Graph_ClearScreen(uint32_t mode);

// ---- colours and drawing attributes ----
// A colour number draws with palette entry (number mod 256), unless it is made
// by Graph_RGB: then it draws exactly that colour, wherever a colour number is
// taken. A colour value is 0x00RRGGBB.
// The marker is the top byte 0xC5: no number a program counts palette entries
// with reaches it by accident, and a number beside it (0xC4FFFFFF, 0xC6000000)
// is a palette number as before.
inline constexpr uint32_t Graph_RGBMarker = 0xC5000000u;
constexpr uint32_t Graph_RGB(uint8_t r, uint8_t g, uint8_t b) {
    return Graph_RGBMarker | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}
constexpr bool Graph_IsRGB(uint32_t colour) { return (colour & 0xFF000000u) == Graph_RGBMarker; }
extern const uint32_t Graph_StdPalette[16];

void Graph_InitStdPalette();
// Loads the first min(count, 1024) colour values; -1 (and no change) when
// count is above Graph_NumPColor, else 0.
int32_t Graph_RemapAllPalette(const uint32_t* table, uint32_t count);
uint32_t Graph_SetBkColor(uint32_t colour); // returns the previous colour number
void Graph_SetBkMix(bool opaque);
// 0 solid, 1 dotted, 2 dashed, 3 dash-dot, 4 dash-dot-dot, 5 invisible;
// other numbers are ignored.
void Graph_SetLinestyle(uint32_t style);
// Lines and every outline this many pixels wide (1 at start; 0 is taken as 1,
// above Graph_LineWidthMax as Graph_LineWidthMax). A line of width w > 1 is a
// band w pixels across centred on it, from its first point to its last, both
// included: width 3 from (x1, y) to (x2, y) covers rows y-1 to y+1, columns
// x1 to x2. Outlines' corners are closed (mitred). The line style stays in force.
inline constexpr uint32_t Graph_LineWidthMax = 64;
void Graph_SetLineWidth(uint32_t pixels);
// The line style that repeats these 16 pixels from each line's first point,
// bit 0 first: 1 drawn in the colour, 0 left as it is (lines, outlines,
// polylines, polygons; the last point too). Graph_SetLinestyle ends it.
void Graph_SetLinePattern(uint16_t pattern);
// Lines and outlines drawn with Graph_COPY (the default) or Graph_XOR (picture
// XOR colour: the same drawing twice gives the picture back); other modes are
// ignored. Fills drawn with an outline follow it too; text, pixels and image
// blocks do not.
void Graph_SetWriteMode(uint32_t mode);
// Every later shape, fill (a flood fill stops at its edge), text, image block,
// picture file and Graph_CLEAR_CLIP clear stays inside this rectangle of picture
// pixels (inclusive, corners in any order), until Graph_ResetClip or
// Graph_Init. Reads and the window's repaints are not clipped.
void Graph_SetClip(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2);
void Graph_ResetClip();
// Later drawing requests' coordinates are relative to picture point (x, y):
// the pixel drawn is at origin + coordinate, so a negative origin reaches left
// of or above the picture (origin -32768 and coordinate 32758: x = -10).
// (0, 0) at start and after Graph_Init. Reads and the clip rectangle stay in
// picture coordinates. Coordinates beyond 2^24 from the picture are far
// outside it and are drawn as if there.
void Graph_SetOrigin(int32_t x, int32_t y);

// One of the Graph_PATSYM_* values; other values are ignored.
void Graph_SetStdFillMask(uint32_t pattern);
uint32_t Graph_GetStdFillMask();
// An 8 x 8 user fill: byte i is row i from the top, most significant bit
// leftmost; 1 bits paint the shape's colour, 0 bits the background colour.
void Graph_SetFillMask(const uint8_t (&mask)[8]);

extern uint32_t Graph_PATSYM_HORIZ;  // 0, horizontal lines
extern uint32_t Graph_PATSYM_VERT;   // 1, vertical lines
extern uint32_t Graph_PATSYM_DIAG2;  // 2, lines falling left to right
extern uint32_t Graph_PATSYM_DIAG1;  // 3, lines rising left to right
extern uint32_t Graph_PATSYM_DENSE2; // 4, horizontal and vertical cross-hatch
extern uint32_t Graph_PATSYM_DENSE1; // 5, diagonal cross-hatch
extern uint32_t Graph_PATSYM_SOLID;  // 8, solid
