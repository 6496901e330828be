// Writing to the standard channels: straight to the handle, unbuffered, with
// no allocation and no lock, so that the fault report can use it on any
// thread, after a stack overflow too.
#include "internal.h"

namespace {
// The standard error as the program started with it (M3K_TakeErrorOutput).
HANDLE errOutput = nullptr;
} // namespace

bool M3K_WriteAll(void* handle, const char* bytes, uint32_t count) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes, count, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

void M3K_TakeErrorOutput() { errOutput = GetStdHandle(STD_ERROR_HANDLE); }

void M3K_ErrWrite(const char* text, uint32_t len) {
    M3K_WriteAll(errOutput ? errOutput : GetStdHandle(STD_ERROR_HANDLE), text, len);
}

void M3K_ErrWriteStr(const char* text) {
    uint32_t len = 0;
    while (text[len] != '\0') ++len;
    M3K_ErrWrite(text, len);
}

void M3K_ErrLn() { M3K_ErrWrite("\r\n", 2); }
