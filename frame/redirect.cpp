// Sending a thread into the trap report: its context changed so that it goes
// on in M3K_TrapFJump as if the interrupted instruction had called it. The
// filter does it for a faulting thread, the break handler for the main thread.
#include "internal.h"

#if defined(__x86_64__)
extern "C" {
[[noreturn]] void m3k_trapFJump(uint64_t n, uintptr_t address) {
    M3K_TrapFJump(static_cast<uint32_t>(n), address);
}
}
// Entered with a machine frame on the stack (see M3K_RedirectToTrap): its
// unwind information says so, so that the system's unwinder goes on from the
// interrupted instruction with the interrupted stack pointer, and a later
// exception on this thread (in a finaliser) still finds its handlers.
__asm__(".text\n"
        ".globl m3k_trapEntry\n"
        ".def m3k_trapEntry; .scl 2; .type 32; .endef\n"
        ".seh_proc m3k_trapEntry\n"
        "m3k_trapEntry:\n"
        "    .seh_pushframe\n"
        "    subq $32, %rsp\n"
        "    .seh_stackalloc 32\n"
        "    .seh_endprologue\n"
        "    movq 32(%rsp), %rdx\n"
        "    movq 72(%rsp), %rcx\n"
        "    call m3k_trapFJump\n"
        "    ud2\n"
        ".seh_endproc\n");
#endif

#if defined(__x86_64__)
uintptr_t M3K_InstructionPointer(const CONTEXT& context) { return context.Rip; }
uintptr_t M3K_StackPointer(const CONTEXT& context) { return context.Rsp; }
#else
uintptr_t M3K_InstructionPointer(const CONTEXT& context) { return context.Eip; }
uintptr_t M3K_StackPointer(const CONTEXT& context) { return context.Esp; }
#endif

void M3K_RedirectToTrap(CONTEXT& context, uint32_t trap, uintptr_t address, uintptr_t stackTop) {
    // Leave room below the interrupted stack pointer: the thread may have been
    // stopped between a push and its use.
    uintptr_t sp = (stackTop != 0 ? stackTop : M3K_StackPointer(context) - 128) & ~uintptr_t{15};
#if defined(__x86_64__)
    // A machine frame, as an interrupt would push it (rip, cs, rflags, rsp,
    // ss), and the trap number above it; trapEntry loads the arguments from
    // there and calls on with the ABI's alignment (rsp = 8 mod 16 at entry).
    // WINE: Wine does not keep rcx/rdx of a context set on a thread that is
    // stopped in a system call (the syscall return clobbers them).
    sp -= 48;
    uintptr_t* const frame = reinterpret_cast<uintptr_t*>(sp);
    frame[0] = address;
    frame[1] = context.SegCs;
    frame[2] = context.EFlags;
    // After a stack overflow the frames from the fault up to stackTop are
    // dead and partly covered by the trap's own: the unwinder goes on above them.
    frame[3] = stackTop != 0 ? stackTop : M3K_StackPointer(context);
    frame[4] = context.SegSs;
    frame[5] = trap;
    context.Rsp = sp;
    context.Rip = reinterpret_cast<uintptr_t>(&m3k_trapEntry);
#else
    const uintptr_t entry = reinterpret_cast<uintptr_t>(&M3K_TrapFJump);
    // cdecl: return address, then the two arguments; esp + 4 16-aligned.
    sp -= 20;
    reinterpret_cast<uintptr_t*>(sp)[0] = address;
    reinterpret_cast<uintptr_t*>(sp)[1] = trap;
    reinterpret_cast<uintptr_t*>(sp)[2] = address;
    context.Esp = sp;
    context.Eip = entry;
#endif
}
