// Process start: the entry and its exception frame, the command line, the
// fault filter and the break handler installed, and the runtime's own start.
#include <string>
#include <vector>

#include "cmdline.h"
#include "internal.h"

#include <excpt.h>

HMODULE M3K_moduleHandle = nullptr;
DWORD M3K_mainThreadId = 0;
int M3K_argc = 0;
char** M3K_argv = nullptr;
const char* M3K_cmdTail = "";

namespace {

M3K_MainProc mainProc = nullptr;

// Storage behind M3K_argv, M3K_cmdTail: lives as long as the process.
std::vector<std::string> argStorage;
std::vector<char*> argPointers;
std::string cmdTail;

void splitArguments() {
    const char* line = GetCommandLineA();
    M3K_CommandLine split = M3K_SplitCommandLine(line ? line : "");
    argStorage = std::move(split.args);
    cmdTail.assign(line ? line + split.tailOffset : "");

    if (!argStorage.empty()) {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
        if (n != 0 && n < sizeof path) argStorage[0].assign(path, n);
    }
    for (std::string& arg : argStorage) argPointers.push_back(arg.data());
    argPointers.push_back(nullptr);
}

} // namespace

void M3K_EstablishMain(M3K_MainProc body) { mainProc = body; }

// The exception frame of the entry: processor exceptions on the main thread
// reach M3K_xFilter here first. When the filter ends the process, the frame
// ends it as the system would after an unhandled exception.
#if defined(__x86_64__)
namespace {
volatile DWORD entryExceptionCode = 0;
}
// Called by the system's C-specific handler with the establisher frame.
extern "C" LONG m3k_entryFilter(EXCEPTION_POINTERS* pointers, void*) {
    const LONG verdict = M3K_xFilter(pointers);
    if (verdict == EXCEPTION_EXECUTE_HANDLER) entryExceptionCode = pointers->ExceptionRecord->ExceptionCode;
    return verdict;
}
#else
extern "C" EXCEPTION_DISPOSITION __cdecl m3k_entryHandler(EXCEPTION_RECORD* record, void*, CONTEXT* context,
                                                         void*) {
    EXCEPTION_POINTERS pointers{record, context};
    if (M3K_xFilter(&pointers) == EXCEPTION_CONTINUE_EXECUTION) return ExceptionContinueExecution;
    TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return ExceptionContinueSearch;
}
#endif

void ProgramEntry(M3K_MainProc body) {
    M3K_moduleHandle = GetModuleHandleA(nullptr);
    M3K_EstablishMain(body);
    // Called through a volatile pointer: the compiler must not take the code
    // after it (the frame's end) for unreachable.
    void (*volatile start)() = M3K_xStart;
#if defined(__x86_64__)
    __try1(m3k_entryFilter);
    start();
    __except1;
    TerminateProcess(GetCurrentProcess(), entryExceptionCode);
#else
    __try1(m3k_entryHandler);
    start();
    __except1;
#endif
    ExitProcess(9); // not reached: M3K_xStart ends the process
}

void M3K_xStart() {
    M3K_mainThreadId = GetCurrentThreadId();
    M3K_ReserveStackForTraps();
    splitArguments();
    SetErrorMode(SEM_FAILCRITICALERRORS);
    SetUnhandledExceptionFilter(M3K_xFilter);
    M3K_InstallBreakHandler();
    M3K_TakeErrorOutput();
    mainProc(static_cast<int>(argStorage.size()), argPointers.data());
    M3K_EXIT();
}

void M3K_InitFPP() {
    static bool done = false;
    if (done) return;
    done = true;
#if defined(__i386__) || defined(__x86_64__)
    // 64-bit precision, round to nearest; invalid operation, division by zero
    // and overflow raise exceptions (they become traps 7 and 8).
    const unsigned short controlWord = 0x332;
    __asm__ __volatile__("fclex\n\tfldcw %0" : : "m"(controlWord));
#endif
#if defined(__x86_64__)
    // x86_64 code does its double arithmetic on SSE: the same three
    // exceptions unmasked there, flags cleared, so that it traps as the x87 does.
    const unsigned mxcsr = kMxcsrDefault & ~((kMxcsrInvalid | kMxcsrZeroDivide | kMxcsrOverflow) << 7);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
#endif
}

void M3K_BEGIN(int argc, char** argv, bool autoCollect, uint32_t collectThreshold, uint32_t heapLimit) {
    // C++ storage is owned, not collected: the collector's settings have
    // nothing to steer here.
    (void)autoCollect;
    (void)collectThreshold;
    (void)heapLimit;
    M3K_argc = argc;
    M3K_argv = argv;
    M3K_cmdTail = cmdTail.c_str();
    M3K_atexit(M3K_EndCoroutines);
    M3K_atexit(M3K_RunFinalisers);
}
