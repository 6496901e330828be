// UTF-8 to UTF-16: any bytes.
//
// Properties: the decoder reads only the bytes given (libFuzzer's input is a heap block of its exact
// size, under AddressSanitizer) and writes at most one unit per byte; its output is well-formed UTF-16
// (no lone surrogate); encoding that output as UTF-8 here and decoding it again gives it back; and an
// input whose output has no U+FFFD was well-formed, so that encoding gives back the input itself.
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "utf8.h"

namespace {

// The reference encoder, from the definitions of UTF-16 and UTF-8; a lone surrogate fails.
bool Encode(const char16_t* units, size_t count, std::string& out) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = units[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
        if (low || (high && (i + 1 == count || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF))) return false;
        if (high) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        const int more = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(more == 0 ? c : (0xFF00 >> (more + 1) & 0xFF) | c >> 6 * more);
        for (int k = more - 1; k >= 0; --k) out += static_cast<char>(0x80 | (c >> 6 * k & 0x3F));
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char16_t> units(size + 1, u'#');
    const size_t n = Graph_Utf8ToUtf16(reinterpret_cast<const char*>(data), size, units.data());
    FUZZ_REQUIRE(n <= size && units[size] == u'#');
    std::string encoded;
    FUZZ_REQUIRE(Encode(units.data(), n, encoded));
    std::vector<char16_t> again(encoded.size() + 1);
    const size_t m = Graph_Utf8ToUtf16(encoded.data(), encoded.size(), again.data());
    FUZZ_REQUIRE(m == n && std::equal(units.begin(), units.begin() + static_cast<long>(n), again.begin()));
    bool replaced = false;
    for (size_t i = 0; i < n; ++i) replaced = replaced || units[i] == 0xFFFD;
    FUZZ_REQUIRE(replaced || encoded == std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
