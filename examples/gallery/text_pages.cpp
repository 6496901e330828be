// The gallery's pages of fonts and directions, of UTF-8 text in several
// scripts, and of a PNG file loaded at its size and stretched. Each page
// leaves the start font and byte text in force for the next.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "gallery.h"

namespace gallery {

namespace {

// A face the system has, of those a program can count on.
const char* anyFace(const char* const* faces, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (Graph_SetFont(faces[i], 20, 0, 0)) return faces[i];
    }
    return nullptr;
}

} // namespace

// ---- page 9: fonts and directions ----------------------------------------------

void fontPage() {
    const struct {
        const char* face;
        uint32_t style;
        const char* name;
    } rows[] = {
        {"Liberation Sans", 0, "Liberation Sans"},
        {"Liberation Serif", Graph_ITALIC, "Liberation Serif, italic"},
        {"Liberation Mono", Graph_BOLD, "Liberation Mono, bold"},
        {"DejaVu Sans", Graph_UNDERLINE, "DejaVu Sans, underlined"},
        {"Tahoma", Graph_BOLD, "Tahoma, bold"},
    };
    text(20, 50, kWhite, "Graph_SetFont: any installed font, height in pixels, style bits:");
    uint32_t y = 80;
    for (const auto& row : rows) {
        char line[80];
        const bool had = Graph_SetFont(row.face, 28, 0, row.style);
        std::snprintf(line, sizeof line, had ? "%s, 28 px" : "(%s: not installed)", row.name);
        Graph_OutText(20, y, had ? kYellow : kDarkGrey, line);
        y += 36;
    }
    Graph_SetFont(nullptr, 0, 0, 0);
    text(440, 50, kWhite, "Four directions, about one corner:");
    const char* const faces[] = {"Liberation Sans", "DejaVu Sans"};
    if (anyFace(faces, 2) != nullptr) {
        const char* face = anyFace(faces, 2);
        for (int32_t angle : {0, 900, 1800, 2700, 450}) {
            Graph_SetFont(face, 22, angle, 0);
            char label[24];
            std::snprintf(label, sizeof label, "angle %d", static_cast<int>(angle));
            Graph_OutText(600, 300, angle == 450 ? kLightGreen : kLightRed, label);
        }
        Graph_SetFont(nullptr, 0, 0, 0);
        Graph_Rectangle(598, 298, 602, 302, kWhite, true);
    }
    text(20, 460, kLightGrey, "Graph_SetFont(nullptr, 0, 0, 0) brings back the start font, this one.");
}

// ---- page 10: UTF-8 text ----------------------------------------------------------

void utf8Page() {
    text(20, 50, kWhite, "Graph_SetTextUTF8(true): text in UTF-8, any script the font has:");
    const char* const faces[] = {"DejaVu Sans", "Liberation Sans"};
    const char* face = anyFace(faces, 2);
    if (face != nullptr) Graph_SetFont(face, 26, 0, 0);
    Graph_SetTextUTF8(true);
    const char* const lines[] = {
        "Gr\xC3\xBC\xC3\x9F" "e aus Z\xC3\xBCrich, fa\xC3\xA7" "ade, \xC5\x81\xC3\xB3" "d\xC5\xBA",
        "\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC \xCF\x83\xCE\xBF\xCF\x85 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5",
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80",
        "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D",
        "\xE2\x82\xAC 12,50  \xE2\x86\x92  \xE2\x88\x9A" "2 \xE2\x89\x88 1,414  \xE2\x99\xA5",
        "bad bytes: [\xC3] [\xE2\x82] [\xFF] [\xC0\xAF] drawn as U+FFFD",
    };
    uint32_t y = 90;
    for (const char* line : lines) {
        Graph_OutText(20, y, y == 90 + 5 * 44 ? kLightRed : kYellow, line);
        y += 44;
    }
    char width[64];
    std::snprintf(width, sizeof width, "width of the Greek line: %u px", static_cast<unsigned>(Graph_TextWidth(lines[1])));
    Graph_SetTextUTF8(false);
    Graph_SetFont(nullptr, 0, 0, 0);
    text(20, 380, kLightGrey, width);
}

// ---- page 11: a PNG file ----------------------------------------------------------------

void pngPage() {
    text(20, 50, kWhite, "Graph_SavePicture to a .png file, Graph_LoadPicture and Graph_LoadPictureBox of it:");
    for (uint32_t i = 0; i < 16; ++i) Graph_Rectangle(20 + i * 12, 80, 31 + i * 12, 199, i, true);
    Graph_Ellipse(60, 100, 170, 180, kWhite, false);
    text(30, 170, kBlack, "PNG");
    char path[260];
    std::snprintf(path, sizeof path, "%s\\plimo-gallery.png", std::getenv("TEMP") ? std::getenv("TEMP") : ".");
    // The picture so far into the file; then its corner drawn again, and stretched.
    const bool saved = Graph_SavePicture(path);
    Graph_Rectangle(0, 60, kWidth - 1, 79, kBlack, true);
    const bool loaded = saved && Graph_LoadPicture(path, 240, 240) &&
                        Graph_LoadPictureBox(path, 20, 240, 219, 539);
    std::remove(path);
    text(20, 220, kLightGrey, loaded ? "the whole picture shrunk to 200 x 300; at its own size from (240, 240):"
                                     : "The PNG file could not be written or read.");
}

} // namespace gallery
