// Modes and errors: initgraph and WinBGIm's initwindow, closegraph, the mode
// calls, graphdefaults, the result of the last call and its text, and the
// calls that configure Borland's drivers and buffers, which have nothing to
// configure here. One window: WinBGIm's window calls know it as window 0.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "IO.h"
#include "Lib.h"
#include "bgi_state.h"
#include "graph_adapter.h"
#include "internal.h" // the frame's finalisers, run at exit()

extern std::string Bgi_DriverPath;

namespace {
unsigned graphBufferSize = 4096;
// installuserdriver's drivers: numbers 11.. as Borland gives them; they draw
// as VGA in the one window (no .BGI file can run here).
constexpr int kFirstUserDriver = 11, kUserDrivers = 10;
struct UserDriver {
    std::string name;
    int (*detect)(void) = nullptr;
};
UserDriver userDrivers[kUserDrivers];
int userDriverCount = 0;
const UserDriver* userDriver(int driver) {
    const int i = driver - kFirstUserDriver;
    return i >= 0 && i < userDriverCount ? &userDrivers[i] : nullptr;
}
// The driver whose modes a driver has: an installed one draws as VGA.
int shapeOf(int driver) { return userDriver(driver) != nullptr ? VGA : driver; }
bool finalisersAtExit = false;

// Opens the window of a mode: 0 when it could not be opened.
int open(int driver, int mode, const char* title, int x, int y, int width, int height) {
    if (!Bgi_OpenWindow(width, height, title, x, y)) {
        Bgi_S.graphics = false;
        return 0;
    }
    Bgi_S.driver = driver, Bgi_S.mode = mode;
    Bgi_S.width = static_cast<int>(BgiG_Width());
    Bgi_S.height = static_cast<int>(BgiG_Height());
    Bgi_S.graphics = true;
    Bgi_S.activePage = Bgi_S.visualPage = 0;
    BgiG_SetPages(0, 0);
    Bgi_Defaults();
    cleardevice();
    Bgi_S.result = grOk;
    return 1;
}
} // namespace

bool Bgi_OpenWindow(int width, int height, const char* title, int left, int top) {
    if (width <= 0 || height <= 0) return false;
    // A program with its own main(): the finalisers (the console's input mode
    // put back, Graph's handles) run when it returns or calls exit().
    if (!finalisersAtExit) {
        finalisersAtExit = true;
        std::atexit([] {
            BgiG_Flush();
            M3K_RunFinalisers();
        });
    }
    // Keys reach the program through a console, also those typed into the
    // window: a program without a working one (a GUI-subsystem .exe, or one
    // started with no terminal) gets one of its own, hidden.
    static bool consoleChecked = false;
    if (!consoleChecked) {
        consoleChecked = true;
        HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        DWORD mode;
        const bool working = input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode);
        if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
        // WINE: with no terminal the process is attached to a console that
        // reads nothing; only a new one after FreeConsole works (under a display).
        if (!working) {
            FreeConsole();
            if (AllocConsole())
                if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);
        }
    }
    IO_BEGIN();
    Lib_BEGIN();
    return BgiG_Open(left, top, static_cast<uint32_t>(width), static_cast<uint32_t>(height), title);
}

extern "C" {

void detectgraph(int* graphdriver, int* graphmode) {
    if (graphdriver != nullptr) *graphdriver = VGA;
    if (graphmode != nullptr) *graphmode = VGAHI;
}

void initgraph(int* graphdriver, int* graphmode, const char* pathtodriver) {
    int driver = graphdriver != nullptr ? *graphdriver : DETECT;
    int mode = graphmode != nullptr ? *graphmode : VGAHI;
    Bgi_DriverPath = pathtodriver != nullptr ? pathtodriver : "";
    if (driver == DETECT) detectgraph(&driver, &mode);
    int shape = driver, error = grOk;
    if (const UserDriver* user = userDriver(driver)) {
        // Its detect function chooses the mode, as Borland's initgraph asks it.
        if (user->detect != nullptr) mode = user->detect();
        shape = VGA;
        if (Bgi_FindMode(VGA, mode) == nullptr) mode = VGAHI;
    }
    const Bgi_Mode* m = Bgi_FindMode(shape, mode);
    if (Bgi_DriverName(shape) == nullptr) error = grInvalidDriver;
    else if (m == nullptr) error = grInvalidMode;
    else if (!open(driver, mode, "Windows BGI", 0, 0, m->width, m->height)) error = grNotDetected;
    if (error != grOk) {
        Bgi_Fail(error);
        if (graphdriver != nullptr) *graphdriver = error;
        return;
    }
    if (graphdriver != nullptr) *graphdriver = driver;
    if (graphmode != nullptr) *graphmode = mode;
}

int initwindow(int width, int height, const char* title, int left, int top, int dbflag, int closeflag) {
    if (width <= 0 || height <= 0) {
        Bgi_Fail(grError);
        return -1;
    }
    if (!open(VGA, VGAHI, title != nullptr ? title : "Windows BGI", left, top, width, height)) {
        Bgi_Fail(grNotDetected);
        return -1;
    }
    Bgi_S.closeExits = closeflag != 0;
    // Double buffering: drawing goes to the page not shown until swapbuffers.
    if (dbflag) setactivepage(1);
    return 0;
}

void closegraph(void) {
    if (!Bgi_S.graphics) return;
    BgiG_Close();
    Bgi_S.graphics = false;
}

int graphresult(void) {
    const int r = Bgi_S.result;
    Bgi_S.result = grOk;
    return r;
}

char* grapherrormsg(int errorcode) {
    static char text[64];
    const char* known = Bgi_ErrorText(errorcode);
    if (known != nullptr) std::snprintf(text, sizeof text, "%s", known);
    else std::snprintf(text, sizeof text, "Graphics error (%d)", errorcode);
    return text;
}

int getgraphmode(void) { return Bgi_S.mode; }

void setgraphmode(int mode) {
    const Bgi_Mode* m = Bgi_FindMode(shapeOf(Bgi_S.driver), mode);
    if (m == nullptr) return Bgi_Fail(grInvalidMode);
    if (!BgiG_IsOpen()) return Bgi_Fail(grNoInitGraph);
    Bgi_S.mode = mode;
    Bgi_S.graphics = true;
    Bgi_Defaults();
    cleardevice();
}

void restorecrtmode(void) {
    // The window stays (the console beside it is the text mode); drawing
    // waits for setgraphmode.
    Bgi_S.graphics = false;
}

int getmaxmode(void) { return Bgi_MaxMode(shapeOf(Bgi_S.driver)); }

char* getmodename(int mode_number) {
    static char text[40];
    const Bgi_Mode* m = Bgi_FindMode(shapeOf(Bgi_S.driver), mode_number);
    std::snprintf(text, sizeof text, "%s", m != nullptr ? m->name : "Invalid graphics mode");
    return text;
}

char* getdrivername(void) {
    static char text[64];
    const UserDriver* user = userDriver(Bgi_S.driver);
    const char* name = user != nullptr ? user->name.c_str() : Bgi_DriverName(Bgi_S.driver);
    std::snprintf(text, sizeof text, "%s", name != nullptr ? name : "");
    return text;
}

void getmoderange(int graphdriver, int* lomode, int* himode) {
    graphdriver = shapeOf(graphdriver == CURRENT_DRIVER ? Bgi_S.driver : graphdriver);
    const int max = Bgi_MaxMode(graphdriver);
    int lo = -1;
    for (int m = 0; m <= max && lo < 0; ++m)
        if (Bgi_FindMode(graphdriver, m) != nullptr) lo = m;
    if (lomode != nullptr) *lomode = max < 0 ? -1 : lo;
    if (himode != nullptr) *himode = max;
}

void graphdefaults(void) {
    if (!Bgi_Ready()) return;
    Bgi_Defaults();
}

int installuserdriver(const char* name, int (*detect)(void)) {
    if (name == nullptr || userDriverCount == kUserDrivers) { // Borland's answer for a full table
        Bgi_Fail(grError);
        return grError;
    }
    userDrivers[userDriverCount] = UserDriver{name, detect};
    return kFirstUserDriver + userDriverCount++;
}

int registerbgidriver(void (*driver)(void)) {
    if (driver == nullptr) {
        Bgi_Fail(grInvalidDriver);
        return grInvalidDriver;
    }
    return VGA; // every linked-in driver draws in the one window
}

int registerbgifont(void (*font)(void)) {
    if (font == nullptr) {
        Bgi_Fail(grInvalidFontNum);
        return grInvalidFontNum;
    }
    return TRIPLEX_FONT;
}

unsigned setgraphbufsize(unsigned bufsize) {
    const unsigned previous = graphBufferSize;
    graphBufferSize = bufsize;
    return previous;
}

int getcurrentwindow(void) { return BgiG_IsOpen() ? 0 : NO_CURRENT_WINDOW; }

void setcurrentwindow(int window) {
    if (window != 0 || !BgiG_IsOpen()) Bgi_Fail(grError);
}

int getwindowwidth(void) { return static_cast<int>(BgiG_Width()); }
int getwindowheight(void) { return static_cast<int>(BgiG_Height()); }

} // extern "C"

extern "C" {
// The screen's size: the largest window WinBGIm's initwindow can make.
int getmaxwidth(void) { return GetSystemMetrics(SM_CXSCREEN); }
int getmaxheight(void) { return GetSystemMetrics(SM_CYSCREEN); }
}
