// The viewer when its window cannot be opened: Graph_Init's window thread
// cannot be started. Runs the viewer's real body through the program frame;
// the error box is answered at once and reported on the standard error, so
// the standard output holds only what the viewer itself writes.
#include <windows.h>

#include <cstdio>

#include "GraphWindow.h"
#include "M3K.h"
#include "plimo.h"

namespace {

HANDLE WINAPI refuseThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

int answeredBox(const char* text, const char* caption, unsigned flags) {
    char line[200];
    const int n = std::snprintf(line, sizeof line, "box|%s|%s|%#x\n", text, caption ? caption : "(none)", flags);
    DWORD written;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
    return IDOK;
}

} // namespace

int main() {
    Graph_CreateThread = refuseThread;
    Graph_ErrorBox = answeredBox;
    ProgramEntry(Plimo_Body);
}
