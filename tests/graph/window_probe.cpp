// Graph_Init's failures that halt the program, run through the program frame.
// The path to take is the argument; the error boxes go to the standard output
// (or, with "real-box", to MessageBoxA), finalisers say that they ran.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Graph.h"
#include "GraphWindow.h"
#include "M3K.h"

namespace {

DWORD mainThread = 0;

void say(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written,
              nullptr);
}

int printBox(const char* text, const char* caption, unsigned flags) {
    char line[200];
    std::snprintf(line, sizeof line, "box|%s|%s|%#x|%s\n", text, caption ? caption : "(none)", flags,
                  GetCurrentThreadId() == mainThread ? "main" : "other");
    say(line);
    return IDOK;
}

void probeFinaliser() { say("finaliser\n"); }

// Refuses the first window of the class "GraphWnd" made in this process, so
// that CreateWindowExA fails, and removes itself at once.
// NOTE: a hook for every thread is the only one that reaches the window thread
// before its window exists; Wine calls it in other processes too (loading
// this program as a module there, where probePid is 0), so it acts only in
// this process and lives no longer than it must.
DWORD probePid = 0;
HHOOK refusal = nullptr;

LRESULT CALLBACK refuseGraphWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && probePid == GetCurrentProcessId()) {
        char name[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (std::strcmp(name, "GraphWnd") == 0) {
            UnhookWindowsHookEx(refusal);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Repaints the window, erasing, as fast as it can while Graph_Init runs: its
// own use of the window DC meets the window thread's painting.
volatile bool storming = true;
DWORD WINAPI repaintStorm(LPVOID) {
    while (storming) {
        if (HWND window = FindWindowA("GraphWnd", "Graph")) {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    }
    return 0;
}

void Body(int argc, char** argv) {
    M3K_InitFPP();
    M3K_INIT_HISTORY();
    M3K_BEGIN(argc, argv, true, 2000000, 4000000);
    mainThread = GetCurrentThreadId();
    M3K_FINALLY(probeFinaliser);
    const char* path = argc > 1 ? argv[1] : "";
    if (std::strcmp(path, "real-box") != 0) Graph_ErrorBox = printBox;

    if (std::strcmp(path, "register") == 0) {
        WNDCLASSA taken{};
        taken.lpfnWndProc = DefWindowProcA;
        taken.hInstance = GetModuleHandleA(nullptr);
        taken.lpszClassName = "GraphWnd";
        if (!RegisterClassA(&taken)) say("could not take the class\n");
    } else if (std::strcmp(path, "create") == 0) {
        probePid = GetCurrentProcessId();
        refusal = SetWindowsHookExA(WH_CBT, refuseGraphWindow, GetModuleHandleA(nullptr), 0);
        if (refusal == nullptr) say("no hook\n");
    }
    HANDLE storm = nullptr;
    if (std::strcmp(path, "repaints") == 0) storm = CreateThread(nullptr, 0, repaintStorm, nullptr, 0, nullptr);
    // "no-begin": a program that forgot Graph_BEGIN; "try...": the soft start;
    // "huge...": a picture too big for a back buffer.
    const bool soft = std::strncmp(path, "try", 3) == 0, huge = std::strstr(path, "huge") != nullptr;
    if (std::strcmp(path, "no-begin") != 0) Graph_BEGIN();
    const uint32_t side = huge ? 60000 : 800;
    const bool opened = soft ? Graph_TryInit(1, 1, side, side) : Graph_Init(1, 1, side, side);
    say(opened ? "returned TRUE\n" : "returned FALSE\n");
    if (soft) {
        char why[200];
        std::snprintf(why, sizeof why, "why|%s\n", Graph_LastError());
        say(why);
    }
    if (opened && std::strcmp(path, "no-begin") == 0) {
        Graph_Rectangle(0, 0, 9, 9, 4, true);
        // The window read under the lock: a paint meanwhile clips its DC.
        UpdateWindow(Graph_Window);
        Graph_LockBackBuffer();
        const bool inWindow = GetPixel(Graph_WindowDC, 5, 5) == RGB(0xB0, 0, 0);
        Graph_UnlockBackBuffer();
        say(Graph_GetPixel(5, 5) == 0xB00000 && inWindow ? "drawn\n" : "not drawn\n");
    }
    if (storm != nullptr) {
        storming = false;
        WaitForSingleObject(storm, INFINITE);
        LOGFONTA font{};
        GetObjectA(GetCurrentObject(Graph_WindowDC, OBJ_FONT), sizeof font, &font);
        say(std::strcmp(font.lfFaceName, "Fixedsys") == 0 ? "Fixedsys\n" : "font lost\n");
    }
}

} // namespace

int main() { ProgramEntry(Body); }
