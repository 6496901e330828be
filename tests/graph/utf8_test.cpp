// UTF-8 to UTF-16: well-formed text of every length of sequence, and each kind
// of ill-formed input replaced per maximal subpart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "utf8.h"

namespace {

TEST(Utf8, DecodesWellFormedTextAndReplacesEachMaximalSubpart) {
    const struct { const char* what; std::string in; std::u16string out; } cases[] = {
        {"ASCII and NUL", std::string("a\0~", 3), std::u16string(u"a\0~", 3)},
        {"2, 3 and 4 bytes", "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         u"\u0080\u07FF\u0800\uFFFD\U00010000\U0010FFFF"},
        {"Unicode's example of subparts", "a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d",
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
        {"overlong", "\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"surrogates", "\xED\xA0\x80\xED\xBF\xBF\xED\x9F\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uD7FF"},
        {"past U+10FFFF", "\xF4\x90\x80\x80\xF5\x80\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"cut by the end", "x\xF0\x9F\x98", u"x\uFFFD"},
        {"cut by a new lead", "\xE2\x82\xE2\x82\xAC\xF0\x9Fz", u"\uFFFD\u20AC\uFFFDz"},
    };
    for (const auto& c : cases) {
        // A block of exactly the input's size, where the sanitizers see a read past its end.
        const std::vector<char> in(c.in.begin(), c.in.end());
        std::vector<char16_t> out(in.size() + 1, u'#');
        const size_t n = Graph_Utf8ToUtf16(in.data(), in.size(), out.data());
        EXPECT_EQ(std::u16string(out.data(), n), c.out) << c.what;
        EXPECT_EQ(out[in.size()], u'#') << c.what;
    }
}

} // namespace
