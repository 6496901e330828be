// IO: the program's console text module: string output through a replaceable
// writer, and the key test and key read of BiosIO under IO's names. Main
// thread: every procedure here. Each call runs IO_BEGIN first when it has not
// run yet. From then on the console input belongs to IO's reader thread: do
// not read it otherwise (scanf, std::cin).
#pragma once

#include <cstdint>

// A character array: address and number of elements. The text ends at the
// first NUL or at the array's end.
using IO_WrStrProc = void (*)(const char* chars, uint32_t count);

// Every string output of IO goes through it; IO_BEGIN sets the default
// writer (the bytes before the first NUL, unchanged, to the standard output),
// also over one assigned before it ran: assign yours after IO_BEGIN.
extern IO_WrStrProc IO_WrStrRedirect;

void IO_WrStr(const char* chars, uint32_t count);
// A string literal or array, passed with its number of elements.
template <uint32_t N>
inline void IO_WrStr(const char (&chars)[N]) {
    IO_WrStr(chars, N);
}
void IO_WrChar(char c);
void IO_WrLn(); // one byte 0x0A, never CR LF

bool IO_KeyPressed();
uint8_t IO_RdKey();

void IO_BEGIN();
