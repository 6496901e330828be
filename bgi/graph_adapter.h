// The one place where the BGI layer meets Graph. Everything the BGI draws goes
// through these calls, in coordinates relative to an origin (the viewport's
// top-left corner) and cut to a clip rectangle; Graph's own origin, clip,
// line width and pattern, write mode, fonts, pages and RGB colours do the
// rest, and pixels set one by one are gathered into blocks.
// Main thread: every call (the thread that opened the window).
#pragma once

#include <cstdint>
#include <vector>

#include "bgi_logic.h"

// ---- the window ----
// Opens the window (width x height at screen (x, y)); false when it cannot be
// opened. A second call with the window open keeps it (Graph has one window).
bool BgiG_Open(int32_t x, int32_t y, uint32_t width, uint32_t height, const char* title);
bool BgiG_IsOpen();
// Takes the window away where Graph can; otherwise it stays as it is.
void BgiG_Close();
bool BgiG_CloseRequested();
uint32_t BgiG_Width();
uint32_t BgiG_Height();

// ---- state ----
// The colour values of the colour numbers 0..15.
void BgiG_SetPalette(const uint32_t shown[16]);
// Graph's colour for a BGI colour (0..15 or an RGB colour; callers check).
uint32_t BgiG_Colour(int colour);
// The value a Graph colour draws with, 0x00RRGGBB.
uint32_t BgiG_ColourValue(uint32_t graphColour);
void BgiG_SetOrigin(int32_t x, int32_t y);
void BgiG_SetClip(const Bgi_Rect& device);
void BgiG_SetLineWidth(uint32_t pixels);           // 1 or 3
void BgiG_SetLinePattern(uint16_t pattern);        // bit 15 first, as the BGI keeps it
void BgiG_SetWriteMode(bool xorMode);              // lines and outlines of rectangles, polygons
void BgiG_SetFill(const uint8_t pattern[8], uint32_t background); // Graph colours

// ---- drawing (relative to the origin, cut to the clip rectangle) ----
void BgiG_Pixel(int32_t x, int32_t y, uint32_t colour);
// Pixels set one by one may wait in a copy of the picture: shown by any other
// call here, and by this one (a key or mouse look, the program's end).
void BgiG_Flush();
uint32_t BgiG_GetPixel(int32_t x, int32_t y); // 0x00RRGGBB; 0xFFFFFFFF off the picture
// A line in the width, pattern and write mode in force.
void BgiG_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
// A box filled with the fill pattern: no outline.
void BgiG_Bar(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
// The whole clip rectangle in one colour (clearviewport, cleardevice).
void BgiG_Clear(uint32_t colour);
// Outlines in the line width in force (no pattern).
void BgiG_Arc(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep, uint32_t colour);
// Insides in the fill pattern (the outline is the caller's): an ellipse, the
// pie slice of an arc with the centre, a polygon.
void BgiG_FillEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);
void BgiG_FillPie(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep, uint32_t colour);
void BgiG_FillPolygon(const Bgi_Point* points, size_t count, uint32_t colour);
// Fills around (x, y) up to pixels that show the border's value.
void BgiG_FloodFill(int32_t x, int32_t y, uint32_t colour, uint32_t borderValue);
// A bitmap of width x height bytes (non-zero: set) drawn in the colour with
// its top-left corner at (x, y); the rest stays as it was (text).
// blocks (may be null): what the call makes of a bitmap for a colour, kept by
// the caller for the next call with the same bitmap.
struct BgiG_Blocks {
    uint32_t value = 0xFFFFFFFF;
    std::vector<uint32_t> mask, paint; // image blocks: picture AND mask, then OR paint
};
void BgiG_Bitmap(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* bits, uint32_t colour,
                 BgiG_Blocks* blocks = nullptr);

// Text in a face of the system's fonts like one of Borland's stroked fonts
// (font 1..10), cell height pixels, direction 0 across or 1 upwards, its box's
// top-left corner at (x, y); its size in width, height. False where Graph
// cannot draw faces yet: the caller then draws its own look-alike.
bool BgiG_FaceText(int font, uint32_t height, int direction, int32_t x, int32_t y, const char* text, uint32_t colour,
                   int32_t& width, int32_t& boxHeight, bool measureOnly);
// The same face's text across as a bitmap (width x height bytes, 1 where the
// text is), for text Graph's faces cannot stretch themselves; false without
// the face or when the text is larger than the picture.
bool BgiG_FaceBits(int font, uint32_t height, const char* text, int32_t& width, int32_t& boxHeight,
                   std::vector<uint8_t>& bits);

// Every pixel of the picture (the page drawn on) showing from[i] shows to[i]
// afterwards, as a palette change shows on the VGA.
void BgiG_Recolour(const uint32_t* from, const uint32_t* to, size_t count);

// ---- image blocks ----
// Graph's image block of the box (header + pixels), relative to the origin.
bool BgiG_GetImage(int32_t left, int32_t top, int32_t right, int32_t bottom, void* image, uint32_t size);
// Draws a block (size bytes, its header checked by the caller) combined by a
// Graph put mode, cut to the clip rectangle.
void BgiG_PutImage(int32_t x, int32_t y, const void* image, uint32_t size, uint32_t mode);
bool BgiG_SavePicture(const char* path, const Bgi_Rect& device);
bool BgiG_LoadPicture(const char* path, const Bgi_Rect& device);

// ---- pages ----
void BgiG_SetPages(uint32_t active, uint32_t visual);

// ---- the mouse ----
struct BgiG_Mouse {
    int kind; // 0 press, 1 release, 2 move
    int button; // 0 left, 1 right, 2 middle
    int x, y;
};
bool BgiG_ReadMouse(BgiG_Mouse& event);
