// kfrLib: the platform layer under Lib.
#pragma once

#include <cstdint>

void kfrLib_Delay(uint32_t milliseconds); // any thread: suspends the calling thread
void kfrLib_BEGIN();                      // main thread
