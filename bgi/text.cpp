// Text and fonts: the text style, justification and user character size,
// the sizes of a text, text at a point and at the current position, and the
// stroke fonts. DEFAULT_FONT is the 8 x 8 bitmap font, charsize times as big.
// The stroked fonts are drawn from their .CHR files when these lie in the
// folder initgraph was given or the current one (as Borland's library loads
// them); without the files, in a system face that looks alike (stretched as
// a bitmap for a user size of other proportions), else as the bitmap font
// scaled to the stroked font's size. A font installed with installuserfont
// is drawn in its own strokes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bgi_state.h"
#include "graph_adapter.h"

std::string Bgi_DriverPath;

namespace {

// The stroked fonts' files, and their sizes at charsize 4 where no file is
// found: height (top of a capital to the bottom of a descender) and width.
struct StrokedFont {
    const char* file;
    int height, width;
};
constexpr StrokedFont kStroked[11] = {
    {nullptr, 8, 8},     {"TRIP.CHR", 32, 20}, {"LITT.CHR", 9, 6},   {"SANS.CHR", 32, 20},
    {"GOTH.CHR", 32, 22}, {"SCRI.CHR", 26, 18}, {"SIMP.CHR", 32, 20}, {"TSCR.CHR", 32, 20},
    {"LCOM.CHR", 32, 20}, {"EURO.CHR", 32, 18}, {"BOLD.CHR", 44, 26},
};

constexpr size_t kMaxUserFonts = 20;
std::vector<std::unique_ptr<Bgi_ChrFont>> userFonts;
// The built-in stroked fonts read from their files; tried once each.
std::unique_ptr<Bgi_ChrFont> builtIn[11];
bool tried[11] = {};

bool readFile(const std::string& path, std::vector<uint8_t>& data) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && data.size() < (4u << 20))
        data.insert(data.end(), chunk, chunk + n);
    std::fclose(f);
    return true;
}

const Bgi_ChrFont* strokeFont(int font) {
    if (font > BOLD_FONT) return userFonts[static_cast<size_t>(font - BOLD_FONT - 1)].get();
    if (font == DEFAULT_FONT) return nullptr;
    if (!tried[font]) {
        tried[font] = true;
        for (const std::string& dir : {Bgi_DriverPath, std::string()}) {
            std::vector<uint8_t> data;
            std::string path = dir;
            if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
            if (!readFile(path + kStroked[font].file, data)) continue;
            auto f = std::make_unique<Bgi_ChrFont>();
            if (Bgi_ReadChrFont(data.data(), data.size(), *f)) {
                builtIn[font] = std::move(f);
                break;
            }
        }
    }
    return builtIn[font].get();
}

// The scale of a stroked font: numerator and denominator across and down.
void strokeScale(int& mx, int& dx, int& my, int& dy) {
    const Bgi_State& s = Bgi_S;
    if (s.charSize == 0) {
        mx = s.multX, dx = s.divX, my = s.multY, dy = s.divY;
        return;
    }
    const uint8_t* f = Bgi_StrokeScale[std::clamp(s.charSize, 1, 10) - 1];
    mx = my = f[0];
    dx = dy = f[1];
}

int scaled(int v, int m, int d) { return d > 0 ? static_cast<int>(static_cast<int64_t>(v) * m / d) : v; }

// One character's cell in the look-alike of a stroked font, or the bitmap
// font's: width and height in pixels.
void cellSize(int& w, int& h) {
    const Bgi_State& s = Bgi_S;
    if (s.font == DEFAULT_FONT) {
        const int size = std::clamp(s.charSize, 1, 10);
        w = h = 8 * size;
        return;
    }
    int mx, dx, my, dy;
    strokeScale(mx, dx, my, dy);
    const StrokedFont& f = kStroked[std::min(s.font, static_cast<int>(BOLD_FONT))];
    w = std::max(1, scaled(f.width, mx, dx));
    h = std::max(1, scaled(f.height, my, dy));
}

// A user size of other proportions across than down: Graph draws a face only
// in its own proportions, so such text goes as a bitmap, stretched across by
// this factor (numerator, denominator); false for every other size.
bool faceStretch(int64_t& num, int64_t& den) {
    const Bgi_State& s = Bgi_S;
    if (s.charSize != 0 || s.font == DEFAULT_FONT || s.font > BOLD_FONT) return false;
    num = int64_t{s.multX} * s.divY, den = int64_t{s.divX} * s.multY;
    return num != den;
}

int stretchedWidth(int width, int64_t num, int64_t den) {
    return static_cast<int>(std::clamp<int64_t>(width * num / den, 1, 1 << 20));
}

size_t textLength(const char* text) { return std::min<size_t>(std::strlen(text), 4096); }

// The text as a bitmap (horizontal), width x height bytes.
void render(const char* text, size_t n, int& width, int& height, std::vector<uint8_t>& bits) {
    const Bgi_State& s = Bgi_S;
    const Bgi_ChrFont* chr = s.font == DEFAULT_FONT ? nullptr : strokeFont(s.font);
    int64_t num, den;
    if (chr == nullptr && faceStretch(num, den)) {
        int cw, ch;
        cellSize(cw, ch);
        int32_t w, h;
        std::vector<uint8_t> face;
        if (BgiG_FaceBits(s.font, static_cast<uint32_t>(ch), std::string(text, n).c_str(), w, h, face)) {
            // Each column the OR of the columns it stands for: a narrowed
            // text keeps its thin strokes.
            width = stretchedWidth(w, num, den), height = h;
            bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
            for (int c = 0; c < width; ++c) {
                const int64_t from = c * int64_t{w} / width;
                const int64_t to = std::max(from + 1, (c + 1) * int64_t{w} / width);
                for (int r = 0; r < height; ++r)
                    for (int64_t k = from; k < to; ++k)
                        if (face[static_cast<size_t>(r) * static_cast<size_t>(w) + static_cast<size_t>(k)]) {
                            bits[static_cast<size_t>(r) * static_cast<size_t>(width) + static_cast<size_t>(c)] = 1;
                            break;
                        }
            }
            return;
        }
    }
    if (chr != nullptr) {
        int mx, dx, my, dy;
        strokeScale(mx, dx, my, dy);
        const int top = chr->capHeight, bottom = chr->descender;
        height = std::max(1, scaled(top - bottom, my, dy) + 1);
        width = 0;
        for (size_t i = 0; i < n; ++i) {
            int w = 0;
            Bgi_ChrGlyph(*chr, static_cast<unsigned char>(text[i]), w);
            width += scaled(w, mx, dx);
        }
        width = std::max(width, 1);
        bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        int penX = 0;
        for (size_t i = 0; i < n; ++i) {
            int w = 0;
            const auto* strokes = Bgi_ChrGlyph(*chr, static_cast<unsigned char>(text[i]), w);
            if (strokes == nullptr) continue;
            int lx = 0, ly = 0;
            for (const Bgi_ChrStroke& st : *strokes) {
                const int x = penX + scaled(st.x, mx, dx), y = scaled(top - st.y, my, dy);
                if (st.draw) {
                    std::vector<Bgi_PatternPixel> px;
                    Bgi_LinePixels(lx, ly, x, y, 0xFFFF, px);
                    for (const Bgi_PatternPixel& p : px)
                        if (p.x >= 0 && p.y >= 0 && p.x < width && p.y < height)
                            bits[static_cast<size_t>(p.y) * static_cast<size_t>(width) + static_cast<size_t>(p.x)] = 1;
                }
                lx = x, ly = y;
            }
            penX += scaled(w, mx, dx);
        }
        return;
    }
    int cw, ch;
    cellSize(cw, ch);
    width = cw * static_cast<int>(n);
    height = ch;
    bits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* g = Bgi_Glyph8x8(static_cast<unsigned char>(text[i]));
        for (int y = 0; y < ch; ++y) {
            const uint8_t row = g[y * 8 / ch];
            for (int x = 0; x < cw; ++x)
                if (row >> (7 - x * 8 / cw) & 1)
                    bits[static_cast<size_t>(y) * static_cast<size_t>(width) + i * static_cast<size_t>(cw) +
                         static_cast<size_t>(x)] = 1;
        }
    }
}

// The last texts drawn, as bitmaps turned the way they are drawn: a game
// writes the same texts frame after frame.
struct Rendered {
    std::string text;
    int font = -1, direction = 0, size = 0, multX = 0, divX = 0, multY = 0, divY = 0;
    int width = 0, height = 0; // of the text, before turning
    std::vector<uint8_t> bits;
    BgiG_Blocks blocks; // as drawn last
};
constexpr size_t kRendered = 16;
Rendered rendered[kRendered];
size_t nextRendered = 0;

Rendered& renderedText(const char* text, size_t n) {
    const Bgi_State& s = Bgi_S;
    for (Rendered& r : rendered)
        if (r.font == s.font && r.direction == s.direction && r.size == s.charSize && r.multX == s.multX &&
            r.divX == s.divX && r.multY == s.multY && r.divY == s.divY && r.text.size() == n &&
            std::memcmp(r.text.data(), text, n) == 0)
            return r;
    Rendered& r = rendered[nextRendered++ % kRendered];
    r.text.assign(text, n);
    r.font = s.font, r.direction = s.direction, r.size = s.charSize;
    r.multX = s.multX, r.divX = s.divX, r.multY = s.multY, r.divY = s.divY;
    r.blocks.value = 0xFFFFFFFF;
    std::vector<uint8_t> bits;
    render(text, n, r.width, r.height, bits);
    if (s.direction != VERT_DIR) {
        r.bits = std::move(bits);
        return r;
    }
    // Turned a quarter counter-clockwise: it reads upwards.
    const size_t w = static_cast<size_t>(r.width), h = static_cast<size_t>(r.height);
    r.bits.assign(bits.size(), 0);
    for (size_t row = 0; row < h; ++row)
        for (size_t c = 0; c < w; ++c) r.bits[(w - 1 - c) * h + row] = bits[row * w + c];
    return r;
}

void draw(int x, int y, const char* text) {
    if (!Bgi_Ready()) return;
    if (text == nullptr) return Bgi_Fail(grError);
    uint32_t colour;
    if (!Bgi_GraphColour(Bgi_S.colour, colour)) return;
    const size_t n = textLength(text);
    if (n == 0) return;
    int64_t num, den;
    if (Bgi_S.font != DEFAULT_FONT && Bgi_S.font <= BOLD_FONT && strokeFont(Bgi_S.font) == nullptr &&
        !faceStretch(num, den)) {
        // A stroked font without its file: a face of the system's that looks like it.
        int cw, ch;
        cellSize(cw, ch);
        int32_t w, h, dx, dy;
        const std::string cut(text, n);
        if (BgiG_FaceText(Bgi_S.font, static_cast<uint32_t>(ch), Bgi_S.direction, 0, 0, cut.c_str(), colour, w, h, true)) {
            Bgi_Justify(Bgi_S.horiz, Bgi_S.vert, Bgi_S.direction, w, h, dx, dy);
            BgiG_FaceText(Bgi_S.font, static_cast<uint32_t>(ch), Bgi_S.direction, x + dx, y + dy, cut.c_str(), colour, w,
                          h, false);
            return;
        }
    }
    Rendered& r = renderedText(text, n);
    int32_t dx = 0, dy = 0;
    Bgi_Justify(Bgi_S.horiz, Bgi_S.vert, Bgi_S.direction, r.width, r.height, dx, dy);
    if (Bgi_S.direction == VERT_DIR) BgiG_Bitmap(x + dx, y + dy, r.height, r.width, r.bits.data(), colour, &r.blocks);
    else BgiG_Bitmap(x + dx, y + dy, r.width, r.height, r.bits.data(), colour, &r.blocks);
}

} // namespace

namespace {
// The size of text in the face that stands in for a stroked font; false
// when there is none.
bool faceSize(const char* text, size_t n, int32_t& w, int32_t& h) {
    if (Bgi_S.font == DEFAULT_FONT || Bgi_S.font > BOLD_FONT || strokeFont(Bgi_S.font) != nullptr) return false;
    int cw, ch;
    cellSize(cw, ch);
    if (!BgiG_FaceText(Bgi_S.font, static_cast<uint32_t>(ch), HORIZ_DIR, 0, 0, std::string(text, n).c_str(), 0, w, h,
                       true))
        return false;
    int64_t num, den;
    if (faceStretch(num, den)) w = stretchedWidth(w, num, den);
    return true;
}
} // namespace

int Bgi_TextWidth(const char* text) {
    const size_t n = textLength(text);
    int32_t fw, fh;
    if (faceSize(text, n, fw, fh)) return fw;
    const Bgi_ChrFont* chr = Bgi_S.font == DEFAULT_FONT ? nullptr : strokeFont(Bgi_S.font);
    if (chr != nullptr) {
        int mx, dx, my, dy, width = 0;
        strokeScale(mx, dx, my, dy);
        for (size_t i = 0; i < n; ++i) {
            int w = 0;
            Bgi_ChrGlyph(*chr, static_cast<unsigned char>(text[i]), w);
            width += scaled(w, mx, dx);
        }
        return width;
    }
    int cw, ch;
    cellSize(cw, ch);
    return cw * static_cast<int>(n);
}

int Bgi_TextHeight() {
    int32_t fw, fh;
    if (faceSize("H", 1, fw, fh)) return fh;
    const Bgi_ChrFont* chr = Bgi_S.font == DEFAULT_FONT ? nullptr : strokeFont(Bgi_S.font);
    if (chr != nullptr) {
        int mx, dx, my, dy;
        strokeScale(mx, dx, my, dy);
        return scaled(chr->capHeight - chr->descender, my, dy);
    }
    int cw, ch;
    cellSize(cw, ch);
    return ch;
}

extern "C" {

void settextstyle(int font, int direction, int charsize) {
    const int fonts = BOLD_FONT + 1 + static_cast<int>(userFonts.size());
    if (font < DEFAULT_FONT || font >= fonts) return Bgi_Fail(grInvalidFontNum);
    if (direction != HORIZ_DIR && direction != VERT_DIR) return Bgi_Fail(grError);
    if (charsize < 0) return Bgi_Fail(grError);
    Bgi_S.font = font;
    Bgi_S.direction = direction;
    // Borland: sizes above 10 are 10; 0 is the user size (the bitmap font: 1).
    Bgi_S.charSize = font == DEFAULT_FONT && charsize == 0 ? 1 : std::min(charsize, 10);
}

void settextjustify(int horiz, int vert) {
    if (horiz < LEFT_TEXT || horiz > RIGHT_TEXT || vert < BOTTOM_TEXT || vert > TOP_TEXT) return Bgi_Fail(grError);
    Bgi_S.horiz = horiz;
    Bgi_S.vert = vert;
}

void setusercharsize(int multx, int divx, int multy, int divy) {
    if (multx <= 0 || divx <= 0 || multy <= 0 || divy <= 0) return Bgi_Fail(grError);
    Bgi_S.multX = multx, Bgi_S.divX = divx, Bgi_S.multY = multy, Bgi_S.divY = divy;
    if (Bgi_S.font != DEFAULT_FONT) Bgi_S.charSize = 0;
}

void gettextsettings(struct textsettingstype* texttypeinfo) {
    if (texttypeinfo == nullptr) return Bgi_Fail(grError);
    *texttypeinfo = textsettingstype{Bgi_S.font, Bgi_S.direction, Bgi_S.charSize, Bgi_S.horiz, Bgi_S.vert};
}

int textwidth(const char* textstring) {
    if (textstring == nullptr) {
        Bgi_Fail(grError);
        return 0;
    }
    return Bgi_TextWidth(textstring);
}

int textheight(const char* textstring) {
    if (textstring == nullptr) {
        Bgi_Fail(grError);
        return 0;
    }
    return Bgi_TextHeight();
}

void outtextxy(int x, int y, const char* textstring) { draw(x, y, textstring); }

void outtext(const char* textstring) {
    draw(Bgi_S.x, Bgi_S.y, textstring);
    if (textstring != nullptr && Bgi_S.horiz == LEFT_TEXT && Bgi_S.direction == HORIZ_DIR)
        Bgi_S.x += Bgi_TextWidth(textstring);
}

int installuserfont(const char* name) {
    if (name == nullptr) {
        Bgi_Fail(grFontNotFound);
        return grFontNotFound;
    }
    if (userFonts.size() == kMaxUserFonts) {
        Bgi_Fail(grError);
        return grError;
    }
    std::vector<uint8_t> data;
    if (!readFile(name, data)) {
        Bgi_Fail(grFontNotFound);
        return grFontNotFound;
    }
    auto font = std::make_unique<Bgi_ChrFont>();
    if (!Bgi_ReadChrFont(data.data(), data.size(), *font)) {
        Bgi_Fail(grInvalidFont);
        return grInvalidFont;
    }
    userFonts.push_back(std::move(font));
    return BOLD_FONT + static_cast<int>(userFonts.size());
}

} // extern "C"

std::ostringstream bgiout;

void outstream(std::ostringstream& out) {
    outtext(out.str().c_str());
    out.str("");
}

void outstreamxy(int x, int y, std::ostringstream& out) {
    outtextxy(x, y, out.str().c_str());
    out.str("");
}
