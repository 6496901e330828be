// The program frame: process start, module initialisation and finalisation,
// exit codes, the console break and the report of runtime faults (traps).
//
// A program provides its main procedure and hands it to ProgramEntry from main():
//
//     static void Body(int argc, char** argv) {
//         M3K_InitFPP(); M3K_INIT_HISTORY();
//         M3K_BEGIN(argc, argv, true, 2000000, 4000000);
//         Graph_BEGIN(); Lib_BEGIN(); IO_BEGIN();
//         ...
//     }
//     int main() { ProgramEntry(Body); }
//
// Module initialisers follow one pattern (see M3K_MODULE_ONCE below): mark the
// module done first, run the imported modules' initialisers, register the
// finaliser with M3K_FINALLY, then run the module's own start-up.
#pragma once

#include <cstdint>

using M3K_MainProc = void (*)(int argc, char** argv);
using M3K_Proc = void (*)();

// ---- start-up (main thread) -------------------------------------------------

// Process entry, from main(). Never returns: when the body returns, the
// process ends with exit code 0 after the exit list and the finalisers.
[[noreturn]] void ProgramEntry(M3K_MainProc body);

// x87 control word 0x332 (64-bit precision, invalid/zero-divide/overflow
// trapping); on x86_64 the same three exceptions unmasked in the SSE unit,
// where double arithmetic runs, so that any NaN or infinity made there is a
// trap. Only the first call in the process loads them.
void M3K_InitFPP();
void M3K_INIT_HISTORY();

// The runtime's start. The arguments are kept for M3K_argc/M3K_argv; the
// memory-manager settings (automatic collection, threshold, heap limit) are
// accepted for compatibility: C++ storage needs no collector.
void M3K_BEGIN(int argc, char** argv, bool autoCollect, uint32_t collectThreshold,
               uint32_t heapLimit);

extern int M3K_argc;
extern char** M3K_argv;
extern const char* M3K_cmdTail; // the command line after the program name

// ---- module lists and the end ---------------------------------------------

// Main thread. Registers a module finaliser; they run last registered first
// at the end.
void M3K_FINALLY(M3K_Proc finaliser);
// Main thread. Adds to the exit list (at most 8 entries); false when it is full.
bool M3K_atexit(M3K_Proc proc);

// Any thread: the first thread to end the process runs the exit list; one
// that comes later waits for it.
[[noreturn]] void M3K_EXIT();              // exit code 0
[[noreturn]] void M3K_HALT(uint32_t code); // the given exit code
[[noreturn]] void M3K_ABORT();             // exit code 9

// ---- output ----------------------------------------------------------------

// Any thread. Writes count bytes to a file or console handle (a HANDLE), as
// many calls as partial writes need; false when the handle is null or invalid
// or a write fails. Allocates nothing and takes no lock: fault reports use it.
bool M3K_WriteAll(void* handle, const char* bytes, uint32_t count);

// ---- traps ----------------------------------------------------------------

// Any thread. Raises trap n where it is called: reported on the standard error, then the
// program ends with exit code 9 after the finalisers (no handler takes traps).
[[noreturn]] void M3K_TRAP_F(uint32_t n);

// Any thread. Keeps enough stack in reserve on the calling thread for a stack overflow
// there to be reported (the frame does it for the main thread; a library
// thread calls it first thing).
void M3K_ReserveStackForTraps();

// Any thread. Entry points of the run-time checks; each raises its trap at
// the caller.
[[noreturn]] void M3K_IndexCheckFailed();
[[noreturn]] void M3K_RangeCheckFailed();
[[noreturn]] void M3K_PointerCheckFailed();
[[noreturn]] void M3K_OverflowCheckFailed();
[[noreturn]] void M3K_DivisorCheckFailed();

// A signed value handed on as an unsigned parameter: negative is a range fault.
inline uint32_t M3K_ToUnsigned(int32_t v) {
    if (v < 0) M3K_RangeCheckFailed();
    return static_cast<uint32_t>(v);
}

// Any thread. The message of trap n ("TRAP(n)" for numbers without a message); writes at
// most size-1 characters and a NUL, returns the length.
uint32_t M3K_TrapMessage(uint32_t n, char* out, uint32_t size);

// ---- module initialiser pattern -------------------------------------------

// Opens a module initialiser: returns at once when it already ran, and marks
// the module done before anything else, so modules that import each other
// are safe.
#define M3K_MODULE_ONCE()                   \
    static bool m3k_module_initialised = false; \
    if (m3k_module_initialised) return;     \
    m3k_module_initialised = true
