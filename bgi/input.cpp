// Keys, the mouse and time: getch and kbhit on the console library's key
// queue (keys typed into the window or the console, a key without a
// character read as 0 and then its code, as <conio.h>'s getch reads them),
// delay, and WinBGIm's mouse queues and handlers over Graph's mouse events.
#include <chrono>
#include <cstdlib>
#include <deque>

#include "BiosIO.h"
#include "IO.h"
#include "Lib.h"
#include "bgi_state.h"
#include "graph_adapter.h"

namespace {

constexpr int kKinds = WM_MBUTTONDBLCLK - WM_MOUSEMOVE + 1;
constexpr size_t kQueued = 100; // per kind; older events give way
struct Click {
    int x, y;
};
std::deque<Click> queues[kKinds];
bool queueing[kKinds] = {true, true, true, true, true, true, true, true, true, true};
void (*handlers[kKinds])(int, int) = {};
int lastX = 0, lastY = 0;

// Double clicks: a second press of the same button within this time and
// distance (Windows' defaults).
constexpr auto kDoubleTime = std::chrono::milliseconds(500);
constexpr int kDoubleDistance = 4;
std::chrono::steady_clock::time_point lastPress[3];
int lastPressX[3], lastPressY[3];
bool pressed[3] = {};

bool validKind(int kind) { return kind >= WM_MOUSEMOVE && kind <= WM_MBUTTONDBLCLK; }

void note(int kind, int x, int y) {
    const int i = kind - WM_MOUSEMOVE;
    if (queueing[i]) {
        if (queues[i].size() == kQueued) queues[i].pop_front();
        queues[i].push_back({x, y});
    }
    if (handlers[i] != nullptr) handlers[i](x, y);
}

// A key is read: one waits, or the code after a 0 is still to come.
bool keyWaiting() { return IO_KeyPressed() || BiosIO_LastChar == 0; }

} // namespace

void Bgi_PumpMouse() {
    BgiG_Mouse e;
    // Kinds by button: down, up, double click (WM_LBUTTONDOWN + 3 * button).
    while (BgiG_ReadMouse(e)) {
        lastX = e.x, lastY = e.y;
        if (e.kind == 2) {
            note(WM_MOUSEMOVE, e.x, e.y);
            continue;
        }
        if (e.kind == 3) continue; // the wheel has no BGI event
        const int base = WM_LBUTTONDOWN + 3 * e.button;
        if (e.kind == 1) {
            note(base + 1, e.x, e.y);
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        const int b = e.button;
        const bool twice = pressed[b] && now - lastPress[b] <= kDoubleTime &&
                           std::abs(e.x - lastPressX[b]) <= kDoubleDistance &&
                           std::abs(e.y - lastPressY[b]) <= kDoubleDistance;
        note(base, e.x, e.y);
        if (twice) note(base + 2, e.x, e.y);
        pressed[b] = !twice;
        lastPress[b] = now, lastPressX[b] = e.x, lastPressY[b] = e.y;
    }
}

extern "C" {

int getch(void) {
    BgiG_Flush();
    while (!keyWaiting()) {
        Bgi_PumpMouse();
        Bgi_CheckClose();
        Lib_Delay(5);
    }
    return IO_RdKey();
}

int kbhit(void) {
    BgiG_Flush();
    Bgi_PumpMouse();
    Bgi_CheckClose();
    return keyWaiting() ? 1 : 0;
}

void delay(int msec) {
    // In slices, so that the close box and the mouse are seen meanwhile.
    BgiG_Flush();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(msec > 0 ? msec : 0);
    for (;;) {
        Bgi_PumpMouse();
        Bgi_CheckClose();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        Lib_Delay(static_cast<uint32_t>(left.count() < 10 ? left.count() : 10));
    }
}

int ismouseclick(int kind) {
    if (!validKind(kind)) return 0;
    Bgi_PumpMouse();
    return queues[kind - WM_MOUSEMOVE].empty() ? 0 : 1;
}

void getmouseclick(int kind, int* x, int* y) {
    int cx = -1, cy = -1;
    if (validKind(kind)) {
        Bgi_PumpMouse();
        std::deque<Click>& q = queues[kind - WM_MOUSEMOVE];
        if (!q.empty()) {
            cx = q.front().x, cy = q.front().y;
            q.pop_front();
        }
    } else {
        Bgi_Fail(grError);
    }
    if (x != nullptr) *x = cx;
    if (y != nullptr) *y = cy;
}

void clearmouseclick(int kind) {
    if (!validKind(kind)) return Bgi_Fail(grError);
    Bgi_PumpMouse();
    queues[kind - WM_MOUSEMOVE].clear();
}

int mousex(void) {
    Bgi_PumpMouse();
    return lastX;
}

int mousey(void) {
    Bgi_PumpMouse();
    return lastY;
}

void registermousehandler(int kind, void (*handler)(int x, int y)) {
    if (!validKind(kind)) return Bgi_Fail(grError);
    handlers[kind - WM_MOUSEMOVE] = handler;
}

// <conio.h> declares _getch and _kbhit as imports of the C runtime's DLL: a
// call goes through the import's pointer. These pointers, found in this
// library before the runtime's import library, make those calls read the
// same keys as getch and kbhit.
#if defined(__i386__)
#define PLIMO_IMPORT(name) __asm__("__imp___" #name)
#else
#define PLIMO_IMPORT(name) __asm__("__imp__" #name)
#endif
int (*plimo_import_getch)(void) PLIMO_IMPORT(getch) = getch;
int (*plimo_import_kbhit)(void) PLIMO_IMPORT(kbhit) = kbhit;

void setmousequeuestatus(int kind, int status) {
    if (!validKind(kind)) return Bgi_Fail(grError);
    queueing[kind - WM_MOUSEMOVE] = status != 0;
    if (!status) queues[kind - WM_MOUSEMOVE].clear();
}

} // extern "C"
