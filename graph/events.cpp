// What the user does in the window besides typing: the mouse, queued for the
// program, and close requests, remembered for it. The window thread notes
// them and never waits for the program: the queue's lock is held only to copy
// one event in or out.
#include <windows.h>

#include "GraphWindow.h"

namespace {

constexpr uint32_t kQueueSize = 64;

// Both threads, under queueLock.
CRITICAL_SECTION queueLock;
const bool queueLockReady = [] {
    InitializeCriticalSection(&queueLock);
    return true;
}();
Graph_MouseEvent queue[kQueueSize] = {};
uint32_t head = 0, count = 0;
uint32_t dropped = 0;

// Window thread sets, main thread takes.
volatile LONG closeRequested = 0;

struct ButtonMessage {
    UINT message;
    uint32_t kind, button;
};
constexpr ButtonMessage kButtons[] = {
    {WM_LBUTTONDOWN, Graph_MOUSE_PRESS, Graph_BUTTON_LEFT},     {WM_LBUTTONUP, Graph_MOUSE_RELEASE, Graph_BUTTON_LEFT},
    {WM_RBUTTONDOWN, Graph_MOUSE_PRESS, Graph_BUTTON_RIGHT},    {WM_RBUTTONUP, Graph_MOUSE_RELEASE, Graph_BUTTON_RIGHT},
    {WM_MBUTTONDOWN, Graph_MOUSE_PRESS, Graph_BUTTON_MIDDLE},   {WM_MBUTTONUP, Graph_MOUSE_RELEASE, Graph_BUTTON_MIDDLE},
};

uint32_t heldButtons(WPARAM wParam) {
    const auto keys = static_cast<uint32_t>(GET_KEYSTATE_WPARAM(wParam));
    return ((keys & MK_LBUTTON) ? Graph_BUTTON_LEFT : 0) | ((keys & MK_RBUTTON) ? Graph_BUTTON_RIGHT : 0) |
           ((keys & MK_MBUTTON) ? Graph_BUTTON_MIDDLE : 0);
}

// Captured, the mouse reports points outside the window too: kept at its edge.
uint32_t inside(int v, uint32_t size) {
    if (v < 0 || size == 0) return 0;
    return static_cast<uint32_t>(v) >= size ? size - 1 : static_cast<uint32_t>(v);
}

// Window thread. A move after a move not yet read replaces it.
void push(const Graph_MouseEvent& event) {
    EnterCriticalSection(&queueLock);
    Graph_MouseEvent& last = queue[(head + count + kQueueSize - 1) % kQueueSize];
    if (event.kind == Graph_MOUSE_MOVE && count > 0 && last.kind == Graph_MOUSE_MOVE) {
        last = event;
    } else if (count == kQueueSize) {
        ++dropped;
    } else {
        queue[(head + count++) % kQueueSize] = event;
    }
    LeaveCriticalSection(&queueLock);
}

} // namespace

void Graph_NoteMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Signed: captured, the mouse reports points left of and above the window too.
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    Graph_MouseEvent event{Graph_MOUSE_MOVE, 0, 0, heldButtons(wParam), 0};
    if (message == WM_MOUSEWHEEL) {
        ScreenToClient(window, &at); // the wheel's point is on the screen
        event.kind = Graph_MOUSE_WHEEL;
        event.wheel = GET_WHEEL_DELTA_WPARAM(wParam);
    }
    for (const ButtonMessage& b : kButtons) {
        if (b.message != message) continue;
        event.kind = b.kind;
        event.buttons = b.button;
        // Held while a button is down, so that its release outside the window is seen.
        if (b.kind == Graph_MOUSE_PRESS) {
            SetCapture(window);
        } else if (heldButtons(wParam) == 0) {
            ReleaseCapture();
        }
    }
    event.x = inside(at.x, Graph_Width);
    event.y = inside(at.y, Graph_Depth);
    push(event);
}

void Graph_NoteCloseRequest() { InterlockedExchange(&closeRequested, 1); }

bool Graph_ReadMouse(Graph_MouseEvent* event) {
    Graph_EnsureBegun();
    if (event == nullptr) return false;
    EnterCriticalSection(&queueLock);
    const bool any = count > 0;
    if (any) {
        *event = queue[head];
        head = (head + 1) % kQueueSize;
        --count;
    }
    LeaveCriticalSection(&queueLock);
    return any;
}

uint32_t Graph_MouseDropped() {
    Graph_EnsureBegun();
    EnterCriticalSection(&queueLock);
    const uint32_t n = dropped;
    LeaveCriticalSection(&queueLock);
    return n;
}

bool Graph_CloseRequested() {
    Graph_EnsureBegun();
    return InterlockedExchange(&closeRequested, 0) != 0;
}
