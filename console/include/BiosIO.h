// BiosIO: PC BIOS style key reading on top of the console input queue. A key
// with a character is read as that character; a key without one as 0 and
// then its code. Main thread: every procedure and variable here (one caller;
// the variables are unguarded). Each call runs BiosIO_BEGIN first when it has
// not run yet.
#pragma once

#include <cstdint>

// The character of the key last taken from the queue; 0 while its code is
// still to be returned; 0xFF once it has been (and at start).
extern uint8_t BiosIO_LastChar;
// The code of the key last taken from the queue.
extern uint8_t BiosIO_LastScan;

bool BiosIO_KeyPressed();  // a key waits in the queue; never waits
uint8_t BiosIO_RdKey();    // waits for a key when one has to be taken
void BiosIO_BEGIN();
