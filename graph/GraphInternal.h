// Graph's Win32 internals. The window code (window thread, Graph_Init)
// includes this header; programs that draw include only Graph.h.
//
// Threads: the main thread runs Graph_BEGIN, Graph_Init and every request;
// the window thread creates the window and the back buffer and repaints from
// it. The back-buffer lock serialises the two. Each declaration below names
// the thread that uses it.
//
// Where module state lives: each piece in the file of its job, defined there
// and declared here or in the header named.
//   back buffer, its lock, frames, reads' buffer  backbuffer.cpp (BackBuffer.h)
//   the DCs' drawers and the kept pens, brushes   dc.cpp
//   the dispatch's state, the targets, start hook dispatch.cpp (GraphDispatch.h)
//   the request record, palette table, tables     tables.cpp (GraphRequest.h)
//   attributes (background, fill mask, pattern)   attributes.cpp
//   colour count, palettes                        palette.cpp
//   window mutex, handshake event, window state   lifecycle.cpp, window.cpp (GraphWindow.h)
//   mouse queue, close request                    events.cpp
#pragma once

#include <windows.h>

#include "BackBuffer.h"
#include "Graph.h"
#include "GraphDispatch.h"
#include "GraphRequest.h"

// ---- the back-buffer lock (BackBuffer.h) ----------------------------------------

// Any thread. Held by every request for its whole run on both targets, by the
// repaint, by every read of the picture.
inline void Graph_LockBackBuffer() { Graph_Back.Lock(); }
inline void Graph_UnlockBackBuffer() { Graph_Back.Unlock(); }
// The back-buffer lock for a scope.
struct Graph_BufferLock {
    Graph_BufferLock() { Graph_LockBackBuffer(); }
    ~Graph_BufferLock() { Graph_UnlockBackBuffer(); }
    Graph_BufferLock(const Graph_BufferLock&) = delete;
    Graph_BufferLock& operator=(const Graph_BufferLock&) = delete;
};
// Window thread: the back buffer's pages, compatible with windowDC (false:
// none could be made); tests undo it with Graph_DestroyBackBuffer.
inline bool Graph_CreateBackBuffer(HDC windowDC) { return Graph_Back.Create(windowDC); }
inline void Graph_DestroyBackBuffer() { Graph_Back.Destroy(); }
// Window thread (paint handler): the shown picture to target at (0, 0), under the lock.
inline void Graph_CopyBackBuffer(HDC target) { Graph_Back.Show(target); }

// ---- lifecycle (lifecycle.cpp) ----------------------------------------------------

// Main thread: made by Graph_Init, closed by Graph_Finalize (under the
// back-buffer lock, so that no paint is meanwhile waiting on the mutex); the
// window thread's paint waits on the mutex while it is open, and sets the event.
extern HANDLE Graph_WindowMutex;
extern HANDLE Graph_HandshakeEvent;

// Main thread. Graph_Init's last step once both DCs exist: the display's
// colour count, the standard palette, solid lines, an opaque background of
// colour 0 and the picture cleared. Tests and benchmarks that supply their own
// DCs reuse it.
void Graph_ResetPicture();
// Main thread, at the end. Ends an open frame, closes the window mutex and the
// handshake event, those that exist, and deletes the kept pens and brushes.
// Registered by Graph_BEGIN with M3K_FINALLY.
void Graph_Finalize();

// ---- the DCs (dc.cpp) ------------------------------------------------------------

// The DCs as Graph draws on them: objects that own what each DC holds and
// the pens and brushes kept for them. Graph_BufferTarget draws on the back
// buffer's drawn page, Graph_SpareTarget on its other page, Graph_WindowTarget
// on the window. Graph_AttachDCs (Graph_BEGIN) makes them the targets of
// every request.
class Graph_GdiDC;
extern Graph_GdiDC Graph_BufferTarget;
extern Graph_GdiDC Graph_SpareTarget;
extern Graph_GdiDC Graph_WindowTarget;
void Graph_AttachDCs();
// Under the back-buffer lock (backbuffer.cpp): the pages' DCs to their
// drawers (what Graph held in the DCs they replace is released), and the two
// drawers' DCs and what each holds exchanged, as the pages swap roles.
void Graph_AttachPages(HDC drawn, HDC spare);
void Graph_ExchangePages();
// Both threads, under the back-buffer lock: the drawn page's DC (the back
// buffer as requests draw on it) and the window DC.
extern HDC& Graph_BufferDC;
extern HDC& Graph_WindowDC;
// Window thread: the window code hands over its window DC here, before the
// window-ready signal; tests hand over any DC. What Graph held in the DC it
// replaces is released and forgotten.
void Graph_SetWindowDC(HDC dc);
// Main thread. Carries out Graph_Request on one target alone, with no lock
// (tests: the window's picture made to differ from the back buffer's).
void Graph_Execute(Graph_GdiDC& target);
// Main thread; each takes the back-buffer lock. Pens and brushes are made
// once and kept, at most this many for all DCs, the least recently used
// going first; each stays selected in its DC until another replaces it.
constexpr uint32_t Graph_ObjectCacheSize = 48;
// The user mask changed: the pattern brush made from the old one goes.
void Graph_DropPatternBrush();
// Every kept object leaves its DC and is deleted.
void Graph_FreeObjects();

// ---- attributes (attributes.cpp) ---------------------------------------------------

// Main thread. The dispatch's outline and fill state (GraphDispatch.h), by the
// names the attributes know it by; and the user pattern's bitmap, or null.
inline uint32_t& Graph_OutlineStyle = Graph_Executor.outlineStyle;
inline bool& Graph_StdPatternFlag = Graph_Executor.stdPatternFlag;
inline uint32_t& Graph_StdBrushStyle = Graph_Executor.stdBrushStyle;
extern HBITMAP Graph_UserPattern;
// Main thread. Attributes.
extern uint32_t Graph_BkColour;       // colour number last set
extern uint32_t Graph_CurrentPattern; // Graph_GetStdFillMask's value
extern uint8_t Graph_SavedMask[8];    // last user mask
// Main thread. Sets the drawing defaults (outline, fill, patterns, saved
// mask); deletes the kept pens and brushes and a user pattern bitmap if there
// is one. Part of Graph_BEGIN; tests reuse it.
void Graph_ResetDrawingDefaults();

// ---- palettes (palette.cpp) ----------------------------------------------------------

// Main thread. The display's colour count, computed once by Graph_BEGIN;
// Graph_Init copies it into Graph_NumPColor.
extern uint32_t Graph_ColourCount;
// Main thread. Palettes loaded so far: a kept page that has seen fewer
// takes the palette when it becomes the active page again.
extern uint32_t Graph_PaletteLoads;
// Main thread. The display's colour count (Graph_BEGIN).
// (Spelled as the system spells it.)
uint32_t Graph_CountDisplayColors();
// Main thread. Builds a palette from the first count colour values
// (0x00RRGGBB), selects it into dc as a background palette, deletes the one it
// replaced, realises it. A count of 0 or above 1024 leaves the DC's palette as
// it is.
void Graph_ApplyPalette(HDC dc, const uint32_t* values, uint32_t count);
// Either thread, before dc goes: the default palette back in it, Graph's deleted.
void Graph_ReleasePalette(HDC dc);

// ---- calls made of other calls (drawing.cpp) and text extents (pixels.cpp) ---------

// Main thread. Graph_Box painted solid whatever fill is in force; the fill,
// and what Graph_GetStdFillMask reports, survive it.
void Graph_SolidBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill);
// Main thread. The width in pixels of text[0..length) in the font in force;
// 0 before Graph_Init.
uint32_t Graph_TextWidthOf(const char* text, uint32_t length);

// ---- fonts (font.cpp) ----------------------------------------------------------------

// Main thread, Graph_Init's last step (tests: after their DCs exist): the
// start font into every page and the window, made once for the process.
void Graph_SelectStartFont();
// Main thread. The font in force's angle, tenths of a degree in [0, 3600).
int32_t Graph_FontAngle();
