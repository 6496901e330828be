// Raising traps and reporting the ones no handler takes.
#include "internal.h"

namespace {

void writeDecimal(uint32_t v) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    char text[10];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    M3K_ErrWrite(text, static_cast<uint32_t>(n));
}

void clearFpuExceptions() {
#if defined(__i386__) || defined(__x86_64__)
    __asm__ __volatile__("fnclex");
#endif
#if defined(__x86_64__)
    unsigned mxcsr;
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
    mxcsr &= ~kMxcsrFlags;
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
#endif
}

} // namespace

void M3K_TrapFJump(uint32_t n, uintptr_t address) {
    clearFpuExceptions();
    if (M3K_InFinaliser()) M3K_AbandonFinaliser();

    // Another thread already ends the process (with its own code): wait for it.
    if (M3K_ExitingElsewhere()) M3K_AwaitOtherEnd(9);
    switch (M3K_ClaimReportHere()) {
    case M3K_ReportClaim::Claimed: break;
    case M3K_ReportClaim::Again: ExitProcess(9); // a fault while reporting one
    case M3K_ReportClaim::Taken: M3K_AwaitOtherEnd(9);
    }

    // The listing starts at `address`; unless the frames were taken at the
    // fault already, they are read from here, through the trap entry's frame.
    CONTEXT context;
    RtlCaptureContext(&context);
    M3K_CaptureHistory(context, GetCurrentThreadId(), address);
    char message[1025];
    const uint32_t len = M3K_TrapMessage(n, message, sizeof message);
    M3K_ErrWriteStr("\n#RTS: unhandled exception #");
    writeDecimal(n);
    if (len > 0) {
        M3K_ErrWrite(": ", 2);
        M3K_ErrWrite(message, len);
    }
    M3K_ErrLn();
    M3K_PrintHistory();
    M3K_doexit(9);
}

namespace {
// A trap raised by code at `at` (the caller of a trap entry point).
[[noreturn]] __attribute__((noinline)) void raiseAt(uint32_t n, uintptr_t at) { M3K_TrapFJump(n, at); }
} // namespace

#define M3K_CALLER() reinterpret_cast<uintptr_t>(__builtin_return_address(0))

__attribute__((noinline)) void M3K_TRAP_F(uint32_t n) { raiseAt(n, M3K_CALLER()); }

__attribute__((noinline)) void M3K_IndexCheckFailed() { raiseAt(M3K_TRAP_INDEX, M3K_CALLER()); }
__attribute__((noinline)) void M3K_RangeCheckFailed() { raiseAt(M3K_TRAP_RANGE, M3K_CALLER()); }
__attribute__((noinline)) void M3K_PointerCheckFailed() { raiseAt(M3K_TRAP_POINTER, M3K_CALLER()); }
__attribute__((noinline)) void M3K_OverflowCheckFailed() { raiseAt(M3K_TRAP_OVERFLOW, M3K_CALLER()); }
__attribute__((noinline)) void M3K_DivisorCheckFailed() { raiseAt(M3K_TRAP_DIVISOR, M3K_CALLER()); }
