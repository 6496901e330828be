#include "Lib.h"

#include "M3K.h"
#include "StdIO.h"
#include "kfrLib.h"

void Lib_Delay(uint32_t milliseconds) { kfrLib_Delay(milliseconds); }

void Lib_BEGIN() {
    M3K_MODULE_ONCE();
    kfrLib_BEGIN();
    StdIO_BEGIN();
}
