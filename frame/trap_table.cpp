// Trap messages by number. Plain C++: shared by the report and its tests.
#include "M3K.h"

#include <iterator>

namespace {
const char* const kTrapMessages[] = {
    "invalid index",                  // 0
    "expression out of bounds",       // 1
    "invalid case in CASE statement", // 2
    "invalid location",               // 3
    "function without RETURN statement",
    "whole overflow",                 // 5
    "zero or negative divisor",       // 6
    "real overflow",                  // 7
    "float division by zero",         // 8
    "complex overflow",               // 9
    "complex division by zero",       // 10
    "protection error",               // 11
    "SYSTEM exception",               // 12
    "COROUTINE exception",            // 13
    "EXCEPTIONS exception",           // 14
    nullptr,                          // 15: no message of its own
    "ASSERT",                         // 16
    "type guard check",               // 17
    "out of heap space",              // 18
    "RTS internal error",             // 19
    "invalid type cast",              // 20
    "USER BREAK",                     // 21
    "call to unloaded DLL",           // 22
    "stack overflow",                 // 23
};
} // namespace

// Kept free of the C library's formatting: it also runs on a thread whose
// stack has just overflowed.
uint32_t M3K_TrapMessage(uint32_t n, char* out, uint32_t size) {
    if (size == 0) return 0;
    uint32_t len = 0;
    auto put = [&](char c) {
        if (len + 1 < size) out[len++] = c;
    };
    if (n < std::size(kTrapMessages) && kTrapMessages[n] != nullptr) {
        for (const char* m = kTrapMessages[n]; *m; ++m) put(*m);
    } else {
        char digits[10];
        int count = 0;
        uint32_t v = n;
        do {
            digits[count++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        for (const char* m = "TRAP("; *m; ++m) put(*m);
        while (count > 0) put(digits[--count]);
        put(')');
    }
    out[len] = '\0';
    return len;
}
