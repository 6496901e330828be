// Translation of console key presses into PC-keyboard style (character, code)
// pairs. Plain C++: no Win32 declarations, so it also builds and is tested
// natively.
#pragma once

#include <cstdint>

#include "kfrKeyRecord.h"

// A translated key: ch is 0 for keys that deliver only a code; code 0 means
// the key's own scan code is delivered. Both 0: the key gives nothing.
struct kfrKeyPair {
    uint8_t ch;
    uint8_t code;
};

// Columns of the key tables, in table order.
enum kfrKeyColumn : uint8_t { kfrColPlain = 0, kfrColShift = 1, kfrColCtrl = 2, kfrColAlt = 3 };

struct kfrPlainKeyRow {
    kfrKeyPair col[4];
};

struct kfrEnhancedKeyRow {
    uint16_t scan;
    kfrKeyPair col[4];
};

constexpr uint32_t kfrPlainKeyRows = 89; // scan codes 0x00 to 0x58
constexpr uint32_t kfrEnhancedKeyRows = 12;

extern const kfrPlainKeyRow plainKeyTable[kfrPlainKeyRows];
extern const kfrEnhancedKeyRow enhancedKeyTable[kfrEnhancedKeyRows];

// Any thread. The pair for a key press, or false when the key gives nothing.
// Reads only the character, the virtual scan code and the control-key state.
bool kfrEvQue_translateKey(const kfrKeyEvent& event, kfrKeyPair& out);
