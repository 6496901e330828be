// Graph's public variables, its request record, the constant tables and the
// platform-free helpers.
#include <algorithm>

#include "Graph.h"
#include "GraphRequest.h"

uint32_t Graph_Width = 0;
uint32_t Graph_Depth = 0;
uint32_t Graph_NumPColor = 0;

Graph_RequestRecord Graph_Request = {};
Graph_PaletteTable Graph_PaletteBuffer = {};

const uint32_t Graph_StdPalette[16] = {
    0x000000, 0x0000B0, 0x00B000, 0x008080, 0xB00000, 0x800080, 0xB06000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

// Set by Graph_BEGIN (the platform's hatch styles, and 8 for solid).
uint32_t Graph_PATSYM_HORIZ = 0;
uint32_t Graph_PATSYM_VERT = 0;
uint32_t Graph_PATSYM_DIAG2 = 0;
uint32_t Graph_PATSYM_DIAG1 = 0;
uint32_t Graph_PATSYM_DENSE2 = 0;
uint32_t Graph_PATSYM_DENSE1 = 0;
uint32_t Graph_PATSYM_SOLID = 0;

// PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL.
const uint32_t Graph_LineStyleTable[Graph_LineStyleCount] = {0, 2, 1, 3, 4, 5};

// Indexed by the platform pen style (PS_DASH = 1 ... PS_DASHDOTDOT = 4): the
// lengths the one-pixel pens draw.
const Graph_StyleRuns Graph_WideStyleRuns[5] = {
    {0, {}}, {2, {18, 6}}, {2, {3, 3}}, {4, {9, 6, 3, 6}}, {6, {9, 3, 3, 3, 3, 3}},
};

uint32_t Graph_PatternRuns(uint16_t pattern, uint32_t (&runs)[Graph_PatternRunsMax]) {
    if (pattern == 0) return 0;
    if (pattern == 0xAAAA) {
        // Off-on sixteen times would take 17 lengths; off-on once repeats the same.
        const uint32_t pair[4] = {0, 1, 1, 0};
        for (uint32_t i = 0; i < 4; ++i) runs[i] = pair[i];
        return 4;
    }
    uint32_t n = 0;
    bool on = true;
    runs[0] = 0; // stays 0 when the pattern starts off
    for (uint32_t bit = 0; bit < 16; ++bit) {
        const bool set = (pattern >> bit & 1) != 0;
        if (set != on) {
            on = set;
            runs[++n] = 0;
        }
        ++runs[n];
    }
    ++n;
    if (n % 2 != 0) runs[n++] = 0; // ends on: an empty gap before the next round
    return n;
}

void Graph_BlendRow(uint32_t* picture, const uint32_t* block, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t s = block[i], a = s >> 24;
        if (a == 0) continue;
        if (a == 255) {
            picture[i] = s & 0xFFFFFF;
            continue;
        }
        const uint32_t d = picture[i];
        uint32_t out = 0;
        for (uint32_t shift = 0; shift < 24; shift += 8) {
            const uint32_t v = ((s >> shift & 0xFF) * a + (d >> shift & 0xFF) * (255 - a) + 127) / 255;
            out |= v << shift;
        }
        picture[i] = out;
    }
}

uint32_t Graph_TextLength(const char* text, uint32_t length) {
    uint32_t n = 0;
    while (n < length && n < Graph_TextMax && text[n] != '\0') ++n;
    return n;
}

uint32_t Graph_ColourCountFor(uint32_t bits, uint32_t planes) {
    const uint64_t depth = static_cast<uint64_t>(bits) * planes;
    if (depth >= 24) return 1u << 24;
    return 1u << depth;
}

namespace {

// A coordinate on the segment at parameter u in [0, 1], rounded, kept in
// [0, limit] (rounding may step a hair outside).
int64_t along(int64_t from, int64_t to, long double u, int64_t limit) {
    const long double v = static_cast<long double>(from) + u * static_cast<long double>(to - from);
    return static_cast<int64_t>(std::clamp(v, 0.0L, static_cast<long double>(limit)) + 0.5L);
}

} // namespace

bool Graph_CutSegment(int64_t (&a)[2], int64_t (&b)[2], int64_t limit) {
    if (std::max({a[0], a[1], b[0], b[1]}) <= limit) return true;
    long double u0 = 0.0L, u1 = 1.0L;
    for (int axis = 0; axis < 2; ++axis) {
        const int64_t from = a[axis], to = b[axis];
        if (from > limit && to > limit) return false;
        if (from > limit) {
            u0 = std::max(u0, static_cast<long double>(from - limit) / static_cast<long double>(from - to));
        } else if (to > limit) {
            u1 = std::min(u1, static_cast<long double>(limit - from) / static_cast<long double>(to - from));
        }
    }
    if (u0 > u1) return false; // passes outside the corner
    const int64_t cutA[2] = {along(a[0], b[0], u0, limit), along(a[1], b[1], u0, limit)};
    const int64_t cutB[2] = {along(a[0], b[0], u1, limit), along(a[1], b[1], u1, limit)};
    for (int axis = 0; axis < 2; ++axis) {
        a[axis] = cutA[axis];
        b[axis] = cutB[axis];
    }
    return true;
}
