#include "Lib.h"

#include "M3K.h"
#include "StdIO.h"
#include "kfrLib.h"

// Starts the module first, as the module order would have (see IO.cpp).
void Lib_Delay(uint32_t milliseconds) {
    Lib_BEGIN();
    kfrLib_Delay(milliseconds);
}

void Lib_BEGIN() {
    M3K_MODULE_ONCE();
    kfrLib_BEGIN();
    StdIO_BEGIN();
}
