// Key translation, checked without a console.
#include <gtest/gtest.h>

#include "kfrKeys.h"

namespace {

kfrKeyEvent press(uint16_t scan, uint8_t ch = 0, uint32_t state = 0) {
    return kfrKeyEvent{true, 1, 0, scan, ch, state};
}

// The pair as (ch << 8 | code), or -1 for nothing: one comparison per case.
int translate(const kfrKeyEvent& e) {
    kfrKeyPair p{0xEE, 0xEE};
    if (!kfrEvQue_translateKey(e, p)) return -1;
    return p.ch << 8 | p.code;
}

// The console tests cover the everyday keys end to end; these are the corners.
TEST(KeyTranslation, LockBitsAreIgnored) {
    EXPECT_EQ(translate(press(0x16, 'U', kfrCapsLock)), 0x5500);
    EXPECT_EQ(translate(press(0x16, 0, kfrShift | kfrNumLock | kfrScrollLock)), 0x5500);
    EXPECT_EQ(translate(press(0x3B, 0, kfrNumLock | kfrCapsLock)), 0x003B);
}

TEST(KeyTranslation, ModifierColumns) {
    EXPECT_EQ(translate(press(0x3B, 0, kfrLeftCtrl)), 0x005E);
    EXPECT_EQ(translate(press(0x3B, 0, kfrRightAlt)), 0x0068);
    EXPECT_EQ(translate(press(0x10, 0x11, kfrRightCtrl)), 0x1100);
    EXPECT_EQ(translate(press(0x03, 0, kfrLeftCtrl)), 0x0003);     // Ctrl+2
    // Alt wins over Ctrl and Shift when the table decides.
    EXPECT_EQ(translate(press(0x3B, 0, kfrLeftAlt | kfrLeftCtrl | kfrShift)), 0x0068);
    EXPECT_EQ(translate(press(0x3B, 0, kfrLeftCtrl | kfrShift)), 0x005E);
}

TEST(KeyTranslation, CombinationsKeepTheRecordsCharacter) {
    // AltGr arrives as Ctrl with Alt: the console's character stands.
    EXPECT_EQ(translate(press(0x03, '@', kfrLeftCtrl | kfrRightAlt)), 0x4000);
    EXPECT_EQ(translate(press(0x10, 'Q', kfrLeftCtrl | kfrShift)), 0x5100);
    EXPECT_EQ(translate(press(0x35, '?', kfrShift | kfrEnhancedKey)), 0x3F00);
}

TEST(KeyTranslation, EnhancedKeys) {
    EXPECT_EQ(translate(press(0x48, 0, kfrEnhancedKey | kfrRightAlt)), 0x0098);
    EXPECT_EQ(translate(press(0x48, 0, kfrEnhancedKey | kfrShift)), 0x0048);
    EXPECT_EQ(translate(press(0x1C, 0, kfrEnhancedKey | kfrLeftCtrl)), 0x0AE0);
    EXPECT_EQ(translate(press(0x35, 0, kfrEnhancedKey)), 0x2FE0);                    // keypad slash
    EXPECT_EQ(translate(press(0x1D, 0, kfrEnhancedKey)), -1);                        // right Ctrl alone
    // All 16 bits of the scan code count in the enhanced table.
    EXPECT_EQ(translate(press(0x148, 0, kfrEnhancedKey)), -1);
}

TEST(KeyTranslation, KeysThatGiveNothing) {
    EXPECT_EQ(translate(press(0x2A, 0, kfrShift)), -1);        // Shift alone
    EXPECT_EQ(translate(press(0x2A, 'x', kfrShift)), -1);      // even with a character
    EXPECT_EQ(translate(press(0x36, 0, kfrShift)), -1);
    EXPECT_EQ(translate(press(0x1D, 0, kfrLeftCtrl)), -1);     // Ctrl alone
    EXPECT_EQ(translate(press(0x38, 0, kfrLeftAlt)), -1);      // Alt alone
    EXPECT_EQ(translate(press(0x3A, 0, kfrCapsLock)), -1);     // Caps Lock
    EXPECT_EQ(translate(press(0x02, 0, kfrLeftCtrl)), -1);     // Ctrl+1
    EXPECT_EQ(translate(press(0x02, '1', kfrLeftCtrl)), -1);
    EXPECT_EQ(translate(press(0x4C)), -1);                     // keypad 5 without Num Lock
    for (uint16_t scan : {89, 90, 0x7F, 0xFF, 0x116, 0xFFFF}) {
        EXPECT_EQ(translate(press(scan)), -1) << scan;
        EXPECT_EQ(translate(press(scan, 0, kfrShift)), -1) << scan;
    }
    // With a character the key counts whatever its scan code.
    EXPECT_EQ(translate(press(0x5A, 'z')), 0x7A00);
}

TEST(KeyTables, ShapeAndConsistency) {
    // Keys that give nothing in every column.
    for (uint16_t scan : {0x00, 0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46, 0x54, 0x55, 0x56}) {
        for (const kfrKeyPair& p : plainKeyTable[scan].col) {
            EXPECT_TRUE(p.ch == 0 && p.code == 0) << std::hex << scan;
        }
    }
    // The keypad's navigation keys give the arrows' plain and Ctrl codes.
    for (const kfrEnhancedKeyRow& row : enhancedKeyTable) {
        if (row.scan < 0x47) continue;
        for (kfrKeyColumn col : {kfrColPlain, kfrColCtrl}) {
            EXPECT_EQ(plainKeyTable[row.scan].col[col].code, row.col[col].code) << std::hex << row.scan;
            EXPECT_EQ(plainKeyTable[row.scan].col[col].ch, row.col[col].ch) << std::hex << row.scan;
        }
    }
    // Every enhanced row is reachable (no scan code twice).
    for (uint32_t i = 0; i < kfrEnhancedKeyRows; ++i) {
        for (uint32_t j = i + 1; j < kfrEnhancedKeyRows; ++j) {
            EXPECT_NE(enhancedKeyTable[i].scan, enhancedKeyTable[j].scan);
        }
    }
}

} // namespace
