// kfrIGraph: the console input that the console library shares with the
// graphics window library: its handle, and the copy of a key record into and
// out of the platform's INPUT_RECORD. The window thread writes the keys typed
// into the graphics window into this handle (WriteConsoleInputA); the console
// input reader thread of kfrEvQue reads them back from it.
#pragma once

#include <windows.h>

#include "kfrKeyRecord.h"

// Any thread. The console input buffer: the standard input handle, or the
// process's console (CONIN$) when the standard input is not a console.
// Set once by kfrIGraph_BEGIN on the main thread before any other thread
// starts; read-only afterwards, so the window thread and the reader thread may
// use it freely.
extern HANDLE kfrIGraph_hConsoleInput;

// Main thread. Initialiser: takes the console input handle and discards the
// keys typed before the program started. Runs once; Graph_BEGIN and
// kfrEvQue_BEGIN both call it.
void kfrIGraph_BEGIN();

// Any thread. The fields of a key record as read.
kfrKeyEvent kfrIGraph_fromRecord(const KEY_EVENT_RECORD& record);
// Any thread. A whole KEY_EVENT input record for the fields.
INPUT_RECORD kfrIGraph_toRecord(const kfrKeyEvent& event);
