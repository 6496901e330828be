// Tries to close the viewer's window the ways a user can: the close button and
// the system menu (WM_SYSCOMMAND SC_CLOSE), Alt+F4's end result (WM_CLOSE).
// Runs as a separate process in the viewer's Wine session. Exit code 0 when
// the window was found and every message was taken (the window proc answered),
// 2 when there is no such window, 3 when a message went unanswered.
#include <windows.h>

int main() {
    const HWND window = FindWindowA("GraphWnd", "Graph");
    if (window == nullptr) return 2;
    DWORD_PTR answer = 0;
    const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
    if (!SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, flags, 5000, &answer)) return 3;
    if (!SendMessageTimeoutA(window, WM_CLOSE, 0, 0, flags, 5000, &answer)) return 3;
    return IsWindow(window) ? 0 : 4;
}
