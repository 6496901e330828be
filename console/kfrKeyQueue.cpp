#include "kfrKeyQueue.h"

kfrOffer kfrKeyQueue::offer(const kfrKeyEvent& event) {
    kfrKeyPair pair;
    if (!event.keyDown || !kfrEvQue_translateKey(event, pair)) return kfrOffer::Ignored;
    const uint8_t n = count_.load(std::memory_order_relaxed);
    if (n >= capacity) return kfrOffer::Dropped;
    entries_[n] = Entry{pair.ch, pair.code, event};
    count_.store(n + 1, std::memory_order_release);
    return kfrOffer::Queued;
}

bool kfrKeyQueue::peek(uint8_t& ch, uint8_t& scan) const {
    if (count_.load(std::memory_order_relaxed) == 0) return false;
    const Entry& oldest = entries_[0];
    ch = oldest.ch;
    scan = oldest.code != 0 ? oldest.code : static_cast<uint8_t>(oldest.event.virtualScanCode & 0xFF);
    return true;
}

bool kfrKeyQueue::take(uint8_t& ch, uint8_t& scan) {
    if (!peek(ch, scan)) return false;
    const uint8_t n = count_.load(std::memory_order_relaxed);
    for (uint8_t i = 1; i < n; ++i) entries_[i - 1] = entries_[i];
    count_.store(n - 1, std::memory_order_release);
    return true;
}
