// Graph's lifecycle in one place: the module's start (Graph_BEGIN), the
// window's opening (Graph_Init starts the window thread, which creates the
// window and runs its message loop for the rest of the process, and waits for
// its window-ready signal), the reset Graph_Init ends with, and the finaliser.
#include <windows.h>

#include "GraphWindow.h"
#include "M3K.h"
#include "kfrIGraph.h"

HANDLE Graph_WindowMutex = nullptr;
HANDLE Graph_HandshakeEvent = nullptr;
int32_t Graph_WindowX = 0;
int32_t Graph_WindowY = 0;
Graph_CreateThreadProc Graph_CreateThread = CreateThread;
char Graph_Title[256] = "Graph";

namespace {

// The window thread's stack. NOTE: the size is the stack's first commitment;
// the reserve is the program's default, so the window procedure and the
// platform's window code below it have room to grow.
constexpr SIZE_T kServerStackSize = 8192;
constexpr char kCaption[] = "Graph";

DWORD serverThreadId = 0;
// Main thread: the window thread while a window is open (Graph_Close waits
// for it to end).
HANDLE serverThread = nullptr;
bool classRegistered = false;
// Main thread: why the last Graph_Init or Graph_TryInit failed.
const char* lastError = "";
// Window thread writes it before the window-ready signal, main thread reads
// it after: why no window could be made, or null.
const char* windowFailure = nullptr;
// Main thread writes it before the window thread starts: a window that cannot
// be made halts the program (Graph_Init), or is only reported (Graph_TryInit).
bool windowHalts = true;

} // namespace

// Main thread, once.
void Graph_BEGIN() {
    M3K_MODULE_ONCE();
    Graph_Begun = true;
    kfrIGraph_BEGIN();
    M3K_FINALLY(Graph_Finalize);
    Graph_AttachDCs();
    Graph_ColourCount = Graph_CountDisplayColors();
    Graph_ResetDrawingDefaults();
}

namespace {
// Every public call of Graph starts the module when the program did not.
const bool beginHooked = (Graph_BeginHook = Graph_BEGIN, true);
} // namespace

DWORD WINAPI Graph_ServerThread(LPVOID) {
    M3K_ReserveStackForTraps();
    windowFailure = Graph_CreateMainWindow(windowHalts);
    if (windowFailure != nullptr) {
        // No window: the thread ends, Graph_Init learns why from the signal.
        SetEvent(Graph_HandshakeEvent);
        return 0;
    }
    // WINE: the first BeginPaint on the window's own DC resets the
    // DC's attributes (font, palette). The first paint therefore happens here,
    // before Graph_Init selects its font and palette into that DC.
    UpdateWindow(Graph_Window);
    SetEvent(Graph_HandshakeEvent);
    // Only Graph_Close ends the loop (the window gone, WM_QUIT); otherwise it
    // runs until the process ends.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

namespace {

// Main thread. Graph_Init's steps; with halt, its boxes and halts too. Every
// failure leaves its reason in lastError.
bool open(int32_t x, int32_t y, uint32_t width, uint32_t depth, bool halt) {
    Graph_EnsureBegun();
    // One window at a time: a second call leaves the open one alone.
    if (serverThreadId != 0) {
        lastError = "The window is open already";
        return false;
    }
    lastError = "";
    auto fail = [halt](const char* why) {
        lastError = why;
        if (halt) Graph_ShowError(why, kCaption);
        return false;
    };

    Graph_Width = width;
    Graph_Depth = depth;
    Graph_WindowX = x;
    Graph_WindowY = y;

    if (!classRegistered) {
        const char* why = Graph_RegisterWindowClass(GetModuleHandleA(nullptr), halt); // halts with halt
        if (why != nullptr) return fail(why);
        classRegistered = true;
    }
    if (Graph_HandshakeEvent == nullptr) {
        Graph_HandshakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (Graph_HandshakeEvent == nullptr) return fail("Event not created");
    }
    if (Graph_WindowMutex == nullptr) {
        Graph_WindowMutex = CreateMutexA(nullptr, FALSE, nullptr);
        if (Graph_WindowMutex == nullptr) return fail("Mutex not created");
    }
    windowFailure = nullptr;
    windowHalts = halt;
    const HANDLE thread =
        Graph_CreateThread(nullptr, kServerStackSize, Graph_ServerThread, nullptr, 0, &serverThreadId);
    if (thread == nullptr) {
        serverThreadId = 0;
        return fail("Graph server not run");
    }

    // With halt, when the window cannot be made, the window thread halts the
    // program from here on; this wait then ends with the process.
    WaitForSingleObject(Graph_HandshakeEvent, INFINITE);
    if (windowFailure != nullptr) {
        // NOTE: the window thread is still ending when it has given its signal.
        // Under Wine a process that ends meanwhile can hang in the X library
        // and be killed after a second (exit code -9): whoever carries on
        // without a window finds nothing of Graph still running.
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        serverThreadId = 0; // no window: a later call may try again
        return fail(windowFailure);
    }
    serverThread = thread;

    Graph_AttachDCs(); // a window closed before left requests without targets
    Graph_ResetPicture();
    Graph_SelectStartFont();
    return true;
}

} // namespace

// Main thread.
bool Graph_Init(int32_t x, int32_t y, uint32_t width, uint32_t depth) { return open(x, y, width, depth, true); }
bool Graph_TryInit(int32_t x, int32_t y, uint32_t width, uint32_t depth) {
    return open(x, y, width, depth, false);
}
const char* Graph_LastError() { return lastError; }

// Main thread. The window thread takes its window down itself (a window
// belongs to its thread) and ends; the wait for it cannot deadlock, since
// the window thread never waits for the main thread and the main thread
// holds no lock meanwhile. What stays for the next window: the window class,
// the handshake event, the window mutex, the start font and the kept pens
// and brushes, so that a window opened again makes no new ones.
void Graph_Close() {
    Graph_EnsureBegun();
    if (serverThread == nullptr) return;
    Graph_Back.EndOpenFrames(nullptr);
    {
        Graph_BufferLock lock;
        Graph_Targets.buffer = nullptr; // every request from here on does nothing
        Graph_Targets.window = nullptr;
    }
    if (!PostMessageA(Graph_Window, Graph_WM_TAKE_DOWN, 0, 0)) return; // no window to wait for
    WaitForSingleObject(serverThread, INFINITE);
    CloseHandle(serverThread);
    serverThread = nullptr;
    serverThreadId = 0;
}

// Main thread. The window thread never waits for the main thread, so the
// window's own call, which waits for the window thread, cannot deadlock.
void Graph_SetTitle(const char* title) {
    Graph_EnsureBegun();
    if (title == nullptr) return;
    lstrcpynA(Graph_Title, title, sizeof Graph_Title);
    if (Graph_Window != nullptr) SetWindowTextA(Graph_Window, Graph_Title);
}

// Main thread.
void Graph_ResetPicture() {
    Graph_NumPColor = Graph_ColourCount;
    Graph_InitStdPalette();
    Graph_SetLinestyle(0);
    Graph_SetLineWidth(1);
    Graph_SetWriteMode(Graph_COPY);
    Graph_ResetClip();
    Graph_SetOrigin(0, 0);
    Graph_SetBkMix(true);
    Graph_SetBkColor(0);
    Graph_ClearScreen(0);
}

// Main thread, at program end. The window thread and its window live on until
// the process ends, so only the synchronisation objects and the pens and
// brushes go, and the back-buffer lock stays usable for the repaints still to
// come. The handles close under that lock: a paint holds it while it waits on
// the window mutex, and one after this finds the mutex gone and waits on none.
void Graph_Finalize() {
    Graph_Back.EndOpenFrames(Graph_WindowDC);
    Graph_FreeObjects();
    Graph_BufferLock lock;
    HANDLE* const handles[] = {&Graph_WindowMutex, &Graph_HandshakeEvent};
    for (HANDLE* h : handles) {
        if (*h != nullptr) CloseHandle(*h);
        *h = nullptr;
    }
}
