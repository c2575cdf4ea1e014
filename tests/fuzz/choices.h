// The input bytes of a fuzzer read as a stream of choices, for the fuzzers
// that build a known value from the bytes and check what the program makes
// of it.  A choice among n takes one byte when n is at most 256, else eight
// bytes; once the bytes are used up every choice is 0, so any input, the
// empty one too, stands for one value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzzchoice {

class Choices {
 public:
  Choices(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // A number from 0 to n - 1 (n >= 1).
  uint64_t operator()(uint64_t n) { return n <= 256 ? byte() % n : word() % n; }

  // The next eight bytes as they stand (the bits of a double, say).
  uint64_t word() {
    uint64_t w = 0;
    for (int i = 0; i < 8; ++i) w = w << 8 | byte();
    return w;
  }

  double bits_of_double() {
    const uint64_t w = word();
    double d;
    std::memcpy(&d, &w, sizeof d);
    return d;
  }

 private:
  uint64_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace fuzzchoice
