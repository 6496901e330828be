// Console key records into the key queue: any fields, any control-key state,
// any mix of records and takes.
//
// Properties: a key press gives a pair only as the record's own character or
// as the table cell of its scan code in the column its modifiers choose (Alt,
// else Ctrl, else Shift, else plain); a key release, and a modifier or lock
// key pressed alone, queue nothing; the queue holds at most 33 keys, hands
// them out oldest first, and drops exactly the keys offered while it is full.
#include <deque>
#include <utility>

#include "FuzzInput.h"
#include "kfrKeyQueue.h"

namespace {

kfrKeyColumn ColumnFor(uint32_t state) {
    if (state & (kfrLeftAlt | kfrRightAlt)) return kfrColAlt;
    if (state & (kfrLeftCtrl | kfrRightCtrl)) return kfrColCtrl;
    if (state & kfrShift) return kfrColShift;
    return kfrColPlain;
}

bool Same(kfrKeyPair a, kfrKeyPair b) { return a.ch == b.ch && a.code == b.code; }

// The pair is one the rules allow for this record.
bool FromTablesOrRules(const kfrKeyEvent& e, kfrKeyPair pair) {
    if (pair.ch == 0 && pair.code == 0) return false;
    if (pair.code == 0 && pair.ch == e.asciiChar) return true; // the record's own character
    const kfrKeyColumn column = ColumnFor(e.controlKeyState);
    if (e.controlKeyState & kfrEnhancedKey) {
        for (const kfrEnhancedKeyRow& row : enhancedKeyTable) {
            if (row.scan == e.virtualScanCode && Same(row.col[column], pair)) return true;
        }
        return false;
    }
    return e.virtualScanCode < kfrPlainKeyRows && Same(plainKeyTable[e.virtualScanCode].col[column], pair);
}

bool ModifierOrLockKey(uint16_t scan) {
    switch (scan) {
    case 0x1D: case 0x2A: case 0x36: case 0x38: case 0x3A: case 0x45: case 0x46: return true;
    default: return false;
    }
}

kfrKeyEvent TakeEvent(FuzzInput& in) {
    kfrKeyEvent e{};
    e.keyDown = (in.take<uint8_t>() & 1) != 0;
    e.repeatCount = in.take<uint16_t>();
    e.virtualKeyCode = in.take<uint16_t>();
    e.virtualScanCode = in.take<uint16_t>();
    e.asciiChar = in.take<uint8_t>();
    e.controlKeyState = in.take<uint32_t>();
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    kfrKeyQueue queue;
    std::deque<std::pair<uint8_t, uint8_t>> expected; // (ch, scan) as they must leave
    while (!in.empty()) {
        const uint8_t op = in.take<uint8_t>();
        if (op < 0xC0) { // a record, or a run of copies of one (a flood)
            const kfrKeyEvent e = TakeEvent(in);
            kfrKeyPair pair;
            const bool gives = kfrEvQue_translateKey(e, pair);
            if (gives) FUZZ_REQUIRE(FromTablesOrRules(e, pair));
            if (ModifierOrLockKey(e.virtualScanCode) && e.asciiChar == 0) FUZZ_REQUIRE(!gives);
            for (int copies = op < 0xB0 ? 1 : 40; copies > 0; --copies) {
                const kfrOffer result = queue.offer(e);
                if (!e.keyDown || !gives) {
                    FUZZ_REQUIRE(result == kfrOffer::Ignored);
                } else if (expected.size() == kfrKeyQueue::capacity) {
                    FUZZ_REQUIRE(result == kfrOffer::Dropped);
                } else {
                    FUZZ_REQUIRE(result == kfrOffer::Queued);
                    expected.emplace_back(pair.ch, pair.code != 0 ? pair.code : uint8_t(e.virtualScanCode));
                }
            }
        } else { // peek, then take
            uint8_t ch = 0, scan = 0, peekCh = 0, peekScan = 0;
            const bool peeked = queue.peek(peekCh, peekScan);
            FUZZ_REQUIRE(queue.take(ch, scan) == !expected.empty() && peeked == !expected.empty());
            if (!expected.empty()) {
                FUZZ_REQUIRE(std::make_pair(ch, scan) == expected.front());
                FUZZ_REQUIRE(peekCh == ch && peekScan == scan);
                expected.pop_front();
            }
        }
        FUZZ_REQUIRE(queue.count() == expected.size() && queue.count() <= kfrKeyQueue::capacity);
    }
    return 0;
}
