#include "kfrLib.h"

#include <windows.h>

#include "M3K.h"

void kfrLib_Delay(uint32_t milliseconds) { Sleep(milliseconds); }

void kfrLib_BEGIN() { M3K_MODULE_ONCE(); }
