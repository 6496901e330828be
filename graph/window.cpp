// The graphics window: its class, its creation on the window thread, and its
// window procedure, which repaints the window from the back buffer, keeps the
// user from closing it, and forwards the keys typed into it to the console
// input.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "GraphWindow.h"
#include "M3K.h"
#include "keys.h"
#include "kfrIGraph.h"

HWND Graph_Window = nullptr;
void (*Graph_PaintHook)() = nullptr;

namespace {

constexpr char kClassName[] = "GraphWnd";
// WS_VISIBLE | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX on an overlapped
// window: a title bar, a system menu and a minimise button, no maximise
// button and no sizing frame.
constexpr DWORD kWindowStyle = 0x108A0000;
// WINE: what the main thread draws into the window DC reaches the screen only
// when the window thread passes through its message wait. A timer wakes the
// loop often enough for every picture to show within a frame (its WM_TIMER
// goes to DefWindowProcA); on Windows it only costs a few wake-ups.
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT kShowIntervalMs = 15;
constexpr UINT kErrorBoxFlags = MB_SYSTEMMODAL | MB_ICONERROR;
constexpr uint32_t kHaltCode = 9;
// Keeps the outer size of a window within what the platform computes with
// ints, whatever size the caller asks for.
constexpr uint32_t kLargestSide = 0x3FFFFFFF;

// The modifier keys as the window's key messages left them. Window thread only.
Graph_ModifierState modifiers;

int showMessageBox(const char* text, const char* caption, unsigned flags) {
    return MessageBoxA(nullptr, text, caption, flags);
}

void writeStdErr(const char* text) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    M3K_WriteAll(err, text, static_cast<uint32_t>(std::strlen(text)));
    M3K_WriteAll(err, "\n", 1);
}

[[noreturn]] void failAndHalt(const char* text) {
    Graph_ShowError(text, nullptr);
    M3K_HALT(kHaltCode);
}

int side(uint32_t pixels) { return static_cast<int>(std::min(pixels, kLargestSide)); }

// The outer rectangle that gives a drawing area of exactly Graph_Width x
// Graph_Depth for a window of the given style.
RECT outerRect(DWORD style, DWORD exStyle) {
    RECT rect{0, 0, side(Graph_Width), side(Graph_Depth)};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

// NOTE: CreateWindowExA gives every overlapped window a caption and the
// window-edge extended style whatever the style asked for, and the frame
// drawn for it may be thicker than the thin-border metrics. The size is
// therefore taken from the style the window really got, and then corrected by
// whatever difference the platform's frame still leaves.
void fitClientArea(HWND window) {
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    const RECT wanted = outerRect(style, exStyle);
    RECT current;
    GetWindowRect(window, &current);
    if (current.right - current.left != wanted.right - wanted.left ||
        current.bottom - current.top != wanted.bottom - wanted.top) {
        SetWindowPos(window, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client;
    GetClientRect(window, &client);
    const int missingX = side(Graph_Width) - client.right;
    const int missingY = side(Graph_Depth) - client.bottom;
    if (missingX == 0 && missingY == 0) return;
    GetWindowRect(window, &current);
    SetWindowPos(window, nullptr, 0, 0, current.right - current.left + missingX,
                 current.bottom - current.top + missingY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Window thread. NOTE: the window's own DC (CS_OWNDC) is the DC BeginPaint
// hands out, clipped to the update region until EndPaint. Drawing requests
// on the main thread use that same DC, so the paint holds the back-buffer
// lock (which every request holds) from BeginPaint to EndPaint: a shape drawn
// meanwhile would otherwise be cut to the update region in the window. The
// lock is recursive; Graph_CopyBackBuffer takes it again inside. The window
// mutex is waited on under the lock (nothing else takes the mutex), so that
// Graph_Finalize, which closes it under the lock, never closes it under a
// waiting paint, and a paint after it waits on no closed handle.
void paint(HWND window) {
    Graph_BufferLock lock;
    const HANDLE mutex = Graph_WindowMutex;
    if (mutex != nullptr) WaitForSingleObject(mutex, INFINITE);
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    if (Graph_PaintHook != nullptr) Graph_PaintHook();
    Graph_CopyBackBuffer(Graph_WindowDC);
    EndPaint(window, &ps);
    if (mutex != nullptr) ReleaseMutex(mutex);
}

// Window thread. The window DC is shared with the drawing requests.
void realizePalette() {
    Graph_LockBackBuffer();
    RealizePalette(Graph_WindowDC);
    Graph_UnlockBackBuffer();
}

// Window thread (Graph_Close's message). The window DC leaves the drawing
// targets, its palette goes, then the pages and the window; the loop ends.
void takeDown(HWND window) {
    KillTimer(window, kShowTimer);
    {
        Graph_BufferLock lock;
        const HDC dc = Graph_WindowDC;
        Graph_SetWindowDC(nullptr);
        if (dc != nullptr) {
            Graph_ReleasePalette(dc);
            ReleaseDC(window, dc);
        }
        Graph_DestroyBackBuffer();
    }
    // WINE: the X driver waits for a window manager to withdraw the window,
    // up to 2 s; with none (Xvfb) every close takes those 2 s.
    DestroyWindow(window);
    Graph_Window = nullptr;
    PostQuitMessage(0);
}

// Window thread. A failed write loses the key; nothing else can be done here.
void forwardKey(bool down, LPARAM lParam) {
    const INPUT_RECORD record = Graph_MakeKeyEvent(down, lParam);
    DWORD written;
    WriteConsoleInputA(kfrIGraph_hConsoleInput, &record, 1, &written);
}

} // namespace

Graph_ErrorBoxProc Graph_ErrorBox = showMessageBox;

void Graph_ShowError(const char* text, const char* caption) {
    // WINE: a box that cannot be shown at all (no display) gives 0, or under
    // Wine -1 (its dialog failed); every answer of a shown box is positive.
    // The text then goes to the standard error, so that the user still
    // learns why the program ended.
    if (Graph_ErrorBox(text, caption, kErrorBoxFlags) <= 0) writeStdErr(text);
}

const char* Graph_RegisterWindowClass(HINSTANCE instance, bool halt) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC | CS_BYTEALIGNCLIENT;
    windowClass.lpfnWndProc = Graph_WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) != 0) return nullptr;
    constexpr const char* kFailure = "Win class was not registered";
    if (halt) failAndHalt(kFailure);
    return kFailure;
}

const char* Graph_CreateMainWindow(bool halt) {
    // The size an overlapped window of this style gets, so that the window
    // usually appears at its final size at once.
    const RECT outer = outerRect(kWindowStyle | WS_CAPTION, WS_EX_WINDOWEDGE);
    Graph_Window = CreateWindowExA(0, kClassName, Graph_Title, kWindowStyle, Graph_WindowX, Graph_WindowY,
                                   outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (Graph_Window == nullptr) {
        constexpr const char* kFailure = "Couldn't create main window";
        if (halt) failAndHalt(kFailure);
        return kFailure;
    }
    fitClientArea(Graph_Window);
    const HDC windowDC = GetDC(Graph_Window);
    Graph_SetWindowDC(windowDC);
    if (windowDC == nullptr || !Graph_CreateBackBuffer(windowDC)) {
        Graph_SetWindowDC(nullptr);
        DestroyWindow(Graph_Window);
        Graph_Window = nullptr;
        return "Back buffer not created";
    }
    SetTimer(Graph_Window, kShowTimer, kShowIntervalMs, nullptr);
    return nullptr;
}

INPUT_RECORD Graph_MakeKeyEvent(bool down, LPARAM lParam) {
    return kfrIGraph_toRecord(Graph_TranslateKey(modifiers, static_cast<uint32_t>(lParam), down));
}

LRESULT CALLBACK Graph_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        Graph_ForgetModifiers(modifiers);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CLOSE:
        // Not passed on: the user cannot close the window (close button,
        // system menu, Alt+F4); it goes away with the process. The program
        // may look at the request.
        Graph_NoteCloseRequest();
        return 0;
    case WM_SYSKEYDOWN:
        // NOTE: key messages never reach DefWindowProcA, so Alt+F4 makes no WM_CLOSE.
        if (wParam == VK_F4) Graph_NoteCloseRequest();
        forwardKey(true, lParam);
        return 0;
    case WM_KEYDOWN:
        forwardKey(true, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
        Graph_NoteMouse(window, message, wParam, lParam);
        return 0;
    case WM_TIMER:
        Graph_Back.PrepareSpare();
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        forwardKey(false, lParam);
        return 0;
    case WM_QUERYNEWPALETTE:
        realizePalette();
        return 0;
    case Graph_WM_TAKE_DOWN:
        takeDown(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint copies the whole picture: no background first
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
