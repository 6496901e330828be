// The BGI's platform-free parts: any bytes. The first byte picks the piece.
//
// Properties: the .CHR reader reads only inside the file (AddressSanitizer)
// and accepts only fonts whose characters all have their strokes; clipped
// lines lie inside the clip rectangle; polygon spans lie inside it; a flood
// fill never changes a border pixel nor fills more than the block; an arc's
// outline has no gaps.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "bgi_logic.h"

namespace {
Bgi_Rect rect(FuzzInput& in) {
    const int16_t a = in.take<int16_t>(), b = in.take<int16_t>(), c = in.take<int16_t>(), d = in.take<int16_t>();
    return Bgi_Rect{a, b, c, d};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FuzzInput in(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0: {
        Bgi_ChrFont font;
        if (!Bgi_ReadChrFont(data + 1, size - 1, font)) return 0;
        FUZZ_REQUIRE(font.glyphs.size() == font.widths.size() && font.first + font.glyphs.size() <= 256);
        for (int c = 0; c < 256; ++c) {
            int width = 0;
            const auto* g = Bgi_ChrGlyph(font, static_cast<unsigned char>(c), width);
            FUZZ_REQUIRE(g == nullptr || (g->size() <= 4096 && width >= 0 && width <= 255));
        }
        return 0;
    }
    case 1: {
        const Bgi_Rect clip = rect(in);
        int64_t x1 = in.take<int32_t>(), y1 = in.take<int32_t>(), x2 = in.take<int32_t>(), y2 = in.take<int32_t>();
        if (Bgi_ClipLine(clip, x1, y1, x2, y2))
            FUZZ_REQUIRE(Bgi_Contains(clip, x1, y1) && Bgi_Contains(clip, x2, y2));
        return 0;
    }
    case 2: {
        const Bgi_Rect clip = rect(in);
        std::vector<Bgi_Point> points;
        // Within about 1000 rows: the spans are found row by row.
        while (in.left() >= 4 && points.size() < 64)
            points.push_back({in.take<int16_t>() / 32, in.take<int16_t>() / 32});
        std::vector<Bgi_Span> spans;
        Bgi_PolygonSpans(points.data(), points.size(), clip, spans);
        for (const Bgi_Span& s : spans)
            FUZZ_REQUIRE(s.x1 <= s.x2 && Bgi_Contains(clip, s.x1, s.y) && Bgi_Contains(clip, s.x2, s.y));
        return 0;
    }
    case 3: {
        const int w = in.take<uint8_t>() % 24 + 1, h = in.take<uint8_t>() % 24 + 1;
        const int x = in.take<int8_t>(), y = in.take<int8_t>();
        uint8_t pattern[8];
        for (uint8_t& p : pattern) p = in.take<uint8_t>();
        std::vector<uint32_t> px(static_cast<size_t>(w * h));
        for (uint32_t& p : px) p = in.take<uint8_t>() % 3; // 2 is the border
        const std::vector<uint32_t> before = px;
        const size_t n = Bgi_FloodFill(px.data(), w, h, in.take<int8_t>(), in.take<int8_t>(), x, y, 2, pattern, 2, 1);
        FUZZ_REQUIRE(n <= px.size());
        for (size_t i = 0; i < px.size(); ++i) FUZZ_REQUIRE(before[i] != 2 || px[i] == 2);
        return 0;
    }
    default: {
        const int32_t rx = in.take<uint16_t>() % 300, ry = in.take<uint16_t>() % 300;
        const int32_t st = in.take<int32_t>(), end = in.take<int32_t>();
        std::vector<Bgi_Point> arc;
        Bgi_ArcOutline(in.take<int16_t>(), in.take<int16_t>(), rx, ry, st, Bgi_ArcSweep(st, end), arc);
        for (size_t i = 1; i < arc.size(); ++i)
            FUZZ_REQUIRE(std::abs(arc[i].x - arc[i - 1].x) <= 1 && std::abs(arc[i].y - arc[i - 1].y) <= 1);
        int32_t dx, dy;
        Bgi_Justify(in.take<int8_t>(), in.take<int8_t>(), in.take<int8_t>() & 1, rx, ry, dx, dy);
        FUZZ_REQUIRE(dx <= 0 && dy <= 0 && dx >= -std::max(rx, ry) && dy >= -std::max(rx, ry));
        return 0;
    }
    }
}
