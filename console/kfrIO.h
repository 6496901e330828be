// kfrIO: the platform layer under IO; it has no start-up of its own.
#pragma once

void kfrIO_BEGIN(); // main thread
