#include "kfrIGraph.h"

#include "M3K.h"

HANDLE kfrIGraph_hConsoleInput = nullptr;

void kfrIGraph_BEGIN() {
    M3K_MODULE_ONCE();
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode;
    if (!GetConsoleMode(input, &mode)) {
        // The standard input comes from elsewhere (a file, a pipe): keys are
        // still typed into the console, when the process has one.
        HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) input = console;
    }
    kfrIGraph_hConsoleInput = input;
    // Fails harmlessly when there is no console.
    FlushConsoleInputBuffer(kfrIGraph_hConsoleInput);
}

kfrKeyEvent kfrIGraph_fromRecord(const KEY_EVENT_RECORD& r) {
    return kfrKeyEvent{r.bKeyDown != FALSE,
                       r.wRepeatCount,
                       r.wVirtualKeyCode,
                       r.wVirtualScanCode,
                       static_cast<uint8_t>(r.uChar.AsciiChar),
                       r.dwControlKeyState};
}

INPUT_RECORD kfrIGraph_toRecord(const kfrKeyEvent& event) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    key.bKeyDown = event.keyDown ? TRUE : FALSE;
    key.wRepeatCount = event.repeatCount;
    key.wVirtualKeyCode = event.virtualKeyCode;
    key.wVirtualScanCode = event.virtualScanCode;
    key.uChar.AsciiChar = static_cast<CHAR>(event.asciiChar);
    key.dwControlKeyState = event.controlKeyState;
    return record;
}
