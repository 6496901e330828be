#include "kfrEvQue.h"

#include <windows.h>

#include "M3KInternal.h"
#include "kfrEvQueInternal.h"
#include "kfrIGraph.h"
#include "kfrKeyQueue.h"

namespace {

constexpr DWORD kInputMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                             ENABLE_MOUSE_INPUT; // 0x17, window events off
constexpr SIZE_T kReaderStackSize = 0x7FFF;
constexpr DWORD kRetryPauseMs = 10;

// Changed only under queueLock; its count is also read without the lock, as
// the consumer's fast path.
kfrKeyQueue keyQueue;
CRITICAL_SECTION queueLock;
// Manual reset; signalled exactly while the queue holds a key (set and reset under queueLock).
HANDLE queueNotEmpty = nullptr;

DWORD savedInputMode = 0;
HANDLE inputHandle = nullptr; // copy of kfrIGraph_hConsoleInput taken at start
HANDLE readerThread = nullptr;
DWORD readerThreadId = 0;

void defaultFullQueueBeep() { Beep(300, 100); }

// Reader thread.
kfrOffer offer(const kfrKeyEvent& event) {
    EnterCriticalSection(&queueLock);
    const kfrOffer result = keyQueue.offer(event);
    if (result == kfrOffer::Queued && keyQueue.count() == 1) SetEvent(queueNotEmpty);
    LeaveCriticalSection(&queueLock);
    return result;
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
        // The beep comes after the lock is released: the consumer is not held up.
        if (offer(event) == kfrOffer::Dropped) kfrEvQue_fullQueueBeep();
    }
}

// Main thread: until a key is queued or a console break came. NOTE: a break
// reaches the main thread as a change of its context, which takes effect only
// once the thread's wait returns: the frame's break event ends the wait.
// Without the queue's event no reader runs and no key ever comes: only a
// break ends the wait then.
void awaitKeyOrBreak() {
    HANDLE events[2];
    DWORD count = 0;
    if (queueNotEmpty != nullptr) events[count++] = queueNotEmpty;
    HANDLE const breakEvent = static_cast<HANDLE>(M3K_BreakEvent());
    // A break event that is set while the thread is still here did not take
    // the thread away (its redirect failed): wait on the keys alone.
    if (breakEvent != nullptr && WaitForSingleObject(breakEvent, 0) != WAIT_OBJECT_0) events[count++] = breakEvent;
    if (count == 0) {
        Sleep(INFINITE);
        return;
    }
    WaitForMultipleObjects(count, events, FALSE, INFINITE);
}

// Finaliser (main thread, at the end): the mode in force before the program.
void kfrEvQue_restoreMode() { SetConsoleMode(inputHandle, savedInputMode); }

} // namespace

void (*kfrEvQue_fullQueueBeep)() = defaultFullQueueBeep;

void kfrEvQue_BEGIN() {
    M3K_MODULE_ONCE();
    kfrIGraph_BEGIN();
    M3K_FINALLY(kfrEvQue_restoreMode);

    inputHandle = kfrIGraph_hConsoleInput;
    if (GetConsoleMode(inputHandle, &savedInputMode)) SetConsoleMode(inputHandle, kInputMode);

    InitializeCriticalSection(&queueLock);
    queueNotEmpty = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (queueNotEmpty == nullptr) return; // no reader: the queue stays empty
    readerThread =
        CreateThread(nullptr, kReaderStackSize, kfrEvQue_readerThread, nullptr, 0, &readerThreadId);
}

bool kfrEvQue_getKey(uint8_t& ch, uint8_t& scan, bool wait) {
    for (;;) {
        if (keyQueue.count() > 0) {
            EnterCriticalSection(&queueLock);
            if (keyQueue.take(ch, scan)) {
                if (keyQueue.count() == 0) ResetEvent(queueNotEmpty);
                LeaveCriticalSection(&queueLock);
                return true;
            }
            LeaveCriticalSection(&queueLock);
        }
        if (!wait) return false;
        awaitKeyOrBreak();
    }
}

bool kfrEvQue_peekKey(uint8_t& ch, uint8_t& scan) {
    if (keyQueue.count() == 0) return false;
    EnterCriticalSection(&queueLock);
    const bool found = keyQueue.peek(ch, scan);
    LeaveCriticalSection(&queueLock);
    return found;
}

HANDLE kfrEvQue_readerHandle() { return readerThread; }

uint8_t kfrEvQue_count() { return keyQueue.count(); }
