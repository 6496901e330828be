// The key records of the graphics window: fields and the modifier state.
#include <gtest/gtest.h>

#include "keys.h"

namespace {

// lParam of a key message: repeat count in bits 0-15, scan code in 16-23,
// the extended-key flag in bit 24.
uint32_t lParamFor(uint32_t scan, bool extended = false, uint32_t repeat = 1) {
    return repeat | (scan << 16) | (extended ? 1u << 24 : 0u);
}

struct Step {
    uint32_t scan;
    bool down;
    bool extended;
    uint32_t expectedState; // control-key state the record carries
};

void play(Graph_ModifierState& state, std::initializer_list<Step> steps) {
    int i = 0;
    for (const Step& step : steps) {
        const kfrKeyEvent f = Graph_TranslateKey(state, lParamFor(step.scan, step.extended), step.down);
        EXPECT_EQ(f.controlKeyState, step.expectedState) << "step " << i << " scan " << step.scan;
        EXPECT_EQ(f.virtualScanCode, step.scan & 0xFF) << "step " << i;
        EXPECT_EQ(f.keyDown, step.down) << "step " << i;
        ++i;
    }
}

TEST(KeyRecord, PlainKeyGivesScanCodeOnlyWithRepeatOne) {
    Graph_ModifierState state;
    for (bool down : {true, false}) {
        const kfrKeyEvent f = Graph_TranslateKey(state, lParamFor(0x16, false, 7), down);
        EXPECT_EQ(f.keyDown, down);
        EXPECT_EQ(f.repeatCount, 1);
        EXPECT_EQ(f.virtualKeyCode, 0);
        EXPECT_EQ(f.virtualScanCode, 0x16);
        EXPECT_EQ(f.asciiChar, 0);
        EXPECT_EQ(f.controlKeyState, 0u);
    }
    EXPECT_EQ(state.bits, 0u);
}

TEST(KeyRecord, ModifierRecordsCarryTheStateBeforeTheirOwnUpdate) {
    Graph_ModifierState state;
    // Shift, U, release both: the Shift press lacks its bit, its release keeps it.
    play(state, {{0x2A, true, false, 0},
                 {0x16, true, false, kfrShift},
                 {0x16, false, false, kfrShift},
                 {0x2A, false, false, kfrShift},
                 {0x16, true, false, 0}});
    // Ctrl and Alt, either side (the right-hand keys come with the extended flag).
    play(state, {{0x1D, true, true, 0},
                 {0x38, true, true, kfrLeftCtrl},
                 {0x10, true, false, kfrLeftCtrl | kfrLeftAlt},
                 {0x1D, false, false, kfrLeftCtrl | kfrLeftAlt},
                 {0x38, false, false, kfrLeftAlt},
                 {0x10, false, false, 0}});
    EXPECT_EQ(state.bits, 0u);
}

TEST(KeyRecord, BothShiftKeysShareOneBit) {
    Graph_ModifierState state;
    play(state, {{0x2A, true, false, 0},
                 {0x36, true, false, kfrShift},
                 {0x36, false, false, kfrShift},
                 // The left Shift is still held, but its bit went with the right one.
                 {0x16, true, false, 0}});
}

TEST(KeyRecord, ExtendedKeysComeWithoutEnhancedBit) {
    Graph_ModifierState state;
    state.bits = kfrEnhancedKey | kfrShift;
    const kfrKeyEvent up = Graph_TranslateKey(state, lParamFor(0x48, true), true);
    EXPECT_EQ(up.virtualScanCode, 0x48);
    EXPECT_EQ(up.controlKeyState, kfrShift);
    EXPECT_EQ(state.bits, kfrShift);
}

TEST(KeyRecord, ScanCodesOfHundredAndMoreStayUnchanged) {
    // Japanese and Brazilian keys must not turn into other keys (0x7B is not 0x17, `i`).
    Graph_ModifierState state;
    for (uint32_t scan : {0x63u, 0x64u, 0x70u, 0x73u, 0x79u, 0x7Bu, 0x7Du, 0xFFu}) {
        EXPECT_EQ(Graph_TranslateKey(state, lParamFor(scan), true).virtualScanCode, scan);
    }
    EXPECT_EQ(state.bits, 0u);
}

} // namespace
