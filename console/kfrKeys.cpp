#include "kfrKeys.h"

namespace {

constexpr kfrKeyPair __ = {0x00, 0x00};
constexpr kfrKeyPair C(uint8_t ch) { return {ch, 0x00}; }  // a character
constexpr kfrKeyPair K(uint8_t code) { return {0x00, code}; } // a code only

constexpr uint32_t kLockBits = kfrNumLock | kfrScrollLock | kfrCapsLock;
constexpr uint32_t kAlt = kfrRightAlt | kfrLeftAlt;
constexpr uint32_t kCtrl = kfrRightCtrl | kfrLeftCtrl;

kfrKeyColumn columnFor(uint32_t state) {
    if (state & kAlt) return kfrColAlt;
    if (state & kCtrl) return kfrColCtrl;
    if (state & kfrShift) return kfrColShift;
    return kfrColPlain;
}

// The record's own character is ignored for a single Alt or Ctrl (with or
// without ENHANCED_KEY) and for ENHANCED_KEY alone: those keys are taken from
// the tables. With Shift alone, the record's character stands, except for the
// left Shift key itself, which some consoles report with a character.
uint8_t directChar(const kfrKeyEvent& event, uint32_t state) {
    switch (state) {
    case kfrShift:
        return event.virtualScanCode == 0x2A ? 0 : event.asciiChar;
    case kfrRightAlt: case kfrLeftAlt: case kfrRightCtrl: case kfrLeftCtrl:
    case kfrEnhancedKey:
    case kfrEnhancedKey | kfrRightAlt: case kfrEnhancedKey | kfrLeftAlt:
    case kfrEnhancedKey | kfrRightCtrl: case kfrEnhancedKey | kfrLeftCtrl:
        return 0;
    default:
        return event.asciiChar;
    }
}

bool isEmpty(kfrKeyPair p) { return p.ch == 0 && p.code == 0; }

} // namespace

// clang-format off
const kfrPlainKeyRow plainKeyTable[kfrPlainKeyRows] = {
    //        Plain     Shift     Ctrl      Alt
    /* 00 */ {{__,       __,       __,       __     }},
    /* 01 Esc */ {{C(0x1B), C(0x1B), C(0x1B), K(0x01)}},
    /* 02 1 */ {{C(0x31), C(0x21), __,       K(0x78)}},
    /* 03 2 */ {{C(0x32), C(0x40), K(0x03), K(0x79)}},
    /* 04 3 */ {{C(0x33), C(0x23), __,       K(0x7A)}},
    /* 05 4 */ {{C(0x34), C(0x24), __,       K(0x7B)}},
    /* 06 5 */ {{C(0x35), C(0x25), __,       K(0x7C)}},
    /* 07 6 */ {{C(0x36), C(0x5E), C(0x1E), K(0x7D)}},
    /* 08 7 */ {{C(0x37), C(0x26), __,       K(0x7E)}},
    /* 09 8 */ {{C(0x38), C(0x2A), __,       K(0x7F)}},
    /* 0A 9 */ {{C(0x39), C(0x28), __,       K(0x80)}},
    /* 0B 0 */ {{C(0x30), C(0x29), __,       K(0x81)}},
    /* 0C - */ {{C(0x2D), C(0x5F), C(0x1F), K(0x82)}},
    /* 0D = */ {{C(0x3D), C(0x2B), __,       K(0x83)}},
    /* 0E Backspace */ {{C(0x08), C(0x08), C(0x7F), K(0x0E)}},
    /* 0F Tab */ {{C(0x09), K(0x0F), K(0x94), K(0x0F)}},
    /* 10 Q */ {{C(0x71), C(0x51), C(0x11), K(0x10)}},
    /* 11 W */ {{C(0x77), C(0x57), C(0x17), K(0x11)}},
    /* 12 E */ {{C(0x65), C(0x45), C(0x05), K(0x12)}},
    /* 13 R */ {{C(0x72), C(0x52), C(0x12), K(0x13)}},
    /* 14 T */ {{C(0x74), C(0x54), C(0x14), K(0x14)}},
    /* 15 Y */ {{C(0x79), C(0x59), C(0x19), K(0x15)}},
    /* 16 U */ {{C(0x75), C(0x55), C(0x15), K(0x16)}},
    /* 17 I */ {{C(0x69), C(0x49), C(0x09), K(0x17)}},
    /* 18 O */ {{C(0x6F), C(0x4F), C(0x0F), K(0x18)}},
    /* 19 P */ {{C(0x70), C(0x50), C(0x10), K(0x19)}},
    /* 1A [ */ {{C(0x5B), C(0x7B), C(0x1B), K(0x1A)}},
    /* 1B ] */ {{C(0x5D), C(0x7D), C(0x1D), K(0x1B)}},
    /* 1C Enter */ {{C(0x0D), C(0x0D), C(0x0A), K(0x1C)}},
    /* 1D Ctrl */ {{__,       __,       __,       __     }},
    /* 1E A */ {{C(0x61), C(0x41), C(0x01), K(0x1E)}},
    /* 1F S */ {{C(0x73), C(0x53), C(0x13), K(0x1F)}},
    /* 20 D */ {{C(0x64), C(0x44), C(0x04), K(0x20)}},
    /* 21 F */ {{C(0x66), C(0x46), C(0x06), K(0x21)}},
    /* 22 G */ {{C(0x67), C(0x47), C(0x07), K(0x22)}},
    /* 23 H */ {{C(0x68), C(0x48), C(0x08), K(0x23)}},
    /* 24 J */ {{C(0x6A), C(0x4A), C(0x0A), K(0x24)}},
    /* 25 K */ {{C(0x6B), C(0x4B), C(0x0B), K(0x25)}},
    /* 26 L */ {{C(0x6C), C(0x4C), C(0x0C), K(0x26)}},
    /* 27 ; */ {{C(0x3B), C(0x3A), __,       K(0x27)}},
    /* 28 ' */ {{C(0x27), C(0x22), __,       K(0x28)}},
    /* 29 ` */ {{C(0x60), C(0x7E), __,       K(0x29)}},
    /* 2A left Shift */ {{__,  __,       __,       __     }},
    /* 2B \ */ {{C(0x5C), C(0x7C), C(0x1C), K(0x2B)}},
    /* 2C Z */ {{C(0x7A), C(0x5A), C(0x1A), K(0x2C)}},
    /* 2D X */ {{C(0x78), C(0x58), C(0x18), K(0x2D)}},
    /* 2E C */ {{C(0x63), C(0x43), C(0x03), K(0x2E)}},
    /* 2F V */ {{C(0x76), C(0x56), C(0x16), K(0x2F)}},
    /* 30 B */ {{C(0x62), C(0x42), C(0x02), K(0x30)}},
    /* 31 N */ {{C(0x6E), C(0x4E), C(0x0E), K(0x31)}},
    /* 32 M */ {{C(0x6D), C(0x4D), C(0x0D), K(0x32)}},
    /* 33 , */ {{C(0x2C), C(0x3C), __,       K(0x33)}},
    /* 34 . */ {{C(0x2E), C(0x3E), __,       K(0x34)}},
    /* 35 / */ {{C(0x2F), C(0x3F), __,       K(0x35)}},
    /* 36 right Shift */ {{__, __,       __,       __     }},
    /* 37 keypad * */ {{C(0x2A), C(0x2A), K(0x96), K(0x37)}},
    /* 38 Alt */ {{__,       __,       __,       __     }},
    /* 39 Space */ {{C(0x20), C(0x20), C(0x20), C(0x20)}},
    /* 3A Caps Lock */ {{__,   __,       __,       __     }},
    /* 3B F1 */ {{K(0x3B), K(0x54), K(0x5E), K(0x68)}},
    /* 3C F2 */ {{K(0x3C), K(0x55), K(0x5F), K(0x69)}},
    /* 3D F3 */ {{K(0x3D), K(0x56), K(0x60), K(0x6A)}},
    /* 3E F4 */ {{K(0x3E), K(0x57), K(0x61), K(0x6B)}},
    /* 3F F5 */ {{K(0x3F), K(0x58), K(0x62), K(0x6C)}},
    /* 40 F6 */ {{K(0x40), K(0x59), K(0x63), K(0x6D)}},
    /* 41 F7 */ {{K(0x41), K(0x5A), K(0x64), K(0x6E)}},
    /* 42 F8 */ {{K(0x42), K(0x5B), K(0x65), K(0x6F)}},
    /* 43 F9 */ {{K(0x43), K(0x5C), K(0x66), K(0x70)}},
    /* 44 F10 */ {{K(0x44), K(0x5D), K(0x67), K(0x71)}},
    /* 45 Num Lock */ {{__,    __,       __,       __     }},
    /* 46 Scroll Lock */ {{__, __,       __,       __     }},
    /* 47 keypad 7 / Home */ {{K(0x47), C(0x37), K(0x77), __}},
    /* 48 keypad 8 / Up */ {{K(0x48), C(0x38), K(0x8D), __}},
    /* 49 keypad 9 / PgUp */ {{K(0x49), C(0x39), K(0x84), __}},
    /* 4A keypad - */ {{C(0x2D), C(0x2D), K(0x8E), K(0x4A)}},
    /* 4B keypad 4 / Left */ {{K(0x4B), C(0x34), K(0x73), __}},
    /* 4C keypad 5 */ {{__,    C(0x35), __,       __     }},
    /* 4D keypad 6 / Right */ {{K(0x4D), C(0x36), K(0x74), __}},
    /* 4E keypad + */ {{C(0x2B), C(0x2B), K(0x90), K(0x4E)}},
    /* 4F keypad 1 / End */ {{K(0x4F), C(0x31), K(0x75), __}},
    /* 50 keypad 2 / Down */ {{K(0x50), C(0x32), K(0x91), __}},
    /* 51 keypad 3 / PgDn */ {{K(0x51), C(0x33), K(0x76), __}},
    /* 52 keypad 0 / Ins */ {{K(0x52), C(0x30), K(0x92), __}},
    /* 53 keypad . / Del */ {{K(0x53), C(0x2E), K(0x93), __}},
    /* 54 */ {{__,       __,       __,       __     }},
    /* 55 */ {{__,       __,       __,       __     }},
    /* 56 */ {{__,       __,       __,       __     }},
    /* 57 F11 */ {{K(0x85), K(0x87), K(0x89), K(0x8B)}},
    /* 58 F12 */ {{K(0x86), K(0x88), K(0x8A), K(0x8C)}},
};

const kfrEnhancedKeyRow enhancedKeyTable[kfrEnhancedKeyRows] = {
    //                      Plain          Shift          Ctrl      Alt
    {0x1C, /* keypad Enter */ {{0x0D, 0xE0}, {0x0D, 0xE0}, {0x0A, 0xE0}, K(0xA6)}},
    {0x35, /* keypad / */     {{0x2F, 0xE0}, {0x3F, 0xE0}, K(0x95),      K(0xA4)}},
    {0x47, /* Home */         {K(0x47),      K(0x47),      K(0x77),      K(0x97)}},
    {0x48, /* Up */           {K(0x48),      K(0x48),      K(0x8D),      K(0x98)}},
    {0x49, /* PgUp */         {K(0x49),      K(0x49),      K(0x84),      K(0x99)}},
    {0x4B, /* Left */         {K(0x4B),      K(0x4B),      K(0x73),      K(0x9B)}},
    {0x4D, /* Right */        {K(0x4D),      K(0x4D),      K(0x74),      K(0x9D)}},
    {0x4F, /* End */          {K(0x4F),      K(0x4F),      K(0x75),      K(0x9F)}},
    {0x50, /* Down */         {K(0x50),      K(0x50),      K(0x91),      K(0xA0)}},
    {0x51, /* PgDn */         {K(0x51),      K(0x51),      K(0x76),      K(0xA1)}},
    {0x52, /* Ins */          {K(0x52),      K(0x52),      K(0x92),      K(0xA2)}},
    {0x53, /* Del */          {K(0x53),      K(0x53),      K(0x93),      K(0xA3)}},
};
// clang-format on

bool kfrEvQue_translateKey(const kfrKeyEvent& event, kfrKeyPair& out) {
    const uint32_t state = event.controlKeyState & ~kLockBits;
    const uint8_t c = directChar(event, state);
    if (c != 0) {
        out = C(c);
        return true;
    }
    const kfrKeyColumn column = columnFor(state);
    if (state & kfrEnhancedKey) {
        for (const kfrEnhancedKeyRow& row : enhancedKeyTable) {
            if (row.scan == event.virtualScanCode) {
                out = row.col[column];
                return true;
            }
        }
        return false;
    }
    if (event.virtualScanCode >= kfrPlainKeyRows) return false;
    const kfrKeyPair pair = plainKeyTable[event.virtualScanCode].col[column];
    if (isEmpty(pair)) return false;
    out = pair;
    return true;
}
