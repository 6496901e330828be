#include "kfrIGraph.h"

#include "M3K.h"

HANDLE kfrIGraph_hConsoleInput = nullptr;

void kfrIGraph_BEGIN() {
    M3K_MODULE_ONCE();
    kfrIGraph_hConsoleInput = GetStdHandle(STD_INPUT_HANDLE);
    // Fails harmlessly when the standard input is not a console.
    FlushConsoleInputBuffer(kfrIGraph_hConsoleInput);
}
