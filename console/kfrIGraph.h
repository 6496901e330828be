// kfrIGraph: the console input that the console library shares with the
// graphics window library: its handle, and the copy of a key record into and
// out of the platform's INPUT_RECORD. The window thread writes the keys typed
// into the graphics window into this handle (WriteConsoleInputA); the console
// input reader thread of kfrEvQue reads them back from it.
#pragma once

#include <windows.h>

#include "kfrKeyRecord.h"

// The console input buffer (the process's standard input handle). Set once by
// kfrIGraph_BEGIN on the main thread before any other thread starts; read-only
// afterwards, so the window thread and the reader thread may use it freely.
extern HANDLE kfrIGraph_hConsoleInput;

// Initialiser (main thread): takes the standard input handle and discards the
// keys typed before the program started. Runs once; Graph_BEGIN and
// kfrEvQue_BEGIN both call it.
void kfrIGraph_BEGIN();

// The fields of a key record as read (any thread).
kfrKeyEvent kfrIGraph_fromRecord(const KEY_EVENT_RECORD& record);
// A whole KEY_EVENT input record for the fields (any thread).
INPUT_RECORD kfrIGraph_toRecord(const kfrKeyEvent& event);
