#include "kfrIGraph.h"

#include "M3K.h"

HANDLE kfrIGraph_hConsoleInput = nullptr;

void kfrIGraph_BEGIN() {
    M3K_MODULE_ONCE();
    kfrIGraph_hConsoleInput = GetStdHandle(STD_INPUT_HANDLE);
    // Fails harmlessly when the standard input is not a console.
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
