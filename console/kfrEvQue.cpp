#include "kfrEvQue.h"

#include <windows.h>

#include <atomic>

#include "M3K.h"
#include "kfrEvQueInternal.h"
#include "kfrIGraph.h"
#include "kfrKeys.h"

namespace {

struct KeyEntry {
    uint8_t ch;
    uint8_t code;
    kfrKeyEvent event; // the record as read; only its scan code's low byte is used later
};

constexpr DWORD kInputMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                             ENABLE_MOUSE_INPUT; // 0x17, window events off
constexpr SIZE_T kReaderStackSize = 0x7FFF;
constexpr DWORD kRetryPauseMs = 10;

// Guarded by queueLock. The queue stays packed from index 0, oldest first.
KeyEntry keyQueue[kfrEvQue_capacity];
// Written only under queueLock; atomic because the consumer's fast path reads
// it without the lock.
std::atomic<uint8_t> queueCount{0};
CRITICAL_SECTION queueLock;
// Manual reset; signalled exactly while queueCount > 0 (set and reset under queueLock).
HANDLE queueNotEmpty = nullptr;

DWORD savedInputMode = 0;
HANDLE inputHandle = nullptr; // copy of kfrIGraph_hConsoleInput taken at start
HANDLE readerThread = nullptr;
DWORD readerThreadId = 0;

void defaultFullQueueBeep() { Beep(300, 100); }

// Reader thread. Returns false when the queue was full and the key dropped.
bool enqueue(kfrKeyPair pair, const kfrKeyEvent& event) {
    EnterCriticalSection(&queueLock);
    const uint8_t count = queueCount.load(std::memory_order_relaxed);
    if (count >= kfrEvQue_capacity) {
        LeaveCriticalSection(&queueLock);
        return false;
    }
    keyQueue[count] = KeyEntry{pair.ch, pair.code, event};
    queueCount.store(count + 1, std::memory_order_release);
    if (count == 0) SetEvent(queueNotEmpty);
    LeaveCriticalSection(&queueLock);
    return true;
}

// Main thread, under queueLock.
void readOldest(uint8_t& ch, uint8_t& scan) {
    const KeyEntry& oldest = keyQueue[0];
    ch = oldest.ch;
    scan = oldest.code != 0 ? oldest.code : static_cast<uint8_t>(oldest.event.virtualScanCode & 0xFF);
}

// The reader thread: blocks on the console input, never polls while it works.
DWORD WINAPI kfrEvQue_readerThread(LPVOID) {
    M3K_ReserveStackForTraps();
    for (;;) {
        while (WaitForSingleObject(inputHandle, INFINITE) != WAIT_OBJECT_0) Sleep(kRetryPauseMs);
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputA(inputHandle, &record, 1, &read) || read == 0) {
            // NOTE: a handle that is not a console (a file, a pipe) reports itself
            // signalled at once and fails every read; pause so the thread does not spin.
            Sleep(kRetryPauseMs);
            continue;
        }
        if (record.EventType != KEY_EVENT) continue;
        const kfrKeyEvent event = kfrIGraph_fromRecord(record.Event.KeyEvent);
        if (!event.keyDown) continue; // one press, one entry: the repeat count is not expanded
        kfrKeyPair pair;
        if (!kfrEvQue_translateKey(event, pair)) continue;
        if (!enqueue(pair, event)) kfrEvQue_fullQueueBeep(); // lock released: the consumer is not held up
    }
}

// Finaliser (main thread, at the end): the mode in force before the program.
void kfrEvQue_restoreMode() { SetConsoleMode(inputHandle, savedInputMode); }

} // namespace

void (*kfrEvQue_fullQueueBeep)() = defaultFullQueueBeep;

void kfrEvQue_BEGIN() {
    M3K_MODULE_ONCE();
    kfrIGraph_BEGIN();
    M3K_FINALLY(kfrEvQue_restoreMode);

    queueCount.store(0);
    inputHandle = kfrIGraph_hConsoleInput;
    if (GetConsoleMode(inputHandle, &savedInputMode)) SetConsoleMode(inputHandle, kInputMode);

    InitializeCriticalSection(&queueLock);
    queueNotEmpty = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (queueNotEmpty == nullptr) return; // no reader: the queue stays empty
    readerThread =
        CreateThread(nullptr, kReaderStackSize, kfrEvQue_readerThread, nullptr, 0, &readerThreadId);
}

bool kfrEvQue_getKey(uint8_t& ch, uint8_t& scan, bool wait) {
    if (queueCount.load(std::memory_order_acquire) == 0 && !wait) return false;
    if (queueNotEmpty == nullptr) return false;
    for (;;) {
        if (WaitForSingleObject(queueNotEmpty, INFINITE) != WAIT_OBJECT_0) return false;
        EnterCriticalSection(&queueLock);
        const uint8_t count = queueCount.load(std::memory_order_relaxed);
        if (count > 0) {
            readOldest(ch, scan);
            for (uint8_t i = 1; i < count; ++i) keyQueue[i - 1] = keyQueue[i];
            queueCount.store(count - 1, std::memory_order_release);
            if (count == 1) ResetEvent(queueNotEmpty);
            LeaveCriticalSection(&queueLock);
            return true;
        }
        LeaveCriticalSection(&queueLock);
    }
}

bool kfrEvQue_peekKey(uint8_t& ch, uint8_t& scan) {
    if (queueCount.load(std::memory_order_acquire) == 0) return false;
    EnterCriticalSection(&queueLock);
    const bool found = queueCount.load(std::memory_order_relaxed) > 0;
    if (found) readOldest(ch, scan);
    LeaveCriticalSection(&queueLock);
    return found;
}

HANDLE kfrEvQue_readerHandle() { return readerThread; }

uint8_t kfrEvQue_count() { return queueCount.load(); }
