// Shared by the fuzz targets: reading values out of libFuzzer's bytes, and
// stopping on a property that does not hold (libFuzzer then keeps the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

[[noreturn]] inline void FuzzFail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "property violated: %s (%s:%d)\n", what, file, line);
    std::abort();
}
#define FUZZ_REQUIRE(cond) ((cond) ? (void)0 : FuzzFail(#cond, __FILE__, __LINE__))

// Values taken from the front of the input; past its end every value is 0.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <class T> T take() {
        T value{};
        const size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        if (n != 0) std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    bool empty() const { return size_ == 0; }
    size_t left() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};
