// Takes the path to exercise as its argument, so that the tests can check the
// standard error byte for byte and the exit code. Finalisers write their
// names to the standard output.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "M3K.h"

namespace {

void say(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written,
              nullptr);
}

volatile int zero = 0;
int* volatile nowhere = nullptr;

// Finalisers after a trap run on the stack the fault filter or the break
// handler set up. A stack that breaks the platform's alignment (rsp = 8 mod 16
// at every function's entry on x86_64) makes aligned SSE stores fault deep in
// the system's code; finA says so instead.
#if defined(__x86_64__)
extern "C" uintptr_t probe_entryAlignment();
__asm__(".text\n"
        ".globl probe_entryAlignment\n"
        "probe_entryAlignment:\n"
        "    movq %rsp, %rax\n"
        "    andq $15, %rax\n"
        "    ret\n");
bool stackAligned() { return probe_entryAlignment() == 8; }
#else
bool stackAligned() { return true; } // i686 code keeps only 4-byte alignment
#endif

// Divides by zero in a frame whose locals hold no code addresses: whatever
// walks the stack from the fault must not find its way by stale ones.
__attribute__((noinline)) void divideInFilledFrame() {
    volatile uintptr_t filler[64];
    for (int i = 0; i < 64; ++i) filler[i] = ~uintptr_t{0} / 3;
    volatile int n = 10 / zero;
    (void)n;
    (void)filler[0];
}

void finA() { say(stackAligned() ? "finA\n" : "finA on a misaligned stack\n"); }
void finB() { say("finB\n"); }
void finC() { say("finC\n"); }
void finFaulting() {
    say("finFaulting\n");
    volatile int n = 10 / zero;
    (void)n;
    say("not reached\n");
}
void finHalting() {
    say("finHalting\n");
    M3K_HALT(7);
}

__attribute__((noinline)) int recurse(int depth) {
    volatile char pad[64];
    pad[0] = static_cast<char>(depth);
    // Guarded by a condition the compiler cannot see through.
    return depth == zero - 1 ? 0 : recurse(depth + 1) + pad[0];
}

// A library thread's way: small first commitment, the reserve for traps asked
// for first thing.
DWORD WINAPI overflowingThread(void*) {
    M3K_ReserveStackForTraps();
    return static_cast<DWORD>(recurse(0));
}

DWORD WINAPI faultingThread(void*) {
    *nowhere = 1;
    return 0;
}

// The main thread waits while another thread faults; the trap there must end
// the whole program.
void faultOnAnotherThread(LPTHREAD_START_ROUTINE procedure, SIZE_T stack) {
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, stack, procedure, nullptr, 0, nullptr);
    WaitForSingleObject(never, 20000);
    say("main thread was not ended\n");
}

void Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    M3K_FINALLY(finA);
    const char* path = argc > 1 ? argv[1] : "";
    // "<path> faulting": two finalisers that fault run before finA.
    if (argc > 2 && !std::strcmp(argv[2], "faulting")) {
        M3K_FINALLY(finFaulting);
        M3K_FINALLY(finFaulting);
    }

    if (!std::strcmp(path, "return")) return;
    if (!std::strcmp(path, "args")) {
        char line[64];
        std::snprintf(line, sizeof line, "%d\n", argc);
        say(line);
        for (int i = 0; i < argc; ++i) {
            say("[");
            say(argv[i]);
            say("]\n");
        }
        say(M3K_cmdTail);
        say("\n");
        return;
    }
    if (!std::strcmp(path, "range")) M3K_ToUnsigned(-zero - 1);
    if (!std::strcmp(path, "divide")) {
        volatile int n = 10 / zero;
        (void)n;
    }
    if (!std::strcmp(path, "divide-filled")) divideInFilledFrame();
    if (!std::strcmp(path, "pointer")) *nowhere = 1;
    if (!std::strcmp(path, "stack")) recurse(0);
    if (!std::strcmp(path, "trap15")) M3K_TRAP_F(15);
    if (!std::strcmp(path, "trap99")) M3K_TRAP_F(99);
    if (!std::strcmp(path, "x87")) {
        volatile long double one = 1, nothing = 0;
        volatile long double q = one / nothing;
        (void)q;
        say("x87 did not trap\n");
    }
    if (!std::strcmp(path, "double")) {
        volatile double one = 1, nothing = 0;
        volatile double q = one / nothing;
        (void)q;
        say("double did not trap\n");
    }
    if (!std::strcmp(path, "breakpoint")) __debugbreak();
    if (!std::strcmp(path, "noncontinuable")) RaiseException(0xE0000001, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (!std::strcmp(path, "halt")) M3K_HALT(static_cast<uint32_t>(std::atoi(argv[2])));
    if (!std::strcmp(path, "abort")) M3K_ABORT();
    if (!std::strcmp(path, "order")) {
        M3K_FINALLY(finB);
        M3K_FINALLY(finC);
        return;
    }
    if (!std::strcmp(path, "faulting-finaliser")) {
        M3K_FINALLY(finFaulting);
        M3K_FINALLY(finC);
        return;
    }
    if (!std::strcmp(path, "reentered-exit")) {
        M3K_FINALLY(finHalting);
        M3K_FINALLY(finC);
        return;
    }
    if (!std::strcmp(path, "thread")) return faultOnAnotherThread(faultingThread, 0);
    if (!std::strcmp(path, "thread-stack")) return faultOnAnotherThread(overflowingThread, 0x7FFF);
    if (!std::strcmp(path, "break")) {
        say("ready\n");
        for (int i = 0; i < 2000; ++i) Sleep(10);
        say("no break arrived\n");
        return;
    }
    if (!std::strcmp(path, "break-busy")) {
        say("ready\n");
        const DWORD until = GetTickCount() + 20000;
        while (GetTickCount() < until) {
        }
        say("no break arrived\n");
        return;
    }
    say("unknown path\n");
}

} // namespace

int main() { ProgramEntry(Body); }
