// Who is ending the process, in one place. Three ways lead out: the exit
// (M3K_doexit runs the exit list), the report of a trap (one thread writes it,
// then exits) and a console break (delivered to the main thread as a trap).
// Each claims its turn here; whoever comes second looks here and waits.
#pragma once

#include <windows.h>

#include <cstdint>

// ---- the exit ----
enum class M3K_ExitClaim {
    Claimed, // the calling thread runs the exit list
    Again,   // it already does: called again from inside the exit list
    Taken,   // another thread does
};
// Any thread.
M3K_ExitClaim M3K_ClaimExit();
// Any thread. Some thread runs the exit list; ...Elsewhere: not the calling one.
bool M3K_Exiting();
bool M3K_ExitingElsewhere();

// ---- the trap report ----
// Any thread (the filter, the break handler). Claims the report for `thread`,
// which is on its way into M3K_TrapFJump; false when some thread has it.
bool M3K_ClaimReport(DWORD thread);
// The claim made ahead is given up: the thread was not sent after all.
void M3K_ReleaseReport();
enum class M3K_ReportClaim {
    Claimed, // the calling thread writes the report (now, or as claimed ahead)
    Again,   // it is writing one already: a fault inside the report
    Taken,   // another thread writes one
};
// Any thread, on arrival in M3K_TrapFJump.
M3K_ReportClaim M3K_ClaimReportHere();

// ---- the console break ----
// Break thread: around a break's delivery, from its first look at the ending
// state until the main thread runs again; the process must not end meanwhile.
void M3K_BreakBegins();
void M3K_BreakEnds();
// Break thread: this thread delivered a break; the end waits until it is gone.
void M3K_BreakDelivered();
// The thread that ends the process, once it is claimed: waits (bounded) until
// every break delivery is over and the thread of a delivered break has ended.
void M3K_AwaitBreakThread();

// ---- waiting for another thread's end ----
// Any thread that lost a claim: the winner ends the whole process, this thread
// with it; should it not within 5 s, this thread ends it with `code`.
[[noreturn]] void M3K_AwaitOtherEnd(uint32_t code);
