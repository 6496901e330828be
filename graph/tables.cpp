// Graph's public variables, its request record, the constant tables and the
// platform-free helpers.
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
