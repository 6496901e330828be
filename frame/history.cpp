// The call-history listing that follows a trap report: the fault address and
// the return addresses of the calling frames, as module-relative offsets.
//
// The frames are captured where the fault is still intact (in the filter, or
// in the break handler while the main thread is suspended) and written later
// by the trapping thread, whose own frames may by then cover them.
#include "internal.h"

bool M3K_historyOn = false;

namespace {

constexpr int kMaxFrames = 24;
uintptr_t frames[kMaxFrames];
int frameCount = 0;
volatile LONG historyThread = 0; // whose frames these are (0: none captured)

bool readable(uintptr_t address, size_t size) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) == 0) return false;
    const DWORD ok = PAGE_READONLY | PAGE_READWRITE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                     PAGE_WRITECOPY | PAGE_EXECUTE_WRITECOPY;
    const uintptr_t end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    return info.State == MEM_COMMIT && (info.Protect & ok) != 0 && (info.Protect & PAGE_GUARD) == 0 &&
           address + size <= end;
}

void add(uintptr_t pc, uintptr_t startAt) {
    if (startAt != 0 && frameCount == 0 && pc != startAt) return; // still inside the trap entry
    if (frameCount < kMaxFrames) frames[frameCount++] = pc;
}

#if defined(__x86_64__)
void walk(CONTEXT context, uintptr_t startAt) {
    bool exact = true; // pc is the instruction itself, not a return address
    for (int step = 0; step < 64 && frameCount < kMaxFrames; ++step) {
        const uintptr_t pc = context.Rip;
        if (pc == 0) break;
        add(pc, startAt);
        // A return address may lie just past the end of its function when the
        // call does not return.
        const uintptr_t lookup = exact ? pc : pc - 1;
        DWORD64 imageBase = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(lookup, &imageBase, nullptr);
        // Below the trap entry's machine frame lies the interrupted instruction.
        exact = function != nullptr &&
                imageBase + function->BeginAddress == reinterpret_cast<uintptr_t>(&m3k_trapEntry);
        if (function == nullptr) {
            // A leaf function: its return address is on top of the stack.
            if (!readable(context.Rsp, 8)) break;
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
        } else {
            void* handlerData = nullptr;
            DWORD64 establisher = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, lookup, function, &context, &handlerData,
                             &establisher, nullptr);
        }
    }
}
#else
void walk(CONTEXT context, uintptr_t startAt) {
    add(context.Eip, startAt);
    // Frame-pointer chain: [ebp] = caller's ebp, [ebp + 4] = return address.
    uintptr_t ebp = context.Ebp;
    while (frameCount < kMaxFrames && ebp != 0 && readable(ebp, 8)) {
        const uintptr_t next = *reinterpret_cast<uintptr_t*>(ebp);
        const uintptr_t ret = *reinterpret_cast<uintptr_t*>(ebp + 4);
        if (ret == 0) break;
        add(ret, startAt);
        if (next <= ebp) break;
        ebp = next;
    }
}
#endif

void writeHex(uintptr_t v) {
    char text[2 + 2 * sizeof v];
    int n = 0;
    text[n++] = '0';
    text[n++] = 'x';
    bool started = false;
    for (int shift = 8 * sizeof v - 4; shift >= 0; shift -= 4) {
        const unsigned digit = (v >> shift) & 0xF;
        if (digit != 0 || started || shift == 0) {
            started = true;
            text[n++] = "0123456789ABCDEF"[digit];
        }
    }
    M3K_ErrWrite(text, static_cast<uint32_t>(n));
}

void writeFrame(uintptr_t pc) {
    HMODULE module = nullptr;
    char path[MAX_PATH];
    M3K_ErrWrite("  ", 2);
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<const char*>(pc), &module) &&
        GetModuleFileNameA(module, path, sizeof path) != 0) {
        path[sizeof path - 1] = '\0';
        const char* name = path;
        for (const char* p = path; *p; ++p)
            if (*p == '\\' || *p == '/') name = p + 1;
        M3K_ErrWriteStr(name);
        M3K_ErrWrite("+", 1);
        writeHex(pc - reinterpret_cast<uintptr_t>(module));
    } else {
        writeHex(pc);
    }
    M3K_ErrLn();
}

} // namespace

void M3K_INIT_HISTORY() { M3K_historyOn = true; }

void M3K_CaptureHistory(const CONTEXT& context, DWORD threadId, uintptr_t startAt) {
    if (InterlockedCompareExchange(&historyThread, static_cast<LONG>(threadId), 0) != 0) return;
    frameCount = 0;
    walk(context, startAt);
    if (frameCount == 0 && startAt != 0) frames[frameCount++] = startAt;
}

void M3K_PrintHistory() {
    if (!M3K_historyOn || historyThread != static_cast<LONG>(GetCurrentThreadId())) return;
    M3K_ErrWriteStr("#RTS: call history, innermost first:");
    M3K_ErrLn();
    for (int i = 0; i < frameCount; ++i) writeFrame(frames[i]);
}
