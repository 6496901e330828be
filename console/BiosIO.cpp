#include "BiosIO.h"

#include "IO.h"
#include "M3K.h"
#include "kfrEvQue.h"

uint8_t BiosIO_LastChar = 0xFF;
uint8_t BiosIO_LastScan = 0;

namespace {
constexpr uint8_t kNothingPending = 0xFF;
}

// Looks only at the queue: a code pending from the last read is not a key.
// Each public call starts the module first (see IO.cpp).
bool BiosIO_KeyPressed() {
    BiosIO_BEGIN();
    uint8_t ch, scan;
    return kfrEvQue_peekKey(ch, scan);
}

uint8_t BiosIO_RdKey() {
    BiosIO_BEGIN();
    if (BiosIO_LastChar == 0) {
        BiosIO_LastChar = kNothingPending;
        return BiosIO_LastScan;
    }
    uint8_t ch, scan;
    if (!kfrEvQue_getKey(ch, scan, true)) {
        BiosIO_LastChar = kNothingPending;
        return kNothingPending;
    }
    BiosIO_LastChar = ch;
    BiosIO_LastScan = scan;
    return ch;
}

void BiosIO_BEGIN() {
    M3K_MODULE_ONCE();
    kfrEvQue_BEGIN();
    IO_BEGIN();
    BiosIO_LastChar = kNothingPending;
    BiosIO_LastScan = 0;
}
