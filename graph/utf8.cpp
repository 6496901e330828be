// UTF-8 decoding by the table of well-formed byte sequences (Unicode,
// chapter 3, table 3-7): the lead byte fixes how many continuation bytes
// follow and the range the first of them must lie in, which excludes
// overlong forms, surrogates and code points past U+10FFFF without any test
// of the decoded value.
#include "utf8.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct Lead {
    uint8_t more;     // continuation bytes that follow
    uint8_t low, high; // the first continuation byte's range
};

// What a lead byte of 0x80 and above starts; more == 0: it starts nothing.
constexpr Lead LeadOf(uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF};
    if (b == 0xE0) return {2, 0xA0, 0xBF};
    if (b == 0xED) return {2, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {2, 0x80, 0xBF};
    if (b == 0xF0) return {3, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {3, 0x80, 0xBF};
    if (b == 0xF4) return {3, 0x80, 0x8F};
    return {0, 0, 0};
}

} // namespace

size_t Graph_Utf8ToUtf16(const char* text, size_t length, char16_t* out) {
    const auto* s = reinterpret_cast<const uint8_t*>(text);
    size_t i = 0, n = 0;
    while (i < length) {
        const uint8_t b = s[i];
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        const Lead lead = LeadOf(b);
        uint32_t code = b & (0x3F >> lead.more);
        size_t j = i + 1;
        bool whole = lead.more != 0;
        for (uint8_t k = 0; whole && k < lead.more; ++k, ++j) {
            const uint8_t low = k == 0 ? lead.low : 0x80, high = k == 0 ? lead.high : 0xBF;
            if (j >= length || s[j] < low || s[j] > high) {
                whole = false;
                break;
            }
            code = code << 6 | (s[j] & 0x3F);
        }
        if (!whole) {
            out[n++] = kReplacement; // bytes i .. j - 1: the maximal subpart
            i = lead.more != 0 ? j : i + 1;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out[n++] = static_cast<char16_t>(0xD800 | code >> 10);
            out[n++] = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            out[n++] = static_cast<char16_t>(code);
        }
        i = j;
    }
    return n;
}
