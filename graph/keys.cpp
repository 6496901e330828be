#include "keys.h"

namespace {

// Scan codes of set 1 for the modifier keys. The right-hand Ctrl and Alt send
// the left-hand codes with the extended flag, which is not looked at, so both
// sides share one bit each; so do the two Shift keys.
constexpr uint8_t kScanCtrl = 0x1D;
constexpr uint8_t kScanLeftShift = 0x2A;
constexpr uint8_t kScanRightShift = 0x36;
constexpr uint8_t kScanAlt = 0x38;

uint32_t modifierBit(uint8_t scan) {
    switch (scan) {
    case kScanCtrl: return kfrLeftCtrl;
    case kScanLeftShift:
    case kScanRightShift: return kfrShift;
    case kScanAlt: return kfrLeftAlt;
    default: return 0;
    }
}

} // namespace

kfrKeyEvent Graph_TranslateKey(Graph_ModifierState& state, uint32_t lParam, bool down) {
    // The whole 8-bit scan code goes on: keys with codes of 100 and more
    // (0x70, 0x73, 0x79, 0x7B, 0x7D on Japanese and Brazilian keyboards)
    // must not turn into other keys. The console queue gives them nothing.
    const uint8_t scan = static_cast<uint8_t>(lParam >> 16);
    state.bits &= ~kfrEnhancedKey;

    const kfrKeyEvent fields{down, 1, 0, scan, 0, state.bits};

    const uint32_t bit = modifierBit(scan);
    if (down) {
        state.bits |= bit;
    } else {
        state.bits &= ~bit;
    }
    return fields;
}

void Graph_ForgetModifiers(Graph_ModifierState& state) { state.bits = 0; }
