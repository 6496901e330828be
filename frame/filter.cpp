// Processor exceptions become traps: the filter finds the trap number and the
// fault address, and sends the faulting thread on into M3K_TrapFJump
// (redirect.cpp). Also the stack kept in reserve for the filter to run in.
#include "internal.h"

namespace {

struct ExceptionTrap {
    DWORD code;
    uint32_t trap;
};

const ExceptionTrap kExceptionTraps[] = {
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, 0},
    {EXCEPTION_ACCESS_VIOLATION, 3},
    {EXCEPTION_INT_OVERFLOW, 5},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, 6},
    {EXCEPTION_FLT_DENORMAL_OPERAND, 7},
    {EXCEPTION_FLT_INEXACT_RESULT, 7},
    {EXCEPTION_FLT_INVALID_OPERATION, 7},
    {EXCEPTION_FLT_OVERFLOW, 7},
    {EXCEPTION_FLT_STACK_CHECK, 7},
    {EXCEPTION_FLT_UNDERFLOW, 7},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, 8},
    {EXCEPTION_STACK_OVERFLOW, 23},
};

bool trapFor(const EXCEPTION_RECORD& record, const CONTEXT& context, uint32_t& trap) {
    const DWORD code = record.ExceptionCode;
#if defined(__x86_64__)
    // WINE: Wine 8 reports an SSE exception with the x87 codes; a system may
    // also report it as "multiple traps" of any kind: MXCSR's flags tell which.
    if (code == STATUS_FLOAT_MULTIPLE_TRAPS || code == STATUS_FLOAT_MULTIPLE_FAULTS) {
        trap = (context.MxCsr & kMxcsrZeroDivide) != 0 ? 8 : 7;
        return true;
    }
#else
    (void)context;
#endif
    for (const ExceptionTrap& row : kExceptionTraps) {
        if (row.code == code) {
            trap = row.trap;
            return true;
        }
    }
    return false;
}

// The x87 unit's last instruction address: where a floating-point fault was
// raised, which the instruction pointer (at the next x87 instruction) is not.
uintptr_t fpuInstruction(const CONTEXT& context) {
#if defined(__x86_64__)
    // An SSE fault is raised at the faulting instruction; the x87 has then no
    // exception pending (status word bit ES clear).
    if ((context.FltSave.StatusWord & 0x80) == 0) return context.Rip;
    // NOTE: the 64-bit save area keeps only the low 32 bits of the address
    // reliably; the code lies in the module the thread is running.
    return (context.Rip & ~uintptr_t{0xFFFFFFFF}) | context.FltSave.ErrorOffset;
#else
    return context.FloatSave.ErrorOffset;
#endif
}

// After a stack overflow the trap cannot run below the fault: move up into
// the dead frames of the recursion, staying clear of the stack's live top.
uintptr_t stackAfterOverflow(const CONTEXT& context) {
    const uintptr_t sp = M3K_StackPointer(context);
    // The committed part of a stack is one region, from the fault up to the
    // stack's top.
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<void*>(sp), &info, sizeof info) == 0) return 0;
    const uintptr_t base = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    uintptr_t top = sp + 64 * 1024;
    if (top > base - 16 * 1024) top = (sp + base) / 2;
    return top;
}

} // namespace

// NOTE: the system dispatches a stack overflow on what is left of the stack,
// a page at most; a guarantee leaves enough below the guard page for the
// filter to run. Each thread that may overflow asks for its own.
// WINE: Wine commits the main thread's whole stack up front, with its only
// guard page at the very bottom, so the guarantee is never consulted there: a
// guard page of our own just above the guaranteed space lets the stack grow
// into it the ordinary way, and the overflow is raised with that space free.
// Where the stack's lower part is only reserved (Windows, threads made with a
// small commit) the system's own guard page does the same and nothing is added.
void M3K_ReserveStackForTraps() {
    constexpr ULONG kGuarantee = 32 * 1024;
    ULONG size = kGuarantee;
    SetThreadStackGuarantee(&size);

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    MEMORY_BASIC_INFORMATION stack;
    if (VirtualQuery(&stack, &stack, sizeof stack) == 0) return;
    char* const page = static_cast<char*>(stack.AllocationBase) + 2 * system.dwPageSize + kGuarantee;
    MEMORY_BASIC_INFORMATION below;
    if (VirtualQuery(page, &below, sizeof below) == 0 || below.State != MEM_COMMIT ||
        (below.Protect & PAGE_GUARD) != 0 || page >= reinterpret_cast<char*>(&stack)) {
        return;
    }
    DWORD previous;
    VirtualProtect(page, system.dwPageSize, PAGE_READWRITE | PAGE_GUARD, &previous);
}

LONG WINAPI M3K_xFilter(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    if (record.ExceptionFlags != 0) {
        M3K_ErrWriteStr("#RTS: Unable to handle an exception.");
        M3K_ErrLn();
        return EXCEPTION_EXECUTE_HANDLER;
    }
    CONTEXT& context = *pointers->ContextRecord;
    uint32_t trap = 0;
    if (!trapFor(record, context, trap)) return EXCEPTION_EXECUTE_HANDLER;

    uintptr_t address = M3K_InstructionPointer(context);
    if ((trap == 7 || trap == 8) &&
        (context.ContextFlags & CONTEXT_FLOATING_POINT) == CONTEXT_FLOATING_POINT) {
        address = fpuInstruction(context);
    }
    // The frames are taken here, where the fault is intact, by the thread
    // that will write the report.
    if (!M3K_InFinaliser() && M3K_ClaimReport(GetCurrentThreadId())) {
        M3K_CaptureHistory(context, GetCurrentThreadId());
    }
    const uintptr_t stackTop = trap == M3K_TRAP_STACK ? stackAfterOverflow(context) : 0;
    M3K_RedirectToTrap(context, trap, address, stackTop);
    return EXCEPTION_CONTINUE_EXECUTION;
}
