// kfrEvQue: the console input reader thread and the queue of translated key
// presses it fills. The reader thread is the only producer; the program's
// main thread is the only consumer.
#pragma once

#include <cstdint>

// Main thread. Initialiser: sets the console input mode to 0x17 (saving the
// old one for the finaliser) and starts the reader thread. Runs once.
void kfrEvQue_BEGIN();

// Main thread. Takes the oldest key out of the queue. scan is the
// translation's code, or the key's own scan code where that is 0. With wait,
// waits without time-out for a key (for ever when the queue could not be set
// up: no key ever arrives) and returns true; a console break ends the wait
// with the program. Without wait, returns false on an empty queue.
bool kfrEvQue_getKey(uint8_t& ch, uint8_t& scan, bool wait);

// Main thread. Reports the oldest key without taking it out; never waits.
bool kfrEvQue_peekKey(uint8_t& ch, uint8_t& scan);
