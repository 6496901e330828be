#include "kfrIO.h"

#include "M3K.h"

void kfrIO_BEGIN() { M3K_MODULE_ONCE(); }
