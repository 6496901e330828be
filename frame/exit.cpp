// The finaliser list, the exit list and the one way out of the process.
#include "internal.h"

namespace {

// Module finalisers, run last registered first. The modules of a program are
// few; a fixed table keeps the exit path free of the heap.
constexpr int kMaxFinalisers = 64;
M3K_Proc finalisers[kMaxFinalisers];
volatile int finaliserCount = 0;

constexpr int kMaxExitProcs = 8;
M3K_Proc exitList[kMaxExitProcs];
int exitCount = 0;

// The running finaliser's recovery point, for a trap inside it.
void* finaliserJump[5];
volatile DWORD finaliserThread = 0;

} // namespace

void M3K_FINALLY(M3K_Proc finaliser) {
    if (finaliserCount == kMaxFinalisers) M3K_TRAP_F(19); // RTS internal error
    finalisers[finaliserCount] = finaliser;
    finaliserCount = finaliserCount + 1;
}

bool M3K_atexit(M3K_Proc proc) {
    if (exitCount == kMaxExitProcs) return false;
    exitList[exitCount++] = proc;
    return true;
}

bool M3K_InFinaliser() { return finaliserThread != 0 && finaliserThread == GetCurrentThreadId(); }

void M3K_AbandonFinaliser() { __builtin_longjmp(finaliserJump, 1); }

#if defined(__i386__)
// The head of the thread's exception-handler chain (fs:0).
void* exceptionChain() {
    void* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}
void setExceptionChain(void* head) { __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory"); }
#endif

// The termination machinery's exit procedure: every finaliser under its own
// guard, so that one that faults does not keep the others from running.
// __builtin_setjmp/longjmp restore only the registers; nothing is unwound,
// which suits a jump out of a thread the fault filter has redirected.
__attribute__((noinline)) void M3K_RunFinalisers() {
#if defined(__i386__)
    // A finaliser left by the jump may have faulted inside code that had put
    // a handler of its own on the chain, in a frame the next finaliser
    // overwrites: the chain is put back as it was before each finaliser.
    void* const chain = exceptionChain();
#endif
    while (finaliserCount > 0) {
        finaliserCount = finaliserCount - 1;
        M3K_Proc next = finalisers[finaliserCount];
        if (__builtin_setjmp(finaliserJump) == 0) {
            finaliserThread = GetCurrentThreadId();
            next();
        }
        finaliserThread = 0;
#if defined(__i386__)
        setExceptionChain(chain);
#endif
    }
}

// The coroutine machinery's exit procedure: C++ has no coroutine stacks of
// the runtime's to release.
void M3K_EndCoroutines() {}

void M3K_doexit(uint32_t code) {
    switch (M3K_ClaimExit()) {
    case M3K_ExitClaim::Claimed: break;
    case M3K_ExitClaim::Again: ExitProcess(code); // called from inside the exit list
    case M3K_ExitClaim::Taken: M3K_AwaitOtherEnd(code);
    }
    while (exitCount > 0) {
        M3K_Proc next = exitList[--exitCount];
        next();
    }
    M3K_AwaitBreakThread();
    ExitProcess(code);
}

void M3K_EXIT() { M3K_doexit(0); }
void M3K_HALT(uint32_t code) { M3K_doexit(code); }
void M3K_ABORT() { M3K_doexit(9); }
