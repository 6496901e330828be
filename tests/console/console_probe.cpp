// A whole program around the console library, for the tests that need the
// frame's start and end or a process of their own (see test_console.py).
//   console_probe mode    on a fresh console: input mode 0x17 while running,
//                         the old mode back after the finalisers (exit code 0/2/3)
//   console_probe output  IO's string output, byte for byte, to the standard output
//   console_probe typed   with no initialiser called: echoes every IO_RdKey
//                         result as "k=XX;" until q
//   console_probe idle    standard input not a console: no key, and the reader
//                         thread does not spin (exit code 0, 5: keys, 6: busy)
//   console_probe redirected  a console, but the standard input a file: a key
//                         written into the console arrives (exit code 0, 5: none)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BiosIO.h"
#include "IO.h"
#include "Lib.h"
#include "M3K.h"
#include "kfrEvQueInternal.h"
#include "kfrIGraph.h"

namespace {

constexpr DWORD kModeBefore = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                              ENABLE_WINDOW_INPUT; // differs from 0x17 in two bits

// Registered before the library's finaliser, so it runs after it.
void checkModeRestored() {
    DWORD mode = 0;
    GetConsoleMode(kfrIGraph_hConsoleInput, &mode);
    ExitProcess(mode == kModeBefore ? 0 : 3);
}

void modeBody() {
    M3K_FINALLY(checkModeRestored);
    Lib_BEGIN();
    IO_BEGIN();
    DWORD mode = 0;
    GetConsoleMode(kfrIGraph_hConsoleInput, &mode);
    if (mode != 0x17) M3K_HALT(2);
}

void bracketWriter(const char* chars, uint32_t count) {
    char buffer[64];
    uint32_t n = 0;
    buffer[n++] = '<';
    for (uint32_t i = 0; i < count && chars[i] != '\0' && n < sizeof buffer - 1; ++i) buffer[n++] = chars[i];
    buffer[n++] = '>';
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), buffer, n, &written, nullptr);
}

// Registered before Lib_BEGIN, so it runs after the channels' finaliser.
void writeLastWord() {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "!", 1, &written, nullptr);
}

void outputBody() {
    M3K_FINALLY(writeLastWord);
    Lib_BEGIN();
    IO_BEGIN();
    const char noNul[3] = {'a', 'b', 'c'};
    IO_WrStr(noNul, 3);
    const char leadingNul[4] = {'\0', 'x', 'y', 'z'};
    IO_WrStr(leadingNul, 4);
    IO_WrStr("Sorry, graphics doesn't work"); // 29 elements, the last a NUL
    IO_WrLn();
    IO_WrChar('Z');
    const IO_WrStrProc saved = IO_WrStrRedirect;
    IO_WrStrRedirect = bracketWriter;
    IO_WrStr("hi");
    IO_WrChar('c');
    IO_WrLn();
    IO_WrStrRedirect = saved;
    // Left in the C runtime's buffer: the channels' finaliser flushes it before
    // the later finalisers run (the C runtime alone would only at process detach).
    static char buffer[256];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    std::fputs("tail", stdout);
}

// No module initialiser called: the first IO call runs IO_BEGIN, reader thread and all.
void typedBody() {
    IO_KeyPressed();
    DWORD mode = 0;
    GetConsoleMode(kfrIGraph_hConsoleInput, &mode);
    char line[32];
    std::snprintf(line, sizeof line, "mode=%02lX ready", static_cast<unsigned long>(mode));
    IO_WrStr(line, sizeof line);
    IO_WrLn();
    for (;;) {
        const uint8_t k = IO_RdKey();
        std::snprintf(line, sizeof line, "k=%02X;", k);
        IO_WrStr(line, sizeof line);
        if (k == 'q' && BiosIO_LastChar == 'q') break;
    }
    IO_WrLn();
}

void idleBody() {
    Lib_BEGIN();
    IO_BEGIN();
    Sleep(1000);
    if (IO_KeyPressed()) M3K_HALT(5);
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(kfrEvQue_readerHandle(), &created, &exited, &kernel, &user)) M3K_HALT(6);
    const ULONGLONG busy100ns = (static_cast<ULONGLONG>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                                (static_cast<ULONGLONG>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
    if (busy100ns > 200 * 10000) M3K_HALT(6); // more than 200 ms of the second
}

void redirectedBody() {
    IO_BEGIN();
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent = KEY_EVENT_RECORD{TRUE, 1, 'Q', 0x10, {'q'}, 0};
    DWORD written = 0;
    WriteConsoleInputA(console, &record, 1, &written);
    for (int i = 0; i < 100 && !IO_KeyPressed(); ++i) Sleep(10);
    if (!IO_KeyPressed() || IO_RdKey() != 'q') M3K_HALT(5);
}

void Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    const char* what = argc > 1 ? argv[1] : "";
    if (std::strcmp(what, "mode") == 0) {
        modeBody();
    } else if (std::strcmp(what, "output") == 0) {
        outputBody();
    } else if (std::strcmp(what, "typed") == 0) {
        typedBody();
    } else if (std::strcmp(what, "idle") == 0) {
        idleBody();
    } else if (std::strcmp(what, "redirected") == 0) {
        redirectedBody();
    } else {
        M3K_HALT(64);
    }
}

} // namespace

int main() {
    // A console of its own when started without one (CTest); in a pty the
    // process already has one.
    if (__argc > 1 && std::strcmp(__argv[1], "redirected") == 0) {
        HANDLE file = GetStdHandle(STD_INPUT_HANDLE);
        FreeConsole();
        if (!AllocConsole()) return 4;
        SetStdHandle(STD_INPUT_HANDLE, file);
    }
    if (__argc > 1 && std::strcmp(__argv[1], "mode") == 0) {
        FreeConsole();
        if (!AllocConsole()) return 4;
        SetStdHandle(STD_INPUT_HANDLE, CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), kModeBefore);
    }
    ProgramEntry(Body);
}
