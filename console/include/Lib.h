// Lib: general services of the runtime library; here, the delay.
#pragma once

#include <cstdint>

// Any thread: suspends the calling thread. Runs Lib_BEGIN first when it has
// not run yet; let that first call be the main thread's.
void Lib_Delay(uint32_t milliseconds);
void Lib_BEGIN(); // main thread
