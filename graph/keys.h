// Keys typed into the graphics window, turned into console key records. Plain
// C++ (no <windows.h>): the window procedure copies the record into the
// platform's INPUT_RECORD (kfrIGraph_toRecord).
#pragma once

#include <cstdint>

#include "kfrKeyRecord.h"

// The modifier keys held, as far as the window has seen them: set and cleared
// by their own key messages, forgotten when the window's activation changes.
// Window thread.
struct Graph_ModifierState {
    uint32_t bits = 0;
};

// Any thread (the state is the caller's). The record for a key message whose
// lParam is given (scan code in bits 16 to 23), then the modifier state
// updated by this key. The record carries
// the state before the update: a modifier's own press does not yet show its
// bit, its release still does. Only kfrShift, kfrLeftCtrl and kfrLeftAlt are
// ever set; kfrEnhancedKey is always cleared.
kfrKeyEvent Graph_TranslateKey(Graph_ModifierState& state, uint32_t lParam, bool down);

// Any thread (the state is the caller's). The window gained or lost
// activation: a modifier held while the focus moved away is forgotten, since
// its release may go to another window.
void Graph_ForgetModifiers(Graph_ModifierState& state);
