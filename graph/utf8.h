// UTF-8 text to UTF-16, for the wide GDI text calls. Plain C++ (no
// <windows.h>), built and fuzzed under the sanitizers; keeps no state: any
// thread.
#pragma once

#include <cstddef>
#include <cstdint>

// Decodes text[0 .. length) into out, which must hold `length` units: no
// input gives more units than bytes. Each well-formed sequence gives its code
// point (a surrogate pair above U+FFFF); each maximal subpart of an ill-formed
// one, as Unicode recommends (a lead byte with the continuation bytes that may
// follow it, up to the first that may not or the end), and each byte that
// cannot start a sequence give one U+FFFD. Ill-formed: overlong forms,
// surrogates (ED A0 .. ED BF), code points past U+10FFFF, lone continuation
// bytes, C0, C1, F5 .. FF, a sequence cut by the end. NUL bytes are U+0000.
// Reads nothing at or past text + length; returns the units written.
size_t Graph_Utf8ToUtf16(const char* text, size_t length, char16_t* out);
