#include "recording_graph.h"

#include <climits>

#include "Graph.h"
#include "M3K.h"

namespace {

std::vector<GraphCall> calls;
uint32_t wildCalls = 0;

void Record(const GraphCall& call) {
    for (uint32_t v : {call.x1, call.y1, call.x2, call.y2}) {
        if (v > static_cast<uint32_t>(INT32_MAX)) {
            ++wildCalls;
            break;
        }
    }
    calls.push_back(call);
}

} // namespace

void Graph_Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour) {
    Record(LineCall(x1, y1, x2, y2, colour));
}

void Graph_Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour, bool fill) {
    Record(RectangleCall(x1, y1, x2, y2, colour, fill));
}

void M3K_RangeCheckFailed() { throw RangeFault(); }

std::vector<GraphCall> TakeGraphCalls() {
    std::vector<GraphCall> taken;
    taken.swap(calls);
    return taken;
}

uint32_t WildGraphCalls() { return wildCalls; }

std::ostream& operator<<(std::ostream& out, const GraphCall& call) {
    out << (call.rectangle ? "Graph_Rectangle(" : "Graph_Line(") << call.x1 << ", " << call.y1 << ", " << call.x2
        << ", " << call.y2 << ", " << call.colour;
    if (call.rectangle) out << (call.fill ? ", TRUE" : ", FALSE");
    return out << ")";
}

#if defined(__i386__) || defined(__x86_64__)
uint16_t X87ControlWord() {
    uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}
void SetX87ControlWord(uint16_t word) { __asm__ __volatile__("fclex\n\tfldcw %0" : : "m"(word)); }
#else
uint16_t X87ControlWord() { return 0; }
void SetX87ControlWord(uint16_t) {}
#endif

void ViewerTest::SetUp() {
    savedControlWord_ = X87ControlWord();
    SetX87ControlWord(ProgramControlWord);
    dp = {0, 0, 0};
    TakeGraphCalls();
}

void ViewerTest::TearDown() {
    SetX87ControlWord(savedControlWord_);
    EXPECT_EQ(WildGraphCalls(), 0u) << "a coordinate above INT32_MAX reached Graph";
}
