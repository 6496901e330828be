// The platform-free part of the BGI layer: its tables, the viewport and
// clipping arithmetic, the outlines of arcs and ellipses, polygon spans, line
// patterns, text placement, colour mapping and the .CHR stroke font reader.
// Nothing here draws or knows a window; it builds natively and is fuzzed.
// Every function is pure (any thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- tables (tables.cpp) ----
// Borland's fill patterns, EMPTY_FILL .. CLOSE_DOT_FILL: byte i is row i,
// most significant bit leftmost.
extern const uint8_t Bgi_FillPatterns[12][8];
// The line styles SOLID_LINE .. DASHED_LINE, first pixel in bit 15.
extern const uint16_t Bgi_LinePatterns[4];
// The 64 colours of the EGA palette as 0x00RRGGBB, and the default palette
// (an EGA colour number for each of the 16 colour numbers).
extern const uint32_t Bgi_EgaColours[64];
extern const signed char Bgi_DefaultPalette[16];
// grapherrormsg's text for a result code; "Graphics error (n)" for other codes
// is made by the caller.
const char* Bgi_ErrorText(int code);

struct Bgi_Mode {
    int driver, mode;
    const char* name;
    int width, height, colours, pages;
};
// The mode of a driver, or null when the driver has no such mode.
const Bgi_Mode* Bgi_FindMode(int driver, int mode);
// The highest mode number of a driver, -1 for an unknown driver.
int Bgi_MaxMode(int driver);
const char* Bgi_DriverName(int driver); // null for an unknown driver

// ---- rectangles and clipping (geometry.cpp) ----
struct Bgi_Rect {
    int32_t left, top, right, bottom; // inclusive; empty when right < left or bottom < top
};
struct Bgi_Point {
    int32_t x, y;
};
bool Bgi_Contains(const Bgi_Rect& r, int64_t x, int64_t y);
bool Bgi_ContainsBox(const Bgi_Rect& r, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
Bgi_Rect Bgi_Intersect(const Bgi_Rect& a, const Bgi_Rect& b);
// The part of the line (x1, y1)-(x2, y2) inside clip, end points on the
// line's own pixels; false when none is. Coordinates may be anywhere in 32 bits.
bool Bgi_ClipLine(const Bgi_Rect& clip, int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2);
// A viewport as setviewport's arguments give it, checked against the device
// (width x height): false for corners outside it or in the wrong order.
bool Bgi_ValidViewport(int left, int top, int right, int bottom, int width, int height);

// ---- line pixels with a pattern (geometry.cpp) ----
// The pixels of the line from (x1, y1) to (x2, y2), both ends included, in
// order from the first, each with whether the pattern (bit 15 first,
// repeating) sets it.
struct Bgi_PatternPixel {
    int32_t x, y;
    bool on;
};
void Bgi_LinePixels(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t pattern,
                    std::vector<Bgi_PatternPixel>& out);
// The offsets of the three strokes of a THICK_WIDTH line: side by side across
// the line's main direction.
void Bgi_ThickOffsets(int32_t dx, int32_t dy, int32_t& ox, int32_t& oy);

// ---- arcs and ellipses (geometry.cpp) ----
// Borland's angles: degrees counter-clockwise from 3 o'clock. The sweep from
// stangle to endangle, 0 to 360 (360: the whole ellipse).
int32_t Bgi_ArcSweep(int32_t stangle, int32_t endangle);
// The point of the ellipse at an angle, rounded to the pixel (y downwards).
Bgi_Point Bgi_EllipsePoint(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t angle);
// The radii are limited so that outlines stay below this many points.
inline constexpr int32_t Bgi_MaxRadius = 1 << 20;
// The outline pixels of the ellipse between the angles (sweep as
// Bgi_ArcSweep gives it), in order along the arc; each pixel once.
void Bgi_ArcOutline(int32_t cx, int32_t cy, int32_t rx, int32_t ry, int32_t stangle, int32_t sweep,
                    std::vector<Bgi_Point>& out);

// ---- polygon spans (geometry.cpp) ----
struct Bgi_Span {
    int32_t y, x1, x2; // inclusive
};
// The rows of a filled polygon (even-odd rule, pixel centres), cut to clip.
void Bgi_PolygonSpans(const Bgi_Point* points, size_t count, const Bgi_Rect& clip, std::vector<Bgi_Span>& out);
// Whether pattern row (y mod 8) has the bit of column (x mod 8) set: fills
// are aligned to the screen.
inline bool Bgi_PatternBit(const uint8_t pattern[8], int32_t x, int32_t y) {
    return (pattern[static_cast<uint32_t>(y) & 7] >> (7 - (static_cast<uint32_t>(x) & 7))) & 1;
}

// ---- colours (tables.cpp) ----
// WinBGIm's RGB colours: 0x03 in the top byte, then blue, green, red.
inline bool Bgi_IsRgb(int colour) { return (static_cast<uint32_t>(colour) & 0x03000000u) != 0; }
// A colour as 0x00RRGGBB: an RGB colour as itself, a colour number 0..15
// as the palette shows it (shown: 0x00RRGGBB per colour number). False for
// other numbers.
bool Bgi_ColourValue(int colour, const uint32_t shown[16], uint32_t& rgb);
// The colour number (0..15, the first with that value) that the palette shows
// as rgb, else WinBGIm's RGB colour for it.
int Bgi_ColourNumber(uint32_t rgb, const uint32_t shown[16]);
// setrgbpalette's colour: components 0..255 kept as they are (the 6 bits of
// the VGA's DAC would round them).
inline uint32_t Bgi_Rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           static_cast<uint32_t>(b & 0xFF);
}

// ---- text (text_layout.cpp, font8x8.cpp) ----
// DEFAULT_FONT: 8 x 8 cells, byte i row i from the top, bit 7 leftmost; the
// characters 32..126 (others draw as an empty box).
extern const uint8_t Bgi_Font8x8[95][8];
const uint8_t* Bgi_Glyph8x8(unsigned char c);
// The scale of stroked fonts for charsize 1..10 (charsize 4 is the font's own
// size): numerator and denominator.
extern const uint8_t Bgi_StrokeScale[10][2];
// Where text of the given size starts so that its box sits as the
// justification asks around (x, y): the offset of the box's top-left corner.
// Horizontal text: width across, height down; vertical text (direction 1,
// reading upwards): the box is height across and width up.
void Bgi_Justify(int horiz, int vert, int direction, int32_t width, int32_t height, int32_t& dx, int32_t& dy);

// ---- the .CHR stroke font (chr_font.cpp) ----
struct Bgi_ChrStroke {
    int8_t x, y; // font units, y upwards from the origin
    bool draw;   // false: move to (x, y)
};
struct Bgi_ChrFont {
    std::string name;      // the four characters of its header
    int first = 0;         // the first character in the file
    int capHeight = 0;     // origin to the top of a capital
    int baseline = 0;      // origin to the baseline (0 or below)
    int descender = 0;     // origin to the bottom of a descender (negative)
    std::vector<uint8_t> widths;
    std::vector<std::vector<Bgi_ChrStroke>> glyphs; // one per character from first
};
// Reads a whole .CHR file. False, and font untouched, for anything that is
// not one: a wrong signature, a header or table past the end, a stroke list
// that runs off the file. At most 256 characters, 4096 strokes each.
bool Bgi_ReadChrFont(const uint8_t* data, size_t size, Bgi_ChrFont& font);
// The strokes and advance of one character, null when the font lacks it.
const std::vector<Bgi_ChrStroke>* Bgi_ChrGlyph(const Bgi_ChrFont& font, unsigned char c, int& width);

// ---- flood fill (geometry.cpp) ----
// Fills, in a block of width x height pixels (0x00RRGGBB, rows from the top,
// whose top-left pixel is screen pixel (left, top)), the 4-connected area
// around (x, y) bounded by pixels of the value border, with pattern (aligned
// to the screen): set bits foreground, clear bits background. Nothing when
// (x, y) is outside the block or on the border. Returns the pixels filled.
size_t Bgi_FloodFill(uint32_t* pixels, int32_t width, int32_t height, int32_t left, int32_t top, int32_t x,
                     int32_t y, uint32_t border, const uint8_t pattern[8], uint32_t foreground, uint32_t background);
