// Holds the Wine desktop open for a whole test session: a hidden window and a
// message wait, until the session's wineserver ends it.
// WINE: wineserver closes a desktop one second after its last program left it
// (server/winstation.c, close_desktop_timeout). A program that has opened the
// desktop but not yet joined it then creates its first window on a desktop
// whose window is gone: CreateWindowEx fails, and so does MessageBox. A slow
// (emulated, loaded) 32-bit start right after another test's program ended
// met exactly that ("Couldn't create main window"). A desktop always in use is
// what a Windows session gives every program.
#include <windows.h>

int main() {
    HWND anchor = CreateWindowExA(0, "STATIC", "plimo desktop anchor", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (anchor == nullptr) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
