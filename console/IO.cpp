#include "IO.h"

#include <windows.h>

#include "BiosIO.h"
#include "M3K.h"
#include "StdIO.h"
#include "kfrEvQue.h"
#include "kfrIO.h"

namespace {

// The standard output, taken by IO_BEGIN.
HANDLE outputChannel = nullptr;

// Writes straight to the handle: no C runtime buffer to flush and no text
// mode to turn 0x0A into CR LF.
void IO_defaultWrStr(const char* chars, uint32_t count) {
    uint32_t length = 0;
    while (length < count && chars[length] != '\0') ++length;
    M3K_WriteAll(outputChannel, chars, length);
}

} // namespace

IO_WrStrProc IO_WrStrRedirect = IO_defaultWrStr;

// Every public call starts the module first, as the module order would have
// before the program's body: a program that never called IO_BEGIN still
// gets the reader thread and the standard output.
void IO_WrStr(const char* chars, uint32_t count) {
    IO_BEGIN();
    IO_WrStrRedirect(chars, count);
}

void IO_WrChar(char c) {
    const char one[1] = {c};
    IO_WrStr(one, 1);
}

void IO_WrLn() { IO_WrChar('\n'); }

bool IO_KeyPressed() {
    IO_BEGIN();
    return BiosIO_KeyPressed();
}

uint8_t IO_RdKey() {
    IO_BEGIN();
    return BiosIO_RdKey();
}

void IO_BEGIN() {
    M3K_MODULE_ONCE();
    kfrEvQue_BEGIN();
    kfrIO_BEGIN();
    BiosIO_BEGIN();
    StdIO_BEGIN();
    outputChannel = GetStdHandle(STD_OUTPUT_HANDLE);
    IO_WrStrRedirect = IO_defaultWrStr;
}
