// kfrIGraph: the console input handle that the console library shares with
// the graphics window library. The window thread writes the keys typed into
// the graphics window into this handle (WriteConsoleInputA); the console
// input reader thread of kfrEvQue reads them back from it.
#pragma once

#include <windows.h>

// The console input buffer (the process's standard input handle). Set once by
// kfrIGraph_BEGIN on the main thread before any other thread starts; read-only
// afterwards, so the window thread and the reader thread may use it freely.
extern HANDLE kfrIGraph_hConsoleInput;

// Initialiser (main thread): takes the standard input handle and discards the
// keys typed before the program started. Runs once; Graph_BEGIN and
// kfrEvQue_BEGIN both call it.
void kfrIGraph_BEGIN();
