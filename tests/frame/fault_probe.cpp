// Takes the path to exercise as its argument, so that the tests can check the
// standard error byte for byte and the exit code. Finalisers write their
// names to the standard output. `diag PATH` also prints, for every exception,
// what the fault filter receives (a first-chance vectored handler sees the same
// record and context), to compare the builds and the CPUs they run on.
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

void hex(uintptr_t value, char*& out) {
    char digits[2 * sizeof value];
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value != 0);
    while (n > 0) *out++ = digits[--n];
}

uintptr_t stackBase() {
    uintptr_t base;
#if defined(__x86_64__)
    __asm__("movq %%gs:8, %0" : "=r"(base));
#else
    __asm__("movl %%fs:4, %0" : "=r"(base));
#endif
    return base;
}

// Formats by hand: it may run on the last page of an overflowed stack.
LONG WINAPI printWhatTheFilterReceives(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    const CONTEXT& context = *pointers->ContextRecord;
    const auto image = reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
#if defined(__x86_64__)
    const uintptr_t ip = context.Rip, sp = context.Rsp;
    const uintptr_t fpuOffset = context.FltSave.ErrorOffset;
    const uintptr_t control = context.FltSave.ControlWord, status = context.FltSave.StatusWord;
#else
    const uintptr_t ip = context.Eip, sp = context.Esp;
    const uintptr_t fpuOffset = context.FloatSave.ErrorOffset;
    const uintptr_t control = context.FloatSave.ControlWord & 0xFFFF;
    const uintptr_t status = context.FloatSave.StatusWord & 0xFFFF;
#endif
    char line[256];
    char* out = line;
    auto put = [&](const char* text, uintptr_t value) {
        while (*text != 0) *out++ = *text++;
        hex(value, out);
    };
    put("filter receives: code ", record.ExceptionCode);
    put(" flags ", record.ExceptionFlags);
    put(" ip image+", ip - image);
    put(" sp stack-base-", stackBase() - sp);
    put(" context-fp ", (context.ContextFlags & CONTEXT_FLOATING_POINT) == CONTEXT_FLOATING_POINT);
    if (fpuOffset != 0) {
        put(" fpu-offset image+", fpuOffset - (image & 0xFFFFFFFF));
    } else {
        put(" fpu-offset ", 0);
    }
    put(" x87-control ", control);
    put(" x87-status ", status);
    *out++ = '\n';
    *out = 0;
    say(line);
    return EXCEPTION_CONTINUE_SEARCH;
}

// With the x87 unit's state: whether the exception is flagged and unmasked.
void sayDidNotTrap(const char* what) {
    unsigned short control, status;
    __asm__ __volatile__("fnstcw %0\n\tfnstsw %1" : "=m"(control), "=m"(status));
    char line[80];
    std::snprintf(line, sizeof line, "%s did not trap: control word %04X, status word %04X\n", what, control,
                  status);
    say(line);
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
    if (!std::strcmp(path, "diag") && argc > 2) {
        AddVectoredExceptionHandler(1, printWhatTheFilterReceives);
        --argc;
        ++argv;
        path = argv[1];
    }
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
        sayDidNotTrap("x87");
    }
    if (!std::strcmp(path, "double")) {
        volatile double one = 1, nothing = 0;
        volatile double q = one / nothing;
        (void)q;
        sayDidNotTrap("double");
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
