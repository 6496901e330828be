// Test support for the viewer's geometry: a recording stand-in for Graph's
// shape procedures and the frame's range check (linked in their place), and
// the x87 control word.
#pragma once

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "clip.h"
#include "scene.h"

struct GraphCall {
    bool rectangle; // false: Graph_Line
    uint32_t x1, y1, x2, y2, colour;
    bool fill; // rectangles only

    bool operator==(const GraphCall&) const = default;
};
std::ostream& operator<<(std::ostream& out, const GraphCall& call);

inline GraphCall LineCall(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour) {
    return {false, x1, y1, x2, y2, colour, false};
}
inline GraphCall RectangleCall(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour,
                               bool fill) {
    return {true, x1, y1, x2, y2, colour, fill};
}

// Every call the stand-ins received since the last Take.
std::vector<GraphCall> TakeGraphCalls();
// Calls with a coordinate above INT32_MAX (negative as a signed value).
uint32_t WildGraphCalls();

// What the stand-in M3K_RangeCheckFailed throws.
struct RangeFault : std::runtime_error {
    RangeFault() : std::runtime_error("range fault") {}
};

uint16_t X87ControlWord();
void SetX87ControlWord(uint16_t word);
// The control word the program runs with: 64-bit precision, invalid operation,
// zero divide and overflow unmasked.
inline constexpr uint16_t ProgramControlWord = 0x332;
// Double precision (what Wine gives a thread that never loads its own word).
inline constexpr uint16_t DoubleControlWord = 0x27F;

// Every viewer test runs with the program's control word and the camera at
// the start, with no calls recorded.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    uint16_t savedControlWord_ = 0;
};
