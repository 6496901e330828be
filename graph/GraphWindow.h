// Graph's window code (window.cpp, lifecycle.cpp): the window thread, the window
// and its procedure, and the seam of the error boxes. Internal, like
// GraphInternal.h, which it extends.
#pragma once

#include "GraphInternal.h"

// Main thread, before the window thread starts, which reads them: where
// Graph_Init puts the window's outer top-left corner.
extern int32_t Graph_WindowX;
extern int32_t Graph_WindowY;
// Window thread: the window, set once before the window-ready signal.
extern HWND Graph_Window;

// Any thread. Every error box goes through this seam (MessageBoxA by default); tests
// replace it so that no box ever waits for a click. 0 or less: not shown.
using Graph_ErrorBoxProc = int (*)(const char* text, const char* caption, unsigned flags);
extern Graph_ErrorBoxProc Graph_ErrorBox;
// Main thread. Starts the window thread (CreateThread by default); tests replace it to see
// Graph_Init fail as it does when the system cannot start a thread.
using Graph_CreateThreadProc = decltype(&CreateThread);
extern Graph_CreateThreadProc Graph_CreateThread;
// Any thread. An error box (caption may be null, flags MB_SYSTEMMODAL | MB_ICONERROR);
// the text goes to the standard error as well when the box cannot be shown.
void Graph_ShowError(const char* text, const char* caption);

// Window thread, inside every paint between BeginPaint and the copy, with the back-buffer
// lock held (and the window mutex, until Graph_Finalize closes it);
// null (nothing) unless a test holds a paint open to see what drawing meanwhile does.
extern void (*Graph_PaintHook)();

// Main thread, from Graph_Init and Graph_TryInit: null when the class is
// registered, else why not; with halt, failure halts the program (9).
const char* Graph_RegisterWindowClass(HINSTANCE instance, bool halt);
// Window thread: window (titled Graph_Title), window DC, back buffer; null
// when all are made, else why not. With halt, a window that cannot be made
// halts the program (9); a back buffer that cannot be made takes the window
// away again and is reported, never halts.
const char* Graph_CreateMainWindow(bool halt);
// Main thread writes it before the window exists, then only with the window's
// own call: the window's title.
extern char Graph_Title[256];
// Posted by Graph_Close (main thread) to the window: the window thread
// releases the window DC, the back buffer and the window, and ends its loop.
constexpr UINT Graph_WM_TAKE_DOWN = WM_APP + 1;
// Window thread: its procedure, and the window procedure it dispatches to.
DWORD WINAPI Graph_ServerThread(LPVOID);
LRESULT CALLBACK Graph_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Window thread (events.cpp): a mouse message into the program's queue, a
// close request remembered.
void Graph_NoteMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void Graph_NoteCloseRequest();
// Window thread: the console key record for a key message; updates the
// modifier state.
INPUT_RECORD Graph_MakeKeyEvent(bool down, LPARAM lParam);
