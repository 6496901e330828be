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
#include "GraphGdi.h"
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
// Main thread: made by Graph_Init, closed by Graph_Finalize when they exist;
// the window thread waits on the mutex and sets the event.
extern HANDLE Graph_WindowMutex;
extern HANDLE Graph_HandshakeEvent;

// Window thread: made by Graph_CreateBackBuffer; then used by both threads
// under the back-buffer lock.
extern HDC Graph_BufferDC;
extern HBITMAP Graph_BufferBitmap;
// Window thread sets it (Graph_SetWindowDC), main thread draws on it: the
// second target of every drawing request, or any DC a test supplies.
extern HDC Graph_WindowDC;

// Main thread. The display's colour count, computed once by Graph_BEGIN;
// Graph_Init copies it into Graph_NumPColor.
extern uint32_t Graph_ColourCount;

// Main thread. Executor state: outline and fill state, and the hatch style or
// user pattern bitmap that filled brushes are made with.
extern Graph_ExecutorState Graph_Executor;
inline UINT& Graph_OutlineStyle = Graph_Executor.outlineStyle;   // pen style of outlined shapes and lines
inline bool& Graph_StdPatternFlag = Graph_Executor.stdPatternFlag; // fills use the standard pattern
inline UINT& Graph_StdBrushStyle = Graph_Executor.stdBrushStyle;  // BS_SOLID or BS_HATCHED
extern HBITMAP Graph_UserPattern;    // 8 x 8 monochrome, or null
// Main thread. Attributes.
extern uint32_t Graph_BkColour;       // colour number last set
extern uint32_t Graph_CurrentPattern; // Graph_GetStdFillMask's value
extern uint8_t Graph_SavedMask[8];    // last user mask

// Window thread: the window code hands over its window DC here, before the
// window-ready signal; tests hand over any DC.
void Graph_SetWindowDC(HDC dc);

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
// bitmap compatible with windowDC. Graph_DestroyBackBuffer undoes it (tests).
void Graph_CreateBackBuffer(HDC windowDC);
void Graph_DestroyBackBuffer();
// Window thread (paint handler): the whole back buffer to target at (0, 0),
// under the back-buffer lock.
void Graph_CopyBackBuffer(HDC target);

// ---- palettes (palette.cpp) ---------------------------------------------------

// Main thread. The display's colour count (Graph_BEGIN).
uint32_t Graph_CountDisplayColours();
// Main thread. Builds a palette from the first count colour values
// (0x00RRGGBB), selects it into dc as a background palette, deletes the one it
// replaced, realises it. A count of 0 or above 1024 leaves the DC's palette as
// it is.
void Graph_ApplyPalette(HDC dc, const uint32_t* values, uint32_t count);

// ---- the executor (execute.cpp) ---------------------------------------------

// Main thread, every declaration of this section. Carries out Graph_Request
// on dc. Takes no lock: the runners do.
void Graph_Execute(HDC dc);
// Both runners hold the back-buffer lock for the whole request, so a repaint
// never copies half a shape and never shares the window DC with a request.
void Graph_ExecuteOnBuffer();
void Graph_ExecuteOnBoth();

// ---- pens, brushes and DC attributes (objects.cpp) -------------------------

// Main thread, every declaration of this section; under the back-buffer lock,
// which the last four take themselves. Pens and brushes are made once and
// kept, at most this many, the least recently used going first; each stays
// selected in a DC until another replaces it.
constexpr uint32_t Graph_ObjectCacheSize = 48;
// The kept pen or brush for these values; the DC's default one when GDI
// refuses them.
HGDIOBJ Graph_CachedPen(UINT style, COLORREF colour);
HGDIOBJ Graph_CachedBrush(UINT style, COLORREF colour, ULONG_PTR hatch);
// Each changes the DC only where it differs from what Graph last selected or
// set there.
void Graph_SelectPen(HDC dc, HGDIOBJ pen);
void Graph_SelectBrush(HDC dc, HGDIOBJ brush);
void Graph_SetDCTextColour(HDC dc, COLORREF colour);
void Graph_SetDCBkColour(HDC dc, COLORREF colour);
void Graph_SetDCBkMode(HDC dc, int mode);
// After a palette change: each DC selects its pen, brush and text colour anew.
void Graph_ReselectAfterPaletteChange();
// dc goes away or stops being Graph's: Graph's objects leave it and what it
// holds is forgotten.
void Graph_ForgetDC(HDC dc);
// The user mask changed: the pattern brush made from the old one goes.
void Graph_DropPatternBrush();
// Every kept object leaves the DCs and is deleted.
void Graph_FreeObjects();


// ---- shapes (drawing.cpp) -------------------------------------------------------

// Main thread. A rectangle, or the single pixel when the corners coincide;
// both targets.
void Graph_Box(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
// Main thread. Graph_Box painted solid whatever fill is in force; the fill
// survives it.
void Graph_SolidBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
