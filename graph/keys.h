// Keys typed into the graphics window, turned into the fields of a console
// key record. Plain C++ (no <windows.h>): the window procedure copies the
// fields into the platform's INPUT_RECORD.
#pragma once

#include <cstdint>

// The console's control-key state bits this translation deals with (the
// platform's values).
inline constexpr uint32_t Graph_LEFT_ALT_PRESSED = 0x0002;
inline constexpr uint32_t Graph_LEFT_CTRL_PRESSED = 0x0008;
inline constexpr uint32_t Graph_SHIFT_PRESSED = 0x0010;
inline constexpr uint32_t Graph_ENHANCED_KEY = 0x0100;

// The fields of one console key record.
struct Graph_KeyFields {
    bool down;
    uint16_t repeatCount;
    uint16_t virtualKeyCode;
    uint16_t virtualScanCode;
    uint16_t character;
    uint32_t controlKeyState;
};

// The modifier keys held, as far as the window has seen them: set and cleared
// by their own key messages, forgotten when the window's activation changes.
// Window thread only.
struct Graph_ModifierState {
    uint32_t bits = 0;
};

// The record for a key message whose lParam is given (scan code in bits 16
// to 23), then the modifier state updated by this key. The record carries
// the state before the update: a modifier's own press does not yet show its
// bit, its release still does.
Graph_KeyFields Graph_TranslateKey(Graph_ModifierState& state, uint32_t lParam, bool down);
