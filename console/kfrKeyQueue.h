// The queue of translated key presses behind kfrEvQue: which console key
// records enter it and in what order they leave. Plain C++ (no <windows.h>);
// kfrEvQue holds the one instance under its queue lock and adds the console,
// the reader thread and the not-empty event.
#pragma once

#include <atomic>
#include <cstdint>

#include "kfrKeys.h"

// What became of one key record offered to the queue.
enum class kfrOffer : uint8_t {
    Ignored, // a key release, or a key that gives nothing
    Queued,
    Dropped, // the queue was full: the key is lost (the caller beeps)
};

class kfrKeyQueue {
public:
    static constexpr uint8_t capacity = 33;

    // Reader thread. A key press that translates to a pair is queued behind
    // the others; one record gives at most one entry, whatever its repeat count.
    kfrOffer offer(const kfrKeyEvent& event);

    // Main thread. The oldest key: its character, and its code or, where the
    // translation gave none, the key's own scan code. False when the queue is
    // empty.
    bool peek(uint8_t& ch, uint8_t& scan) const;
    // The same, and the key leaves the queue.
    bool take(uint8_t& ch, uint8_t& scan);

    // Any thread. Entries queued. Written only by offer and take; atomic so
    // that a reader may look at it without the lock the caller otherwise holds.
    uint8_t count() const { return count_.load(std::memory_order_acquire); }

private:
    struct Entry {
        uint8_t ch;
        uint8_t code;
        kfrKeyEvent event; // as read; only its scan code's low byte is used later
    };
    Entry entries_[capacity] = {}; // packed from index 0, oldest first
    std::atomic<uint8_t> count_{0};
};
