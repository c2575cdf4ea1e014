// Test helper: binds the console to an input stream in memory holding given
// text and an output stream in memory, and gives back what was printed and
// what was left unread.  The previous binding (standard input and output) is
// back after it.  Also the text of a cleared screen.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console.h"

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "") : input_(input) {
    // fmemopen needs a buffer of at least one byte; an empty input is a
    // stream that is at its end at once.
    in_ = input_.empty() ? std::fopen("/dev/null", "r")
                         : fmemopen(input_.data(), input_.size(), "r");
    out_ = open_memstream(&buf_, &len_);
    if (in_ == nullptr || out_ == nullptr) std::abort();
    con_bind(in_, out_);
  }
  ~ConsoleCapture() {
    con_bind(nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
    std::free(buf_);
  }
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  FILE* in() const { return in_; }
  FILE* out() const { return out_; }

  // Everything printed so far.
  std::string output() {
    std::fflush(out_);
    return std::string(buf_, len_);
  }
  // What is left of the input, unread.
  std::string unread() {
    std::string s;
    for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_))
      s.push_back(static_cast<char>(c));
    return s;
  }

 private:
  std::string input_;
  FILE* in_ = nullptr;
  FILE* out_ = nullptr;
  char* buf_ = nullptr;
  size_t len_ = 0;
};

namespace testsupport {

// The screen as skip(25) clears it: its marker line, then 25 lines of one
// blank.
inline std::string cleared_screen() {
  std::string s = " >skip> \n";
  for (int i = 0; i < 25; ++i) s += " \n";
  return s;
}

}  // namespace testsupport
