// Test helper: a small repeatable generator of pseudo-random 64-bit words
// (xorshift64), for tests that run many arguments in no pattern and must
// give the same arguments on every run and every machine.
#pragma once

#include <cstdint>

namespace testsupport {

class Xorshift64 {
 public:
  explicit Xorshift64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t operator()() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }

 private:
  std::uint64_t state_;
};

}  // namespace testsupport
