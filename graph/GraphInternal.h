// Graph's Win32 internals: the module state, the back buffer, the request
// executor and its runners. The window code (window thread, Graph_Init)
// includes this header; programs that draw include only Graph.h.
//
// Threads: the main thread runs Graph_BEGIN, Graph_Init and every request;
// the window thread creates the window and its DCs and repaints from the back
// buffer. The back-buffer lock serialises the two. Each declaration below
// names the thread that uses it.
#pragma once

#include <windows.h>

#include "Graph.h"
#include "GraphDC.h"
#include "GraphRequest.h"

// ---- module state (defined in state.cpp, the one place it lives) ----------

// Any thread. The back-buffer lock: held by every request for its whole run
// on both targets, and by the repaint copy. Recursive, so the paint handler
// may hold it from BeginPaint to EndPaint around Graph_CopyBackBuffer. It
// stays usable until the process ends (the window may still repaint after the
// finalisers), so nothing closes it.
// WINE: a critical section, not a kernel mutex: under Wine every wait on and
// release of a kernel mutex is a wineserver round trip, several times the
// drawing itself (figures in docs/architecture.md).
void Graph_LockBackBuffer();
void Graph_UnlockBackBuffer();
// The back-buffer lock for a scope.
struct Graph_BufferLock {
    Graph_BufferLock() { Graph_LockBackBuffer(); }
    ~Graph_BufferLock() { Graph_UnlockBackBuffer(); }
    Graph_BufferLock(const Graph_BufferLock&) = delete;
    Graph_BufferLock& operator=(const Graph_BufferLock&) = delete;
};
// The lock when it is free at once (then true), for the window thread's
// chores that must never wait.
bool Graph_TryLockBackBuffer();
// Main thread: made by Graph_Init, closed by Graph_Finalize when they exist;
// the window thread waits on the mutex and sets the event.
extern HANDLE Graph_WindowMutex;
extern HANDLE Graph_HandshakeEvent;

// The two DCs as Graph draws on them (dc.cpp): objects that own what each DC
// holds and the pens and brushes kept for it. Graph_AttachDCs (Graph_BEGIN)
// makes them the targets of every request.
class Graph_GdiDC;
extern Graph_GdiDC Graph_BufferTarget;
extern Graph_GdiDC Graph_WindowTarget;
void Graph_AttachDCs();
// Window thread: made by Graph_CreateBackBuffer; then used by both threads
// under the back-buffer lock. The DC is its target's.
extern HDC& Graph_BufferDC;
extern HBITMAP Graph_BufferBitmap;
// Window thread sets it (Graph_SetWindowDC), main thread draws on it: the
// second target of every drawing request, or any DC a test supplies.
extern HDC& Graph_WindowDC;

// Main thread. The display's colour count, computed once by Graph_BEGIN;
// Graph_Init copies it into Graph_NumPColor.
extern uint32_t Graph_ColourCount;

// Main thread. The dispatch's outline and fill state (GraphDC.h), by the
// names the attributes know it by; and the user pattern's bitmap, or null.
inline uint32_t& Graph_OutlineStyle = Graph_Executor.outlineStyle;
inline bool& Graph_StdPatternFlag = Graph_Executor.stdPatternFlag;
inline uint32_t& Graph_StdBrushStyle = Graph_Executor.stdBrushStyle;
extern HBITMAP Graph_UserPattern;
// Main thread. Attributes.
extern uint32_t Graph_BkColour;       // colour number last set
extern uint32_t Graph_CurrentPattern; // Graph_GetStdFillMask's value
extern uint8_t Graph_SavedMask[8];    // last user mask

// Window thread: the window code hands over its window DC here, before the
// window-ready signal, and the back buffer its DC; tests hand over any DC.
// What Graph held in the DC it replaces is released and forgotten.
void Graph_SetWindowDC(HDC dc);
void Graph_SetBufferDC(HDC dc);

// Main thread. Sets the drawing defaults (outline, fill, patterns, saved
// mask); deletes the kept pens and brushes and a user pattern bitmap if there
// is one. Part of Graph_BEGIN; tests reuse it.
void Graph_ResetDrawingDefaults();

// ---- lifecycle (lifecycle.cpp) ----------------------------------------------

// Main thread. Graph_Init's last step once both DCs exist: the display's
// colour count, the standard palette, solid lines, an opaque background of
// colour 0 and the picture cleared. Tests and benchmarks that supply their own
// DCs reuse it.
void Graph_ResetPicture();
// Main thread, at the end. Closes the window mutex and the handshake event,
// those that exist, and deletes the kept pens and brushes. Registered by
// Graph_BEGIN with M3K_FINALLY.
void Graph_Finalize();

// ---- back buffer (backbuffer.cpp) --------------------------------------------

// Window thread: makes the back-buffer DC and a Graph_Width x Graph_Depth
// bitmap compatible with windowDC; false, and neither kept, when either
// cannot be made. Graph_DestroyBackBuffer undoes it (tests).
bool Graph_CreateBackBuffer(HDC windowDC);
void Graph_DestroyBackBuffer();
// Either thread: a memory DC holding a picture-sized bitmap in like's format
// (the back buffer's, the last whole frame's); false, with neither kept, when
// GDI refuses.
bool Graph_MakePictureDC(HDC like, HDC& dc, HBITMAP& bitmap);
// Window thread (paint handler): the whole back buffer to target at (0, 0),
// under the back-buffer lock.
void Graph_CopyBackBuffer(HDC target);

// ---- frames (frames.cpp) --------------------------------------------------------

// Main thread (or whichever thread ends the process), from Graph_Finalize:
// a frame still open is ended, the window shows what was drawn.
void Graph_EndOpenFrames();
// Window thread, under the back-buffer lock (the paint): the DC whose picture
// the window must show: the last whole frame while a frame is open.
HDC Graph_ShownDC();
// Window thread (its timer): brings the copy of the last whole picture up to
// date between frames, so that the next frame's start need not; never waits.
void Graph_RefreshLastFrame();

// ---- palettes (palette.cpp) ---------------------------------------------------

// Main thread. The display's colour count (Graph_BEGIN).
// (Spelled as the system spells it.)
uint32_t Graph_CountDisplayColors();
// Main thread. Builds a palette from the first count colour values
// (0x00RRGGBB), selects it into dc as a background palette, deletes the one it
// replaced, realises it. A count of 0 or above 1024 leaves the DC's palette as
// it is.
void Graph_ApplyPalette(HDC dc, const uint32_t* values, uint32_t count);

// ---- the DCs (dc.cpp) ----------------------------------------------------------

// Main thread. Carries out Graph_Request on one target alone, with no lock
// (tests: the window's picture made to differ from the back buffer's).
void Graph_Execute(Graph_GdiDC& target);
// Main thread; each takes the back-buffer lock. Pens and brushes are made
// once and kept, at most this many for both DCs, the least recently used
// going first; each stays selected in its DC until another replaces it.
constexpr uint32_t Graph_ObjectCacheSize = 48;
// The user mask changed: the pattern brush made from the old one goes.
void Graph_DropPatternBrush();
// Every kept object leaves its DC and is deleted.
void Graph_FreeObjects();

// ---- shapes (drawing.cpp) -------------------------------------------------------

// Main thread. A rectangle, or the single pixel when the corners coincide;
// both targets.
void Graph_Box(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
// Main thread. The width in pixels of text[0..length) in the font in force
// (pixels.cpp); 0 before Graph_Init.
uint32_t Graph_TextWidthOf(const char* text, uint32_t length);
// Main thread. Graph_Box painted solid whatever fill is in force; the fill
// survives it.
void Graph_SolidBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
