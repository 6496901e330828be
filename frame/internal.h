// Shared between the frame's own files; not for the library's users.
#pragma once

#include <windows.h>

#include <cstdint>

#include "M3KInternal.h"
#include "ending.h"

// ---- error output (written at once, unbuffered) ----
// Any thread; TakeErrorOutput: main thread, at start.
void M3K_ErrWrite(const char* text, uint32_t len);
void M3K_ErrWriteStr(const char* text);
void M3K_ErrLn();
void M3K_TakeErrorOutput();

// ---- call history ----
// Captures the frames of a thread from its context (innermost first) for the
// report that follows. Called on the faulting thread by the filter or by the
// trap, or (i686) by the break handler for the suspended main thread; the
// first capture wins.
// Frames before the one at `startAt` (when it is found) are left out.
void M3K_CaptureHistory(const CONTEXT& context, DWORD threadId, uintptr_t startAt = 0);
// Any thread (the one writing a report): writes the listing when it was
// switched on and belongs to this thread.
void M3K_PrintHistory();

// ---- faults and breaks into traps ----
// The thread that faulted (filter.cpp): installed by M3K_xStart for the
// process and by the entry's exception frame for the main thread.
LONG WINAPI M3K_xFilter(EXCEPTION_POINTERS* pointers);
// Main thread, at start (break.cpp): the console break handler and its event.
void M3K_InstallBreakHandler();
// Any thread, on a context it owns or has stopped (redirect.cpp): makes the
// context continue in M3K_TrapFJump(trap, address), as if the instruction at
// `address` had called it. stackTop != 0 moves the stack there first (after
// a stack overflow, whose frames are dead anyway).
void M3K_RedirectToTrap(CONTEXT& context, uint32_t trap, uintptr_t address, uintptr_t stackTop);
uintptr_t M3K_InstructionPointer(const CONTEXT& context);
uintptr_t M3K_StackPointer(const CONTEXT& context);
#if defined(__x86_64__)
extern "C" void m3k_trapEntry();
#endif

// MXCSR: the exception flags; the mask bit of each lies 7 bits higher.
constexpr unsigned kMxcsrInvalid = 0x01, kMxcsrZeroDivide = 0x04, kMxcsrOverflow = 0x08;
constexpr unsigned kMxcsrFlags = 0x3F, kMxcsrDefault = 0x1F80;

// ---- exit path ----
// Any thread: true while this thread runs a finaliser; a trap then ends that
// finaliser silently (AbandonFinaliser) and the next one runs.
bool M3K_InFinaliser();
[[noreturn]] void M3K_AbandonFinaliser();

// Set by the main thread at start, before any other thread of the frame
// runs; read-only afterwards, on any thread.
extern HMODULE M3K_moduleHandle;
extern DWORD M3K_mainThreadId;

// The two exit procedures M3K_BEGIN registers; run by the thread that ends
// the process.
void M3K_EndCoroutines();
void M3K_RunFinalisers();
// Switched on by M3K_INIT_HISTORY (main thread); read by the reporting thread.
extern bool M3K_historyOn;
