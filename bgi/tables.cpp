// The BGI's constant data: fill and line patterns, the EGA colours and the
// default palette, the result texts and the drivers' modes.
#include <array>

#include "bgi_logic.h"

const uint8_t Bgi_FillPatterns[12][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // EMPTY_FILL: the background colour
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, // SOLID_FILL
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, // LINE_FILL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // LTSLASH_FILL
    {0xE0, 0xC1, 0x83, 0x07, 0x0E, 0x1C, 0x38, 0x70}, // SLASH_FILL
    {0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1}, // BKSLASH_FILL
    {0xA5, 0xD2, 0x69, 0xB4, 0x5A, 0x2D, 0x96, 0x4B}, // LTBKSLASH_FILL
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, // HATCH_FILL
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // XHATCH_FILL
    {0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33}, // INTERLEAVE_FILL
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00}, // WIDE_DOT_FILL
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}, // CLOSE_DOT_FILL
};

const uint16_t Bgi_LinePatterns[4] = {0xFFFF, 0xCCCC, 0xFC78, 0xF8F8};

namespace {
// EGA colour bits: 0 blue, 1 green, 2 red at two thirds; 3 blue, 4 green,
// 5 red at one third.
constexpr std::array<uint32_t, 64> egaColours() {
    std::array<uint32_t, 64> c{};
    for (uint32_t n = 0; n < 64; ++n) {
        const uint32_t r = ((n >> 2) & 1) * 0xAA + ((n >> 5) & 1) * 0x55;
        const uint32_t g = ((n >> 1) & 1) * 0xAA + ((n >> 4) & 1) * 0x55;
        const uint32_t b = (n & 1) * 0xAA + ((n >> 3) & 1) * 0x55;
        c[n] = r << 16 | g << 8 | b;
    }
    return c;
}
constexpr std::array<uint32_t, 64> kEga = egaColours();
} // namespace

const uint32_t Bgi_EgaColours[64] = {
#define C(n) kEga[n]
    C(0),  C(1),  C(2),  C(3),  C(4),  C(5),  C(6),  C(7),  C(8),  C(9),  C(10), C(11), C(12),
    C(13), C(14), C(15), C(16), C(17), C(18), C(19), C(20), C(21), C(22), C(23), C(24), C(25),
    C(26), C(27), C(28), C(29), C(30), C(31), C(32), C(33), C(34), C(35), C(36), C(37), C(38),
    C(39), C(40), C(41), C(42), C(43), C(44), C(45), C(46), C(47), C(48), C(49), C(50), C(51),
    C(52), C(53), C(54), C(55), C(56), C(57), C(58), C(59), C(60), C(61), C(62), C(63),
#undef C
};

const signed char Bgi_DefaultPalette[16] = {0, 1, 2, 3, 4, 5, 20, 7, 56, 57, 58, 59, 60, 61, 62, 63};

namespace {
struct ErrorText {
    int code;
    const char* text;
};
// Borland's texts for its result codes.
constexpr ErrorText kErrors[] = {
    {0, "No error"},
    {-1, "(BGI) graphics not installed (use initgraph)"},
    {-2, "Graphics hardware not detected"},
    {-3, "Device driver file not found"},
    {-4, "Invalid device driver file"},
    {-5, "Not enough memory to load driver"},
    {-6, "Out of memory in scan fill"},
    {-7, "Out of memory in flood fill"},
    {-8, "Font file not found"},
    {-9, "Not enough memory to load font"},
    {-10, "Invalid graphics mode for selected driver"},
    {-11, "Graphics error"},
    {-12, "Graphics I/O error"},
    {-13, "Invalid font file"},
    {-14, "Invalid font number"},
    {-15, "Invalid device number"},
    {-18, "Invalid version number"},
};

// The drivers' modes as Borland's reference lists them; every mode has 16
// colours here whatever the hardware had (the window is true colour).
constexpr Bgi_Mode kModes[] = {
    {1, 0, "320 x 200 CGA C0", 320, 200, 4, 1},    {1, 1, "320 x 200 CGA C1", 320, 200, 4, 1},
    {1, 2, "320 x 200 CGA C2", 320, 200, 4, 1},    {1, 3, "320 x 200 CGA C3", 320, 200, 4, 1},
    {1, 4, "640 x 200 CGA", 640, 200, 2, 1},       {2, 0, "320 x 200 MCGA C0", 320, 200, 4, 1},
    {2, 1, "320 x 200 MCGA C1", 320, 200, 4, 1},   {2, 2, "320 x 200 MCGA C2", 320, 200, 4, 1},
    {2, 3, "320 x 200 MCGA C3", 320, 200, 4, 1},   {2, 4, "640 x 200 MCGA", 640, 200, 2, 1},
    {2, 5, "640 x 480 MCGA", 640, 480, 2, 1},      {3, 0, "640 x 200 EGA", 640, 200, 16, 4},
    {3, 1, "640 x 350 EGA", 640, 350, 16, 2},      {4, 0, "640 x 200 EGA64", 640, 200, 16, 1},
    {4, 1, "640 x 350 EGA64", 640, 350, 4, 1},     {5, 3, "640 x 350 EGA-MONO", 640, 350, 2, 1},
    {6, 0, "640 x 480 IBM8514", 640, 480, 256, 1}, {6, 1, "1024 x 768 IBM8514", 1024, 768, 256, 1},
    {7, 0, "720 x 348 HERCULES", 720, 348, 2, 2},  {8, 0, "320 x 200 AT&T C0", 320, 200, 4, 1},
    {8, 1, "320 x 200 AT&T C1", 320, 200, 4, 1},   {8, 2, "320 x 200 AT&T C2", 320, 200, 4, 1},
    {8, 3, "320 x 200 AT&T C3", 320, 200, 4, 1},   {8, 4, "640 x 200 AT&T", 640, 200, 2, 1},
    {8, 5, "640 x 400 AT&T", 640, 400, 2, 1},      {9, 0, "640 x 200 VGA", 640, 200, 16, 4},
    {9, 1, "640 x 350 VGA", 640, 350, 16, 2},      {9, 2, "640 x 480 VGA", 640, 480, 16, 1},
    {10, 0, "720 x 350 PC3270", 720, 350, 2, 1},
};
// getdrivername's answers: the names of Borland's driver files.
constexpr const char* kDrivers[] = {nullptr, "CGA", "CGA", "EGAVGA", "EGAVGA", "EGAVGA", "IBM8514",
                                    "HERC", "ATT", "EGAVGA", "PC3270"};
} // namespace

const char* Bgi_ErrorText(int code) {
    for (const ErrorText& e : kErrors)
        if (e.code == code) return e.text;
    return nullptr;
}

const Bgi_Mode* Bgi_FindMode(int driver, int mode) {
    for (const Bgi_Mode& m : kModes)
        if (m.driver == driver && m.mode == mode) return &m;
    return nullptr;
}

int Bgi_MaxMode(int driver) {
    int max = -1;
    for (const Bgi_Mode& m : kModes)
        if (m.driver == driver && m.mode > max) max = m.mode;
    return max;
}

const char* Bgi_DriverName(int driver) {
    if (driver < 1 || driver > 10) return nullptr;
    return kDrivers[driver];
}

bool Bgi_ColourValue(int colour, const uint32_t shown[16], uint32_t& rgb) {
    if (Bgi_IsRgb(colour)) {
        const uint32_t v = static_cast<uint32_t>(colour);
        rgb = (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
        return true;
    }
    if (colour < 0 || colour > 15) return false;
    rgb = shown[colour];
    return true;
}

int Bgi_ColourNumber(uint32_t rgb, const uint32_t shown[16]) {
    rgb &= 0xFFFFFF;
    for (int n = 0; n < 16; ++n)
        if (shown[n] == rgb) return n;
    return static_cast<int>(0x03000000u | (rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

const uint8_t Bgi_StrokeScale[10][2] = {{3, 5}, {2, 3}, {3, 4}, {1, 1}, {4, 3},
                                        {5, 3}, {2, 1}, {5, 2}, {3, 1}, {4, 1}};
