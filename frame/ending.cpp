// The ending state: which thread runs the exit list, which writes the trap
// report, and the console breaks under way.
#include "ending.h"

namespace {

// The thread that runs the exit list (0: none yet). Set by the first exit.
volatile LONG exitingThread = 0;

// The thread that writes the report (0: none yet), and whether the filter or
// the break handler claimed it for a thread that has yet to arrive.
volatile LONG reportingThread = 0;
volatile LONG claimedAhead = 0;

// Break handlers between their first look at the ending state and resuming
// the main thread: if the process ended meanwhile, the main thread could stay
// suspended while it ends (the system ends the handler's thread).
volatile LONG breaksInProgress = 0;
// The thread that delivered a break, until it has ended.
HANDLE breakThread = nullptr;

// How long a thread that lost a claim waits for the winner to end the process.
constexpr DWORD kOtherEndWaitMs = 5000;
constexpr DWORD kBreakThreadWaitMs = 1000;

LONG self() { return static_cast<LONG>(GetCurrentThreadId()); }

} // namespace

M3K_ExitClaim M3K_ClaimExit() {
    const LONG owner = InterlockedCompareExchange(&exitingThread, self(), 0);
    if (owner == 0) return M3K_ExitClaim::Claimed;
    return owner == self() ? M3K_ExitClaim::Again : M3K_ExitClaim::Taken;
}

bool M3K_Exiting() { return exitingThread != 0; }

bool M3K_ExitingElsewhere() {
    const LONG owner = exitingThread;
    return owner != 0 && owner != self();
}

bool M3K_ClaimReport(DWORD thread) {
    if (InterlockedCompareExchange(&reportingThread, static_cast<LONG>(thread), 0) != 0) return false;
    claimedAhead = 1;
    return true;
}

void M3K_ReleaseReport() {
    claimedAhead = 0;
    reportingThread = 0;
}

M3K_ReportClaim M3K_ClaimReportHere() {
    const LONG owner = InterlockedCompareExchange(&reportingThread, self(), 0);
    if (owner == 0) return M3K_ReportClaim::Claimed;
    if (owner != self()) return M3K_ReportClaim::Taken;
    // Ours: claimed ahead for this arrival, or this thread faulted while reporting.
    return InterlockedExchange(&claimedAhead, 0) != 0 ? M3K_ReportClaim::Claimed : M3K_ReportClaim::Again;
}

void M3K_BreakBegins() { InterlockedIncrement(&breaksInProgress); }

void M3K_BreakEnds() { InterlockedDecrement(&breaksInProgress); }

void M3K_BreakDelivered() {
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &breakThread, SYNCHRONIZE,
                    FALSE, 0);
}

// WINE: a process that ends while the thread that delivered a break is still
// on its way out is sometimes killed (exit code lost to SIGKILL) instead of
// ending with its code: let that thread finish first. The exit is claimed by
// now: a break handler that begins later leaves the main thread alone, one
// that began before is let finish.
void M3K_AwaitBreakThread() {
    for (DWORD waited = 0; breaksInProgress != 0 && waited < kBreakThreadWaitMs; ++waited) Sleep(1);
    if (breakThread != nullptr) WaitForSingleObject(breakThread, kBreakThreadWaitMs);
}

void M3K_AwaitOtherEnd(uint32_t code) {
    Sleep(kOtherEndWaitMs);
    ExitProcess(code);
}
