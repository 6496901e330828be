#include "StdIO.h"

#include <cstdio>

#include "M3K.h"

namespace {

// Finaliser (the thread that ends the process).
void StdIO_closeChannels() { std::fflush(nullptr); }

} // namespace

void StdIO_BEGIN() {
    M3K_MODULE_ONCE();
    M3K_FINALLY(StdIO_closeChannels);
}
