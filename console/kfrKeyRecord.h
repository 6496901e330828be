// The console key record: the fields of one KEY_EVENT record and the
// control-key state bits (the platform's values), defined once for both of
// its sides: the graphics window writes such records into the console input
// (graph/keys.h), the reader thread reads them back and translates them
// (kfrKeys.h). Plain C++ (no <windows.h>); the copy into and out of the
// platform's INPUT_RECORD is kfrIGraph's (kfrIGraph.h).
#pragma once

#include <cstdint>

struct kfrKeyEvent {
    bool keyDown;
    uint16_t repeatCount;
    uint16_t virtualKeyCode;
    uint16_t virtualScanCode;
    uint8_t asciiChar;
    uint32_t controlKeyState;
};

// Control-key state bits.
enum : uint32_t {
    kfrRightAlt = 0x01,
    kfrLeftAlt = 0x02,
    kfrRightCtrl = 0x04,
    kfrLeftCtrl = 0x08,
    kfrShift = 0x10,
    kfrNumLock = 0x20,
    kfrScrollLock = 0x40,
    kfrCapsLock = 0x80,
    kfrEnhancedKey = 0x100,
};
