// The console break (Ctrl+C, Ctrl+Break): the system calls the handler on a
// thread of its own; the handler stops the main thread and sends it into the
// report of trap 21, as if the main thread had raised it where it stood.
#include "internal.h"

namespace {

HANDLE mainThread = nullptr; // a real handle: the handler runs on another thread
HANDLE breakEvent = nullptr; // manual reset; set once a break is on its way

// Break thread. The main thread is suspended while its context is read and
// changed: a running thread's context is not reliable.
BOOL deliverBreak() {
    if (M3K_Exiting()) return TRUE; // already on its way out
    if (SuspendThread(mainThread) == static_cast<DWORD>(-1)) return FALSE;
    // Decided while the main thread stands still, so that an end already
    // begun (an exit, a trap's report, an earlier break) stays the only one.
    if (M3K_Exiting() || !M3K_ClaimReport(M3K_mainThreadId)) {
        ResumeThread(mainThread);
        return TRUE;
    }
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
    BOOL delivered = GetThreadContext(mainThread, &context);
    if (delivered) {
        const uintptr_t at = M3K_InstructionPointer(context);
#if !defined(__x86_64__)
        // The frame-pointer walk reads only the stack. The x86_64 walk asks the
        // loader's function tables, whose lock the stopped thread may hold: the
        // main thread reads its frames itself, through the trap entry's frame.
        M3K_CaptureHistory(context, M3K_mainThreadId);
#endif
        M3K_RedirectToTrap(context, M3K_TRAP_USER_BREAK, at, 0);
        delivered = SetThreadContext(mainThread, &context);
    }
    if (!delivered) {
        M3K_ReleaseReport();
    } else {
        // The main thread may end the process before this thread has left the
        // system's break routine; the end waits for it (M3K_AwaitBreakThread).
        M3K_BreakDelivered();
        // NOTE: the new context takes effect once the main thread's wait (if it
        // waits) returns; a wait that the break must end waits on this too.
        if (breakEvent != nullptr) SetEvent(breakEvent);
    }
    ResumeThread(mainThread);
    return delivered;
}

BOOL WINAPI breakHandler(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    M3K_BreakBegins();
    const BOOL handled = deliverBreak();
    M3K_BreakEnds();
    return handled;
}

} // namespace

void M3K_InstallBreakHandler() {
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return; // no way to stop the main thread: the system's own handling stays
    }
    breakEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(breakHandler, TRUE);
}

void* M3K_BreakEvent() { return breakEvent; }
