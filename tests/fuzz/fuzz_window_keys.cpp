// Key messages of the graphics window: any lParam, any sequence of key downs,
// key ups and activation changes.
//
// Properties: each record is a key event with repeat count 1, no virtual-key
// code, no character, the scan code of lParam's bits 16 to 23 and key-down as
// the message says; its control-key state holds only Shift, left Ctrl and left
// Alt, each exactly when that modifier's last key message since the last
// activation change was a press (the record of a modifier's own message shows
// the state before it). So no modifier outlives an activation change.
#include "FuzzInput.h"
#include "keys.h"

namespace {

uint32_t ModifierBit(uint8_t scan) {
    switch (scan) {
    case 0x1D: return kfrLeftCtrl;
    case 0x2A: case 0x36: return kfrShift;
    case 0x38: return kfrLeftAlt;
    default: return 0;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    Graph_ModifierState state;
    uint32_t held = 0; // the modifiers pressed and not released since the last activation change
    while (!in.empty()) {
        const uint8_t message = in.take<uint8_t>();
        if (message % 5 == 4) {
            Graph_ForgetModifiers(state);
            held = 0;
            continue;
        }
        const bool down = message % 5 < 2; // key down, system key down; key up, system key up
        const uint32_t lParam = in.take<uint32_t>();
        const kfrKeyEvent record = Graph_TranslateKey(state, lParam, down);
        const uint8_t scan = static_cast<uint8_t>(lParam >> 16);
        FUZZ_REQUIRE(record.keyDown == down);
        FUZZ_REQUIRE(record.repeatCount == 1 && record.virtualKeyCode == 0 && record.asciiChar == 0);
        FUZZ_REQUIRE(record.virtualScanCode == scan);
        FUZZ_REQUIRE(record.controlKeyState == held);
        if (down) {
            held |= ModifierBit(scan);
        } else {
            held &= ~ModifierBit(scan);
        }
    }
    return 0;
}
