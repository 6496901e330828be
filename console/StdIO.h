// StdIO: the runtime library's standard channels. Its finaliser flushes
// what the C runtime still holds for the standard output and error, since the
// process ends with ExitProcess, which does not.
#pragma once

void StdIO_BEGIN(); // main thread; registers the finaliser once
