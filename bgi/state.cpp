// State and viewports, colours and palettes: the current position, the
// viewport with its origin and clip flag, the aspect ratio, the drawing and
// background colours and the 16-entry palette.
#include <cstdlib>
#include <cstring>

#include "bgi_state.h"
#include "graph_adapter.h"

Bgi_State Bgi_S;

void Bgi_CheckClose() {
    // WinBGIm's close box: the program ends as if it had called exit(0).
    if (Bgi_S.closeExits && BgiG_CloseRequested()) std::exit(0);
}

bool Bgi_Ready() {
    if (!Bgi_S.graphics) {
        Bgi_Fail(grNoInitGraph);
        return false;
    }
    Bgi_CheckClose();
    return true;
}

bool Bgi_GraphColour(int colour, uint32_t& out) {
    if (colour >= 0 && colour < 16) {
        out = static_cast<uint32_t>(colour);
        return true;
    }
    if (!Bgi_IsRgb(colour)) {
        Bgi_Fail(grError);
        return false;
    }
    out = BgiG_Colour(colour);
    return true;
}

void Bgi_ApplyViewport() {
    BgiG_SetOrigin(Bgi_S.left, Bgi_S.top);
    BgiG_SetClip(Bgi_S.clip ? Bgi_Rect{Bgi_S.left, Bgi_S.top, Bgi_S.right, Bgi_S.bottom}
                            : Bgi_Rect{0, 0, Bgi_S.width - 1, Bgi_S.height - 1});
}

void Bgi_ApplyPalette() { BgiG_SetPalette(Bgi_S.shown); }

namespace {
// After a palette change: the pixels of the colour numbers whose value
// changed change with them, as on Borland's VGA.
void paletteChanged(const uint32_t (&before)[16]) {
    if (!Bgi_S.graphics) return;
    uint32_t from[16], to[16];
    size_t n = 0;
    for (int i = 0; i < 16; ++i)
        if (before[i] != Bgi_S.shown[i]) from[n] = before[i], to[n] = Bgi_S.shown[i], ++n;
    Bgi_ApplyPalette();
    BgiG_Recolour(from, to, n);
}
} // namespace

uint32_t Bgi_Background() {
    uint32_t g = 0;
    return Bgi_GraphColour(Bgi_S.background, g) ? g : 0;
}

void Bgi_Defaults() {
    Bgi_State& s = Bgi_S;
    s.left = 0, s.top = 0, s.right = s.width - 1, s.bottom = s.height - 1, s.clip = true;
    s.x = 0, s.y = 0;
    s.palette.size = 16;
    for (int i = 0; i < 16; ++i) {
        s.palette.colors[i] = Bgi_DefaultPalette[i];
        s.shown[i] = Bgi_EgaColours[Bgi_DefaultPalette[i]];
    }
    s.colour = WHITE, s.background = BLACK;
    s.lineStyle = SOLID_LINE, s.userPattern = 0xFFFF, s.thickness = NORM_WIDTH, s.writeMode = COPY_PUT;
    s.fillStyle = SOLID_FILL, s.fillColour = WHITE;
    std::memset(s.userFill, 0xFF, sizeof s.userFill);
    s.font = DEFAULT_FONT, s.direction = HORIZ_DIR, s.charSize = 1, s.horiz = LEFT_TEXT, s.vert = TOP_TEXT;
    s.multX = s.divX = s.multY = s.divY = 1;
    s.xAspect = 10000, s.yAspect = 10000;
    s.arc = arccoordstype{};
    if (!BgiG_IsOpen()) return;
    Bgi_ApplyPalette();
    Bgi_ApplyViewport();
    Bgi_ApplyLine();
    Bgi_ApplyFill();
}

extern "C" {

int getmaxx(void) { return Bgi_S.graphics ? Bgi_S.width - 1 : 0; }
int getmaxy(void) { return Bgi_S.graphics ? Bgi_S.height - 1 : 0; }
int getx(void) { return Bgi_S.x; }
int gety(void) { return Bgi_S.y; }

void moveto(int x, int y) {
    Bgi_S.x = x;
    Bgi_S.y = y;
}

void moverel(int dx, int dy) {
    Bgi_S.x += dx;
    Bgi_S.y += dy;
}

void setviewport(int left, int top, int right, int bottom, int clip) {
    if (!Bgi_Ready()) return;
    // Borland: corners off the screen or in the wrong order are grError and
    // change nothing.
    if (!Bgi_ValidViewport(left, top, right, bottom, Bgi_S.width, Bgi_S.height)) return Bgi_Fail(grError);
    Bgi_S.left = left, Bgi_S.top = top, Bgi_S.right = right, Bgi_S.bottom = bottom;
    Bgi_S.clip = clip != 0;
    Bgi_S.x = 0, Bgi_S.y = 0;
    Bgi_ApplyViewport();
}

void getviewsettings(struct viewporttype* viewport) {
    if (viewport == nullptr) return Bgi_Fail(grError);
    *viewport = viewporttype{Bgi_S.left, Bgi_S.top, Bgi_S.right, Bgi_S.bottom, Bgi_S.clip ? 1 : 0};
}

void clearviewport(void) {
    if (!Bgi_Ready()) return;
    // The viewport alone, whatever its clip flag.
    BgiG_SetClip(Bgi_Rect{Bgi_S.left, Bgi_S.top, Bgi_S.right, Bgi_S.bottom});
    BgiG_Clear(Bgi_Background());
    Bgi_ApplyViewport();
    Bgi_S.x = 0, Bgi_S.y = 0;
}

void cleardevice(void) {
    if (!Bgi_Ready()) return;
    BgiG_SetClip(Bgi_Rect{0, 0, Bgi_S.width - 1, Bgi_S.height - 1});
    BgiG_Clear(Bgi_Background());
    Bgi_ApplyViewport();
    Bgi_S.x = 0, Bgi_S.y = 0;
}

void getaspectratio(int* xasp, int* yasp) {
    if (xasp == nullptr || yasp == nullptr) return Bgi_Fail(grError);
    *xasp = Bgi_S.xAspect;
    *yasp = Bgi_S.yAspect;
}

void setaspectratio(int xasp, int yasp) {
    if (xasp <= 0 || yasp <= 0) return Bgi_Fail(grError);
    Bgi_S.xAspect = xasp;
    Bgi_S.yAspect = yasp;
}

void setcolor(int color) {
    uint32_t g;
    if (Bgi_GraphColour(color, g)) Bgi_S.colour = color;
}
int getcolor(void) { return Bgi_S.colour; }

void setbkcolor(int color) {
    uint32_t g;
    if (!Bgi_GraphColour(color, g)) return;
    // As WinBGIm: the picture stays as it is and the next clear shows the new
    // background. (On Borland's VGA the pixels showing the old background
    // changed at once, colour number 0 with them; WinBGIm's programs set the
    // background around a text's and undo it, and would lose what they drew
    // in the old background's colour.)
    Bgi_S.background = color;
    Bgi_ApplyFill(); // the 0 bits of fill patterns
}
int getbkcolor(void) { return Bgi_S.background; }
int getmaxcolor(void) { return MAXCOLORS; }
int getpalettesize(void) { return MAXCOLORS + 1; }

void setpalette(int colornum, int color) {
    if (colornum < 0 || colornum > MAXCOLORS || color < 0 || color > 63) return Bgi_Fail(grError);
    uint32_t before[16];
    std::memcpy(before, Bgi_S.shown, sizeof before);
    Bgi_S.palette.colors[colornum] = static_cast<signed char>(color);
    Bgi_S.shown[colornum] = Bgi_EgaColours[color];
    paletteChanged(before);
}

void setallpalette(const struct palettetype* palette) {
    if (palette == nullptr) return Bgi_Fail(grError);
    // Borland: an entry of -1 keeps its colour; any other entry outside 0..63
    // refuses the whole palette. The size is ours, not the caller's.
    for (int i = 0; i < 16; ++i)
        if (palette->colors[i] != -1 && (palette->colors[i] < 0 || palette->colors[i] > 63)) return Bgi_Fail(grError);
    uint32_t before[16];
    std::memcpy(before, Bgi_S.shown, sizeof before);
    for (int i = 0; i < 16; ++i) {
        const int c = palette->colors[i];
        if (c == -1) continue;
        Bgi_S.palette.colors[i] = static_cast<signed char>(c);
        Bgi_S.shown[i] = Bgi_EgaColours[c];
    }
    paletteChanged(before);
}

void getpalette(struct palettetype* palette) {
    if (palette == nullptr) return Bgi_Fail(grError);
    *palette = Bgi_S.palette;
    palette->size = 16;
}

struct palettetype* getdefaultpalette(void) {
    static palettetype defaults;
    defaults.size = 16;
    for (int i = 0; i < 16; ++i) defaults.colors[i] = Bgi_DefaultPalette[i];
    return &defaults;
}

void setrgbpalette(int colornum, int red, int green, int blue) {
    if (colornum < 0 || colornum > MAXCOLORS) return Bgi_Fail(grError);
    uint32_t before[16];
    std::memcpy(before, Bgi_S.shown, sizeof before);
    Bgi_S.shown[colornum] = Bgi_Rgb(red, green, blue);
    paletteChanged(before);
}

int converttorgb(int color) {
    uint32_t rgb = 0;
    if (!Bgi_ColourValue(color, Bgi_S.shown, rgb)) {
        Bgi_Fail(grError);
        return 0;
    }
    return static_cast<int>((rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

int getdisplaycolor(int color) {
    const int rgb = converttorgb(color);
    return static_cast<int>(0x03000000u | static_cast<uint32_t>(rgb));
}

} // extern "C"
