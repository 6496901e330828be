// Seams of kfrEvQue for its tests and benchmark; programs do not use them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kfrKeyQueue.h"

// Reader thread: called after the queue lock is released, when a key is
// dropped because the queue is full. Defaults to Beep(300, 100). Replace it
// before kfrEvQue_BEGIN.
extern void (*kfrEvQue_fullQueueBeep)();

// Any thread. The reader thread's handle (null before kfrEvQue_BEGIN or when it could not
// be started).
HANDLE kfrEvQue_readerHandle();

// Any thread. Entries queued now (a snapshot).
uint8_t kfrEvQue_count();

constexpr uint8_t kfrEvQue_capacity = kfrKeyQueue::capacity;
