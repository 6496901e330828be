// The frame's own entry points and the trap numbers it raises itself: what
// the frame's files and the library parts above it share, and programs do not
// call. Free of <windows.h>, like M3K.h.
#pragma once

#include <cstdint>

#include "M3K.h"

// Main thread: ProgramEntry keeps the body and sends the main thread into
// M3K_xStart, which starts the frame, runs the body and ends the process.
void M3K_EstablishMain(M3K_MainProc body);
[[noreturn]] void M3K_xStart();

// Any thread: the one way out of the process (M3K_EXIT, M3K_HALT, M3K_ABORT
// and the trap report end here). The first thread runs the exit list; a later
// one waits for it.
[[noreturn]] void M3K_doexit(uint32_t code);

// Any thread: the report of trap n raised at a code address; the filter and
// the break handler send a thread here, M3K_TRAP_F and the checks call it.
[[noreturn]] void M3K_TrapFJump(uint32_t n, uintptr_t address);

// Any thread: an event (a HANDLE) signalled once a console break has been
// sent to the main thread. A wait of the main thread's that a break must end
// waits on it too: the break takes effect only when the wait returns. Null
// before the frame's start or when it could not be made.
void* M3K_BreakEvent();

enum : uint32_t {
    M3K_TRAP_INDEX = 0,
    M3K_TRAP_RANGE = 1,
    M3K_TRAP_POINTER = 3,
    M3K_TRAP_OVERFLOW = 5,
    M3K_TRAP_DIVISOR = 6,
    M3K_TRAP_USER_BREAK = 21,
    M3K_TRAP_STACK = 23,
};
