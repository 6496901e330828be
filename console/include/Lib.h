// Lib: general services of the runtime library; here, the delay.
#pragma once

#include <cstdint>

void Lib_Delay(uint32_t milliseconds); // any thread: suspends the calling thread
void Lib_BEGIN();                      // main thread
