// Text in the fonts a program chooses, in four directions, and in UTF-8:
// extents as GDI measures the same font, pixels where the turned cell lies.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "GraphFixture.h"

namespace {

// An independent DC with the same font: what GDI measures and draws.
struct Reference {
    Reference(const char* face, int height)
        : dc(CreateCompatibleDC(nullptr)), font(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                                            DEFAULT_QUALITY, DEFAULT_PITCH, face)) {
        SelectObject(dc, font);
    }
    ~Reference() { DeleteDC(dc), DeleteObject(font); }
    SIZE extent(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    // TextOutW of text at (x, y), white on black, in an 800 x 600 picture.
    Picture drawn(int x, int y, const std::wstring& text) const {
        HBITMAP bitmap = CreateCompatibleBitmap(Graph_BufferDC, 800, 600);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 800, 600, BLACKNESS);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        Picture p = Grab(dc, 800, 600);
        DeleteObject(SelectObject(dc, old));
        return p;
    }
    HDC dc;
    HFONT font;
};

TEST_F(GraphTest, TwoFontsInFourDirectionsMeasureAndTurnAboutTheFirstCellsCorner) {
    Graph_SelectStartFont();
    const uint32_t startHeight = Graph_TextHeight();
    for (const char* face : {"Liberation Sans", "DejaVu Serif"}) {
        Reference ref(face, 40);
        const SIZE size = ref.extent(L"Wide");
        TEXTMETRICW metrics{};
        GetTextMetricsW(ref.dc, &metrics);
        EXPECT_NEAR(metrics.tmHeight, 40, 1); // the cell's height, as GDI rounds it
        for (int32_t angle : {0, 900, 1800, 2700, -900}) {
            SCOPED_TRACE(std::string(face) + " at " + std::to_string(angle));
            ASSERT_TRUE(Graph_SetFont(face, 40, angle, 0));
            EXPECT_EQ(Graph_TextHeight(), static_cast<uint32_t>(metrics.tmHeight));
            EXPECT_EQ(Graph_TextWidth("Wide"), static_cast<uint32_t>(size.cx));
            Graph_ClearScreen(0);
            Graph_OutText(400, 300, 15, "Wide");
            // The upright cell [0, cx) x [0, cy) turned counter-clockwise about (400, 300).
            const int32_t a = (angle + 3600) % 3600;
            const LONG w = size.cx, h = size.cy;
            const RECT cell = a == 0      ? RECT{400, 300, 400 + w, 300 + h}
                              : a == 900  ? RECT{400, 300 - w, 400 + h, 300}
                              : a == 1800 ? RECT{400 - w, 300 - h, 400, 300}
                                          : RECT{400 - h, 300, 400, 300 + w};
            RECT ink;
            ASSERT_TRUE(Both().bounds(kBlack, ink));
            EXPECT_TRUE(ink.left >= cell.left - 1 && ink.top >= cell.top - 1 && ink.right <= cell.right &&
                        ink.bottom <= cell.bottom);
            const bool across = a == 0 || a == 1800;
            EXPECT_GT((across ? ink.right - ink.left : ink.bottom - ink.top) * 4, 3 * w); // most of the run
        }
    }
    // Refused, the font in force kept; then the start font again.
    ASSERT_TRUE(Graph_SetFont("DejaVu Sans", 30, 0, Graph_BOLD | Graph_ITALIC | Graph_UNDERLINE));
    for (auto [face, height, style] : {std::tuple{"No Such Face Anywhere", 20u, 0u}, {"DejaVu Sans", 0u, 0u},
                                       {"DejaVu Sans", Graph_FontHeightMax + 1, 0u}, {"DejaVu Sans", 20u, 16u},
                                       {nullptr, 20u, 0u}}) {
        EXPECT_FALSE(Graph_SetFont(face, height, 0, style)) << (face ? face : "null") << " " << height;
        EXPECT_EQ(Graph_TextHeight(), 30u);
    }
    ASSERT_TRUE(Graph_SetFont(nullptr, 0, 0, 0));
    EXPECT_EQ(Graph_TextHeight(), startHeight);
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(Graph_WindowDC, OBJ_FONT), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Fixedsys");
}

TEST_F(GraphTest, Utf8OfThreeScriptsDrawsAsWideTextAndBadBytesAsReplacements) {
    ASSERT_TRUE(Graph_SetFont("DejaVu Sans", 24, 0, 0));
    Reference ref("DejaVu Sans", 24);
    Graph_SetTextUTF8(true);
    const struct {
        const char* utf8;
        std::wstring wide;
    } cases[] = {
        {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC", L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"},
        {"\xD0\x9A\xD0\xB8\xD1\x80\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0", L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430"},
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", L"\u05E9\u05DC\u05D5\u05DD"},
        // Cut, overlong and lone continuation bytes: one U+FFFD each maximal subpart.
        {"A\xE2\x82", L"A\uFFFD"}, {"\xC0\xAF" "B", L"\uFFFD\uFFFDB"}, {"\x80\xF4\x90", L"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Graph_TextWidth(c.utf8), static_cast<uint32_t>(ref.extent(c.wide).cx));
        Graph_ClearScreen(0);
        Graph_OutText(10, 10, 15, c.utf8);
        const Picture drawn = Both();
        EXPECT_TRUE(drawn.px == ref.drawn(10, 10, c.wide).px); // pixel for pixel what TextOutW draws
        EXPECT_GT(drawn.count(10, 10, 400, 40, 0xFFFFFF), 10);
    }
    // A long text in pieces: no piece splits a character, so every one is drawn whole.
    std::string euros;
    for (int i = 0; i < 120; ++i) euros += "\xE2\x82\xAC";
    EXPECT_EQ(Graph_TextWidth(euros.c_str()), static_cast<uint32_t>(ref.extent(std::wstring(120, L'\u20AC')).cx));
    Graph_ClearScreen(0);
    Graph_OutText(0, 100, 15, euros.c_str());
    const Picture p = Both(), whole = ref.drawn(0, 100, std::wstring(120, L'\u20AC'));
    EXPECT_TRUE(std::equal(p.px.begin() + 100 * 800, p.px.begin() + 130 * 800, whole.px.begin() + 100 * 800));
    Graph_SetTextUTF8(false);
    Graph_SetFont(nullptr, 0, 0, 0);
}

} // namespace
